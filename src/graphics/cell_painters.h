// The painters of the table cells: the aspect table (glyphs, dispositor mark, strength, relation
// colours), the position cells beside it, the detail and list cells with their aspect panels, and the
// summary grids, drawn from the short codes the analysis tables hold.
#pragma once

#include <QImage>
#include <QRect>

#include <array>
#include <string>

#include "analysis/aspects.h"
#include "chart/progressions.h"
#include "common/text_format.h"
#include "graphics/canvas.h"
#include "graphics/glyphs.h"
#include "settings/settings.h"
#include "settings/view_record.h"

namespace cel::graphics {

// Relations of an aspect-table cell.
enum CellRelationCode : int {
    kRelationNone = 0,
    kRelationAspect = 1,     // "Aspecto"
    kRelationSelf = 2,       // "A si mismo"
    kRelationRuledHouse = 3, // "Casa que rige"
    kRelationOccupied = 4,   // "Casa que ocupa"
    kRelationDispositor = 5, // "Dispositor"
    kRelationFrame = 6,      // "Resaltar aspecto"
};

// What every cell painter reads besides the cell itself.
struct CellContext {
    const chart::TDataProg &progressions;
    const settings::RecVistaCarta &view;
    const analysis::AspectLists &aspects;
    const settings::DignityMatrix &dignity;
    const GlyphSet &glyphs = GlyphSet::Normal();
    TextStyle gridFont{QStringLiteral("MS Sans Serif"), 8};
    std::array<QColor, 7> relationColours{}; // 1..6 ("Col_Rel_")
    std::array<bool, 7> relationSwitches{};  // 1..6 ("View_Col_Rel_")
    TextFormat format;
    int screenPpi = 96; // sizes of the detail panels grow by 1.25 from 120 pixels per inch
};
// The relation colours and switches of the settings' "Tabla" section.
void SetRelationColours(CellContext &context, const settings::Settings &settings);

void PaintAspectCell(Canvas &canvas, const QRect &rect, int column, int row, const std::string &text,
                     bool highlight, bool percent, const CellContext &context);
int CellRelation(int a, int b, const CellContext &context);
void PaintPositionCell(Canvas &canvas, const QRect &rect, int column, int row, const CellContext &context);

// The detail options "Signo", "Reg.", "Ocup.", "Dig.", "Ang.", "Fuerza", "Orbe", as the settings hold
// them (the INI keys "Sig", "Reg", "Ocu", "Dig", "Ang", "Fue", "Orb").
using DetailOptions = settings::Settings::AspectoSection;
DetailOptions DetailOptionsFrom(const settings::Settings &settings);

// Where the panels of one half of a detail or list cell go (relative to the half), and the detail font
// size: 7 with "peq.", 9 otherwise.
struct PanelLayout {
    QRect member1;
    QRect aspect;
    QRect member2;
    int fontSize = 9;
};
// A layout of three side-by-side panels sized for the options and the glyph set.
PanelLayout DefaultPanelLayout(const DetailOptions &options, const GlyphSet &glyphs, bool small,
                               int screenPpi = 96);
// The size of one half that holds such a layout.
QSize PanelHalfSize(const PanelLayout &layout);

void PaintCodeCell(Canvas &canvas, const QRect &rect, const std::string &text, bool ambos,
                   const DetailOptions &options, const PanelLayout &layout, const CellContext &context);
// One aspect reference code drawn into a white picture of the given size.
QImage RenderCode(const std::string &code, QSize size, const DetailOptions &options,
                  const PanelLayout &layout, const CellContext &context);
// The same through a canvas of that size on any device (vectors on a printer or PDF).
void PaintCode(Canvas &canvas, const std::string &code, QSize size, const DetailOptions &options,
               const PanelLayout &layout, const CellContext &context);

// grid 1: the first summary grid (bodies and houses), grid 2: the second (points distribution).
void PaintSummaryCell(Canvas &canvas, const QRect &rect, int grid, int column, int row,
                      const std::string &text, const CellContext &context);
// Plain grids of headings and values.
void PaintPlainCell(Canvas &canvas, const QRect &rect, int column, int row, const std::string &text,
                    const TextStyle &font);

} // namespace cel::graphics
