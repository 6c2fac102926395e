#include "command_registry.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <map>

#include "common/version.h"
#include "option_checks.h"

namespace cel::cli {

namespace {
std::map<std::string, CommandFactory> &Registry() {
    static std::map<std::string, CommandFactory> registry;
    return registry;
}
} // namespace

bool RegisterCommand(const char *name, CommandFactory factory) {
    Registry()[name] = factory;
    return true;
}

void AddAllCommands(CLI::App &app, RunContext &ctx) {
    for (const auto &[name, factory] : Registry())
        factory(app, ctx);
}

void AddFormatOption(CLI::App &sub, OutputFormat &format) {
    sub.add_option_function<std::string>(
           "--format",
           [&format](const std::string &value) {
               format = (value.size() == 4 && std::tolower(static_cast<unsigned char>(value[0])) == 'j')
                            ? OutputFormat::Json
                            : OutputFormat::Text;
           },
           "Output: text (default) or json")
        ->type_name("text|json")
        ->check(CLI::Validator(
            [](const std::string &value) -> std::string {
                const std::string lower = AsciiLower(value);
                if (lower == "text" || lower == "json")
                    return {};
                return "'" + value + "' is not valid: expected text or json";
            },
            "", ""));
}

bool WantsJson(const RunContext &ctx, OutputFormat format) {
    return ctx.batch || format == OutputFormat::Json;
}

std::string DumpJson(const nlohmann::json &value, int indent) {
    // Texts that are not valid UTF-8 (a name typed in another encoding) must not abort the output.
    return value.dump(indent, ' ', false, nlohmann::json::error_handler_t::replace);
}

void WriteJson(const RunContext &ctx, const nlohmann::json &value) {
    ctx.out << DumpJson(value, ctx.batch ? -1 : 2) << '\n';
}

namespace {

// One line: parse errors may hold line breaks.
std::string OneLine(std::string text) {
    for (char &c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::string CommandNames() {
    std::string names;
    for (const auto &entry : Registry())
        names += (names.empty() ? "" : ", ") + entry.first;
    return names;
}

// The message of a parse error, naming what was wrong and what is expected.
std::string ParseMessage(const CLI::App &app, const CLI::ParseError &e,
                         const std::vector<std::string> &words) {
    const std::vector<CLI::App *> chosen = app.get_subcommands();
    if (chosen.empty()) {
        for (std::size_t i = 0; i < words.size(); ++i) {
            const std::string &word = words[i];
            if (word == "--decimal-separator") {
                ++i; // its value
                continue;
            }
            if (!word.empty() && word.front() != '-')
                return "unknown command '" + word + "': expected one of " + CommandNames() +
                       " (see celestigrafo-cli --help)";
        }
        if (dynamic_cast<const CLI::RequiredError *>(&e) != nullptr)
            return "a command is required: expected one of " + CommandNames() +
                   " (see celestigrafo-cli --help)";
    }
    std::string message = OneLine(e.what());
    if (dynamic_cast<const CLI::ExtrasError *>(&e) != nullptr && !chosen.empty())
        message += " (see celestigrafo-cli " + chosen.front()->get_name() + " --help)";
    return message;
}

} // namespace

int RunWords(const std::vector<std::string> &words, RunContext &ctx) {
    CLI::App app{"Celestigrafo: charts, progressions, solar returns and the database from the command line",
                 "celestigrafo-cli"};
    app.require_subcommand(1);
    app.fallthrough();
    app.set_version_flag("--version", std::string("celestigrafo-cli ") + kPackageVersion,
                         "Print the program's version and exit");
    char separator = 0;
    app.add_option("--decimal-separator", separator,
                   "Decimal separator for numbers written to files and texts: ',' or '.' "
                   "(default: the user's locale)")
        ->type_name("CHAR")
        ->check(CLI::Validator(
            [](const std::string &value) -> std::string {
                return value == "," || value == "." ? std::string()
                                                    : "'" + value + "' is not valid: expected ',' or '.'";
            },
            "", ""));
    AddAllCommands(app, ctx);

    std::vector<std::string> reversed(words.rbegin(), words.rend());
    try {
        app.parse_complete_callback([&] {
            if (separator != 0)
                ctx.format.decimalSeparator = separator;
        });
        app.parse(reversed);
    } catch (const CLI::CallForHelp &) {
        // The help of the chosen command, when there is one; a batch line gets it as one JSON object.
        if (ctx.batch)
            WriteJson(ctx, {{"help", app.help()}});
        else
            ctx.out << app.help();
        return 0;
    } catch (const CLI::CallForVersion &e) {
        if (ctx.batch)
            WriteJson(ctx, {{"version", kPackageVersion}});
        else
            ctx.out << e.what() << '\n';
        return 0;
    } catch (const CLI::CallForAllHelp &) {
        if (ctx.batch)
            WriteJson(ctx, {{"help", app.help("", CLI::AppFormatMode::All)}});
        else
            ctx.out << app.help("", CLI::AppFormatMode::All);
        return 0;
    } catch (const CLI::ParseError &e) {
        const std::string message = ParseMessage(app, e, words);
        if (ctx.batch)
            throw CommandError(message, 2);
        ctx.err << "celestigrafo-cli: " << message << '\n';
        return 2;
    } catch (const CommandError &e) {
        if (ctx.batch)
            throw;
        ctx.err << "celestigrafo-cli: " << OneLine(e.what()) << '\n';
        return e.code();
    } catch (const std::exception &e) {
        if (ctx.batch)
            throw CommandError(e.what(), 1);
        ctx.err << "celestigrafo-cli: " << OneLine(e.what()) << '\n';
        return 1;
    }
    return 0;
}

} // namespace cel::cli
