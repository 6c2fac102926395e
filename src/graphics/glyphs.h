// The two glyph sets: the signs, bodies, aspect kinds and dignity marks as vector outlines, drawn at
// 11 pixels (normal set) or 17 pixels (large set) on the reference picture and scaled with the
// picture. The outlines come from the DejaVu Sans font compiled into the program (its astrological
// symbols) and from a few shapes of our own, so the look never depends on the user's fonts.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>

#include <mutex>
#include <vector>

class QPainter;

namespace cel::graphics {

// Picture numbers: sign s is picture s - 1, body b picture 11 + b, aspect kind k picture 23 + k,
// dignity code c picture 37 + c (detail panels) or 42 + c (settings matrix and summary grid).
inline constexpr int kBodyPictureBase = 11;
inline constexpr int kAspectPictureBase = 23;
inline constexpr int kDignityPictureBase = 37;
inline constexpr int kDignityPictureBase2 = 42;
inline constexpr int kGlyphCount = 47;

// Colour of an aspect kind: blue for 1, 3, 5, 9, 11; green for 2, 6, 8, 12; red for 4, 7, 10, 13.
QColor AspectKindColour(int kind);

// The family of the font the glyphs come from, the last fallback of every text.
QString EmbeddedFontFamily();

class GlyphSet {
public:
    // The normal set (11 pixels) and the large set (17 pixels, the wheel's "ImagenR").
    static const GlyphSet &Normal();
    static const GlyphSet &Large();
    static const GlyphSet &Choose(bool large) { return large ? Large() : Normal(); }

    int Size() const { return size_; } // G: width and height of every glyph on the reference picture
    int Count() const { return kGlyphCount; }
    // Glyph n as a filled outline in the unit square (y down); empty for a number outside the set.
    const QPainterPath &Outline(int n) const;
    // Glyph n filled in a colour into a box (any size), anti-aliased.
    void Draw(QPainter &painter, int n, const QRectF &box, const QColor &colour) const;
    // Glyph n rendered at the set's size, black on white (for lists and icons).
    const QImage &Picture(int n) const;
    bool IsDark(int n, int x, int y) const;

private:
    explicit GlyphSet(int size);
    const std::vector<QImage> &Pictures() const;
    int size_;
    mutable std::once_flag picturesOnce_;
    mutable std::vector<QImage> pictures_;
    mutable QImage blank_;
};

} // namespace cel::graphics
