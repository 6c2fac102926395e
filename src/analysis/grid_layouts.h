// The shapes and fixed labels of the analysis grids as the main window lays them out: the aspect table
// and its detail grid, the speculum and the two summary grids. The windows, the command line and the
// print layout start from these before the builders fill them.
#pragma once

#include "analysis/text_grid.h"
#include "settings/settings.h"
#include "settings/view_record.h"

namespace cel::analysis {

// The aspect table: 25 rows; 26 columns, plus the position column(s) 26 (and 27 in a double wheel)
// holding the item names in row 0 when positions are shown.
void SetUpAspectTable(TextGrid &grid, const settings::RecVistaCarta &view, bool positions);
// The detail grid of "Tabla": 2 rows; 2 columns for a single wheel showing a natal item, 3 otherwise,
// with the headings " Ecl.", " Asc.", " Aspecto".
void SetUpAspectDetail(TextGrid &grid, const settings::RecVistaCarta &view);
// The one-row list of "Listado" and "Natal", `columns` cells wide.
void SetUpList(TextGrid &grid, int columns);
// The speculum: 8 columns, 20 rows with its labels.
void SetUpSpeculum(TextGrid &grid);
// The first summary grid: 15 columns, 13 rows with its labels.
void SetUpBodySummary(TextGrid &grid);
// The second summary grid: 14 columns, 15 rows with its labels, group names and sign numbers.
void SetUpDistribution(TextGrid &grid, const settings::Settings::TxtSection &names);

// The first three characters (not bytes) of a name.
std::string ShortName(const std::string &name);

} // namespace cel::analysis
