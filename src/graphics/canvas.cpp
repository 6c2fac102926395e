#include "graphics/canvas.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <tuple>

namespace cel::graphics {

int RoundHalfEven(long double x) {
    return static_cast<int>(std::nearbyint(x));
}

QColor StoredColour(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

namespace {

QFont BuildFont(const TextStyle &style) {
    QFont font;
    // An empty family name falls through to the defaults (the picture recorders fail on an empty one).
    QStringList families;
    if (!style.family.trimmed().isEmpty())
        families << style.family;
    if (style.fixedPitch)
        families << QStringLiteral("DejaVu Sans Mono") << QStringLiteral("Liberation Mono");
    families << QStringLiteral("Arial") << QStringLiteral("Liberation Sans") << EmbeddedFontFamily();
    font.setFamilies(families);
    font.setPointSizeF(std::max(0.5, style.pointSize * style.scale));
    if (style.fixedPitch) {
        font.setFixedPitch(true);
        font.setStyleHint(QFont::TypeWriter);
    } else {
        font.setStyleHint(QFont::SansSerif);
    }
    font.setHintingPreference(QFont::PreferNoHinting); // the same widths on every device and size
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setKerning(false);
    return font;
}

// Metrics of a logical resolution of 96 pixels per inch, whatever device is drawn on.
const QImage &MetricsDevice() {
    static const QImage device(1, 1, QImage::Format_RGB32);
    return device;
}

// Fonts and their metrics are resolved once per style: resolving a family is slow and every
// picture asks for the same few styles again and again.
struct ResolvedFont {
    ResolvedFont(const QFont &f, const QFontMetricsF &m) : font(f), metrics(m) {}
    QFont font;
    QFontMetricsF metrics;
    // The line height and the widths of texts already measured: a wheel measures the same few
    // texts many times while it looks for the label size that fits.
    qreal height = metrics.height();
    std::mutex advancesMutex;
    QHash<QString, qreal> advances;
};
ResolvedFont &Resolve(const TextStyle &style) {
    using Key = std::tuple<QString, double, int>;
    static std::mutex mutex;
    static std::map<Key, std::unique_ptr<ResolvedFont>> cache;
    const Key key{style.family, style.pointSize * style.scale,
                  int(style.fixedPitch) | int(style.bold) << 1 | int(style.italic) << 2 |
                      int(style.underline) << 3};
    const std::lock_guard<std::mutex> lock(mutex);
    auto &entry = cache[key];
    if (!entry) {
        QFont font = BuildFont(style);
        entry = std::make_unique<ResolvedFont>(font, QFontMetricsF(font, &MetricsDevice()));
    }
    return *entry;
}

} // namespace

QFont MakeFont(const TextStyle &style) {
    return Resolve(style).font;
}

namespace {

QPen MakePen(const QColor &colour, qreal width = 1, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(colour);
    pen.setWidthF(width);
    pen.setStyle(style);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

// Integer points name pixels; lines and outlines run through their centres.
QPointF Centre(QPoint p) {
    return QPointF(p.x() + 0.5, p.y() + 0.5);
}

struct GlyphKey {
    const GlyphSet *set;
    int picture, side8, fx, fy;
    QRgb colour;
    bool operator<(const GlyphKey &o) const {
        return std::tie(set, picture, side8, fx, fy, colour) <
               std::tie(o.set, o.picture, o.side8, o.fx, o.fy, o.colour);
    }
};

void Prepare(QPainter &p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

} // namespace

Canvas::Canvas(QImage &image) : image_(&image), size_(image.size()) {}

Canvas::Canvas(QPainter &painter, QSize size) : external_(&painter), size_(size) {
    Prepare(painter);
}

Canvas::~Canvas() {
    if (own_.isActive())
        own_.end();
}

QImage &Canvas::Image() {
    static QImage none;
    if (own_.isActive())
        own_.end();
    return image_ ? *image_ : none;
}

QPainter &Canvas::Painter() {
    if (external_)
        return *external_;
    if (!own_.isActive()) {
        own_.begin(image_);
        Prepare(own_);
    }
    return own_;
}

void Canvas::FillRect(const QRect &rect, const QColor &colour) {
    Painter().fillRect(rect, colour);
}

void Canvas::FillRectF(const QRectF &rect, const QColor &colour) {
    Painter().fillRect(rect, colour);
}

void Canvas::Circle(QPoint centre, int radius, const QColor &pen) {
    CircleF(Centre(centre), radius, pen);
}

void Canvas::CircleF(QPointF centre, qreal radius, const QColor &pen, qreal width) {
    // Filled as the thin ring it is: the same picture as a stroked circle, at a fraction of the cost.
    RingSector(centre, std::max<qreal>(0, radius - width / 2), radius + width / 2, 0, 360, pen);
}

void Canvas::Line(QPoint from, QPoint to, const QColor &pen, Qt::PenStyle style) {
    QPainter &p = Painter();
    QPen qpen = MakePen(pen, 1, style);
    qpen.setCapStyle(Qt::SquareCap);
    p.setPen(qpen);
    p.drawLine(Centre(from), Centre(to));
}

void Canvas::LineF(QPointF from, QPointF to, const QColor &pen, qreal width) {
    QPainter &p = Painter();
    p.setPen(MakePen(pen, width));
    p.drawLine(from, to);
}

void Canvas::LinesF(const QList<QLineF> &lines, const QColor &pen, qreal width) {
    QPainter &p = Painter();
    p.setPen(MakePen(pen, width));
    p.drawLines(lines);
}

void Canvas::Disc(QPointF centre, qreal radius, const QColor &colour) {
    QPainter &p = Painter();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(centre, radius, radius);
    p.setBrush(Qt::NoBrush);
}

void Canvas::RingSector(QPointF centre, qreal inner, qreal outer, qreal startAngle, qreal span,
                        const QColor &colour) {
    if (outer <= inner)
        return;
    QPainterPath path;
    const QRectF out(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer);
    const QRectF in(centre.x() - inner, centre.y() - inner, 2 * inner, 2 * inner);
    if (span >= 360) {
        path.addEllipse(out);
        path.addEllipse(in);
        path.setFillRule(Qt::OddEvenFill);
    } else {
        path.arcMoveTo(out, startAngle);
        path.arcTo(out, startAngle, span);
        path.arcTo(in, startAngle + span, -span);
        path.closeSubpath();
    }
    QPainter &p = Painter();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path);
    p.setBrush(Qt::NoBrush);
}

void Canvas::Text(QPoint topLeft, const QString &text, const TextStyle &style) {
    TextF(topLeft, text, style);
}

void Canvas::TextF(QPointF topLeft, const QString &text, const TextStyle &style) {
    const ResolvedFont &resolved = Resolve(style);
    QPainter &p = Painter();
    p.setFont(resolved.font);
    p.setPen(style.colour);
    p.drawText(QPointF(topLeft.x(), topLeft.y() + resolved.metrics.ascent()), text);
}

QSize Canvas::TextSize(const QString &text, const TextStyle &style) const {
    const QSizeF s = TextSizeF(text, style);
    return QSize(static_cast<int>(std::ceil(s.width())), static_cast<int>(std::ceil(s.height())));
}

QSizeF Canvas::TextSizeF(const QString &text, const TextStyle &style) const {
    ResolvedFont &resolved = Resolve(style);
    const std::lock_guard<std::mutex> lock(resolved.advancesMutex);
    auto it = resolved.advances.constFind(text);
    if (it == resolved.advances.constEnd()) {
        if (resolved.advances.size() > 4096)
            resolved.advances.clear();
        it = resolved.advances.insert(text, resolved.metrics.horizontalAdvance(text));
    }
    return QSizeF(*it, resolved.height);
}

void Canvas::TintedGlyph(const GlyphSet &set, int picture, QPoint topLeft, const QColor &colour) {
    Glyph(set, picture, QRectF(topLeft, QSizeF(set.Size(), set.Size())), colour);
}

void Canvas::Glyph(const GlyphSet &set, int picture, const QRectF &box, const QColor &colour) {
    if (image_ == nullptr || box.width() > 200) {
        set.Draw(Painter(), picture, box, colour);
        return;
    }
    // On a picture, each glyph is rendered once per size, colour and quarter-pixel offset and then
    // copied: the outline is the same, filling it anew every time is what costs.
    const int left = static_cast<int>(std::floor(box.left())), top = static_cast<int>(std::floor(box.top()));
    const int fx = static_cast<int>(std::lround((box.left() - left) * 4)),
              fy = static_cast<int>(std::lround((box.top() - top) * 4));
    const GlyphKey key{&set, picture, static_cast<int>(std::lround(box.width() * 8)), fx, fy, colour.rgba()};
    static std::mutex mutex;
    static std::map<GlyphKey, QImage> cache;
    const std::lock_guard<std::mutex> lock(mutex);
    auto it = cache.find(key);
    if (it == cache.end()) {
        if (cache.size() > 4096)
            cache.clear();
        const int side = static_cast<int>(std::ceil(box.width() + 1));
        QImage rendered(side, side, QImage::Format_ARGB32_Premultiplied);
        rendered.fill(Qt::transparent);
        QPainter painter(&rendered);
        painter.setRenderHint(QPainter::Antialiasing, true);
        set.Draw(painter, picture, QRectF(fx / 4.0, fy / 4.0, box.width(), box.height()), colour);
        painter.end();
        it = cache.emplace(key, rendered).first;
    }
    Painter().drawImage(QPoint(left, top), it->second);
}

void Canvas::Picture(QPoint topLeft, const QImage &picture) {
    Painter().drawImage(topLeft, picture);
}

void Canvas::Rect(const QRect &rect, const QColor &pen, const QBrush &brush) {
    // A rectangle on whole pixels: the brush inside, the outline as four crisp one-pixel edges.
    QPainter &p = Painter();
    if (brush.style() != Qt::NoBrush)
        p.fillRect(QRect(rect.left(), rect.top(), rect.width() + 1, rect.height() + 1), brush);
    const int l = rect.left(), t = rect.top(), r = rect.left() + rect.width(), b = rect.top() + rect.height();
    p.fillRect(QRect(l, t, r - l + 1, 1), pen);
    p.fillRect(QRect(l, b, r - l + 1, 1), pen);
    p.fillRect(QRect(l, t, 1, b - t + 1), pen);
    p.fillRect(QRect(r, t, 1, b - t + 1), pen);
}

void Canvas::RectF(const QRectF &rect, const QColor &pen, const QBrush &brush, qreal width) {
    QPainter &p = Painter();
    p.setPen(MakePen(pen, width));
    p.setBrush(brush);
    p.drawRect(rect);
    p.setBrush(Qt::NoBrush);
}

void Canvas::Pie(const QRect &rect, int startAngle16, int spanAngle16, const QColor &pen,
                 const QBrush &brush) {
    PieF(QRectF(rect).translated(0.5, 0.5), startAngle16, spanAngle16, pen, brush);
}

void Canvas::PieF(const QRectF &rect, int startAngle16, int spanAngle16, const QColor &pen,
                  const QBrush &brush, qreal width) {
    QPainter &p = Painter();
    p.setPen(MakePen(pen, width));
    p.setBrush(brush);
    p.drawPie(rect, startAngle16, spanAngle16);
    p.setBrush(Qt::NoBrush);
}

} // namespace cel::graphics
