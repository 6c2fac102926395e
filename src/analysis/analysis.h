// Astrological analysis: aspects and orbs with the aspect lists and dispositors, dignities, rulers,
// decanates and sign groups, the points distribution, and the analysis tables written as text grids of
// cell codes for the windows, the print layout and the RTF writer. Plain C++; it reads chart items and
// the settings' orb tables, dignity matrix, points and view record.
#pragma once

#include "analysis/aspects.h"
#include "analysis/dignities.h"
#include "analysis/grid_layouts.h"
#include "analysis/points.h"
#include "analysis/tables.h"
#include "analysis/text_grid.h"
