// The shared-use guard: which program has which data file open, so that two writers never overwrite
// each other's changes; a program that finds its file held by another treats it as read-only.
// Programs of one user keep a table of 20 slots in a file of the user's private run-time folder,
// which no other user can read, forge or shrink; it is read and written with plain calls that fail
// cleanly. Programs of different users who share a data file meet through the file itself: each
// holder keeps an open-file-description lock on it (common/file_lock.h), which only a user who may
// write the file can take and which the system drops when the holder ends.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "common/file_lock.h"
#include "common/notifier.h"

namespace cel::database {

// A failure to open the table: "Memory Mapping Error #<code>", followed by the file concerned and why.
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

// The start time of a process in clock ticks since boot, 0 when it does not exist.
std::uint64_t ProcessStartTime(std::int32_t pid);

// True while the owner's process runs (the same process, not a later one with its id).
bool OwnerAlive(const GuardOwner &owner);

class SharedUseGuard {
public:
    static constexpr int kSlots = 20;
    static constexpr const char *kDefaultName = "/Norvelta_FilePath";

    // Opens this user's table of that name, creating it with every slot free when no program has it
    // yet. Throws EMappingException when it cannot be opened or created, or is not this user's own.
    explicit SharedUseGuard(const std::string &name = kDefaultName);
    ~SharedUseGuard();
    SharedUseGuard(const SharedUseGuard &) = delete;
    SharedUseGuard &operator=(const SharedUseGuard &) = delete;

    // Stores path and the identity (device and inode) of the file it names in the first slot that is
    // free (or whose owner has ended) or already the owner's for this path; when all 20 belong to
    // other running owners nothing is stored (returns false). Registering again after a save records
    // the new file's identity. A stored registration also holds the file's lock when it can.
    bool Register(const GuardOwner &owner, const std::string &path);
    // True when a running owner other than this one has this path (exactly, case-sensitive) or the
    // same file under another name (a hard or symbolic link: same device and inode), or when another
    // process, of any user, holds the file's lock.
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

    // The file holding this user's table of that name (empty when the user has no private folder).
    static std::string TablePath(const std::string &name);
    // Removes the named table (tests; the programs never do).
    static void Remove(const std::string &name);

private:
    bool UsedByAnotherLocked(const GuardOwner &owner, const std::string &path);
    bool RegisterLocked(const GuardOwner &owner, const std::string &path);
    void HoldLock(const GuardOwner &owner, const std::string &path);
    void DropStaleHolds(const GuardOwner &owner);
    void Load();
    bool Store();
    struct Table;
    class Lock;
    using HoldKey = std::tuple<std::int32_t, std::uint64_t, std::uint64_t, std::string>;
    static HoldKey KeyOf(const GuardOwner &owner, const std::string &path);
    std::unique_ptr<Table> table_; // this process's copy, read afresh under the lock for each step
    std::map<HoldKey, FileLockHold> holds_;
    std::string file_;
    int fd_ = -1;
    int lockError_ = 0;
};

// The read-only notice for a data file used by another program.
std::string ReadOnlyText(const std::string &path, const std::string &applicationTitle);

} // namespace cel::database
