// The command-line program's commands: each cli/*.cpp registers the subcommands it owns, so that
// the program and its batch mode build the same set of commands.
#pragma once

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/text_format.h"

namespace cel::cli {

enum class OutputFormat { Text, Json };

// Everything a command needs besides its own options.
struct RunContext {
    std::ostream &out;
    std::ostream &err;
    bool batch = false; // a batch line: output is one JSON object on one line
    TextFormat format;  // locale choices (decimal separator)
};

// A failure while running a command (not a parse error): message on standard error, exit code 1.
class CommandError : public std::runtime_error {
public:
    explicit CommandError(const std::string &what, int code = 1) : std::runtime_error(what), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// Adds one subcommand to app; its callback writes to ctx.out and throws CommandError on failure.
using CommandFactory = void (*)(CLI::App &app, RunContext &ctx);

// Called from a static object in each command file.
bool RegisterCommand(const char *name, CommandFactory factory);

// The whole program: global options and every registered command.
void AddAllCommands(CLI::App &app, RunContext &ctx);

// Adds the "--format text|json" option to a subcommand.
void AddFormatOption(CLI::App &sub, OutputFormat &format);
// JSON when the option asks for it or the command runs as a batch line.
bool WantsJson(const RunContext &ctx, OutputFormat format);
// JSON text; bytes that are not valid UTF-8 are replaced instead of failing.
std::string DumpJson(const nlohmann::json &value, int indent = -1);
// Writes a JSON result: indented for a person, one line in batch mode.
void WriteJson(const RunContext &ctx, const nlohmann::json &value);

// Runs one command line given as words (without the program name); returns the exit code.
int RunWords(const std::vector<std::string> &words, RunContext &ctx);

} // namespace cel::cli
