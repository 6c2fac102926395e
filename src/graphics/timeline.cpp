#include "graphics/timeline.h"

#include <QFontMetrics>
#include <QSet>

#include <algorithm>
#include <array>
#include <cmath>

#include "common/date_time.h"

namespace cel::graphics {

namespace {

constexpr std::array<const char *, 12> kMonths = {"ene", "feb", "mar", "abr", "may", "jun",
                                                  "jul", "ago", "sep", "oct", "nov", "dic"};

struct Tick {
    double t;
    QString label;
    bool major;
};

// Month ticks for periods up to three years, else years (every 1, 2, 5, 10 or 20 so that about a dozen
// are labelled).
std::vector<Tick> Ticks(double from, double to) {
    std::vector<Tick> ticks;
    int y = 0, m = 0, d = 0;
    CivilFromDays(static_cast<std::int64_t>(std::floor(from)), y, m, d);
    const double years = (to - from) / 365.25;
    if (years <= 3) {
        const int every = years <= 1.2 ? 1 : 3;
        for (int yy = y, mm = m;; ++mm) {
            if (mm > 12)
                mm = 1, ++yy;
            const double t = static_cast<double>(DaysFromCivil(yy, mm, 1));
            if (t > to)
                break;
            if (t >= from && (mm - 1) % every == 0)
                ticks.push_back({t, mm == 1 ? QString::number(yy) : QString(kMonths[mm - 1]), mm == 1});
        }
        return ticks;
    }
    int step = 1;
    for (int s : {1, 2, 5, 10, 20, 50})
        if (years / s <= 14) {
            step = s;
            break;
        }
    // The first year is marked too when the period begins on its first day.
    for (int yy = static_cast<double>(DaysFromCivil(y, 1, 1)) >= from ? y : y + 1;; ++yy) {
        const double t = static_cast<double>(DaysFromCivil(yy, 1, 1));
        if (t > to)
            break;
        if (yy % step == 0)
            ticks.push_back({t, QString::number(yy), true});
    }
    return ticks;
}

} // namespace

QFont TimelineFont(const QFont &font, int rowHeight) {
    QFont sized = font;
    sized.setPixelSize(std::max(8, rowHeight - 5));
    return sized;
}

TimelineLayout FitLabels(TimelineLayout layout, const std::vector<TimelineRow> &rows, const QFont &font,
                         int widest) {
    const QFontMetrics metrics(TimelineFont(font, layout.rowHeight));
    // Listings repeat their labels: each text is measured once.
    QSet<QString> seen;
    int width = 0;
    for (const TimelineRow &row : rows)
        if (!seen.contains(row.label)) {
            seen.insert(row.label);
            width = std::max(width, metrics.horizontalAdvance(row.label));
        }
    layout.labelWidth = std::clamp(width + 12, 40, std::max(40, widest));
    return layout;
}

int TimelineHeight(int rows, const TimelineLayout &layout) {
    return layout.axisHeight + std::max(0, rows) * layout.rowHeight + 2;
}

double TimelineX(const QRect &rect, double t, double from, double to, const TimelineLayout &layout) {
    const double left = rect.left() + layout.labelWidth;
    const double width = std::max(1, rect.width() - layout.labelWidth - 6);
    return left + (t - from) / std::max(1e-9, to - from) * width;
}

void DrawTimeline(QPainter &painter, const QRect &rect, const std::vector<TimelineRow> &rows, double from,
                  double to, int first, int count, const TimelineLayout &layout) {
    painter.save();
    painter.fillRect(rect, Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const auto x = [&](double t) { return TimelineX(rect, std::clamp(t, from, to), from, to, layout); };
    const int last = std::min(static_cast<int>(rows.size()), first + std::max(0, count));
    const int top = rect.top() + layout.axisHeight;
    const int bottom = top + std::max(0, last - first) * layout.rowHeight;

    // The axis: ticks with their labels, and light lines down through the rows.
    const QFont font = TimelineFont(painter.font(), layout.rowHeight);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    double lastRight = -1e9; // where the last label written ends: a label that would overlap it is left out
    for (const Tick &tick : Ticks(from, to)) {
        const double tx = x(tick.t);
        painter.setPen(QPen(tick.major ? QColor(150, 150, 150) : QColor(215, 215, 215), 0));
        painter.drawLine(QPointF(tx, top - 6), QPointF(tx, bottom));
        painter.setPen(Qt::black);
        // A label that would run past the right edge (the period's end) is written before its tick.
        const int labelWidth = metrics.horizontalAdvance(tick.label);
        const double lx = tx + 2 + labelWidth > rect.right() ? tx - 2 - labelWidth : tx + 2;
        if (lx < lastRight + 4)
            continue;
        painter.drawText(QPointF(lx, top - 10), tick.label);
        lastRight = lx + labelWidth;
    }
    painter.setPen(QPen(Qt::black, 0));
    painter.drawLine(QPointF(x(from), top), QPointF(x(to), top));

    // The rows: zebra ground, label, bar from entering to leaving orb, a diamond at each exact time.
    const double half = layout.rowHeight / 2.0;
    for (int i = first; i < last; ++i) {
        const TimelineRow &row = rows[static_cast<std::size_t>(i)];
        const int y = top + (i - first) * layout.rowHeight;
        if ((i - first) % 2 == 1)
            painter.fillRect(QRect(rect.left(), y, rect.width(), layout.rowHeight), QColor(245, 246, 250));
        painter.setPen(Qt::black);
        const QString label = metrics.elidedText(row.label, Qt::ElideRight, layout.labelWidth - 6);
        painter.drawText(QRect(rect.left() + 3, y, layout.labelWidth - 6, layout.rowHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, label);
        const double centre = y + half;
        if (row.hasEnter || row.hasLeave) {
            const double a = row.hasEnter ? row.enter : from;
            const double b = row.hasLeave ? row.leave : to;
            if (b >= from && a <= to) {
                QColor fill = row.colour;
                fill.setAlpha(90);
                painter.setPen(QPen(row.colour, 0.8));
                painter.setBrush(fill);
                const double xa = x(a), xb = std::max(x(b), x(a) + 1);
                painter.drawRect(QRectF(xa, centre - half * 0.45, xb - xa, half * 0.9));
            }
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(row.colour.darker(150));
        const double r = std::max(2.0, half * 0.55);
        for (double t : row.exact) {
            if (t < from || t > to)
                continue;
            const double tx = x(t);
            const QPointF diamond[] = {
                {tx, centre - r}, {tx + r, centre}, {tx, centre + r}, {tx - r, centre}};
            painter.drawPolygon(diamond, 4);
        }
        painter.setBrush(Qt::NoBrush);
    }
    painter.restore();
}

} // namespace cel::graphics
