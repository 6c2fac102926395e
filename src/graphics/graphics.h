// Chart graphics: the two glyph sets, the canvas operations, the chart wheel and the layout of its
// glyphs, the chart's data box, the table cell painters, the distribution diagrams and picture files
// (PNG, SVG, PDF). Painted with QtGui on images; no
// widgets, so the windows, the print layout, the RTF export and the command line share the drawing.
#pragma once

#include "graphics/canvas.h"
#include "graphics/cell_painters.h"
#include "graphics/chart_caption.h"
#include "graphics/diagrams.h"
#include "graphics/glyphs.h"
#include "graphics/label_layout.h"
#include "graphics/picture_file.h"
#include "graphics/wheel.h"
