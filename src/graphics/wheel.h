// The chart wheel: the zodiac ring with its element colours, the degree ring, the houses with their
// positions and numbers, the bodies with their positions, retrograde marks and signs, and the aspect
// lines; one item alone, two items as concentric wheels, or one item inside the bodies of another.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QRectF>

#include <array>
#include <vector>

#include "analysis/aspects.h"
#include "chart/progressions.h"
#include "graphics/canvas.h"
#include "graphics/glyphs.h"
#include "settings/settings.h"
#include "settings/view_record.h"

namespace cel::graphics {

using Real = long double;

// The wheel's colours: body colour 1..12 ("Col_Pla_") and wheel colour 1..11 ("Col_Ele_"): 1..4 the
// elements, 5 centre, 6 house area, 7 inner house ring, 8 outer house ring, 9 degree lines, 10 position
// texts, 11 sign glyphs. Entry 0 is unused.
struct WheelColours {
    std::array<QColor, 13> bodies{};
    std::array<QColor, 12> wheel{};
};
WheelColours WheelColoursFrom(const settings::Settings &settings);
// The colours of a first run.
WheelColours DefaultWheelColours();

// What a placed text or glyph of the wheel is.
enum class WheelLabelKind {
    Body,        // a body's glyph
    Retrograde,  // its "R"
    Position,    // a piece of its position text
    BodySign,    // the sign glyph of its position
    CuspText,    // a piece of a cusp's position text
    CuspSign,    // the sign glyph of a cusp
    HouseNumber, // a house number inside the house ring
    CuspNumber,  // a "1 Rueda" outer item's cusp number
    Sign,        // a sign glyph of the zodiac ring
    Aspect,      // an aspect glyph
    Legend,      // a line of the "1 Rueda" cusp legend
    Caption,     // the chart's data box
};
// The name of a kind as the command line prints it ("body", "position", "cusp_text", ...).
const char *WheelLabelKindName(WheelLabelKind kind);

// Where a text or glyph was drawn, in the picture's pixels.
struct WheelLabel {
    int wheel = 1; // 1 inner or single wheel, 2 outer wheel or "1 Rueda" ring
    int body = 0;  // the body a label belongs to; 0 for the others
    QRectF box;
    WheelLabelKind kind = WheelLabelKind::Body;
};

// Where a body's glyph stands: its true longitude and the zodiac degree it is drawn at (read on the
// zodiac of its own wheel).
struct WheelBodyPlace {
    int wheel = 1; // 1 inner or single wheel, 2 outer wheel or "1 Rueda" ring
    int body = 0;
    long double longitude = 0;
    long double drawn = 0;
    QRectF box;
    int row = 0; // 0 the outermost row of glyphs, further rows inward where the wheel is crowded
};

struct WheelInput {
    const chart::TDataProg &progressions;
    const settings::RecVistaCarta &view;
    const analysis::AspectLists *aspects = nullptr; // none: no aspect lines
    WheelColours colours = DefaultWheelColours();
    std::vector<WheelLabel> *labels = nullptr;     // when given, receives every text and glyph placed
    std::vector<WheelBodyPlace> *bodies = nullptr; // when given, receives where each body glyph stands
};

// Radius R and centre of a drawing rectangle; points are placed by radius fraction and angle (degrees,
// counter-clockwise from the right).
// The picture's scale is R over the R of a 600-pixel wheel: glyphs, fonts, lines and spacing grow with it.
inline constexpr int kReferenceRadius = 298;
struct WheelGeometry {
    QPoint origin; // top-left corner of the drawing rectangle
    int R = 0;
    int cx = 0;
    int cy = 0;
    QPoint At(Real fraction, Real angle) const;
    int Radius(Real fraction) const;
    QPoint Centre() const { return origin + QPoint(cx, cy); }
    // The same without rounding, in continuous coordinates (the centre of pixel (x, y) is x + 0.5).
    QPointF AtF(Real fraction, Real angle) const;
    QPointF CentreF() const { return QPointF(origin.x() + cx + 0.5, origin.y() + cy + 0.5); }
    qreal Scale() const { return static_cast<qreal>(R) / kReferenceRadius; }
};
WheelGeometry ComputeWheelGeometry(const QRect &rect);

// The ring fractions of one wheel of scale r: A (inner edge of the sign ring), B (inner edge of the
// degree ring), E (outer circle) and the house-ring fraction h (already multiplied by r).
struct RingFractions {
    Real A = 1, B = 1, E = 1, h = 0;
};
RingFractions ComputeRingFractions(const settings::RecVistaCarta &view, Real r, int glyphSize, int R,
                                   bool signRing, bool degreeRing);

// Draws the wheel into the drawing rectangle and returns the number of aspect lines drawn.
int DrawWheel(Canvas &canvas, const QRect &rect, const GlyphSet &glyphs, const WheelInput &input);

} // namespace cel::graphics
