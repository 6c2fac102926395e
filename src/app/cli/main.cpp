// celestigrafo-cli: the engine from the command line; results on standard output, errors on
// standard error with a non-zero exit code, never a question.
#include <QLocale>

#include <exception>
#include <iostream>

#include "command_registry.h"

int main(int argc, char **argv) {
    cel::cli::RunContext ctx{std::cout, std::cerr, false, {}};
    // QLocale::system() reads LC_ALL, LC_NUMERIC and LANG as the windows will.
    const QString point = QLocale::system().decimalPoint();
    ctx.format.decimalSeparator = point == QStringLiteral(",") ? ',' : '.';
    std::vector<std::string> words(argv + 1, argv + argc);
    try {
        return cel::cli::RunWords(words, ctx);
    } catch (const std::exception &e) {
        // Only a fault in setting up the commands gets here; a command's own failures are reported inside.
        std::cerr << "celestigrafo-cli: " << e.what() << '\n';
        return 1;
    }
}
