// The hand-drawn pictures of the two glyph sets as rows of '#' (dark) and '.' (white); generated from
// tools/glyphs/*.txt by tools/glyphs/gen_glyphs.py.
#pragma once

namespace cel::graphics {

inline constexpr int kGlyphCount = 47;
inline constexpr int kNormalGlyphSize = 11;
inline constexpr int kLargeGlyphSize = 17;

extern const char *const kNormalGlyphRows[kGlyphCount][kNormalGlyphSize];
extern const char *const kLargeGlyphRows[kGlyphCount][kLargeGlyphSize];

} // namespace cel::graphics
