// Sample export inputs for the export tests: every page kind with small grids, stand-in glyphs and
// simple drawings in place of the wheel and the diagrams.
#pragma once

#include "export/rtf_export.h"

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

ExportHeading SampleHeading();
// A complete input for the page: a 1979 natal chart in Cali, an event in 2026, single wheel.
ExportInput SampleInput(ExportPage page);

} // namespace cel::exporting::testing_fixtures
