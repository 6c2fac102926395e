// A chart's data box: whose chart it is, when and where, and how it was computed (house system, zodiac,
// Delta T), drawn as a block of left-aligned lines inside any rectangle of a picture or a page.
#pragma once

#include <QRectF>
#include <QSizeF>

#include <string>
#include <vector>

#include "common/text_format.h"
#include "graphics/canvas.h"

namespace cel::graphics {

struct ChartCaption {
    std::string name;        // the person or event ("Ana Pérez")
    std::string dateTime;    // date and time with their zone ("oct 17 1979, 12:30:00 pm  -5:00")
    std::string place;       // "Cali, Colombia"
    std::string coordinates; // "76° 31' 21\" W  3° 26' 13\" N"
    std::string houses = "Casas: Topocéntricas";
    std::string zodiac = "Zodíaco: Tropical";
    std::string deltaT; // "ΔT: 50,5 s"
};

// "ΔT: 50,5 s" with the locale's decimal separator, or "ΔT: no" when it was not applied.
std::string DeltaTText(double seconds, bool applied, const TextFormat &format);

// The caption's lines in order, the empty ones left out.
std::vector<std::string> CaptionLines(const ChartCaption &caption);

// Draws the caption at the top-left of `rect`, in one column, or in two when the rectangle is much
// wider than tall; the text shrinks from `style` (never below a third of it) until every line fits.
// Returns the box the text covers, empty when nothing fits.
QRectF DrawChartCaption(Canvas &canvas, const QRectF &rect, const ChartCaption &caption, TextStyle style);

// The box the caption needs at `style`, in `columns` columns (1 or 2).
QSizeF ChartCaptionSize(const Canvas &canvas, const ChartCaption &caption, const TextStyle &style,
                        int columns = 1);

} // namespace cel::graphics
