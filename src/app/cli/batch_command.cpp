// "batch": one command per line from standard input, one JSON object per line on standard output.
#include <iostream>
#include <sstream>

#include "batch_line.h"
#include "command_registry.h"

namespace cel::cli {

namespace {

// Runs one line; its output (one JSON object) or its error.
std::string RunLine(const std::vector<std::string> &words, RunContext &ctx, std::string &error) {
    std::ostringstream out;
    std::ostringstream err; // nothing of a line goes to standard error: its error is its JSON object
    RunContext lineCtx{out, err, true, ctx.format};
    try {
        if (RunWords(words, lineCtx) != 0)
            error = err.str().empty() ? "command failed" : err.str();
    } catch (const std::exception &e) {
        error = e.what();
    }
    if (!error.empty())
        return {};
    std::string text = out.str();
    if (text.empty())
        error = "the command wrote no result";
    return text;
}

void AddBatch(CLI::App &app, RunContext &ctx) {
    auto *sub = app.add_subcommand(
        "batch", "Read one command per line from standard input and write one JSON object per line");
    sub->footer("Each line holds the words of one command as on the command line; blank lines and lines\n"
                "starting with # are skipped. A line that fails gives {\"error\": \"...\"} and the run goes\n"
                "on; the exit code is 1 when any line failed.\n"
                "Example:\n  printf 'chart --date 1979-10-17 --time 12:30 --tz -5 --lon 76.53 --lat 3.45\\n' "
                "| celestigrafo-cli batch\n");
    sub->callback([&ctx] {
        if (ctx.batch)
            throw CommandError("batch cannot run inside batch", 2);
        bool anyFailed = false;
        std::string line;
        while (std::getline(std::cin, line)) {
            const std::size_t first = line.find_first_not_of(" \t\r");
            if (first == std::string::npos || line[first] == '#')
                continue;
            bool ok = true;
            const std::vector<std::string> words = SplitBatchWords(line, ok);
            std::string error;
            std::string output;
            if (!ok)
                error = "unterminated quote";
            else
                output = RunLine(words, ctx, error);
            if (!error.empty()) {
                anyFailed = true;
                while (!error.empty() && (error.back() == '\n' || error.back() == ' '))
                    error.pop_back();
                ctx.out << DumpJson(nlohmann::json{{"error", error}}) << '\n';
            } else {
                ctx.out << output;
            }
            ctx.out.flush();
        }
        if (anyFailed)
            throw CommandError("one or more lines failed");
    });
}

const bool registered = RegisterCommand("batch", AddBatch);

} // namespace
} // namespace cel::cli
