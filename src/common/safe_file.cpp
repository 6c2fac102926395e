#include "common/safe_file.h"
#include "common/clock.h"
#include "common/file_lock.h"
#include "common/system_error_text.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <vector>

namespace cel {

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

// The prefix of the temporary files of a target: ".NAME.tmp", then the process id, "-" and a number.
std::string TempPrefix(const std::string &target) {
    std::string prefix(1, '.');
    prefix += BaseName(target);
    prefix += ".tmp";
    return prefix;
}

// A file-size limit must give a write error the program can report, not end it with SIGXFSZ. The
// signal is ignored unless the program installed a handler of its own.
void IgnoreFileSizeSignal() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction old {};
        if (sigaction(SIGXFSZ, nullptr, &old) == 0 && old.sa_handler == SIG_DFL)
            signal(SIGXFSZ, SIG_IGN);
    });
}

FileIdentity IdentityFromStat(const struct stat &st) {
    FileIdentity id;
    id.exists = true;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.size = st.st_size;
    id.modified = st.st_mtim;
    return id;
}

// The other names in folder of the file st describes (hard links), without exclude.
std::vector<std::string> SameFileNames(const std::string &folder, const std::string &exclude,
                                       const struct stat &st) {
    std::vector<std::string> names;
    DIR *dir = opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent *entry = readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat other {};
        if (name == "." || name == ".." || name == exclude ||
            fstatat(dirfd(dir), entry->d_name, &other, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISREG(other.st_mode) && other.st_dev == st.st_dev && other.st_ino == st.st_ino)
            names.push_back(name);
    }
    closedir(dir);
    return names;
}

std::string Timestamp() {
    const CivilDateTime now = LocalNow();
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", now.year, now.month, now.day, now.hour,
                  now.minute, now.second);
    return text;
}

} // namespace

std::string SiblingPath(const std::string &path, const std::string &tag) {
    const std::string folder = Folder(path);
    const std::string name = BaseName(path);
    const std::size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    const std::string ext = dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot);
    const std::string base = folder + "/" + stem + "-" + tag + "-" + Timestamp();
    std::string candidate = base + ext;
    for (int n = 2; access(candidate.c_str(), F_OK) == 0 && n < 1000; ++n)
        candidate = base + "-" + std::to_string(n) + ext;
    return candidate;
}

FileError::FileError(const std::string &path, int errorCode)
    : std::runtime_error(path + ": " + SystemErrorText(errorCode)), path_(path), code_(errorCode) {}

FileError::FileError(const std::string &path, int errorCode, const std::string &message)
    : std::runtime_error(path + ": " + message), path_(path), code_(errorCode) {}

FileChangedError::FileChangedError(const std::string &path, const std::string &keptPath)
    : FileError(path, ESTALE,
                "el archivo cambió en el disco después de leerlo (otro programa lo guardó); no se "
                "sobrescribe. " +
                    (keptPath.empty() ? std::string("Los cambios de este programa no se guardaron.")
                                      : "Los cambios de este programa quedan en " + keptPath)),
      kept_(keptPath) {}

FileIdentity IdentityOf(const std::string &path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return {};
    return IdentityFromStat(st);
}

std::string NotRegularFileText() {
    return "no es un archivo común (es una tubería o un dispositivo); no se lee";
}

int OpenRegularFile(const std::string &path, int *error) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        *error = errno;
        return -1;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        *error = S_ISREG(st.st_mode) ? errno : S_ISDIR(st.st_mode) ? EISDIR : kNotRegularFile;
        close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::string ReadWholeFile(const std::string &path, FileIdentity *identity) {
    int error = 0;
    const int fd = OpenRegularFile(path, &error);
    if (fd < 0) {
        if (error == kNotRegularFile)
            throw FileError(path, EINVAL, NotRegularFileText());
        throw FileError(path, error);
    }
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        const int e = errno;
        close(fd);
        throw FileError(path, e);
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
    if (identity) {
        // The identity after the read, so that a change made while reading is seen as a change.
        struct stat after {};
        *identity = fstat(fd, &after) == 0 ? IdentityFromStat(after) : IdentityFromStat(st);
    }
    close(fd);
    return content;
}

std::string LinkTarget(const std::string &path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = readlink(current.c_str(), target.data(), target.size());
        if (n < 0)
            return current;
        target.resize(static_cast<std::size_t>(n));
        current = !target.empty() && target.front() == '/' ? target : Folder(current) + "/" + target;
    }
    return current;
}

bool MayReplace(const std::string &path, int *code) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return true; // nothing there to protect
    int e = 0;
    if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        e = errno;
    else if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        e = EACCES; // made read-only by its owner: root does not replace it either
    // The new file is written beside the old one: its folder must take it.
    else if (faccessat(AT_FDCWD, Folder(LinkTarget(path)).c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        e = errno;
    if (code)
        *code = e;
    return e == 0;
}

int NamesElsewhere(const std::string &path) {
    const std::string target = LinkTarget(path);
    struct stat st {};
    if (stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink <= 1)
        return 0;
    const auto here = SameFileNames(Folder(target), BaseName(target), st).size();
    const auto others = static_cast<std::size_t>(st.st_nlink) - 1;
    return others > here ? static_cast<int>(others - here) : 0;
}

int RemoveStaleTempFiles(const std::string &path) {
    const std::string target = LinkTarget(path);
    const std::string folder = Folder(target);
    const std::string prefix = TempPrefix(target);
    DIR *dir = opendir(folder.c_str());
    if (!dir)
        return 0;
    int removed = 0;
    while (const dirent *entry = readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.substr(0, prefix.size()) != prefix)
            continue;
        const std::string_view rest = name.substr(prefix.size());
        const std::size_t dash = rest.find('-');
        if (dash == std::string_view::npos || dash == 0)
            continue;
        pid_t pid = 0;
        bool digits = true;
        for (char c : rest.substr(0, dash)) {
            digits = digits && c >= '0' && c <= '9';
            pid = pid * 10 + (c - '0');
            if (pid > 1 << 30)
                digits = false;
        }
        if (!digits || pid <= 0)
            continue;
        // A running process (or one of another user, which kill may not signal) keeps its file.
        if (kill(pid, 0) == 0 || errno != ESRCH)
            continue;
        if (unlinkat(dirfd(dir), entry->d_name, 0) == 0)
            ++removed;
    }
    closedir(dir);
    return removed;
}

SafeFileWriter::SafeFileWriter(const std::string &path, const FileIdentity *expected)
    : path_(path), target_(LinkTarget(path)) {
    static std::atomic<unsigned> counter{0};
    IgnoreFileSizeSignal();
    if (expected) {
        checkIdentity_ = true;
        expected_ = *expected;
    }
    const std::string folder = Folder(target_);
    struct stat old {};
    const bool exists = stat(target_.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        throw FileError(path, EISDIR);
    int denied = 0;
    if (exists && !MayReplace(target_, &denied))
        throw FileError(path, denied);
    RemoveStaleTempFiles(target_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_ =
            folder + "/" + TempPrefix(target_) + std::to_string(getpid()) + "-" + std::to_string(counter++);
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
            throw FileError(path_, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

FileIdentity SafeFileWriter::Commit() {
    if (fsync(fd_) != 0)
        throw FileError(path_, errno);
    // A file this process holds locked stays held through the save: the new file is locked first.
    std::optional<FileLockTransfer> lock;
    std::vector<std::string> otherNames;
    struct stat old {};
    if (stat(target_.c_str(), &old) == 0) {
        lock.emplace(old.st_dev, old.st_ino, fd_);
        if (old.st_nlink > 1)
            otherNames = SameFileNames(Folder(target_), BaseName(target_), old);
    }
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) {
        const int e = errno;
        unlink(temp_.c_str());
        throw FileError(path_, e);
    }
    if (checkIdentity_ && !(IdentityOf(target_) == expected_)) {
        // Someone else saved the file since it was read: keep theirs, and ours beside it.
        std::string kept = SiblingPath(target_, "conflicto");
        if (rename(temp_.c_str(), kept.c_str()) != 0) {
            unlink(temp_.c_str());
            kept.clear();
        }
        throw FileChangedError(path_, kept);
    }
    if (rename(temp_.c_str(), target_.c_str()) != 0) {
        const int e = errno;
        unlink(temp_.c_str());
        throw FileError(path_, e);
    }
    if (lock)
        lock->Complete();
    // The other names of the old file take the new one: a fresh link renamed over each, so that a
    // name shows the old file or the new one, never a broken one, and the names stay one file.
    static std::atomic<unsigned> linkCounter{0};
    for (const std::string &name : otherNames) {
        const std::string other = Folder(target_) + "/" + name;
        const std::string fresh = Folder(target_) + "/" + TempPrefix(other) + std::to_string(getpid()) +
                                  "-l" + std::to_string(linkCounter++);
        struct stat now {};
        if (link(target_.c_str(), fresh.c_str()) != 0)
            continue;
        // Only a name that still is the old file (nobody replaced it meanwhile) is given the new one.
        if (lstat(other.c_str(), &now) != 0 || now.st_dev != old.st_dev || now.st_ino != old.st_ino ||
            rename(fresh.c_str(), other.c_str()) != 0)
            unlink(fresh.c_str());
    }
    // Make the rename itself durable.
    const int dir = open(Folder(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return IdentityOf(target_);
}

FileIdentity WriteFileSafely(const std::string &path, std::string_view bytes, const FileIdentity *expected) {
    SafeFileWriter writer(path, expected);
    writer.Write(bytes);
    return writer.Commit();
}

} // namespace cel
