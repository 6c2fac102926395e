#include "graphics/chart_caption.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace cel::graphics {

std::string DeltaTText(double seconds, bool applied, const TextFormat &format) {
    if (!applied)
        return "ΔT: no";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", seconds);
    std::string number = text;
    std::replace(number.begin(), number.end(), '.', format.decimalSeparator);
    return "ΔT: " + number + " s";
}

std::vector<std::string> CaptionLines(const ChartCaption &c) {
    std::vector<std::string> lines;
    for (const std::string *line :
         {&c.name, &c.dateTime, &c.place, &c.coordinates, &c.houses, &c.zodiac, &c.deltaT})
        if (!line->empty())
            lines.push_back(*line);
    return lines;
}

namespace {

// The lines split into columns: the first holds who, when and where, the second how.
std::vector<std::vector<QString>> Columns(const ChartCaption &caption, int columns) {
    std::vector<std::vector<QString>> out(static_cast<std::size_t>(columns));
    const std::vector<std::string> lines = CaptionLines(caption);
    const std::size_t firstCount = columns == 1 ? lines.size() : (lines.size() + 1) / 2;
    for (std::size_t i = 0; i < lines.size(); ++i)
        out[i < firstCount ? 0 : 1].push_back(QString::fromStdString(lines[i]));
    return out;
}

struct Measured {
    QSizeF size;
    std::vector<qreal> columnWidths;
    qreal lineHeight = 0;
    qreal gap = 0;
};

Measured Measure(const Canvas &canvas, const std::vector<std::vector<QString>> &columns,
                 const TextStyle &style) {
    Measured m;
    m.lineHeight = canvas.TextSizeF(QStringLiteral("Ág,"), style).height();
    m.gap = m.lineHeight; // between two columns
    std::size_t rows = 0;
    for (const auto &column : columns) {
        qreal width = 0;
        for (const QString &line : column)
            width = std::max(width, canvas.TextSizeF(line, style).width());
        m.columnWidths.push_back(width);
        rows = std::max(rows, column.size());
    }
    qreal width = 0;
    for (std::size_t i = 0; i < m.columnWidths.size(); ++i)
        width += m.columnWidths[i] + (i > 0 ? m.gap : 0);
    m.size = QSizeF(width, m.lineHeight * static_cast<qreal>(rows));
    return m;
}

} // namespace

QSizeF ChartCaptionSize(const Canvas &canvas, const ChartCaption &caption, const TextStyle &style,
                        int columns) {
    return Measure(canvas, Columns(caption, std::clamp(columns, 1, 2)), style).size;
}

QRectF DrawChartCaption(Canvas &canvas, const QRectF &rect, const ChartCaption &caption, TextStyle style) {
    const int columnCount = rect.width() > 2.5 * rect.height() ? 2 : 1;
    const std::vector<std::vector<QString>> columns = Columns(caption, columnCount);
    if (columns[0].empty() || rect.width() <= 0 || rect.height() <= 0)
        return {};
    const qreal full = style.scale;
    Measured m = Measure(canvas, columns, style);
    // Shrink by the room missing, then in small steps while rounding of font sizes still overflows.
    const qreal fit = std::min({1.0, rect.width() / std::max<qreal>(1, m.size.width()),
                                rect.height() / std::max<qreal>(1, m.size.height())});
    style.scale = full * fit;
    m = Measure(canvas, columns, style);
    while ((m.size.width() > rect.width() || m.size.height() > rect.height()) && style.scale > full / 3) {
        style.scale *= 0.95;
        m = Measure(canvas, columns, style);
    }
    if (m.size.width() > rect.width() || m.size.height() > rect.height())
        return {};
    qreal x = rect.left();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        qreal y = rect.top();
        for (const QString &line : columns[c]) {
            canvas.TextF(QPointF(x, y), line, style);
            y += m.lineHeight;
        }
        x += m.columnWidths[c] + m.gap;
    }
    return QRectF(rect.topLeft(), m.size);
}

} // namespace cel::graphics
