// Locks that tell every other process, whatever its user, that a program holds a data file: an
// open-file-description write lock (fcntl F_OFD_SETLK) on the file itself. Only a user who may open
// the file for writing can take one, and the system drops it when the holder ends, however it ends.
// Within one process a file has one lock, shared by every holder; a save that replaces a held file
// (SafeFileWriter) moves the lock to the new file before the new file takes the name.
#pragma once

#include <memory>
#include <string>
#include <sys/types.h>

namespace cel {

class FileLock;
using FileLockHold = std::shared_ptr<FileLock>;

enum class FileLockResult {
    Held,          // this process holds the file now (*hold set)
    HeldByAnother, // another process holds it for writing
    Unavailable,   // no regular file there, not writable by this user, or no locks on its file system
};

// Takes, or shares within this process, the write lock on the file path names now. Read locks of
// others (any reader may take one) never count as a holder: the file is then held by nobody.
FileLockResult HoldFileLock(const std::string &path, FileLockHold *hold);

// True when another process holds a write lock on the file path names now; this process's own holds
// do not count.
bool FileLockedByAnother(const std::string &path);

// Moves this process's lock from a file being replaced to its new version: made with the new file
// open (newFd) before the rename; Complete() after the rename makes the new file the held one, while
// a transfer destroyed without Complete() leaves the hold on the old file. Does nothing when this
// process holds no lock on the old file.
class FileLockTransfer {
public:
    FileLockTransfer(dev_t oldDevice, ino_t oldInode, int newFd);
    ~FileLockTransfer();
    FileLockTransfer(const FileLockTransfer &) = delete;
    FileLockTransfer &operator=(const FileLockTransfer &) = delete;
    void Complete();

private:
    FileLockHold entry_;
    int fd_ = -1;
};

} // namespace cel
