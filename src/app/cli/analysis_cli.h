// What the analysis commands ("aspects", "table", "wheel", "diagrams", "rtf") share: the natal and event
// options with the settings file and the chart items; the charts are computed in the session's workspace.
#pragma once

#include <string>

#include "analysis/analysis.h"
#include "chart_cli.h"
#include "settings/settings.h"

namespace cel::cli {

struct AnalysisOptions {
    ChartCommandOptions chart;
    BirthOptions event;
    int orbMode = analysis::kOrbModeEcliptic;
    bool computeDispositors = true; // "calc"
};

// Adds the natal options, --no-delta-t, --ini, --format, the event options, --orb-mode and --calc/--no-calc.
void AddAnalysisOptions(CLI::App &sub, AnalysisOptions &options);

// A chart item 1..9 given by number or by its name ("Natal Eclíptica"); a usage error otherwise.
int ParseItem(const std::string &text, const std::string &option);
// The options' description of the item choice.
extern const char *const kItemHelp;

// Loads the settings (built-in values without --ini) and computes the natal chart and the event chart (the
// natal one again without --event-date unless needEvent, which makes the event date required) in the
// workspace, with the orb mode and "calc" of the options chosen. The caller sets the view choices and
// runs the workspace's Recompute.
ChartSession ComputeAnalysis(const AnalysisOptions &options, const RunContext &ctx, bool needEvent);

// A single-precision value as the shortest decimal that reads back as the same float.
nlohmann::json FloatJson(float value);

} // namespace cel::cli
