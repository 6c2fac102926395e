// Reading whole files and replacing files safely: a new file is written beside the old one, flushed
// to disk and renamed over it, so a failure at any step leaves the old file exactly as it was.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace cel::database {

// A file that could not be read or written; what() is the path and the platform's error text.
class FileError : public std::runtime_error {
public:
    FileError(const std::string &path, int errorCode);
    int code() const { return code_; }
    const std::string &path() const { return path_; }

private:
    std::string path_;
    int code_;
};

// The whole content of a file; throws FileError.
std::string ReadWholeFile(const std::string &path);

// Writes a new version of a file. Nothing replaces the old file until Commit() succeeds; a writer
// destroyed without a successful Commit() removes its temporary file.
class SafeFileWriter {
public:
    explicit SafeFileWriter(const std::string &path); // throws FileError
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter &) = delete;
    SafeFileWriter &operator=(const SafeFileWriter &) = delete;

    void Write(std::string_view bytes); // throws FileError
    void Commit();                      // flush to disk, rename over the target; throws FileError

private:
    std::string target_;
    std::string temp_;
    int fd_ = -1;
};

// Replaces the file with the given bytes (a SafeFileWriter in one call).
void WriteFileSafely(const std::string &path, std::string_view bytes);

} // namespace cel::database
