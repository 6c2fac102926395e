#include "common/file_lock.h"
#include "common/safe_file.h"

#include <cerrno>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <vector>

namespace cel {

class FileLock {
public:
    FileLock(int fd, dev_t device, ino_t inode) : fd(fd), device(device), inode(inode), pid(getpid()) {}
    ~FileLock() {
        if (fd >= 0 && pid == getpid())
            close(fd);
    }
    int fd;
    dev_t device;
    ino_t inode;
    pid_t pid; // a child made by fork() holds nothing: the lock is its parent's
};

namespace {

std::mutex registryMutex;
std::vector<std::weak_ptr<FileLock>> registry;

// A forked child closes its copies of the parent's lock descriptors, so that the parent's release
// is not held up by a child that lives on (the parent's own descriptors keep its locks).
void ForgetLocksInChild() {
    if (!registryMutex.try_lock())
        return;
    for (auto &weak : registry)
        if (const FileLockHold entry = weak.lock(); entry && entry->fd >= 0) {
            close(entry->fd);
            entry->fd = -1;
        }
    registry.clear();
    registryMutex.unlock();
}

void WatchForks() {
    static std::once_flag once;
    std::call_once(once, [] { pthread_atfork(nullptr, nullptr, ForgetLocksInChild); });
}

// This process's lock on a file, if it has one (registryMutex held).
FileLockHold FindLocked(dev_t device, ino_t inode) {
    const pid_t self = getpid();
    FileLockHold found;
    std::erase_if(registry, [&](const std::weak_ptr<FileLock> &weak) {
        const FileLockHold entry = weak.lock();
        if (!entry)
            return true;
        if (!found && entry->pid == self && entry->fd >= 0 && entry->device == device &&
            entry->inode == inode)
            found = entry;
        return false;
    });
    return found;
}

struct flock WholeFile(short type) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 0; // to the end, however the file grows
    return fl;
}

// True when a process other than the one behind fd's open file holds a write lock on its file.
bool WriteLockedByOther(int fd) {
    struct flock probe = WholeFile(F_RDLCK); // conflicts with write locks only
    return fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
}

// A regular file opened without blocking (a pipe's open would wait); -1 otherwise.
int OpenRegular(const std::string &path, int flags, struct stat *st) {
    const int fd = open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return -1;
    if (fstat(fd, st) != 0 || !S_ISREG(st->st_mode)) {
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace

FileLockResult HoldFileLock(const std::string &path, FileLockHold *hold) {
    WatchForks();
    struct stat st {};
    const int fd = OpenRegular(path, O_RDWR, &st);
    if (fd < 0)
        return FileLockResult::Unavailable;
    // A user who cannot save the file (its folder closed to the user, say) holds nothing, so as not to
    // make the file read-only for the others.
    if (!MayReplace(path)) {
        close(fd);
        return FileLockResult::Unavailable;
    }
    std::lock_guard guard(registryMutex);
    if (FileLockHold mine = FindLocked(st.st_dev, st.st_ino)) {
        close(fd);
        *hold = std::move(mine);
        return FileLockResult::Held;
    }
    struct flock fl = WholeFile(F_WRLCK);
    if (fcntl(fd, F_OFD_SETLK, &fl) == 0) {
        auto entry = std::make_shared<FileLock>(fd, st.st_dev, st.st_ino);
        registry.push_back(entry);
        *hold = std::move(entry);
        return FileLockResult::Held;
    }
    const int e = errno;
    // Refused by a write lock: another program holds the file. Refused by read locks alone: some
    // reader, who must not be able to shut the writers out; nobody holds the file then.
    const bool writer = (e == EAGAIN || e == EACCES) && WriteLockedByOther(fd);
    close(fd);
    return writer ? FileLockResult::HeldByAnother : FileLockResult::Unavailable;
}

bool FileLockedByAnother(const std::string &path) {
    struct stat st {};
    const int fd = OpenRegular(path, O_RDONLY, &st);
    if (fd < 0)
        return false;
    bool locked = false;
    {
        std::lock_guard guard(registryMutex);
        // Asked through our own lock's open file, so that our own lock is not taken for another's.
        const FileLockHold mine = FindLocked(st.st_dev, st.st_ino);
        locked = WriteLockedByOther(mine ? mine->fd : fd);
    }
    close(fd);
    return locked;
}

FileLockTransfer::FileLockTransfer(dev_t oldDevice, ino_t oldInode, int newFd) {
    std::lock_guard guard(registryMutex);
    entry_ = FindLocked(oldDevice, oldInode);
    if (!entry_)
        return;
    fd_ = fcntl(newFd, F_DUPFD_CLOEXEC, 0);
    struct flock fl = WholeFile(F_WRLCK);
    if (fd_ >= 0 && fcntl(fd_, F_OFD_SETLK, &fl) != 0) {
        close(fd_);
        fd_ = -1;
    }
}

FileLockTransfer::~FileLockTransfer() {
    if (fd_ >= 0)
        close(fd_);
}

void FileLockTransfer::Complete() {
    if (fd_ < 0 || !entry_)
        return;
    struct stat st {};
    if (fstat(fd_, &st) != 0)
        return;
    std::lock_guard guard(registryMutex);
    // Closing the old descriptor drops the old file's lock: the name now belongs to the new file.
    close(entry_->fd);
    entry_->fd = fd_;
    entry_->device = st.st_dev;
    entry_->inode = st.st_ino;
    fd_ = -1;
}

} // namespace cel
