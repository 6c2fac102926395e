// Small helpers shared by the database tests.
#pragma once

#include <string>

#include "common/safe_file.h"
#include "support/temp_folder.h"

namespace cel::dbtest {

using testsupport::DataPath;
using testsupport::TempFolder;

inline std::string ReadBytes(const std::string &path) {
    return ReadWholeFile(path);
}

} // namespace cel::dbtest
