#include "common/private_folder.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cel {

namespace {

// Makes path (a folder of this user, created when missing) private; returns 0 or the errno value.
int MakePrivateFolder(const std::string &path) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return errno;
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode) || st.st_uid != geteuid())
        return EPERM; // somebody else's folder (or a link) under our name: never used
    if ((st.st_mode & 077) != 0 && chmod(path.c_str(), 0700) != 0)
        return errno;
    return IsPrivateFolder(path) ? 0 : EPERM;
}

std::string HomeFolder() {
    if (const passwd *pw = getpwuid(geteuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/')
        return pw->pw_dir;
    const char *home = std::getenv("HOME");
    return home && home[0] == '/' ? home : "";
}

} // namespace

bool IsPrivateFolder(const std::string &path) {
    struct stat st {};
    return !path.empty() && path.front() == '/' && lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

std::string PrivateRuntimeFolder(int *error) {
    if (const char *runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && IsPrivateFolder(runtime))
        return runtime;
    // Every program of the user finds the same folder, whatever its TMPDIR.
    const std::string own = "/tmp/celestigrafo-" + std::to_string(geteuid());
    int e = MakePrivateFolder(own);
    if (e == 0)
        return own;
    if (const std::string home = HomeFolder(); !home.empty()) {
        const std::string cache = home + "/.cache";
        mkdir(cache.c_str(), 0700);
        const std::string folder = cache + "/celestigrafo-run";
        if (MakePrivateFolder(folder) == 0)
            return folder;
    }
    if (error)
        *error = e;
    return {};
}

} // namespace cel
