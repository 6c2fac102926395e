#include "graphics/canvas.h"

#include <QPainterPath>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <vector>

namespace cel::graphics {

int RoundHalfEven(long double x) {
    return static_cast<int>(std::nearbyint(x));
}

QColor StoredColour(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

QFont MakeFont(const TextStyle &style) {
    // An empty family name draws with the default font (the picture recorders fail on an empty one).
    QFont font(style.family.trimmed().isEmpty() ? QStringLiteral("Sans Serif") : style.family);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(style.pointSize * 96.0 / 72.0))));
    if (style.fixedPitch) {
        font.setFixedPitch(true);
        font.setStyleHint(QFont::TypeWriter, QFont::NoAntialias);
    } else {
        font.setStyleStrategy(QFont::NoAntialias);
    }
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setKerning(false);
    return font;
}

namespace {

QPen MakePen(const QColor &colour, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(colour);
    pen.setWidth(1);
    pen.setStyle(style);
    return pen;
}

// Vector devices place a 1-pixel line on the centre of the pixels the picture fills.
QPointF Centre(QPoint p) {
    return QPointF(p.x() + 0.5, p.y() + 0.5);
}

} // namespace

Canvas::Canvas(QImage &image) : image_(image) {}

Canvas::~Canvas() {
    EndRaster();
    if (fillsPainter_)
        fillsPainter_->end();
    if (restPainter_)
        restPainter_->end();
}

QImage &Canvas::Image() {
    EndRaster();
    return image_;
}

QPainter &Canvas::Raster() {
    if (!raster_.isActive()) {
        raster_.begin(&image_);
        raster_.setRenderHint(QPainter::Antialiasing, false);
        raster_.setRenderHint(QPainter::TextAntialiasing, false);
    }
    return raster_;
}

void Canvas::EndRaster() {
    if (raster_.isActive())
        raster_.end();
}

void Canvas::StartRecording() {
    if (recording_)
        return;
    recording_ = true;
    fillsPainter_ = std::make_unique<QPainter>(&fills_);
    restPainter_ = std::make_unique<QPainter>(&rest_);
}

void Canvas::ReplayRecording(QPainter &painter) {
    if (!recording_)
        return;
    fillsPainter_->end();
    restPainter_->end();
    fills_.play(&painter);
    rest_.play(&painter);
    fillsPainter_->begin(&fills_);
    restPainter_->begin(&rest_);
}

void Canvas::FillRect(const QRect &rect, const QColor &colour) {
    Raster().fillRect(rect, colour);
    if (recording_)
        fillsPainter_->fillRect(rect, colour);
}

void Canvas::Circle(QPoint centre, int radius, const QColor &pen) {
    QPainter &p = Raster();
    p.setPen(MakePen(pen));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRect(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius));
    if (recording_) {
        restPainter_->setPen(MakePen(pen));
        restPainter_->setBrush(Qt::NoBrush);
        restPainter_->drawEllipse(Centre(centre), radius, radius);
    }
}

void Canvas::Line(QPoint from, QPoint to, const QColor &pen, Qt::PenStyle style) {
    QPainter &p = Raster();
    p.setPen(MakePen(pen, style));
    p.drawLine(from, to);
    if (recording_) {
        restPainter_->setPen(MakePen(pen, style));
        restPainter_->drawLine(Centre(from), Centre(to));
    }
}

long Canvas::FloodFill(QPoint seed, const QColor &colour) {
    EndRaster();
    const int w = image_.width(), h = image_.height();
    if (seed.x() < 0 || seed.y() < 0 || seed.x() >= w || seed.y() >= h)
        return 0;
    const QRgb white = qRgb(255, 255, 255);
    const QRgb fill = colour.rgb();
    auto pixel = [this](int x, int y) -> QRgb & { return reinterpret_cast<QRgb *>(image_.scanLine(y))[x]; };
    auto isWhite = [&](int x, int y) { return (pixel(x, y) | 0xFF000000u) == white; };
    if (!isWhite(seed.x(), seed.y()))
        return 0;
    // A filled pixel is no longer white, which marks it as done; only a white fill needs a map of its own.
    const bool whiteFill = (fill | 0xFF000000u) == white;
    std::vector<std::uint8_t> visited;
    if (whiteFill)
        visited.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    auto at = [w](int x, int y) {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x);
    };
    std::vector<QPoint> filled;
    std::vector<QPoint> stack{seed};
    long count = 0;
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        const int x = p.x(), y = p.y();
        if (!isWhite(x, y) || (whiteFill && visited[at(x, y)]))
            continue;
        if (whiteFill)
            visited[at(x, y)] = 1;
        pixel(x, y) = fill;
        ++count;
        if (recording_)
            filled.push_back(p);
        if (x > 0)
            stack.emplace_back(x - 1, y);
        if (x + 1 < w)
            stack.emplace_back(x + 1, y);
        if (y > 0)
            stack.emplace_back(x, y - 1);
        if (y + 1 < h)
            stack.emplace_back(x, y + 1);
    }
    if (recording_ && !filled.empty()) {
        // The filled pixels as runs per row, in the banded order a region wants.
        std::sort(filled.begin(), filled.end(),
                  [](QPoint a, QPoint b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); });
        std::vector<QRect> runs;
        for (std::size_t i = 0; i < filled.size();) {
            std::size_t j = i + 1;
            while (j < filled.size() && filled[j].y() == filled[i].y() &&
                   filled[j].x() == filled[j - 1].x() + 1)
                ++j;
            runs.emplace_back(filled[i].x(), filled[i].y(), static_cast<int>(j - i), 1);
            i = j;
        }
        QRegion region;
        region.setRects(runs.data(), static_cast<int>(runs.size()));
        QPainterPath path;
        path.addRegion(region);
        fillsPainter_->setPen(QPen(colour, 0.6));
        fillsPainter_->setBrush(colour);
        fillsPainter_->drawPath(path.simplified());
        fillsPainter_->setBrush(Qt::NoBrush);
    }
    return count;
}

void Canvas::Text(QPoint topLeft, const QString &text, const TextStyle &style) {
    const QFont font = MakeFont(style);
    QPainter &p = Raster();
    p.setFont(font);
    p.setPen(style.colour);
    const int ascent = p.fontMetrics().ascent();
    p.drawText(QPoint(topLeft.x(), topLeft.y() + ascent), text);
    if (recording_) {
        restPainter_->setFont(font);
        restPainter_->setPen(style.colour);
        restPainter_->drawText(QPoint(topLeft.x(), topLeft.y() + ascent), text);
    }
}

QSize Canvas::TextSize(const QString &text, const TextStyle &style) const {
    const QFontMetrics metrics(MakeFont(style), &image_);
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

void Canvas::TintedGlyph(const GlyphSet &set, int picture, QPoint topLeft, const QColor &colour) {
    const int g = set.Size();
    QImage work(g, g, QImage::Format_RGB32);
    work.fill(colour.rgb());
    {
        QPainter p(&work);
        p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        p.drawImage(0, 0, set.Picture(picture));
    }
    QPainter &p = Raster();
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(topLeft, work);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (recording_) {
        std::vector<QRect> dark;
        for (int y = 0; y < g; ++y)
            for (int x = 0; x < g;) {
                if (!set.IsDark(picture, x, y)) {
                    ++x;
                    continue;
                }
                const int start = x;
                while (x < g && set.IsDark(picture, x, y))
                    ++x;
                dark.emplace_back(topLeft.x() + start, topLeft.y() + y, x - start, 1);
            }
        if (!dark.empty()) {
            QRegion region;
            region.setRects(dark.data(), static_cast<int>(dark.size()));
            QPainterPath path;
            path.addRegion(region);
            restPainter_->fillPath(path.simplified(), colour);
        }
    }
}

void Canvas::Picture(QPoint topLeft, const QImage &picture) {
    Raster().drawImage(topLeft, picture);
    if (recording_)
        restPainter_->drawImage(topLeft, picture);
}

void Canvas::Rect(const QRect &rect, const QColor &pen, const QBrush &brush) {
    QPainter &p = Raster();
    p.setPen(MakePen(pen));
    p.setBrush(brush);
    p.drawRect(rect);
    p.setBrush(Qt::NoBrush);
    if (recording_) {
        restPainter_->setPen(MakePen(pen));
        restPainter_->setBrush(brush);
        restPainter_->drawRect(QRectF(rect).translated(0.5, 0.5));
        restPainter_->setBrush(Qt::NoBrush);
    }
}

void Canvas::Pie(const QRect &rect, int startAngle16, int spanAngle16, const QColor &pen,
                 const QBrush &brush) {
    QPainter &p = Raster();
    p.setPen(MakePen(pen));
    p.setBrush(brush);
    p.drawPie(rect, startAngle16, spanAngle16);
    p.setBrush(Qt::NoBrush);
    if (recording_) {
        restPainter_->setPen(MakePen(pen));
        restPainter_->setBrush(brush);
        restPainter_->drawPie(QRectF(rect).translated(0.5, 0.5), startAngle16, spanAngle16);
        restPainter_->setBrush(Qt::NoBrush);
    }
}

} // namespace cel::graphics
