// The canvas operations every picture of the chart graphics is drawn with: rectangles, circles, lines,
// filled discs, rings and ring sectors, texts anchored at their top-left corner, glyphs, hatched
// rectangles and pies. The same drawing goes anti-aliased onto a picture (PNG, screen) or straight onto
// a vector device (SVG, PDF, printer), so every output shows the same shapes, colours and glyphs.
#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>

#include "graphics/glyphs.h"

namespace cel::graphics {

// [x]: x rounded to the nearest integer, halves to even.
int RoundHalfEven(long double x);

// A stored colour (blue * 65536 + green * 256 + red) as a QColor.
QColor StoredColour(std::int32_t value);

struct TextStyle {
    QString family = QStringLiteral("Arial Narrow");
    int pointSize = 8;
    QColor colour = Qt::black;
    bool fixedPitch = false;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    qreal scale = 1; // the picture's scale: sizes grow with it
};

// The font of a text style: sizes in points at 96 pixels per inch; the family falls back on common
// sans-serif families and at last on the font compiled into the program.
QFont MakeFont(const TextStyle &style);

class Canvas {
public:
    // Draws into `image`, which must be RGB32 and outlive the canvas.
    explicit Canvas(QImage &image);
    // Draws through a painter already open on any device (SVG, PDF, printer) whose logical size in
    // pixels of 96 per inch is `size`.
    Canvas(QPainter &painter, QSize size);
    ~Canvas();
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    // The picture drawn so far (a canvas over a painter has none: an empty image).
    QImage &Image();
    // Whether the canvas draws onto a picture of pixels (not onto a vector device).
    bool IsPicture() const { return image_ != nullptr; }
    int Width() const { return size_.width(); }
    int Height() const { return size_.height(); }
    QPainter &Painter();

    void FillRect(const QRect &rect, const QColor &colour);
    // Outlines of a pixel width; integer points lie on the centres of pixels.
    void Circle(QPoint centre, int radius, const QColor &pen);
    void Line(QPoint from, QPoint to, const QColor &pen, Qt::PenStyle style = Qt::SolidLine);
    // The same at any position (pixel centres at +0.5) and of any width.
    void CircleF(QPointF centre, qreal radius, const QColor &pen, qreal width = 1);
    void LineF(QPointF from, QPointF to, const QColor &pen, qreal width = 1);
    void LinesF(const QList<QLineF> &lines, const QColor &pen, qreal width = 1);
    // Filled shapes without outline: a disc and the part of a ring between two radii and two angles
    // (degrees counter-clockwise from the right; a span of 360 is the whole ring).
    void Disc(QPointF centre, qreal radius, const QColor &colour);
    void RingSector(QPointF centre, qreal inner, qreal outer, qreal startAngle, qreal span,
                    const QColor &colour);
    void FillRectF(const QRectF &rect, const QColor &colour);
    // Text with its top-left corner at a point.
    void Text(QPoint topLeft, const QString &text, const TextStyle &style);
    void TextF(QPointF topLeft, const QString &text, const TextStyle &style);
    QSize TextSize(const QString &text, const TextStyle &style) const;
    QSizeF TextSizeF(const QString &text, const TextStyle &style) const;
    // Glyph n in a colour in the set's box of side G with its top-left corner at a point; the rest of
    // the box leaves the canvas unchanged.
    void TintedGlyph(const GlyphSet &set, int picture, QPoint topLeft, const QColor &colour);
    // Glyph n in a colour in a square box of any side.
    void Glyph(const GlyphSet &set, int picture, const QRectF &box, const QColor &colour);
    // A picture copied onto the canvas.
    void Picture(QPoint topLeft, const QImage &picture);
    // Rectangle and pie with an outline pen and a brush (hatch patterns included).
    void Rect(const QRect &rect, const QColor &pen, const QBrush &brush);
    void Pie(const QRect &rect, int startAngle16, int spanAngle16, const QColor &pen, const QBrush &brush);
    void RectF(const QRectF &rect, const QColor &pen, const QBrush &brush, qreal width = 1);
    void PieF(const QRectF &rect, int startAngle16, int spanAngle16, const QColor &pen, const QBrush &brush,
              qreal width = 1);

private:
    QImage *image_ = nullptr;
    QPainter *external_ = nullptr;
    QPainter own_;
    QSize size_;
};

} // namespace cel::graphics
