// Small helpers shared by the database tests.
#pragma once

#include <filesystem>
#include <string>

#include "database/safe_file.h"

namespace cel::dbtest {

inline std::string DataPath(const std::string &name) {
    return std::string(CEL_TEST_DATA_DIR) + "/" + name;
}

inline std::string ReadBytes(const std::string &path) {
    return database::ReadWholeFile(path);
}

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "celdb-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    std::string File(const std::string &name) const { return path_ + "/" + name; }
    const std::string &Path() const { return path_; }

private:
    std::string path_;
};

} // namespace cel::dbtest
