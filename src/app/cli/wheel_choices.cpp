#include "wheel_choices.h"

#include <algorithm>

#include "chart_cli.h"

namespace cel::cli {

void AddWheelChoiceOptions(CLI::App &sub, WheelChoices &choices) {
    sub.add_flag("--by-signs", choices.bySigns, "Align a double wheel by signs instead of by Ascendant");
    sub.add_flag("--inner-only", choices.innerOnly,
                 "\"1 Rueda\": one full wheel with the outer item's bodies around it (with a double wheel)");
    sub.add_flag("--project-houses", choices.projectHouses,
                 "\"1 Casas\": project the inner item's houses onto the outer wheel (with a double wheel)");
    sub.add_option("--families", choices.families,
                   "Aspect families drawn: pp, pc, cp, cc separated by commas (point and cusp pairs)")
        ->capture_default_str();
    sub.add_option("--min-strength", choices.minStrength,
                   "Minimum aspect strength in percent (\"Fuerza (%):\")")
        ->check(CLI::Range(0, 100));
}

std::array<bool, settings::kAspectFamilyCount> ParseFamilies(const std::string &text) {
    std::array<bool, settings::kAspectFamilyCount> families{};
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string word = text.substr(start, comma - start);
        if (word == "pp")
            families[settings::kPointPoint] = true;
        else if (word == "pc")
            families[settings::kPointCusp] = true;
        else if (word == "cp")
            families[settings::kCuspPoint] = true;
        else if (word == "cc")
            families[settings::kCuspCusp] = true;
        else if (!word.empty() || text.empty())
            UsageError("--families: '" + text +
                       "' is not a list of aspect families: expected pp, pc, cp, cc "
                       "separated by commas (e.g. pp,pc)");
        start = comma + 1;
    }
    return families;
}

void CheckWheelChoices(const WheelChoices &choices, bool doubleWheel, const std::string &doubleOption) {
    if ((choices.innerOnly || choices.projectHouses) && !doubleWheel)
        UsageError("--inner-only and --project-houses need " + doubleOption);
    ParseFamilies(choices.families);
}

void ApplyWheelChoices(settings::RecVistaCarta &view, const WheelChoices &choices, bool doubleWheel,
                       const std::string &doubleOption) {
    CheckWheelChoices(choices, doubleWheel, doubleOption);
    view.equaliseBySigns = choices.bySigns;
    view.innerWheelOnly = doubleWheel && choices.innerOnly;
    view.projectInnerHouses = doubleWheel && choices.projectHouses && !choices.innerOnly;
    view.noProjectedHouses = !view.projectInnerHouses;
    view.aspectFamilies = ParseFamilies(choices.families);
    view.strengthFilter = choices.minStrength;
}

} // namespace cel::cli
