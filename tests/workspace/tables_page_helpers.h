// Reading the command line's grids for comparison with the main window's pages.
#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <string>
#include <vector>

#include "support/cli_run.h"

namespace cel::workspace::test {

// The cells of `celestigrafo-cli table --format json` for a person of the data file.
inline std::vector<std::vector<std::string>> CliTable(const std::string &dataFile, const std::string &person,
                                                      const std::string &extra) {
    const std::string text =
        testsupport::RunCli("table --db '" + dataFile + "' --person '" + person + "' --format json " + extra)
            .out;
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
