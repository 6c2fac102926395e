#include "graphics/glyphs.h"

#include "graphics/glyph_data.h"

namespace cel::graphics {

GlyphSet::GlyphSet(int size, const char *const *rows, int count)
    : size_(size), blank_(size, size, QImage::Format_RGB32) {
    blank_.fill(Qt::white);
    for (int n = 0; n < count; ++n) {
        QImage picture(size, size, QImage::Format_RGB32);
        picture.fill(Qt::white);
        for (int y = 0; y < size; ++y) {
            const char *row = rows[n * size + y];
            auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
            for (int x = 0; x < size; ++x)
                if (row[x] == '#')
                    line[x] = qRgb(0, 0, 0);
        }
        pictures_.push_back(picture);
    }
}

const GlyphSet &GlyphSet::Normal() {
    static const GlyphSet set(kNormalGlyphSize, &kNormalGlyphRows[0][0], kGlyphCount);
    return set;
}

const GlyphSet &GlyphSet::Large() {
    static const GlyphSet set(kLargeGlyphSize, &kLargeGlyphRows[0][0], kGlyphCount);
    return set;
}

const QImage &GlyphSet::Picture(int n) const {
    if (n < 0 || n >= Count())
        return blank_;
    return pictures_[static_cast<std::size_t>(n)];
}

bool GlyphSet::IsDark(int n, int x, int y) const {
    if (n < 0 || n >= Count() || x < 0 || y < 0 || x >= size_ || y >= size_)
        return false;
    return qRed(pictures_[static_cast<std::size_t>(n)].pixel(x, y)) < 128;
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
