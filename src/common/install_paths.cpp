#include "common/install_paths.h"

#include <cstdlib>
#include <system_error>

namespace cel {

namespace {

namespace fs = std::filesystem;

bool IsDirectory(const fs::path &p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

// The installed folder (prefix/relative) when the executable sits in prefix/bin, else the fallback.
fs::path Locate(const char *installedRelative, const fs::path &marker, const char *sourceFallback) {
    const fs::path exeDir = ExecutableDirectory();
    if (!exeDir.empty()) {
        const fs::path installed = exeDir.parent_path() / installedRelative;
        std::error_code ec;
        if (fs::exists(installed / marker, ec)) {
            return installed;
        }
    }
    return fs::path(sourceFallback);
}

} // namespace

fs::path ExecutableDirectory() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
}

fs::path DataDirectory() {
    if (const char *env = std::getenv("CELESTIGRAFO_DATA_DIR"); env != nullptr && *env != '\0') {
        if (IsDirectory(env)) {
            return fs::path(env);
        }
    }
    return Locate(CEL_INSTALL_DATADIR, "ejemplo.age", CEL_SOURCE_DATA_DIR);
}

fs::path HelpDirectory() {
    // The variable names another help folder (a packager's, or a test's).
    if (const char *env = std::getenv("CELESTIGRAFO_HELP_DIR"); env != nullptr && *env != '\0')
        return fs::path(env);
    return Locate(CEL_INSTALL_HELPDIR, "index.html", CEL_SOURCE_HELP_DIR);
}

} // namespace cel
