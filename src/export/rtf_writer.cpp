#include "export/rtf_writer.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <array>
#include <cmath>
#include <stdexcept>

#include "common/safe_file.h"
#include "common/windows1252.h"
#include "document/cell_drawing.h"

namespace cel::exporting {

namespace {

struct TableColour {
    int red, green, blue;
};

// The fixed colour table, in the order of the \cf numbers.
constexpr std::array<TableColour, 16> kColourTable{{{0, 0, 0},
                                                    {128, 0, 0},
                                                    {0, 128, 0},
                                                    {128, 128, 0},
                                                    {0, 0, 128},
                                                    {128, 0, 128},
                                                    {0, 128, 128},
                                                    {128, 128, 128},
                                                    {192, 192, 192},
                                                    {255, 0, 0},
                                                    {0, 255, 0},
                                                    {255, 255, 0},
                                                    {0, 0, 255},
                                                    {255, 0, 255},
                                                    {0, 255, 255},
                                                    {255, 255, 255}}};

constexpr const char *kRowBorders = "\\trbrdrt\\brdrs\\brdrw10\\trbrdrl\\brdrs\\brdrw10"
                                    "\\trbrdrb\\brdrs\\brdrw10\\trbrdrr\\brdrs\\brdrw10"
                                    "\\trbrdrh\\brdrs\\brdrw10\\trbrdrv\\brdrs\\brdrw10";
constexpr const char *kCellBorders = "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                                     "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10\\clcbpat15";

std::string FamilyWord(std::uint8_t pitchAndFamily) {
    switch (pitchAndFamily >> 4) {
    case 0:
        return "fnil";
    case 1:
        return "froman";
    case 2:
        return "fswiss";
    case 3:
        return "fmodern";
    case 4:
        return "fscript";
    case 5:
        return "fdecor";
    default:
        return "froman";
    }
}

std::string CharsetWord(int charset) {
    switch (charset) {
    case 0:
    case 1:
    case 2:
    case 128:
    case 255:
        return "fcharset" + std::to_string(charset);
    default:
        return {};
    }
}

QImage WhiteBitmap(int width, int height) {
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The text of a twips or pixel count as RTF writes numbers.
std::string Num(long v) {
    return std::to_string(v);
}

} // namespace

long RoundHalfEven(long double x) {
    // nearbyint follows the current rounding mode, which is round-to-nearest-even by default.
    return static_cast<long>(std::nearbyint(x));
}

void TCtrlToRTF::AddFont(const RtfFont &font) {
    // The table is part of the header: a font registered later could never be referenced.
    if (headerWritten_)
        return;
    for (const std::string &name : fontNames_)
        if (name.find(font.name) != std::string::npos)
            return;
    std::string entry = "{\\f" + std::to_string(fontTable_.size()) + "\\" + FamilyWord(font.pitchAndFamily);
    const std::string charset = CharsetWord(font.charset);
    if (!charset.empty())
        entry += "\\" + charset;
    entry += " " + EscapeText(font.name) + ";}";
    fontTable_.push_back(entry);
    fontNames_.push_back(font.name);
}

void TCtrlToRTF::WriteHeader() {
    headerWritten_ = true;
    body_ += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720";
    body_ += "{\\fonttbl";
    for (const std::string &entry : fontTable_)
        body_ += entry;
    body_ += "}";
    body_ += "{\\colortbl";
    for (const TableColour &c : kColourTable)
        body_ += "\\red" + Num(c.red) + "\\green" + Num(c.green) + "\\blue" + Num(c.blue) + ";";
    body_ += "}";
}

std::string TCtrlToRTF::FontReference(const RtfFont &font) const {
    for (std::size_t i = 0; i < fontNames_.size(); ++i)
        if (fontNames_[i].find(font.name) != std::string::npos)
            return "\\f" + std::to_string(i);
    return "\\f0";
}

std::string TCtrlToRTF::SizeWord(const RtfFont &font) {
    return "\\fs" + std::to_string(font.size * 2);
}

std::string TCtrlToRTF::StyleWords(const RtfFont &font) {
    std::string s;
    if (font.bold)
        s += "\\b";
    if (font.italic)
        s += "\\i";
    if (font.underline)
        s += "\\ul";
    if (font.strikeOut)
        s += "\\strike";
    return s;
}

std::string TCtrlToRTF::ColourWord(std::uint32_t colour) {
    for (std::size_t i = 0; i < kColourTable.size(); ++i) {
        const TableColour &c = kColourTable[i];
        const std::uint32_t value = static_cast<std::uint32_t>(c.blue) * 65536u +
                                    static_cast<std::uint32_t>(c.green) * 256u +
                                    static_cast<std::uint32_t>(c.red);
        if (value == colour)
            return "\\cf" + std::to_string(i);
    }
    return {};
}

std::string TCtrlToRTF::AlignmentWord(int alignment) {
    if (alignment == kAlignCentre)
        return "\\qc";
    if (alignment == kAlignRight)
        return "\\qr";
    return {};
}

std::string TCtrlToRTF::EscapeText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const char32_t c = NextUtf8Char(utf8, i);
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\t') {
            out += "\\tab ";
        } else if (c == '\n') {
            out += "\\line ";
        } else if (c == '\r') {
            // a CR LF pair is one line break
        } else if (c > 0x10FFFF) {
            out += '?'; // not UTF-8 at all
        } else if (const int b = Windows1252Byte(c); b >= 0) {
            out += static_cast<char>(b);
        } else {
            // Outside the code page: the Unicode value for RTF readers, "?" for those that skip it.
            auto unit = [&out](std::uint32_t u) {
                out += "\\u" + std::to_string(static_cast<std::int16_t>(static_cast<std::uint16_t>(u))) + "?";
            };
            if (c > 0xFFFF) {
                const std::uint32_t v = static_cast<std::uint32_t>(c) - 0x10000;
                unit(0xD800 + (v >> 10));
                unit(0xDC00 + (v & 0x3FF));
            } else {
                unit(c);
            }
        }
    }
    return out;
}

void TCtrlToRTF::WriteLandscapePaper() {
    body_ += "\\paperw15840\\paperh12240\\margl567\\margr567\\margt567\\margb567\\landscape";
    tableRoom_ = 15840 - 2 * 567;
}

void TCtrlToRTF::WritePortraitPaper() {
    body_ += "\\paperw12240\\paperh15840\\margl1134\\margr1134\\margt567\\margb567";
    tableRoom_ = 12240 - 2 * 1134;
}

RtfFont TCtrlToRTF::TableFont(int ppi, const RtfGrid &grid, int extra,
                              const std::function<int(int row, int column)> &glyphRoom) const {
    RtfGrid sized = grid;
    const long double perInch = ppi > 0 ? ppi : 96;
    while (tableRoom_ > 0 && sized.font.size > 6) {
        long double sum = 0;
        for (const long double w : FittedWidths(ppi, sized, extra, glyphRoom))
            sum += w;
        // The row starts 90 twips in and its last edge lies 108 twips past the sum.
        if (sum / perInch * 1440 + 108 + 90 <= tableRoom_)
            break;
        --sized.font.size;
    }
    return sized.font;
}

void TCtrlToRTF::WriteText(std::string_view text, const RtfFont &font, int alignment) {
    body_ += "\\par \\pard" + AlignmentWord(alignment) + "\\plain" + FontReference(font) + SizeWord(font) +
             StyleWords(font) + ColourWord(font.colour) + " " + EscapeText(text);
}

namespace {

// A picture group holding the bitmap as PNG, shown goalWidth x goalHeight pixels of ppi per inch.
void AppendPngPicture(std::string &target, const QImage &bitmap, long double goalWidth,
                      long double goalHeight, int ppi) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    bitmap.convertToFormat(QImage::Format_RGB888).save(&buffer, "PNG");
    const long double perInch = ppi > 0 ? ppi : 96;
    target += "{\\pict\\picscalex100\\picscaley100\\piccropl0\\piccropr0\\piccropt0\\piccropb0";
    target += "\\picw" + Num(bitmap.width());
    target += "\\pich" + Num(bitmap.height());
    target += "\\picwgoal" + Num(RoundHalfEven(goalWidth / perInch * 1440));
    target += "\\pichgoal" + Num(RoundHalfEven(goalHeight / perInch * 1440));
    target += "\\pngblip \\bin" + std::to_string(png.size());
    target.append(png.constData(), static_cast<std::size_t>(png.size()));
    target += "}";
}

} // namespace

void TCtrlToRTF::WriteCellPicture(int ppi, std::string &target, const QImage &bitmap) const {
    AppendPngPicture(target, bitmap, bitmap.width(), bitmap.height(), ppi);
}

void TCtrlToRTF::WriteDrawnPicture(int ppi, std::string &target, int width, int height,
                                   const std::function<void(QPainter &)> &draw) const {
    const qreal factor = static_cast<qreal>(kPrintPpi) / (ppi > 0 ? ppi : 96);
    QImage bitmap = WhiteBitmap(static_cast<int>(std::lround(width * factor)),
                                static_cast<int>(std::lround(height * factor)));
    {
        QPainter painter(&bitmap);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.scale(factor, factor);
        draw(painter);
    }
    AppendPngPicture(target, bitmap, width, height, ppi);
}

void TCtrlToRTF::WritePicture(int ppi, const QImage &bitmap, int alignment) {
    body_ += "\\par \\pard" + AlignmentWord(alignment) + "\\plain\\cgrid ";
    WriteCellPicture(ppi, body_, bitmap);
}

void TCtrlToRTF::WriteTablePrologue() {
    body_ += "\\par \\pard\\plain\\cgrid";
    body_ += "{\\stylesheet{\\nowidctlpar\\widctlpar\\adjustright \\fs20\\cgrid \\snext0 Normal;}";
    body_ += "{\\*\\cs10 \\additive Default Paragraph Font;}}";
    body_ += "{\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang{\\pntxta";
    body_ += ".}}{\\*\\pnseclvl2\\pnucltr\\pnstart1\\pnindent720\\pnhang";
    body_ += "{\\pntxta .}}{\\*\\pnseclvl3\\pndec\\pnstart1\\pnindent720\\pnhang{\\pntxta";
    body_ += ".}}{\\*\\pnseclvl4\\pnlcltr\\pnstart1\\pnindent720\\pnhang{\\pntxta";
    body_ += ")}}{\\*\\pnseclvl5\\pndec\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta";
    body_ += ")}}{\\*\\pnseclvl6\\pnlcltr\\pnstart1\\pnindent720\\pnhang";
    body_ += "{\\pntxtb (}{\\pntxta )}}{\\*\\pnseclvl7\\pnlcrm\\pnstart1\\pnindent720\\pnhang{\\pntxtb "
             "(}{\\pntxta";
    body_ += ")}}{\\*\\pnseclvl8\\pnlcltr\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta";
    body_ += ")}}{\\*\\pnseclvl9\\pnlcrm\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}";
}

std::vector<long double> FittedWidths(int ppi, const RtfGrid &grid, int extra,
                                      const std::function<int(int row, int column)> &glyphRoom) {
    const long double perInch = ppi > 0 ? ppi : 96;
    // Measured at 96 per inch, where the font's points are 4/3 pixels, then taken to ppi.
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(3780);
    device.setDotsPerMeterY(3780);
    QFont font(QString::fromStdString(grid.font.name));
    font.setPointSizeF(grid.font.size);
    font.setBold(grid.font.bold);
    font.setItalic(grid.font.italic);
    const QFontMetricsF metrics(font, &device);
    // Both gaps of the cell (108 twips each side) and a little slack for the reader's own font.
    const long double gaps = 216.0L / 1440 * perInch + 2;
    std::vector<long double> widths;
    for (int c = 0; c < grid.ColumnCount(); ++c) {
        long double width = grid.columnWidths[static_cast<std::size_t>(c)] + extra;
        for (int r = 0; r < grid.RowCount(); ++r) {
            const std::string &text = grid.Cell(c, r);
            const int glyphs = glyphRoom ? glyphRoom(r, c) : 0;
            if (text.empty() && glyphs == 0)
                continue;
            const long double textWidth =
                metrics.horizontalAdvance(QString::fromStdString(" " + text + "  ")) * 1.03L * perInch / 96;
            width = std::max(width, textWidth + glyphs * perInch / 96 + gaps);
        }
        widths.push_back(std::ceil(width));
    }
    return widths;
}

void TCtrlToRTF::WriteRowStart(int ppi, const RtfGrid &grid, bool cellBorders, bool smallGlyphs,
                               const std::string &fontWords, int gap) {
    std::vector<long double> widths;
    for (int w : grid.columnWidths)
        widths.push_back(w + (smallGlyphs ? 6 : 2));
    WriteRowStart(ppi, widths, cellBorders, fontWords, gap);
}

void TCtrlToRTF::WriteRowStart(int ppi, const std::vector<long double> &widths, bool cellBorders,
                               const std::string &fontWords, int gap) {
    const long double perInch = ppi > 0 ? ppi : 96;
    body_ += "\\trowd\\trgaph" + Num(gap) + "\\trrh260\\trleft90";
    body_ += kRowBorders;
    long double sum = 0;
    for (const long double width : widths) {
        body_ += "\\clvertalt";
        if (cellBorders)
            body_ += kCellBorders;
        body_ += "\\cltxlrtb";
        sum += width;
        body_ += "\\cellx" + Num(RoundHalfEven(sum / perInch * 1440 + 108));
    }
    body_ += "\\pard\\ri-123\\nowidctlpar\\widctlpar\\intbl\\adjustright";
    body_ += " {" + fontWords + "\\cgrid0";
}

void TCtrlToRTF::WriteRowEnd() {
    body_ += "}\\pard \\nowidctlpar\\widctlpar\\intbl\\adjustright {\\row}";
}

void TCtrlToRTF::WriteGrid(int ppi, const RtfGrid &screenGrid) {
    RtfGrid grid = screenGrid;
    grid.font = TableFont(ppi, screenGrid, 2);
    const std::string fontWords =
        FontReference(grid.font) + SizeWord(grid.font) + StyleWords(grid.font) + ColourWord(grid.font.colour);
    const std::vector<long double> widths = FittedWidths(ppi, grid, 2);
    WriteTablePrologue();
    for (int r = 0; r < grid.RowCount(); ++r) {
        WriteRowStart(ppi, widths, true, fontWords);
        for (int c = 0; c < grid.ColumnCount(); ++c) {
            body_ += ' ';
            body_ += EscapeText(grid.Cell(c, r));
            body_ += "  \\cell ";
        }
        WriteRowEnd();
    }
    body_ += "\\pard\\nowidctlpar\\widctlpar\\adjustright ";
}

void TCtrlToRTF::WriteGlyphPicture(int ppi, const GlyphPainter &glyphs, int picture) {
    WriteDrawnPicture(ppi, body_, glyphs.Size(), glyphs.Size(),
                      [&](QPainter &painter) { glyphs.Draw(painter, picture, 0, 0, 0); });
}

void TCtrlToRTF::WriteProgGrid(int ppi, const RtfGrid &screenGrid, const ProgGridMarks &marks,
                               const GlyphPainter &glyphs) {
    // Each cell holds its text and, in one line with it, the point's or the sign's glyph.
    const int g = glyphs.Size();
    const auto glyphRoom = [&marks, g](int r, int c) {
        if (c == 0 && r >= 1 && r <= 12)
            return g + 2;
        const int sign = c >= 1 && c <= 9 && r >= 1 && r <= 24 ? marks.SignAt(r, c) : 0;
        return sign >= 1 && sign <= 12 ? g + 2 : 0;
    };
    const bool small = g <= 11;
    RtfGrid grid = screenGrid;
    grid.font = TableFont(ppi, screenGrid, small ? 6 : 2, glyphRoom);
    const std::string fontRef = FontReference(grid.font);
    const std::string size = SizeWord(grid.font);
    const std::string style = StyleWords(grid.font);
    const std::string colour = ColourWord(grid.font.colour);
    const std::string fontWords = fontRef + size + style + colour;
    const std::vector<long double> widths = FittedWidths(ppi, grid, small ? 6 : 2, glyphRoom);
    WriteTablePrologue();
    for (int r = 0; r < grid.RowCount(); ++r) {
        WriteRowStart(ppi, widths, true, fontWords);
        for (int c = 0; c < grid.ColumnCount(); ++c) {
            if (c == 0 && r >= 1 && r <= 12)
                WriteGlyphPicture(ppi, glyphs, 11 + r);
            std::string cellStyle = style;
            if (marks.showRetro && r >= 1 && r <= 12 && c >= 1 && c <= 11)
                cellStyle = marks.RetroAt(r, c) ? "\\ul" : "";
            body_ +=
                "\\plain" + fontRef + size + cellStyle + colour + " " + EscapeText(grid.Cell(c, r)) + "  ";
            if (c >= 1 && c <= 9 && r >= 1 && r <= 24) {
                const int sign = marks.SignAt(r, c);
                if (sign >= 1 && sign <= 12)
                    WriteGlyphPicture(ppi, glyphs, sign - 1);
            }
            body_ += "\\cell ";
        }
        WriteRowEnd();
    }
    body_ += "\\pard\\nowidctlpar\\widctlpar\\adjustright ";
}

void TCtrlToRTF::WriteAspectGrid(int ppi, const RtfGrid &grid, const GlyphPainter &glyphs, bool showStrength,
                                 bool cellBorders, const AspectCellPainter &paintCell) {
    const std::string fontWords =
        FontReference(grid.font) + SizeWord(grid.font) + StyleWords(grid.font) + ColourWord(grid.font.colour);
    const bool small = glyphs.Size() <= 11;
    // The cell pictures are as wide as their columns: a gap of one pixel keeps them inside their cells,
    // where the usual gaps would push them over the borders and into the next cell.
    constexpr int kPictureGap = 15;
    WriteTablePrologue();
    for (int r = 0; r < grid.RowCount(); ++r) {
        WriteRowStart(ppi, grid, cellBorders, small, fontWords, kPictureGap);
        for (int c = 0; c < grid.ColumnCount(); ++c) {
            if (paintCell && document::AspectCellDrawn(grid, c, r)) {
                // The cell's own width; one glyph high and a line for the strength, as on screen.
                const int width = std::max(grid.columnWidths[static_cast<std::size_t>(c)], glyphs.Size() + 3);
                const int height = glyphs.Size() + 2 + (showStrength ? glyphs.Size() + 2 : 0);
                WriteDrawnPicture(ppi, body_, width, height, [&](QPainter &painter) {
                    paintCell(painter, QRect(0, 0, width, height), c, r, grid.Cell(c, r));
                });
            } else if (document::AspectCellDrawn(grid, c, r)) {
                const QSize size = document::AspectCellSize(grid, c, glyphs, showStrength);
                WriteDrawnPicture(ppi, body_, size.width(), size.height(), [&](QPainter &painter) {
                    document::PaintAspectCell(painter, grid, c, r, glyphs, showStrength);
                });
            }
            body_ += "\\cell ";
        }
        WriteRowEnd();
    }
    body_ += "\\pard\\nowidctlpar\\widctlpar\\adjustright ";
}

void TCtrlToRTF::WriteAspectList(int ppi, const RtfGrid &grid, const CodeRenderer &render, int cellWidth,
                                 int cellHeight, bool smallGlyphs, bool cellBorders) {
    const std::string fontWords =
        FontReference(grid.font) + SizeWord(grid.font) + StyleWords(grid.font) + ColourWord(grid.font.colour);
    auto picture = [&](int width, const std::string &code) {
        WriteDrawnPicture(ppi, body_, std::max(width, 1), std::max(cellHeight, 1),
                          [&](QPainter &painter) { render(painter, width, cellHeight, code); });
    };
    WriteTablePrologue();
    for (int r = 0; r < grid.RowCount(); ++r) {
        WriteRowStart(ppi, grid, cellBorders, smallGlyphs, fontWords);
        for (int c = 0; c < grid.ColumnCount(); ++c) {
            const std::string &text = grid.Cell(c, r);
            const std::string code = text.empty() ? std::string() : text.substr(1);
            if (code.empty()) {
                // nothing in this cell
            } else if (code[0] == ' ' || code[0] == '?') {
                body_ += ' ';
                body_ += EscapeText(text);
                body_ += "  ";
            } else if (const std::size_t slash = code.find('/'); slash != std::string::npos) {
                const int half = cellWidth / 2 - 4;
                picture(half, code.substr(0, slash));
                picture(half, code.substr(slash + 1));
            } else {
                picture(cellWidth - 4, code);
            }
            body_ += "\\cell ";
        }
        WriteRowEnd();
    }
    body_ += "\\pard\\nowidctlpar\\widctlpar\\adjustright ";
}

void TCtrlToRTF::SaveToFile(const std::string &fileName) {
    const std::string document = body_ + "\r\n}";
    WriteFileSafely(fileName, document); // throws FileError (a std::runtime_error)
    body_ = document;
}

} // namespace cel::exporting
