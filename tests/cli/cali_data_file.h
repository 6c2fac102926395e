// A small data file for the command-line tests: Cali, and persons born there (Ana Restrepo on
// 1979-10-17 at 12:30 local time, one without a birth date, two namesakes).
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace cel::testing {

// Windows-1252, fields separated by 0xE2; written under the temporary folder, named after stem.
inline std::string CaliDataFile(const std::string &stem) {
    const std::string path =
        (std::filesystem::temp_directory_path() / (stem + "_" + std::to_string(::getpid()) + ".age"))
            .string();
    std::ofstream file(path, std::ios::binary);
    file << "P\xE2"
            "1\xE2"
            "Colombia\xE2\r\n"
            "L\xE2"
            "3\xE2"
            "Cali\xE2"
            "1\xE2"
            "0\xE2-5\xE2"
            "3,43722\xE2"
            "76,5225\xE2Valle\xE2\r\n"
            "I\xE2"
            "1\xE2"
            "Ana\xE2Restrepo\xE2"
            "3\xE2"
            "1\xE2"
            "1\xE2"
            "29145,5208333333\xE2"
            "0\xE2"
            "0\xE2\r\n"
            "I\xE2"
            "2\xE2Sin\xE2"
            "Fecha\xE2"
            "3\xE2"
            "0\xE2"
            "0\xE2"
            "0\xE2-1\xE2"
            "1\xE2\r\n"
            "I\xE2"
            "3\xE2Juan\xE2P\xE9rez\xE2"
            "3\xE2"
            "1\xE2"
            "1\xE2"
            "40000,5\xE2"
            "1\xE2"
            "1\xE2\r\n"
            "I\xE2"
            "4\xE2Juan\xE2P\xE9rez\xE2"
            "3\xE2"
            "1\xE2"
            "1\xE2"
            "40001,5\xE2"
            "1\xE2"
            "1\xE2\r\n";
    return path;
}

} // namespace cel::testing
