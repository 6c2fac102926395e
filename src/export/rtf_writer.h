// The RTF document writer: a font table, a fixed sixteen-colour table, text paragraphs, pictures
// carried as PNG and four kinds of bordered table, accumulated in memory and saved
// at the end. Texts come in as UTF-8 and go out as Windows-1252.
#pragma once

#include <QImage>
#include <QRect>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "document/grid.h"

namespace cel::exporting {

// The writer reads the document's fonts and grids.
using document::kAnsiCharset;
using document::kDefaultCharset;
using document::kFamilySwiss;
using document::kSystemTextColour;
using RtfFont = document::TextFont;
using RtfGrid = document::Grid;
using document::CodeRenderer;
using document::GlyphPainter;
using document::ProgGridMarks;

// Paints one aspect-table cell (column, row, text) inside a rectangle.
using AspectCellPainter = std::function<void(QPainter &, const QRect &, int, int, const std::string &)>;

// Alignment of paragraphs and pictures.
enum RtfAlignment : int { kAlignLeft = 0, kAlignRight = 1, kAlignCentre = 2 };

class TCtrlToRTF {
public:
    // Adds a font-table entry unless an entry already holds the font's name.
    void AddFont(const RtfFont &font);
    // "{\rtf1..." with the font table as registered so far and the colour table; the group stays open.
    void WriteHeader();
    // Letter paper turned sideways with 10 mm margins, room for the widest table; written right after
    // the header.
    void WriteLandscapePaper();
    // Letter paper upright with 20 mm margins at the sides, 10 mm at the top and bottom.
    void WritePortraitPaper();
    void WriteText(std::string_view text, const RtfFont &font, int alignment);
    void WritePicture(int ppi, const QImage &bitmap, int alignment);
    // A picture group without a paragraph, appended to target (a table cell): the bitmap as PNG, shown at
    // ppi pixels per inch.
    void WriteCellPicture(int ppi, std::string &target, const QImage &bitmap) const;
    // A picture of width x height pixels of ppi per inch drawn by `draw` (in those pixels) at print
    // resolution into the same page room, appended to target.
    void WriteDrawnPicture(int ppi, std::string &target, int width, int height,
                           const std::function<void(QPainter &)> &draw) const;
    void WriteGrid(int ppi, const RtfGrid &grid);
    // The progressions grid with point glyphs in column 0 and sign glyphs in the position cells.
    void WriteProgGrid(int ppi, const RtfGrid &grid, const ProgGridMarks &marks, const GlyphPainter &glyphs);
    // The aspect table, every cell as a rendered picture: by paintCell when given (the screen's cell
    // painter, with its tints and relation fills, inside the cell's rectangle), else by the glyphs.
    void WriteAspectGrid(int ppi, const RtfGrid &grid, const GlyphPainter &glyphs, bool showStrength,
                         bool cellBorders, const AspectCellPainter &paintCell = {});
    // The aspect detail list: cells of cellWidth x cellHeight pixels drawn by render.
    void WriteAspectList(int ppi, const RtfGrid &grid, const CodeRenderer &render, int cellWidth,
                         int cellHeight, bool smallGlyphs, bool cellBorders);
    // Closes the document and replaces the file with it (temporary file, flush, rename). Throws
    // std::runtime_error with the file name and the system's error text; the old file then stays.
    void SaveToFile(const std::string &fileName);

    // The document as written so far (Windows-1252 bytes).
    const std::string &Body() const { return body_; }
    const std::vector<std::string> &FontTable() const { return fontTable_; }

    // The control words of a font: "\f" reference, size, style and colour.
    std::string FontReference(const RtfFont &font) const;
    static std::string SizeWord(const RtfFont &font);
    static std::string StyleWords(const RtfFont &font);
    static std::string ColourWord(std::uint32_t colour);
    static std::string AlignmentWord(int alignment);
    // UTF-8 text as RTF text in Windows-1252: "\", "{", "}" escaped, tab and line feed as \tab and
    // \line, a character outside the code page as a \u escape with "?" for older readers.
    static std::string EscapeText(std::string_view utf8);

private:
    static constexpr int kCellGap = 108; // twips
    void WriteGlyphPicture(int ppi, const GlyphPainter &glyphs, int picture);
    void WriteTablePrologue();
    // Row definition and the opening of the row's cells; smallGlyphs widens columns by 6, not 2. `gap` is
    // the room in twips between a cell's border and its content on each side.
    void WriteRowStart(int ppi, const RtfGrid &grid, bool cellBorders, bool smallGlyphs,
                       const std::string &fontWords, int gap = kCellGap);
    // The same with the columns' widths in pixels given (the cells' room before the gaps).
    void WriteRowStart(int ppi, const std::vector<long double> &widths, bool cellBorders,
                       const std::string &fontWords, int gap = kCellGap);
    void WriteRowEnd();

    // The font the text tables are written in: the grid's own, made smaller (down to 6 points) while
    // the table would be wider than the paper's room between its margins.
    RtfFont TableFont(int ppi, const RtfGrid &grid, int extra,
                      const std::function<int(int row, int column)> &glyphRoom = {}) const;

    std::string body_;
    bool headerWritten_ = false;
    long tableRoom_ = 0; // twips between the margins; 0 when the paper is not set
    std::vector<std::string> fontTable_;
    std::vector<std::string> fontNames_;
};

// The resolution the document's pictures are drawn at: print quality.
inline constexpr int kPrintPpi = 300;

// The widths (pixels of ppi per inch) a text table's columns need so that no cell's text wraps in a word
// processor: at least the on-screen width plus `extra`, and the widest cell's text (as written, with its
// blanks) plus `glyphRoom(row, column)` pixels of pictures plus the cell's gaps.
std::vector<long double> FittedWidths(int ppi, const RtfGrid &grid, int extra,
                                      const std::function<int(int row, int column)> &glyphRoom = {});

// Rounds to the nearest integer, halves to even.
long RoundHalfEven(long double x);

} // namespace cel::exporting
