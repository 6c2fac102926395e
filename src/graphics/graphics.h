// Chart graphics: the two glyph sets, the canvas operations, the chart wheel, the table cell painters,
// the distribution diagrams and picture files (PNG, SVG, PDF). Painted with QtGui on images; no
// widgets, so the windows, the print layout, the RTF export and the command line share the drawing.
#pragma once

#include "graphics/canvas.h"
#include "graphics/cell_painters.h"
#include "graphics/diagrams.h"
#include "graphics/glyphs.h"
#include "graphics/picture_file.h"
#include "graphics/wheel.h"
