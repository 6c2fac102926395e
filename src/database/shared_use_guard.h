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

// A failure of the operating system's shared-memory calls: "Memory Mapping Error #<code>", followed
// by the object concerned and why.
class EMappingException : public std::runtime_error {
public:
    explicit EMappingException(int code, const std::string &detail = {});
    int code() const { return code_; }

private:
    int code_;
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

    // Stores path and the identity (device and inode) of the file it names in the first slot that is
    // free (or whose owner has ended) or already the owner's for this path; when all 20 belong to
    // other running owners nothing is stored (returns false). Registering again after a save records
    // the new file's identity.
    bool Register(const GuardOwner &owner, const std::string &path);
    // True when a running owner other than this one has this path (exactly, case-sensitive) or the
    // same file under another name (a hard or symbolic link: same device and inode).
    bool UsedByAnother(const GuardOwner &owner, const std::string &path);

    enum class Claim { Registered, UsedByAnother, TableFull };
    // UsedByAnother and, when free, Register, as one step under the lock, so that two programs
    // opening the same file at the same moment cannot both take it.
    Claim TryRegister(const GuardOwner &owner, const std::string &path);
    // Frees the owner's first slot with this path; the later slots move down one place.
    void Release(const GuardOwner &owner, const std::string &path);
    // UsedByAnother, and when true the read-only notice; the caller then abandons its change.
    bool ReadOnlyCheck(const GuardOwner &owner, const std::string &path, Notifier &notifier,
                       const std::string &applicationTitle);

    struct Slot {
        bool free = true; // "-" with no owner
        std::string path;
        GuardOwner owner;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
    };
    // The 20 slots as stored (an ended owner's slot still shows its path).
    std::vector<Slot> Slots();

    // The last error of the lock, 0 when none (the table is then used without it).
    int LockError() const { return lockError_; }

    // Removes the named table (tests; the programs never do).
    static void Remove(const std::string &name);

private:
    bool UsedByAnotherLocked(const GuardOwner &owner, const std::string &path);
    bool RegisterLocked(const GuardOwner &owner, const std::string &path);
    struct Table;
    class Lock;
    Table *table_ = nullptr;
    int fd_ = -1;
    int lockError_ = 0;
};

// The read-only notice for a data file used by another program.
std::string ReadOnlyText(const std::string &path, const std::string &applicationTitle);

} // namespace cel::database
