// The aspect-table cell as the printed pages and the RTF pictures show it: the aspect glyph, the bold
// dispositor ":" and, with "%", the strength under the glyph; headers show the point glyph or cusp number.
#pragma once

#include <QSize>

#include "document/grid.h"

namespace cel::document {

// The size of the cell's picture in pixels: one glyph high (two with the strength shown), 14 or 17
// pixels wide (the column's width with the strength).
QSize AspectCellSize(const Grid &grid, int column, const GlyphPainter &glyphs, bool showStrength);
// Header cells always draw; other cells draw unless empty.
bool AspectCellDrawn(const Grid &grid, int column, int row);
// Paints the cell with its top-left corner at the painter's origin, over a white area of the cell's size.
void PaintAspectCell(QPainter &painter, const Grid &grid, int column, int row, const GlyphPainter &glyphs,
                     bool showStrength);

} // namespace cel::document
