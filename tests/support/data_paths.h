// Where the tests find the sample files and the built programs (set by the build per test program).
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace cel::testsupport {

// A file of the tests' data folder (tests/data).
inline std::string DataPath(const std::string &name) {
    return std::string(CEL_TEST_DATA_DIR) + "/" + name;
}

// The whole file as bytes; empty when it cannot be read.
inline std::string Slurp(const std::filesystem::path &path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace cel::testsupport
