// Reading whole files and replacing files safely, for every save of the programs: a new file is
// written beside the old one, flushed to disk and renamed over it, so a failure at any step leaves the
// old file exactly as it was. A symbolic link is written through to the file it names and stays a
// link. A file the user cannot write is refused, a file-size limit is an ordinary write error, and
// temporary files left by saves whose process has died are removed.
#pragma once

#include <ctime>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace cel {

// A file that could not be read or written; what() is the path and the platform's error text.
class FileError : public std::runtime_error {
public:
    FileError(const std::string &path, int errorCode);
    FileError(const std::string &path, int errorCode, const std::string &message);
    int code() const { return code_; }
    const std::string &path() const { return path_; }

private:
    std::string path_;
    int code_;
};

// Opens a file to read it only when it is a regular file: a pipe, a device or a folder is refused at
// once (a pipe never blocks the open). Returns the descriptor, or -1 with *error set (errno, EISDIR
// for a folder, or kNotRegularFile).
inline constexpr int kNotRegularFile = -2;
int OpenRegularFile(const std::string &path, int *error);
// The message for a path that names no regular file.
std::string NotRegularFileText();

// Which file a path named when it was read: a later save compares it with the file then on disk.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::timespec modified{};

    bool operator==(const FileIdentity &o) const {
        return exists == o.exists &&
               (!exists || (device == o.device && inode == o.inode && size == o.size &&
                            modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec));
    }
};

// The identity of the file a path names now (following links); exists is false when there is none.
FileIdentity IdentityOf(const std::string &path);

// A save refused because the file on disk is no longer the one that was read: another program
// replaced or changed it. The file on disk is left as it is; the new version is kept beside it
// (keptPath), so neither is lost.
class FileChangedError : public FileError {
public:
    FileChangedError(const std::string &path, const std::string &keptPath);
    const std::string &keptPath() const { return kept_; }

private:
    std::string kept_;
};

// The whole content of a file; throws FileError. With identity, also the identity of the file read.
std::string ReadWholeFile(const std::string &path, FileIdentity *identity = nullptr);

// The file a path finally names when its symbolic links are followed (the path itself otherwise);
// the file need not exist.
std::string LinkTarget(const std::string &path);

// A free name beside path for a dated copy: "datos.age" with tag "copia" gives
// "datos-copia-20261210-153000.age" in the same folder.
std::string SiblingPath(const std::string &path, const std::string &tag);

// True when the user may replace the existing file at path: the file writable, and its folder open to
// the new file written beside it; false with errno-style code otherwise (a file without any write
// permission counts as read-only for every user, root included).
bool MayReplace(const std::string &path, int *code = nullptr);

// How many names (hard links) the file at path has outside its own folder: a save keeps the names in
// the folder on the new file, while those elsewhere would keep the old content.
int NamesElsewhere(const std::string &path);

// Removes the hidden temporary files of earlier saves of path whose process no longer runs.
// Returns how many were removed.
int RemoveStaleTempFiles(const std::string &path);

// Writes a new version of a file. Nothing replaces the old file until Commit() succeeds; a writer
// destroyed without a successful Commit() removes its temporary file. With expected, Commit() first
// checks that the file on disk is still that one and throws FileChangedError otherwise. The other
// names of the old file in its folder (hard links) are then given the new file too, each by an atomic
// rename, so that no name ever shows a half-written file.
class SafeFileWriter {
public:
    explicit SafeFileWriter(const std::string &path, const FileIdentity *expected = nullptr); // FileError
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter &) = delete;
    SafeFileWriter &operator=(const SafeFileWriter &) = delete;

    void Write(std::string_view bytes); // throws FileError
    // Flushes to disk and renames over the target; throws FileError. Returns the new file's identity.
    FileIdentity Commit();

private:
    std::string path_;   // as given, for messages
    std::string target_; // the file written (links followed)
    std::string temp_;
    int fd_ = -1;
    bool checkIdentity_ = false;
    FileIdentity expected_;
};

// Replaces the file with the given bytes (a SafeFileWriter in one call); returns the new identity.
FileIdentity WriteFileSafely(const std::string &path, std::string_view bytes,
                             const FileIdentity *expected = nullptr);

} // namespace cel
