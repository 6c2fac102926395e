// The export input of a page built from the charts as the main window holds them: the grids filled by
// the analysis tables, the wheel, the cell pictures and the diagrams drawn by the chart graphics.
#pragma once

#include <array>
#include <string>

#include "analysis/aspects.h"
#include "chart/progressions.h"
#include "common/text_format.h"
#include "export/rtf_export.h"
#include "graphics/diagrams.h"
#include "graphics/glyphs.h"
#include "settings/settings.h"
#include "settings/view_record.h"

namespace cel::exporting {

// A glyph set of the chart graphics as the writer draws it.
class GlyphSetPainter : public GlyphPainter {
public:
    explicit GlyphSetPainter(const graphics::GlyphSet &set) : set_(set) {}
    int Size() const override { return set_.Size(); }
    void Draw(QPainter &painter, int picture, int x, int y, std::uint32_t tint) const override;

private:
    const graphics::GlyphSet &set_;
};
const GlyphPainter &NormalGlyphPainter();
const GlyphPainter &LargeGlyphPainter();

// The charts and choices of the workspace.
struct ChartState {
    const settings::Settings &settings;
    const settings::RecVistaCarta &view;
    const chart::TDataAstro &natal;
    const chart::TDataAstro &event;
    const chart::TDataProg &progressions;
    const analysis::AspectLists &aspects; // natal lists and the current pair's lists
    TextFormat format;
};

// The page choices that are not in the view record.
struct PageChoices {
    bool showStrength = false;     // "%"
    bool natalAscensional = false; // "R. Asc." (else "R. Ecl.")
    bool ambos = false;            // both natal models
    int house = 0;                 // current house of the by-house natal list (view aspect mode 1)
    graphics::GraphKind graphKind = graphics::GraphKind::Histogram;
    int graphItemA = 1; // the two chart items of the diagrams
    int graphItemB = 2;
    int ppi = 96;
    int previewPpi = 96;
};

// The four lines of the progressions label: age, ARMCs, arcs, secondary-direction date and its ARMC.
std::array<std::string, 4> ProgressionLines(const chart::TDataAstro &natal, const chart::TDataAstro &event,
                                            const chart::TDataProg &progressions, const TextFormat &format);

// The progressions grid (12 columns, 25 rows) with its signs and retrograde marks.
void FillProgressionsGrid(RtfGrid &grid, ProgGridMarks &marks, const chart::TDataProg &progressions,
                          bool retro, const TextFormat &format);

// The complete input of one page. The callbacks refer to `state`, which must outlive the export.
ExportInput MakePageInput(ExportPage page, const ChartState &state, const PageChoices &choices,
                          const ExportHeading &heading);

} // namespace cel::exporting
