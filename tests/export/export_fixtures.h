// Sample export inputs for the export tests: every page kind with small grids, stand-in glyphs and
// simple drawings in place of the wheel and the diagrams.
#pragma once

#include "analysis/aspects.h"
#include "chart/chart.h"
#include "document/page_content.h"
#include "export/rtf_export.h"
#include "settings/settings.h"
#include "settings/view_record.h"

namespace cel::exporting::testing_fixtures {

// Glyphs drawn as small shapes that differ by picture number.
class ShapeGlyphs : public GlyphPainter {
public:
    explicit ShapeGlyphs(int size) : size_(size) {}
    int Size() const override { return size_; }
    void Draw(QPainter &painter, int picture, int x, int y, std::uint32_t tint) const override;

private:
    int size_;
};

const ShapeGlyphs &SmallGlyphs();
const ShapeGlyphs &LargeGlyphs();

document::PageHeading SampleHeading();
// A complete input for the page: a 1979 natal chart in Cali, an event in 2026, single wheel.
document::PageContent SampleInput(document::PageKind page);

// Real charts: a natal chart (1979-10-17 12:30, zone -5, 76.52 W, 3.44 N), an event in 2026, their
// progression set and aspect lists, with a view showing every aspect.
struct RealCharts {
    RealCharts();
    // Sets the wheel's items (a double wheel when they differ) and rebuilds the aspect lists.
    void SetItems(int inner, int outer);
    document::ChartState State() const {
        return document::ChartState{settings, view, natal, event, prog, aspects, TextFormat{','}};
    }

    chart::ChartContext context;
    chart::TDato natalRecord, eventRecord;
    chart::TDataAstro natal, event;
    chart::TDataProg prog;
    settings::Settings settings;
    settings::RecVistaCarta view;
    analysis::AspectLists aspects;
};

} // namespace cel::exporting::testing_fixtures
