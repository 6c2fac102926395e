#include "graphics/glyphs.h"

#include <QFile>
#include <QPainter>
#include <QPainterPathStroker>
#include <QRawFont>

#include <algorithm>
#include <cmath>
#include <mutex>

// The compiled-in resources live in a static library: name them so that the linker keeps them.
static void InitFontResources() {
    Q_INIT_RESOURCE(celestigrafo_fonts);
}

namespace cel::graphics {

namespace {

const QByteArray &EmbeddedFontData() {
    static const QByteArray data = [] {
        InitFontResources();
        QFile file(QStringLiteral(":/celestigrafo/fonts/DejaVuSans.ttf"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    return data;
}

constexpr qreal kFontPixels = 100; // the size the outlines are taken at, before they are fitted

QPainterPath CharactersPath(const QString &text) {
    static const QRawFont font(EmbeddedFontData(), kFontPixels);
    QPainterPath path;
    if (!font.isValid())
        return path;
    const QList<quint32> indexes = font.glyphIndexesForString(text);
    const QList<QPointF> advances = font.advancesForGlyphIndexes(indexes);
    QPointF at(0, 0);
    for (qsizetype i = 0; i < indexes.size(); ++i) {
        if (indexes[i] != 0)
            path.addPath(font.pathForGlyph(indexes[i]).translated(at));
        at += advances[i];
    }
    return path;
}

// Centred in the unit square with its larger side `extent` long.
QPainterPath Fit(const QPainterPath &path, qreal extent) {
    const QRectF b = path.boundingRect();
    if (b.isEmpty())
        return path;
    const qreal scale = extent / std::max(b.width(), b.height());
    QTransform t;
    t.translate(0.5, 0.5);
    t.scale(scale, scale);
    t.translate(-b.center().x(), -b.center().y());
    QPainterPath out = t.map(path);
    out.setFillRule(Qt::WindingFill);
    return out;
}

// A line drawing of our own (unit square) turned into a filled outline.
QPainterPath Stroked(const QPainterPath &skeleton, qreal width = 0.095) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    QPainterPath out = stroker.createStroke(skeleton);
    out.setFillRule(Qt::WindingFill);
    return out;
}

QPainterPath Polyline(std::initializer_list<QPointF> points) {
    QPainterPath p;
    bool first = true;
    for (const QPointF &q : points) {
        if (first)
            p.moveTo(q);
        else
            p.lineTo(q);
        first = false;
    }
    return p;
}

QPainterPath Sextile() {
    QPainterPath p = Polyline({{0.5, 0.06}, {0.5, 0.94}});
    const qreal dx = 0.44 * std::cos(M_PI / 6), dy = 0.44 * std::sin(M_PI / 6);
    p.addPath(Polyline({{0.5 - dx, 0.5 - dy}, {0.5 + dx, 0.5 + dy}}));
    p.addPath(Polyline({{0.5 - dx, 0.5 + dy}, {0.5 + dx, 0.5 - dy}}));
    return Stroked(p);
}

QPainterPath SemiSextile() {
    QPainterPath p = Polyline({{0.12, 0.16}, {0.5, 0.62}, {0.88, 0.16}});
    p.addPath(Polyline({{0.5, 0.62}, {0.5, 0.8}}));
    p.addPath(Polyline({{0.1, 0.84}, {0.9, 0.84}}));
    return Stroked(p);
}

QPainterPath Quincunx() {
    QPainterPath p = Polyline({{0.1, 0.16}, {0.9, 0.16}});
    p.addPath(Polyline({{0.5, 0.16}, {0.5, 0.36}}));
    p.addPath(Polyline({{0.12, 0.84}, {0.5, 0.38}, {0.88, 0.84}}));
    return Stroked(p);
}

QPainterPath Sesquiquadrate() {
    QPainterPath p;
    p.addRect(QRectF(0.1, 0.44, 0.46, 0.46));
    p.addPath(Polyline({{0.56, 0.44}, {0.92, 0.08}}));
    return Stroked(p);
}

// The aspects of 15, 75, 105 and 165 degrees: a protractor, a half circle on its diameter with a
// needle from its centre towards the aspect's angle, so the family reads apart from every other sign
// and its members by the needle's lean (drawn leaning more than the true angle, 15 and 165 further from
// the diameter and 75 and 105 further from the upright, so each reads apart at 11 pixels).
QPainterPath Protractor(qreal degrees) {
    const qreal a = degrees * M_PI / 180;
    constexpr qreal r = 0.42, cx = 0.5, cy = 0.72, tall = 1.25; // the half circle drawn a little taller
    QPainterPath skeleton = Polyline({{cx - r, cy}, {cx + r, cy}});
    QPainterPath arc;
    arc.moveTo(cx + r, cy);
    for (int i = 1; i <= 18; ++i) {
        const qreal t = M_PI * i / 18;
        arc.lineTo(cx + r * std::cos(t), cy - tall * r * std::sin(t));
    }
    skeleton.addPath(arc);
    skeleton.addPath(Polyline({{cx, cy}, {cx + 0.86 * r * std::cos(a), cy - 0.86 * tall * r * std::sin(a)}}));
    return Stroked(skeleton, 0.09);
}

// "+", "-", "++", "--": the dignity marks.
QPainterPath Marks(int plus, int minus) {
    QPainterPath p;
    const int count = plus + minus;
    const qreal w = count == 1 ? 0.62 : 0.4;
    for (int i = 0; i < count; ++i) {
        const qreal cx = count == 1 ? 0.5 : 0.26 + 0.48 * i;
        p.addPath(Polyline({{cx - w / 2, 0.5}, {cx + w / 2, 0.5}}));
        if (i < plus)
            p.addPath(Polyline({{cx, 0.5 - w / 2}, {cx, 0.5 + w / 2}}));
    }
    return Stroked(p, 0.11);
}

std::vector<QPainterPath> BuildOutlines() {
    std::vector<QPainterPath> out(kGlyphCount);
    auto symbol = [](char32_t c, qreal extent = 0.92) {
        return Fit(CharactersPath(QString::fromUcs4(&c, 1)), extent);
    };
    for (int s = 0; s < 12; ++s)
        out[static_cast<std::size_t>(s)] = symbol(U'\u2648' + static_cast<char32_t>(s));
    const char32_t bodies[12] = {U'\u2609', U'\u263D', U'\u263F', U'\u2640', U'\u2642', U'\u2643',
                                 U'\u2644', U'\u2645', U'\u2646', U'\u2647', U'\u260A', U'\u2297'};
    for (int b = 0; b < 12; ++b)
        out[static_cast<std::size_t>(12 + b)] = symbol(bodies[b]);
    const QPainterPath aspects[13] = {symbol(U'\u260C'),       Protractor(38),  SemiSextile(),
                                      symbol(U'\u2220', 0.86), Sextile(),       Protractor(62),
                                      symbol(U'\u25A1', 0.86), Protractor(118), symbol(U'\u25B3', 0.9),
                                      Sesquiquadrate(),        Quincunx(),      Protractor(142),
                                      symbol(U'\u260D')};
    for (int k = 0; k < 13; ++k)
        out[static_cast<std::size_t>(24 + k)] = aspects[k];
    for (int base : {kDignityPictureBase, kDignityPictureBase2}) {
        out[static_cast<std::size_t>(base + 1)] = Marks(1, 0);
        out[static_cast<std::size_t>(base + 2)] = Marks(0, 1);
        out[static_cast<std::size_t>(base + 3)] = Marks(2, 0);
        out[static_cast<std::size_t>(base + 4)] = Marks(0, 2);
    }
    return out;
}

const std::vector<QPainterPath> &Outlines() {
    static const std::vector<QPainterPath> outlines = BuildOutlines();
    return outlines;
}

} // namespace

QString EmbeddedFontFamily() {
    // The glyph outlines come from the compiled-in file; texts fall back on the same family as the
    // system has it (fonts-dejavu-core). Registering the file as an application font would make an
    // application object that is destroyed at exit touch the already destroyed font cache.
    return QStringLiteral("DejaVu Sans");
}

GlyphSet::GlyphSet(int size) : size_(size) {}

// The pictures are rendered on first use, once the application (and with it the fonts) exists.
const std::vector<QImage> &GlyphSet::Pictures() const {
    std::call_once(picturesOnce_, [this] {
        blank_ = QImage(size_, size_, QImage::Format_RGB32);
        blank_.fill(Qt::white);
        for (int n = 0; n < kGlyphCount; ++n) {
            QImage picture(size_, size_, QImage::Format_RGB32);
            picture.fill(Qt::white);
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing, true);
            Draw(painter, n, QRectF(0, 0, size_, size_), Qt::black);
            painter.end();
            pictures_.push_back(picture);
        }
    });
    return pictures_;
}

const GlyphSet &GlyphSet::Normal() {
    static const GlyphSet set(11);
    return set;
}

const GlyphSet &GlyphSet::Large() {
    static const GlyphSet set(17);
    return set;
}

const QPainterPath &GlyphSet::Outline(int n) const {
    static const QPainterPath empty;
    if (n < 0 || n >= kGlyphCount)
        return empty;
    return Outlines()[static_cast<std::size_t>(n)];
}

void GlyphSet::Draw(QPainter &painter, int n, const QRectF &box, const QColor &colour) const {
    const QPainterPath &path = Outline(n);
    if (path.isEmpty() || box.isEmpty())
        return;
    painter.save();
    painter.translate(box.topLeft());
    painter.scale(box.width(), box.height());
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(path);
    painter.restore();
}

const QImage &GlyphSet::Picture(int n) const {
    const std::vector<QImage> &pictures = Pictures();
    if (n < 0 || n >= Count())
        return blank_;
    return pictures[static_cast<std::size_t>(n)];
}

bool GlyphSet::IsDark(int n, int x, int y) const {
    if (n < 0 || n >= Count() || x < 0 || y < 0 || x >= size_ || y >= size_)
        return false;
    return qGray(Pictures()[static_cast<std::size_t>(n)].pixel(x, y)) < 128;
}

QColor AspectKindColour(int kind) {
    switch (kind) {
    case 2:
    case 6:
    case 8:
    case 12:
        return QColor(0, 128, 0);
    case 4:
    case 7:
    case 10:
    case 13:
        return QColor(255, 0, 0);
    default:
        return QColor(0, 0, 255);
    }
}

} // namespace cel::graphics
