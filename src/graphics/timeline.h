// The timeline of a listing of transits: one row per transit, a bar from the time it enters orb to the
// time it leaves, a mark at each exact time, and a time axis of months or years above the rows. The
// window, the printed pages and the RTF export draw it with the same function.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>

#include <vector>

namespace cel::graphics {

// Times are days of a continuous time line (any origin, the same as the period's).
struct TimelineRow {
    QString label;
    bool hasEnter = false, hasLeave = false; // an orb that began or ends outside the search is open
    double enter = 0, leave = 0;
    std::vector<double> exact; // exact times; an ingress or a station has only this one
    QColor colour = QColor(40, 90, 200);
};

struct TimelineLayout {
    int labelWidth = 150; // pixels of the row labels at the left
    int rowHeight = 16;
    int axisHeight = 30;
};

// The layout with the label column as wide as the widest label needs in the timeline's text (font at
// the size the rows are drawn with), but not wider than widest pixels.
TimelineLayout FitLabels(TimelineLayout layout, const std::vector<TimelineRow> &rows, const QFont &font,
                         int widest);
// The font the labels and the axis are drawn in: font at the size rows of rowHeight take.
QFont TimelineFont(const QFont &font, int rowHeight);
// The height of a timeline of rows rows.
int TimelineHeight(int rows, const TimelineLayout &layout = {});
// Draws rows first .. first + count - 1 of the timeline of the period [from, to] into rect: the axis at
// the top of rect, then the rows. The times are continuous days from 1899-12-30 (Greenwich), which the
// axis turns into months and years.
void DrawTimeline(QPainter &painter, const QRect &rect, const std::vector<TimelineRow> &rows, double from,
                  double to, int first, int count, const TimelineLayout &layout = {});
// The x of an instant inside rect (the bars' area starts after the labels).
double TimelineX(const QRect &rect, double t, double from, double to, const TimelineLayout &layout = {});

} // namespace cel::graphics
