// Runs the built celestigrafo-cli as a user would: shell words, standard input, exit code and both
// output streams.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "support/data_paths.h"

namespace cel::testsupport {

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

// Exit code of a shell command, -1 when it did not exit normally.
inline int Shell(const std::string &command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The program with arguments (already shell-quoted), the given standard input, and an optional
// prefix such as "env LANG=es_CO.UTF-8 ".
inline CliRun RunCli(const std::string &arguments, const std::string &input = "",
                     const std::string &prefix = "") {
    static int counter = 0;
    const std::string stem =
        (std::filesystem::temp_directory_path() /
         ("celestigrafo_cli_" + std::to_string(::getpid()) + "_" + std::to_string(++counter)))
            .string();
    {
        std::ofstream in(stem + ".in", std::ios::binary);
        in << input;
    }
    CliRun run;
    run.code = Shell(prefix + "'" + CEL_CLI_PATH + "' " + arguments + " <'" + stem + ".in' >'" + stem +
                     ".out' 2>'" + stem + ".err'");
    run.out = Slurp(stem + ".out");
    run.err = Slurp(stem + ".err");
    for (const char *ext : {".in", ".out", ".err"})
        std::filesystem::remove(stem + ext);
    return run;
}

} // namespace cel::testsupport
