#include "safe_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

namespace cel::database {

namespace {

std::string Folder(const std::string &path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string BaseName(const std::string &path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file that the path names, following symbolic links, so that a link stays a link.
std::string ResolveTarget(const std::string &path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char *real = realpath(path.c_str(), nullptr)) {
            std::string resolved(real);
            std::free(real);
            return resolved;
        }
    }
    return path;
}

} // namespace

FileError::FileError(const std::string &path, int errorCode)
    : std::runtime_error(path + ": " + std::strerror(errorCode)), path_(path), code_(errorCode) {}

std::string ReadWholeFile(const std::string &path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw FileError(path, errno);
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        const int e = errno;
        close(fd);
        throw FileError(path, e);
    }
    if (S_ISDIR(st.st_mode)) {
        close(fd);
        throw FileError(path, EISDIR);
    }
    std::string content;
    if (st.st_size > 0)
        content.reserve(static_cast<std::size_t>(st.st_size));
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int e = errno;
            close(fd);
            throw FileError(path, e);
        }
        if (n == 0)
            break;
        content.append(buf, static_cast<std::size_t>(n));
    }
    close(fd);
    return content;
}

SafeFileWriter::SafeFileWriter(const std::string &path) : target_(ResolveTarget(path)) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = Folder(target_);
    struct stat old {};
    const bool exists = stat(target_.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        throw FileError(path, EISDIR);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_ = folder + "/." + BaseName(target_) + ".tmp" + std::to_string(getpid()) + "-" +
                std::to_string(counter++);
        fd_ = open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0 || errno != EEXIST)
            break;
    }
    if (fd_ < 0)
        throw FileError(path, errno);
    if (exists) {
        // The new version keeps the old file's permissions and, where allowed, its owner.
        if (fchown(fd_, old.st_uid, old.st_gid) != 0) {
            // Not allowed for an ordinary user: the new file stays the writer's own.
        }
        fchmod(fd_, old.st_mode & 07777);
    }
}

SafeFileWriter::~SafeFileWriter() {
    if (fd_ >= 0) {
        close(fd_);
        unlink(temp_.c_str());
    }
}

void SafeFileWriter::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(target_, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void SafeFileWriter::Commit() {
    if (fsync(fd_) != 0)
        throw FileError(target_, errno);
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) {
        const int e = errno;
        unlink(temp_.c_str());
        throw FileError(target_, e);
    }
    if (rename(temp_.c_str(), target_.c_str()) != 0) {
        const int e = errno;
        unlink(temp_.c_str());
        throw FileError(target_, e);
    }
    // Make the rename itself durable.
    const int dir = open(Folder(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
}

void WriteFileSafely(const std::string &path, std::string_view bytes) {
    SafeFileWriter writer(path);
    writer.Write(bytes);
    writer.Commit();
}

} // namespace cel::database
