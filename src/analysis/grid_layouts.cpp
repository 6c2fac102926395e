#include "analysis/grid_layouts.h"

#include "analysis/dignities.h"
#include "chart/progressions.h"
#include "chart/records.h"

namespace cel::analysis {

void SetUpAspectTable(TextGrid &grid, const settings::RecVistaCarta &view, bool positions) {
    const bool doubleWheel = view.wheelMode == settings::kDoubleWheel;
    grid.SetSize(25, positions ? (doubleWheel ? 28 : 27) : 26);
    grid.Clear();
    if (!positions)
        return;
    auto name = [](int item) -> std::string {
        return item >= 1 && item <= chart::kItemCount ? chart::kItemNames[static_cast<std::size_t>(item)]
                                                      : "";
    };
    if (doubleWheel) {
        grid.At(0, 26) = name(view.outerItem);
        grid.At(0, 27) = name(view.innerItem);
    } else {
        grid.At(0, 26) = name(view.innerItem);
    }
}

void SetUpAspectDetail(TextGrid &grid, const settings::RecVistaCarta &view) {
    // A single wheel showing a derived item needs the third column for its pair lists.
    const bool natalSingle =
        view.wheelMode == settings::kSingleWheel &&
        (view.innerItem == chart::kNatalEcliptic || view.innerItem == chart::kNatalAscensional);
    grid.SetSize(2, natalSingle ? 2 : 3);
    grid.Clear();
    grid.At(0, 0) = " Ecl.";
    grid.At(0, 1) = " Asc.";
    if (grid.ColumnCount() > 2)
        grid.At(0, 2) = " Aspecto";
}

void SetUpList(TextGrid &grid, int columns) {
    grid.SetSize(1, columns < 1 ? 1 : columns);
    grid.Clear();
}

void SetUpSpeculum(TextGrid &grid) {
    grid.SetSize(20, 8);
    grid.Clear();
    const char *heads[] = {"Long.", "Lat.", "AR", "De", "DMO", "PHI", "AO/DO"};
    for (int c = 1; c <= 7; ++c)
        grid.At(0, c) = heads[c - 1];
    for (int i = 1; i <= 12; ++i)
        grid.At(i, 0) = chart::kBodyNames[static_cast<std::size_t>(i)];
    const char *left[] = {"Fecha GMT:", "Hora GMT:", "Delta Time:", "Día Juliano:", "T. Sideral:"};
    const char *right[] = {"ARMC:", "Obl. Ecl.:", "long Sol Verd:", "long Sol Med.:", "E. de tiempo:"};
    for (int r = 0; r < 5; ++r) {
        grid.At(14 + r, 1) = left[r];
        grid.At(14 + r, 3) = right[r];
    }
}

void SetUpBodySummary(TextGrid &grid) {
    grid.SetSize(13, 15);
    grid.Clear();
    const char *heads[] = {"Pla", "Sig", "Dig", "Rig", "Ocu", "Dec", "Ant", "Sig",
                           "",    "Cas", "R",   "CR",  "Dec", "Ant", "Sig"};
    for (int c = 0; c < 15; ++c)
        grid.At(0, c) = heads[c];
    for (int r = 1; r <= 12; ++r) {
        grid.At(r, 0) = std::to_string(r);
        grid.At(r, 9) = std::to_string(r);
    }
}

std::string ShortName(const std::string &name) {
    std::size_t end = 0;
    for (int chars = 0; chars < 3 && end < name.size(); ++chars) {
        ++end;
        while (end < name.size() && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
            ++end;
    }
    return name.substr(0, end);
}

void SetUpDistribution(TextGrid &grid, const settings::Settings::TxtSection &names) {
    grid.SetSize(15, 14);
    grid.Clear();
    const char *rows[] = {"Pla", "%Pla", "Cas", "%Cas", "Tot", "%Tot"};
    for (int r = 1; r <= 6; ++r)
        grid.At(r, 0) = rows[r - 1];
    for (int c = 1; c <= 12; ++c)
        grid.At(0, c) = std::to_string(c);
    for (int g = 1; g <= 4; ++g)
        grid.At(8, g) = ShortName(QuarterName(names, g));
    for (int t = 1; t <= 3; ++t)
        grid.At(8, 8 + t) = ShortName(ThirdName(names, t));
    for (int q = 1; q <= 3; ++q)
        grid.At(8 + q, 0) = ShortName(QualityName(names, q));
    for (int e = 1; e <= 4; ++e)
        grid.At(8 + e, 8) = ShortName(ElementName(names, e));
    for (int n = 1; n <= 12; ++n) {
        grid.At(8 + (n - 1) % 3 + 1, (n + 2) / 3) = std::to_string(n);
        grid.At(8 + (n - 1) % 4 + 1, 8 + (n + 3) / 4) = std::to_string(n);
    }
}

} // namespace cel::analysis
