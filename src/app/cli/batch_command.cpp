// "batch": one command per line from standard input, one JSON object per line on standard output.
#include <iostream>
#include <sstream>

#include "command_registry.h"

namespace cel::cli {

namespace {

// Splits a line into words; double or single quotes group words, a backslash escapes one character.
std::vector<std::string> SplitWords(const std::string &line, bool &ok) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    ok = true;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
            else if (c == '\\' && quote == '"' && i + 1 < line.size())
                word += line[++i];
            else
                word += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
            inWord = true;
        } else if (c == '\\' && i + 1 < line.size()) {
            word += line[++i];
            inWord = true;
        } else if (c == ' ' || c == '\t' || c == '\r') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quote != 0)
        ok = false;
    if (inWord)
        words.push_back(word);
    return words;
}

void AddBatch(CLI::App &app, RunContext &ctx) {
    auto *sub = app.add_subcommand(
        "batch", "Read one command per line from standard input and write one JSON object per line");
    sub->footer("Example:\n  printf 'chart --date 1979-10-17 --time 12:30 --tz -5 --lon 76.53 --lat 3.45\\n' "
                "| celestigrafo-cli batch");
    sub->callback([&ctx] {
        bool anyFailed = false;
        std::string line;
        while (std::getline(std::cin, line)) {
            bool ok = true;
            const std::vector<std::string> words = SplitWords(line, ok);
            if (words.empty() && ok)
                continue;
            std::ostringstream out;
            RunContext lineCtx{out, ctx.err, true, ctx.format};
            std::string error;
            if (!ok)
                error = "unterminated quote";
            else if (words.front() == "batch")
                error = "batch cannot run inside batch";
            else {
                try {
                    if (RunWords(words, lineCtx) != 0)
                        error = "command failed";
                } catch (const std::exception &e) {
                    error = e.what();
                }
            }
            if (!error.empty()) {
                anyFailed = true;
                ctx.out << nlohmann::json{{"error", error}}.dump() << '\n';
            } else {
                ctx.out << out.str();
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
