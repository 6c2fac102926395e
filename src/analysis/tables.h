// The analysis tables: the aspect table and its detail, the aspect list ("Listado"), the natal list
// ("Natal", manual or by house), the speculum and the first summary grid, written into text grids.
// Aspect cells hold codes that name records of the aspect lists; the cell painters decode them.
#pragma once

#include <string>
#include <string_view>

#include "analysis/aspects.h"
#include "analysis/dignities.h"
#include "analysis/text_grid.h"
#include "chart/progressions.h"
#include "chart/records.h"
#include "common/text_format.h"
#include "settings/dignity_matrix.h"
#include "settings/view_record.h"

namespace cel::analysis {

// The strength as a whole number, halves to even (55.5 and 56.5 both give 56).
int RoundedStrength(float strength);
// Aspect table cell: kind, ":", rounded strength, and "d" under dispositor control ("9:62d").
std::string AspectCellText(const TDetallesAspecto &record);

// An aspect reference code: number, source and list ("E:L1", "A:D2", "P:P3"), member 1, index, member 2,
// separated by ":", with an optional trailing ":".
std::string ReferenceCode(std::string_view number, std::string_view sourceList, std::string_view member1,
                          int index, std::string_view member2, bool trailingColon);

// The lists one table is built from, with the source letter of their codes.
struct TableLists {
    char source = 'E'; // 'E' natal ecliptic, 'A' natal ascensional, 'P' current pair
    const AspectList *bodies = nullptr;
    const AspectList *bodyCusp = nullptr;
    const AspectList *cuspBody = nullptr; // double wheel only
    const AspectList *cusps = nullptr;
};
// The lists of "Tabla" and "Listado": a single wheel shows the inner item's lists (natal ecliptic, natal
// ascensional, or the pair lists of the item with itself), a double wheel the pair lists.
TableLists SelectTableLists(const settings::RecVistaCarta &view, const AspectLists &lists);

// Empties the item cells and writes every visible record (mirrored in a single wheel); returns the
// number of cells written, mirrors not counted.
int FillAspectTable(TextGrid &grid, bool doubleWheel, const AspectList &bodies, const AspectList &bodyCusp,
                    const AspectList *cuspBody, const AspectList &cusps, const settings::RecVistaCarta &view);

// Row 1 of the detail grid (and more rows for dispositor records) for column a and row b (1..24) of the
// table. Column 2 is written only when the grid has it.
void FillAspectDetail(TextGrid &grid, bool doubleWheel, int a, int b, const AspectLists &lists,
                      const settings::RecVistaCarta &view);

// The "Listado" cells, left to right, the grid growing a row whenever one is full; returns the count.
int FillAspectList(TextGrid &grid, char source, const AspectList &bodies, const AspectList &bodyCusp,
                   const AspectList *cuspBody, const AspectList &cusps, const settings::RecVistaCarta &view);

// Which natal item the "Natal" list is built from ("R. Ecl." or "R. Asc."); with "ambos" the ecliptic
// lists come first and the ascensional ones complete them: a chart's ecliptic or ascensional form.
using NatalModel = chart::ChartMode;

// Where the next cell of a list goes, the running number and the count of cells written.
struct ListCursor {
    int row = 0;
    int column = 0;
    int number = 0;
    int count = 0;
};

// One block of the natal list: the heading " " + heading in its own row, then the codes.
void FillNatalList(TextGrid &grid, ListCursor &cursor, std::string_view heading, const BodySelection &bodies,
                   const CuspSelection &cusps, bool ambos, NatalModel model, const AspectLists &lists,
                   const settings::RecVistaCarta &view);
// The manual natal list: one block "Lista" with the view's selections. Returns the count.
int FillNatalManual(TextGrid &grid, bool ambos, NatalModel model, const AspectLists &lists,
                    const settings::RecVistaCarta &view);
// The natal list by house: the blocks "Regente", "Cuspide" and "Ocupantes" of the switches on for the
// current house (none when house is 0), from the chosen natal item. Returns the count.
int FillNatalByHouse(TextGrid &grid, const chart::RecDataProg &natalItem, NatalModel model, bool ambos,
                     int house, const AspectLists &lists, const settings::RecVistaCarta &view,
                     const settings::DignityMatrix &matrix);

// The speculum values of a chart.
void FillChartData(TextGrid &grid, const chart::TDataAstro &chart, const TextFormat &format);

// The first summary grid for a chart item.
void FillBodySummary(TextGrid &grid, const chart::RecDataProg &item, const settings::DignityMatrix &matrix);

} // namespace cel::analysis
