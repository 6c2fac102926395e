// The canvas operations every picture of the chart graphics is drawn with: rectangles, circles, lines,
// flood fill of a white region, texts anchored at their top-left corner, tinted glyphs, hatched
// rectangles and pies. Pictures are drawn into an RGB32 image without antialiasing; a canvas can also
// record what it draws for a vector device (SVG, PDF) so that those outputs stay sharp at any size.
#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPicture>
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
};

// The font of a text style: sizes in points at 96 pixels per inch, drawn without antialiasing.
QFont MakeFont(const TextStyle &style);

class Canvas {
public:
    // Draws into `image`, which must be RGB32 and outlive the canvas.
    explicit Canvas(QImage &image);
    ~Canvas();
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    QImage &Image();
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }

    // From now on every operation is also recorded for a vector device.
    void StartRecording();
    bool Recording() const { return recording_; }
    // Replays the recording onto a painter of a vector device: the area fills first (a flood fill
    // only ever covers white pixels, so it lies under everything drawn before it), then the rest.
    void ReplayRecording(QPainter &painter);

    void FillRect(const QRect &rect, const QColor &colour);
    // Circle outline of the given radius around a centre; transparent inside.
    void Circle(QPoint centre, int radius, const QColor &pen);
    void Line(QPoint from, QPoint to, const QColor &pen, Qt::PenStyle style = Qt::SolidLine);
    // Fills the 4-connected region of white pixels containing the seed; returns the number of pixels
    // filled (0 when the seed lies outside the picture or on a pixel that is not white).
    long FloodFill(QPoint seed, const QColor &colour);
    // Text with its top-left corner at a point.
    void Text(QPoint topLeft, const QString &text, const TextStyle &style);
    QSize TextSize(const QString &text, const TextStyle &style) const;
    // Glyph picture n drawn in a colour with white transparent: the glyph is combined with a picture
    // of the colour by a logical OR and the result drawn onto the canvas by a logical AND.
    void TintedGlyph(const GlyphSet &set, int picture, QPoint topLeft, const QColor &colour);
    // A picture copied onto the canvas.
    void Picture(QPoint topLeft, const QImage &picture);
    // Rectangle and pie with an outline pen and a brush (hatch patterns included).
    void Rect(const QRect &rect, const QColor &pen, const QBrush &brush);
    void Pie(const QRect &rect, int startAngle16, int spanAngle16, const QColor &pen, const QBrush &brush);

private:
    QPainter &Raster();
    void EndRaster();

    QImage &image_;
    QPainter raster_;
    bool recording_ = false;
    QPicture fills_, rest_;
    std::unique_ptr<QPainter> fillsPainter_, restPainter_;
};

} // namespace cel::graphics
