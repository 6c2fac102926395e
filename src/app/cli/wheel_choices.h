// The wheel choices the commands that draw or print a wheel share ("wheel", "pdf", "rtf"): alignment
// of a double wheel, "1 Rueda", projected houses, the aspect families and the least strength drawn.
#pragma once

#include <CLI/CLI.hpp>

#include <array>
#include <string>

#include "settings/view_record.h"

namespace cel::cli {

struct WheelChoices {
    bool bySigns = false;
    bool innerOnly = false;
    bool projectHouses = false;
    std::string families = "pp";
    int minStrength = 0;
};

// Adds --by-signs, --inner-only, --project-houses, --families and --min-strength.
void AddWheelChoiceOptions(CLI::App &sub, WheelChoices &choices);

// The aspect families named as "pp,pc,cp,cc" (point-point, point-cusp, cusp-point, cusp-cusp); a usage
// error names the text when it is not such a list.
std::array<bool, settings::kAspectFamilyCount> ParseFamilies(const std::string &text);

// A usage error naming `doubleOption` (the option that makes the wheel double) when a double-wheel
// choice is given for a single wheel, or when the families are not a list of them.
void CheckWheelChoices(const WheelChoices &choices, bool doubleWheel,
                       const std::string &doubleOption = "--double");

// Sets the view's alignment, "1 Rueda", projected houses, families and strength filter from the
// choices, for a double wheel or a single one (checked as above).
void ApplyWheelChoices(settings::RecVistaCarta &view, const WheelChoices &choices, bool doubleWheel,
                       const std::string &doubleOption = "--double");

} // namespace cel::cli
