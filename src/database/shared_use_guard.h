// The shared-use guard: a table in named shared memory, mapped by every running program of the
// family, recording which program has which data file open. A program that finds its file registered
// by another treats it as read-only, so two writers never overwrite each other's changes.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/notifier.h"

namespace cel::database {

// A failure of the operating system's shared-memory calls: "Memory Mapping Error #<code>".
class EMappingException : public std::runtime_error {
public:
    explicit EMappingException(int code);
};

// Who holds a registration: a process (its id and start time, so that a reused id is not taken for
// the old process) and a window of it.
struct GuardOwner {
    std::int32_t pid = 0;
    std::uint64_t startTime = 0;
    std::uint64_t window = 0;

    // The running process, with an optional window number.
    static GuardOwner Current(std::uint64_t window = 0);
    bool operator==(const GuardOwner &) const = default;
};

// True while the owner's process runs (the same process, not a later one with its id).
bool OwnerAlive(const GuardOwner &owner);

class SharedUseGuard {
public:
    static constexpr int kSlots = 20;
    static constexpr const char *kDefaultName = "/Norvelta_FilePath";

    // Opens the table, creating it with every slot free when no program has it yet.
    // Throws EMappingException when the shared memory cannot be opened, created or mapped.
    explicit SharedUseGuard(const std::string &name = kDefaultName);
    ~SharedUseGuard();
    SharedUseGuard(const SharedUseGuard &) = delete;
    SharedUseGuard &operator=(const SharedUseGuard &) = delete;

    // Stores path in the first slot that is free (or whose owner has ended) or already the owner's;
    // when all 20 belong to other running owners nothing is stored (returns false).
    bool Register(const GuardOwner &owner, const std::string &path);
    // True when a running owner other than this one has exactly this path (case-sensitive).
    bool UsedByAnother(const GuardOwner &owner, const std::string &path);
    // Frees the owner's first slot with this path; the later slots move down one place.
    void Release(const GuardOwner &owner, const std::string &path);
    // UsedByAnother, and when true the read-only notice; the caller then abandons its change.
    bool ReadOnlyCheck(const GuardOwner &owner, const std::string &path, Notifier &notifier,
                       const std::string &applicationTitle);

    struct Slot {
        bool free = true; // "-" with no owner
        std::string path;
        GuardOwner owner;
    };
    // The 20 slots as stored (an ended owner's slot still shows its path).
    std::vector<Slot> Slots();

    // The last error of the lock, 0 when none (the table is then used without it).
    int LockError() const { return lockError_; }

    // Removes the named table (tests; the programs never do).
    static void Remove(const std::string &name);

private:
    struct Table;
    class Lock;
    Table *table_ = nullptr;
    int fd_ = -1;
    int lockError_ = 0;
};

// The read-only notice for a data file used by another program.
std::string ReadOnlyText(const std::string &path, const std::string &applicationTitle);

} // namespace cel::database
