// The distribution diagrams: for two chart items side by side, how their weighted bodies and houses
// fall into the elements, qualities and sign groups, as legends, a histogram or pies, sign matrices
// and a list of the bodies with their signs, dignities and decanates.
#pragma once

#include <QString>

#include <array>

#include "analysis/points.h"
#include "chart/progressions.h"
#include "common/text_format.h"
#include "graphics/canvas.h"
#include "graphics/glyphs.h"
#include "settings/settings.h"

namespace cel::graphics {

enum class GraphKind { Histogram, Pie }; // "Histograma", "Pastel"

struct DiagramItem {
    const chart::RecDataProg &item;
    QString title;
};

// The settings the diagrams read: group names, points weights and flags, dignity matrix.
struct DiagramSettings {
    const settings::Settings::TxtSection &names;
    const analysis::PointsSettings &points;
    const settings::DignityMatrix &dignity;
    TextFormat format;
};

// The two point matrices of an item: element x third and quality x quarter (weights of the included
// bodies by sign and of the included houses by the sign of the cusp only).
struct DiagramMatrices {
    std::array<std::array<float, 4>, 5> elementThird{};   // [element 1..4][third 1..3]
    std::array<std::array<float, 5>, 4> qualityQuarter{}; // [quality 1..3][quarter 1..4]
    std::array<float, 5> elements{}, qualities{}, thirds{}, quarters{};
};
DiagramMatrices ComputeDiagramMatrices(const chart::RecDataProg &item,
                                       const analysis::PointsSettings &points);

// One panel of width W/2 at x offset x0: title, legends, graphs, matrices and the body list.
void DrawDiagramPanel(Canvas &canvas, int side, const GlyphSet &glyphs, bool colour, GraphKind kind,
                      const DiagramItem &item, int x0, const DiagramSettings &settings);
// Fills the W x W square white and draws item A at x offset 0 and item B at W/2 + 10.
void DrawDiagrams(Canvas &canvas, int side, const GlyphSet &glyphs, bool colour, GraphKind kind,
                  const DiagramItem &a, const DiagramItem &b, const DiagramSettings &settings);

} // namespace cel::graphics
