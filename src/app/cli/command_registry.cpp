#include "command_registry.h"

#include <algorithm>
#include <iostream>
#include <map>

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
    sub.add_option("--format", format, "Output: text (default) or json")
        ->transform(CLI::CheckedTransformer(
            std::map<std::string, OutputFormat>{{"text", OutputFormat::Text}, {"json", OutputFormat::Json}},
            CLI::ignore_case));
}

bool WantsJson(const RunContext &ctx, OutputFormat format) { return ctx.batch || format == OutputFormat::Json; }

void WriteJson(const RunContext &ctx, const nlohmann::json &value) {
    ctx.out << value.dump(ctx.batch ? -1 : 2) << '\n';
}

int RunWords(const std::vector<std::string> &words, RunContext &ctx) {
    CLI::App app{"Celestigrafo: charts, progressions, solar returns and the database from the command line",
                 "celestigrafo-cli"};
    app.require_subcommand(1);
    app.fallthrough();
    char separator = 0;
    app.add_option("--decimal-separator", separator,
                   "Decimal separator for numbers written to files and texts: ',' or '.' "
                   "(default: the user's locale)")
        ->check(CLI::IsMember({',', '.'}));
    AddAllCommands(app, ctx);

    std::vector<std::string> reversed(words.rbegin(), words.rend());
    try {
        app.parse_complete_callback([&] {
            if (separator != 0)
                ctx.format.decimalSeparator = separator;
        });
        app.parse(reversed);
    } catch (const CLI::CallForHelp &) {
        ctx.out << app.help(); // the help of the chosen command, when there is one
        return 0;
    } catch (const CLI::CallForAllHelp &) {
        ctx.out << app.help("", CLI::AppFormatMode::All);
        return 0;
    } catch (const CLI::ParseError &e) {
        if (ctx.batch)
            throw CommandError(e.what(), 2);
        ctx.err << "celestigrafo-cli: " << e.what() << '\n';
        return 2;
    } catch (const CommandError &e) {
        if (ctx.batch)
            throw;
        ctx.err << "celestigrafo-cli: " << e.what() << '\n';
        return e.code();
    } catch (const std::exception &e) {
        if (ctx.batch)
            throw CommandError(e.what(), 1);
        ctx.err << "celestigrafo-cli: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

} // namespace cel::cli
