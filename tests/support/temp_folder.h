// A fresh folder under the system's temporary folder for one test, removed with the object.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

#include "support/data_paths.h"

namespace cel::testsupport {

class TempFolder {
public:
    // stem names the folder, so that a folder left by a killed test shows which test made it.
    explicit TempFolder(std::string_view stem = "celtest") {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (std::string(stem) + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::filesystem::filesystem_error("mkdtemp", pattern,
                                                    std::error_code(errno, std::generic_category()));
        path_ = pattern;
    }
    ~TempFolder() {
        if (kept_)
            return;
        // A test may have made the folder or a subfolder read-only: open them again so that all goes.
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
            if (it->is_directory(ec) && !it->is_symlink(ec))
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::string &Path() const { return path_; }
    std::filesystem::path Dir() const { return path_; }
    std::string File(const std::string &name) const { return path_ + "/" + name; }

    // A copy of a file of the test data folder, under its own name or the one given.
    std::string Copy(const std::string &sample, const std::string &as = {}) const {
        const std::string to = File(as.empty() ? sample : as);
        std::filesystem::copy_file(DataPath(sample), to, std::filesystem::copy_options::overwrite_existing);
        return to;
    }
    // A file with exactly these bytes.
    std::string Write(const std::string &name, const std::string &bytes) const {
        const std::string path = File(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // The names in the folder, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto &e : std::filesystem::directory_iterator(path_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Writable by every user, for tests that act as a second user in the folder.
    void OpenToAll() const { ::chmod(path_.c_str(), 0777); }
    // Left in place for a look after the test.
    void Keep() { kept_ = true; }

private:
    std::string path_;
    bool kept_ = false;
};

} // namespace cel::testsupport
