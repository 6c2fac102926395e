// Where the body glyphs of a wheel stand: each near its zodiac place, neighbours kept apart, crowding
// resolved first by stepping a glyph onto a further row (inward) and only then along the ring. Plain
// arithmetic on angles, apart from any painting, so it can be checked by itself.
#pragma once

#include <array>
#include <functional>

#include "common/chart_numbering.h"

namespace cel::graphics {

using LayoutReal = long double;

// The bodies to place: wheel angles in degrees (entry i - 1 for body i); a body that is not a number is
// left where it is, on the first row.
struct RowLayoutRequest {
    std::array<LayoutReal, kBodyCount> angles{};
    int rows = 1; // rows there is room for, 1..4
    // The least angle between two neighbours on a row when they meet at a wheel angle.
    std::function<LayoutReal(int row, LayoutReal angle)> separation;
    // A glyph moving further than this from its place asks for one more row, while rows remain.
    LayoutReal wantedShift = 4;
};

struct RowLayout {
    std::array<LayoutReal, kBodyCount> angles{}; // where each glyph stands (0..360)
    std::array<int, kBodyCount> rows{};          // 0 the outermost row
    int rowsUsed = 1;
    LayoutReal largestShift = 0; // the furthest any glyph stands from its place, degrees
};

// Places the glyphs: on one row when no glyph then moves more than the wanted shift, otherwise on as few
// rows as bring every glyph within it, or failing that on the rows that keep the largest shift least.
// On each row the glyphs keep their zodiac order and move as little as the separations ask (least
// squares); a glyph goes to a further row only where its own row is crowded.
RowLayout LayoutInRows(const RowLayoutRequest &request);

} // namespace cel::graphics
