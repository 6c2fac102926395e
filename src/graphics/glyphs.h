// The two glyph sets: small square monochrome pictures (dark on white) of the signs, bodies, aspect
// kinds and dignity marks, compiled into the program.
#pragma once

#include <QColor>
#include <QImage>

#include <vector>

namespace cel::graphics {

// Picture numbers: sign s is picture s - 1, body b picture 11 + b, aspect kind k picture 23 + k,
// dignity code c picture 37 + c (detail panels) or 42 + c (settings matrix and summary grid).
inline constexpr int kBodyPictureBase = 11;
inline constexpr int kAspectPictureBase = 23;
inline constexpr int kDignityPictureBase = 37;
inline constexpr int kDignityPictureBase2 = 42;

// Colour of an aspect kind: blue for 1, 3, 5, 9, 11; green for 2, 6, 8, 12; red for 4, 7, 10, 13.
QColor AspectKindColour(int kind);

class GlyphSet {
public:
    // The normal set (11 pixels) and the large set (17 pixels, the wheel's "ImagenR").
    static const GlyphSet &Normal();
    static const GlyphSet &Large();
    static const GlyphSet &Choose(bool large) { return large ? Large() : Normal(); }

    int Size() const { return size_; } // G: width and height of every picture
    int Count() const { return static_cast<int>(pictures_.size()); }
    // Picture n as an RGB32 image, black on white; a blank picture for a number outside the set.
    const QImage &Picture(int n) const;
    bool IsDark(int n, int x, int y) const;

private:
    GlyphSet(int size, const char *const *rows, int count);
    int size_;
    std::vector<QImage> pictures_;
    QImage blank_;
};

} // namespace cel::graphics
