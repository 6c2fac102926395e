// The grids and fonts a page is made of, as the main window shows them: column widths and row height
// in screen pixels, the cell texts row by row, and the painters that draw glyphs and aspect codes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QPainter;

namespace cel::document {

// Colours are blue * 65536 + green * 256 + red; the system text colour matches no table entry.
inline constexpr std::uint32_t kSystemTextColour = 0x80000008u;

// Character sets and pitch-and-family values of a font.
inline constexpr int kAnsiCharset = 0;
inline constexpr int kDefaultCharset = 1;
inline constexpr std::uint8_t kFamilySwiss = 0x20;

struct TextFont {
    std::string name = "MS Sans Serif";
    int size = 10; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint32_t colour = kSystemTextColour;
    std::uint8_t pitchAndFamily = kFamilySwiss;
    int charset = kAnsiCharset;
};

// A grid as it is shown on screen: column widths in pixels and the cell texts, row by row.
struct Grid {
    std::vector<int> columnWidths;
    int rowHeight = 18;                          // pixels
    std::vector<std::vector<std::string>> cells; // [row][column], UTF-8; short rows are padded
    TextFont font{"Arial", 8};

    int ColumnCount() const { return static_cast<int>(columnWidths.size()); }
    int RowCount() const { return static_cast<int>(cells.size()); }
    const std::string &Cell(int column, int row) const;
};

// The glyph pictures: 0..11 signs, 12..23 bodies, 24..36 aspect kinds (23 + k), 37.. dignity marks.
class GlyphPainter {
public:
    virtual ~GlyphPainter() = default;
    virtual int Size() const = 0; // 11 for the normal set, 17 for the large set
    // Draws picture number picture with its top-left corner at (x, y), dark parts in colour tint.
    virtual void Draw(QPainter &painter, int picture, int x, int y, std::uint32_t tint) const = 0;
};

// Extra data of the progressions grid, indexed [row][column] like its cells.
struct ProgGridMarks {
    std::vector<std::vector<int>> sign;   // sign 1..12 of the entry, 0 for none
    std::vector<std::vector<bool>> retro; // the point is retrograde in that item
    bool showRetro = false;               // the "Retro" setting

    // The entry's sign (0 for none) and retrograde mark; cells outside the tables have neither.
    int SignAt(int row, int column) const;
    bool RetroAt(int row, int column) const;
};

// Draws one aspect reference code into a white picture of the given size.
using CodeRenderer = std::function<void(QPainter &painter, int width, int height, const std::string &code)>;

} // namespace cel::document
