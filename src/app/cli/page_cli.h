// What the page commands ("rtf", "pdf") share: the page kind, the wheel items and the page choices of
// the print window, and the page content composed from the charts computed with them.
#pragma once

#include <functional>
#include <string>

#include "analysis_cli.h"
#include "document/page_content.h"

namespace cel::cli {

struct PageOptions {
    AnalysisOptions analysis;
    std::string page;
    std::string out;
    std::string inner;
    bool innerGiven = false; // "--inner ''" is refused like any other item that is not one
    std::string outer;
    bool percent = false;
    std::string model = "ecl";
    bool ambos = false;
    int house = 0;
    std::string graph = "histograma";
    std::string graphItems = "1,2";
    std::string summaryItem = "1";
    int ppi = 96;
    int previewPpi = 0;
    // The wheel's aspect choices, as the "wheel" command takes them.
    std::string families = "pp";
    int minStrength = 0;
    bool bySigns = false;
    bool innerOnly = false;
    std::string natalName;
    std::string eventName;
    std::string place;
    std::string country;
};

// The page names of --page: rueda, tabla, listado, natal, progresiones, speculum, resumen, diagramas.
document::PageKind PageKindOf(const std::string &name);

// Adds --page (with its help), the chart options and the page choices shared by the page commands.
void AddPageOptions(CLI::App &sub, PageOptions &options, const std::string &pageHelp);

// Computes the charts, composes the page and calls use with its content while the charts exist.
void WithPageContent(
    const PageOptions &options, RunContext &ctx,
    const std::function<void(const document::PageContent &content, const ChartSession &session)> &use);

} // namespace cel::cli
