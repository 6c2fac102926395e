// Reading the command line's grids for comparison with the main window's pages.
#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <string>
#include <vector>

namespace cel::workspace::test {

// The cells of `celestigrafo-cli table --format json` for a person of the data file.
inline std::vector<std::vector<std::string>> CliTable(const std::string &dataFile, const std::string &person,
                                                      const std::string &extra) {
    const std::string command = std::string("'") + CEL_CLI_PATH + "' table --db '" + dataFile +
                                "' --person '" + person + "' --format json " + extra;
    FILE *pipe = ::popen(command.c_str(), "r");
    std::string text;
    char buffer[4096];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe))
        text += buffer;
    if (pipe)
        ::pclose(pipe);
    std::vector<std::vector<std::string>> rows;
    const QJsonArray cells =
        QJsonDocument::fromJson(QByteArray::fromStdString(text)).object()["cells"].toArray();
    for (const QJsonValue &row : cells) {
        rows.emplace_back();
        for (const QJsonValue &cell : row.toArray())
            rows.back().push_back(cell.toString().toStdString());
    }
    return rows;
}

} // namespace cel::workspace::test
