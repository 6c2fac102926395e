#include "export/rtf_writer.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "export/wmf_writer.h"
#include "support/temp_folder.h"

namespace cel::exporting {
namespace {

const std::string kColourTable =
    "{\\colortbl\\red0\\green0\\blue0;\\red128\\green0\\blue0;\\red0\\green128\\blue0;"
    "\\red128\\green128\\blue0;\\red0\\green0\\blue128;\\red128\\green0\\blue128;\\red0\\green128\\blue128;"
    "\\red128\\green128\\blue128;\\red192\\green192\\blue192;\\red255\\green0\\blue0;\\red0\\green255\\blue0;"
    "\\red255\\green255\\blue0;\\red0\\green0\\blue255;\\red255\\green0\\blue255;\\red0\\green255\\blue255;"
    "\\red255\\green255\\blue255;}";

std::size_t Count(const std::string &text, const std::string &what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// Glyphs as black squares, so that pictures are recognisable without the real glyph set.
class SquareGlyphs : public GlyphPainter {
public:
    explicit SquareGlyphs(int size) : size_(size) {}
    int Size() const override { return size_; }
    void Draw(QPainter &painter, int picture, int x, int y, std::uint32_t) const override {
        drawn.push_back(picture);
        painter.fillRect(x, y, size_, size_, Qt::black);
    }
    mutable std::vector<int> drawn;

private:
    int size_;
};

TEST(TCtrlToRTF, EmptyDocumentHasTheSixteenColoursInOrder) {
    TCtrlToRTF rtf;
    const RtfFont base;
    rtf.AddFont(base);
    rtf.WriteHeader();
    rtf.WriteText("", base, kAlignLeft);
    rtf.WriteText("", base, kAlignLeft);
    const std::string expected = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720"
                                 "{\\fonttbl{\\f0\\fswiss\\fcharset0 MS Sans Serif;}}" +
                                 kColourTable +
                                 "\\par \\pard\\plain\\f0\\fs20 \\par \\pard\\plain\\f0\\fs20 ";
    EXPECT_EQ(rtf.Body(), expected);
}

TEST(TCtrlToRTF, ParagraphWordsForAlignmentStyleAndColour) {
    TCtrlToRTF rtf;
    rtf.AddFont(RtfFont{});
    rtf.AddFont(RtfFont{"Arial", 9});
    rtf.WriteHeader();
    const std::size_t start = rtf.Body().size();
    RtfFont font{"Arial", 9, true, true, true, true, 0x0000FF}; // red
    rtf.WriteText("Hola", font, kAlignRight);
    font = RtfFont{"Arial", 12, false, false, false, false, 0x123456};
    rtf.WriteText("x", font, kAlignCentre);
    EXPECT_EQ(
        rtf.Body().substr(start),
        "\\par \\pard\\qr\\plain\\f1\\fs18\\b\\i\\ul\\strike\\cf9 Hola\\par \\pard\\qc\\plain\\f1\\fs24 x");
}

TEST(TCtrlToRTF, EachTableColourHasItsNumber) {
    const std::vector<std::uint32_t> colours{0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                             0x808000, 0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF,
                                             0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    for (std::size_t i = 0; i < colours.size(); ++i)
        EXPECT_EQ(TCtrlToRTF::ColourWord(colours[i]), "\\cf" + std::to_string(i));
    EXPECT_EQ(TCtrlToRTF::ColourWord(0x010101), "");
    EXPECT_EQ(TCtrlToRTF::ColourWord(kSystemTextColour), "");
}

TEST(TCtrlToRTF, FontTableEntriesAndReuseByName) {
    struct Case {
        std::uint8_t family;
        int charset;
        std::string entry;
    };
    const std::vector<Case> cases{
        {0x00, 0, "{\\f0\\fnil\\fcharset0 F;}"},
        {0x12, 1, "{\\f0\\froman\\fcharset1 F;}"},
        {0x22, 2, "{\\f0\\fswiss\\fcharset2 F;}"},
        {0x31, 128, "{\\f0\\fmodern\\fcharset128 F;}"},
        {0x40, 255, "{\\f0\\fscript\\fcharset255 F;}"},
        {0x5F, 0, "{\\f0\\fdecor\\fcharset0 F;}"},
        {0x60, 77, "{\\f0\\froman F;}"},
    };
    for (const Case &c : cases) {
        TCtrlToRTF rtf;
        RtfFont font{"F"};
        font.pitchAndFamily = c.family;
        font.charset = c.charset;
        rtf.AddFont(font);
        ASSERT_EQ(rtf.FontTable().size(), 1u);
        EXPECT_EQ(rtf.FontTable()[0], c.entry);
    }

    TCtrlToRTF rtf;
    rtf.AddFont(RtfFont{"MS Sans Serif"});
    rtf.AddFont(RtfFont{"Arial Narrow"});
    rtf.AddFont(RtfFont{"Arial"});
    rtf.AddFont(RtfFont{"Courier New"});
    ASSERT_EQ(rtf.FontTable().size(), 3u);
    EXPECT_EQ(rtf.FontReference(RtfFont{"Arial"}), "\\f1");
    EXPECT_EQ(rtf.FontReference(RtfFont{"Arial Narrow"}), "\\f1");
    EXPECT_EQ(rtf.FontReference(RtfFont{"Courier New"}), "\\f2");
    EXPECT_EQ(rtf.FontReference(RtfFont{"Times"}), "\\f0");
    rtf.WriteHeader();
    rtf.AddFont(RtfFont{"Times"}); // too late for the table
    EXPECT_EQ(rtf.FontTable().size(), 3u);
    EXPECT_EQ(rtf.FontReference(RtfFont{"Times"}), "\\f0");
}

TEST(TCtrlToRTF, TextsAreEscapedAndWrittenInWindows1252) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"a\\b{c}", "a\\\\b\\{c\\}"},
        {"Bogot\xC3\xA1 \xE2\x82\xAC", "Bogot\xE1 \x80"},
        {"1\t2\n3\r\n4", "1\\tab 2\\line 3\\line 4"},
        {"\xE2\x9C\x93", "\\u10003?"},               // U+2713 is not in the code page
        {"\xF0\x9F\x98\x80", "\\u-10179?\\u-8704?"}, // U+1F600 as a surrogate pair
        {"x\xFFy", "x?y"},                           // not UTF-8
    };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(TCtrlToRTF::EscapeText(in), out) << in;
}

TEST(TCtrlToRTF, PictureSizesForA600PixelSquareAt96Ppi) {
    TCtrlToRTF rtf;
    QImage image(600, 600, QImage::Format_RGB32);
    image.fill(Qt::red);
    rtf.WritePicture(96, image, kAlignCentre);
    // The picture as PNG bytes: its size in pixels, its page room in twips.
    const std::string expected = "\\par \\pard\\qc\\plain\\cgrid {\\pict\\picscalex100\\picscaley100"
                                 "\\piccropl0\\piccropr0\\piccropt0\\piccropb0\\picw600\\pich600"
                                 "\\picwgoal9000\\pichgoal9000\\pngblip \\bin";
    const std::string &body = rtf.Body();
    ASSERT_EQ(body.substr(0, expected.size()), expected);
    std::size_t digits = 0;
    const std::size_t count = std::stoul(body.substr(expected.size()), &digits);
    const std::size_t start = expected.size() + digits;
    ASSERT_EQ(body.size(), start + count + 1);
    EXPECT_EQ(body.back(), '}');
    const QImage back = QImage::fromData(reinterpret_cast<const uchar *>(body.data() + start),
                                         static_cast<int>(count), "PNG");
    ASSERT_EQ(back.size(), QSize(600, 600));
    EXPECT_EQ(back.pixelColor(300, 300), QColor(Qt::red));
}

TEST(TCtrlToRTF, PictureSizesRoundHalvesToEven) {
    struct Case {
        int w, h, ppi;
        std::string words;
    };
    // The size in pixels; 0.5 twips goal ties: 1 px at 2880 ppi = 0.5 -> 0; 3 px at 2880 = 1.5 -> 2.
    const std::vector<Case> cases{
        {2, 2, 96, "\\picw2\\pich2\\picwgoal30\\pichgoal30"},
        {1, 3, 2880, "\\picw1\\pich3\\picwgoal0\\pichgoal2"},
        {765, 400, 120, "\\picw765\\pich400\\picwgoal9180\\pichgoal4800"},
    };
    for (const Case &c : cases) {
        TCtrlToRTF rtf;
        QImage image(c.w, c.h, QImage::Format_RGB32);
        image.fill(Qt::white);
        std::string cell;
        rtf.WriteCellPicture(c.ppi, cell, image);
        EXPECT_NE(cell.find(c.words), std::string::npos) << cell.substr(0, 160);
    }
}

TEST(TCtrlToRTF, TwoColumnTextGridEdgesAndRowStructure) {
    TCtrlToRTF rtf;
    rtf.AddFont(RtfFont{});
    rtf.AddFont(RtfFont{"Arial"});
    rtf.WriteHeader();
    const std::size_t start = rtf.Body().size();
    RtfGrid grid;
    grid.columnWidths = {80, 40};
    grid.cells = {{"Long.", "x"}, {"{x}"}}; // texts that fit their on-screen widths
    grid.font = RtfFont{"Arial", 8};
    rtf.WriteGrid(96, grid);
    const std::string table = rtf.Body().substr(start);
    EXPECT_EQ(Count(table, "\\cellx1338"), 2u);
    EXPECT_EQ(Count(table, "\\cellx1968"), 2u);
    EXPECT_EQ(Count(table, "\\clcbpat15"), 4u);
    EXPECT_EQ(Count(table, "{\\row}"), 2u);
    EXPECT_NE(
        table.find("\\pard\\ri-123\\nowidctlpar\\widctlpar\\intbl\\adjustright {\\f1\\fs16\\cgrid0 Long.  "
                   "\\cell  x  \\cell }\\pard \\nowidctlpar\\widctlpar\\intbl\\adjustright {\\row}"),
        std::string::npos);
    EXPECT_NE(table.find("\\cgrid0 \\{x\\}  \\cell    \\cell }"), std::string::npos); // short row padded
    EXPECT_EQ(table.rfind("\\pard\\nowidctlpar\\widctlpar\\adjustright "),
              table.size() - std::string("\\pard\\nowidctlpar\\widctlpar\\adjustright ").size());
    EXPECT_EQ(
        table.find("\\par \\pard\\plain\\cgrid{\\stylesheet{\\nowidctlpar\\widctlpar\\adjustright \\fs20"
                   "\\cgrid \\snext0 Normal;}{\\*\\cs10 \\additive Default Paragraph Font;}}"
                   "{\\*\\pnseclvl1\\pnucrm"),
        0u);
    EXPECT_NE(table.find("\\pnseclvl9\\pnlcrm\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}\\trowd"
                         "\\trgaph108\\trrh260\\trleft90\\trbrdrt\\brdrs\\brdrw10"),
              std::string::npos);
}

// The right edges of the cells of the first row of a table.
std::vector<long> CellEdges(const std::string &table) {
    std::vector<long> edges;
    const std::size_t rowEnd = table.find("{\\row}");
    for (std::size_t at = table.find("\\cellx"); at != std::string::npos && at < rowEnd;
         at = table.find("\\cellx", at + 1))
        edges.push_back(std::stol(table.substr(at + 6)));
    return edges;
}

// Texts wider than their on-screen columns (the speculum's and the progressions' positions, a Julian
// day) widen their columns: each cell's room inside its gaps holds its text and glyph, so a word processor
// wraps nothing. On upright paper a table too wide for the room between the margins is written smaller.
TEST(TCtrlToRTF, TableColumnsAreAsWideAsTheirTexts) {
    RtfGrid grid;
    grid.columnWidths = {34, 74, 74, 52};
    grid.font = RtfFont{"Arial", 8};
    grid.cells = {{"", "Long.", "Día Juliano:", "Nat. Ecl"},
                  {"Sol", "203° 44' 40\"", "2444164,2297", "23° 44' 39\""}};
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8);
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(3780);
    device.setDotsPerMeterY(3780);
    const QFontMetricsF metrics(font, &device);
    const auto twips = [&](const std::string &text) {
        return metrics.horizontalAdvance(QString::fromStdString(" " + text + "  ")) * 15;
    };
    {
        TCtrlToRTF rtf;
        rtf.AddFont(RtfFont{"Arial"});
        rtf.WriteHeader();
        const std::size_t start = rtf.Body().size();
        rtf.WriteGrid(96, grid);
        const std::vector<long> edges = CellEdges(rtf.Body().substr(start));
        ASSERT_EQ(edges.size(), 4u);
        long previous = 108;
        for (int c = 0; c < 4; ++c) {
            const long room = edges[static_cast<std::size_t>(c)] - previous - 216; // less both gaps
            for (const auto &row : grid.cells)
                EXPECT_GE(room, twips(row[static_cast<std::size_t>(c)])) << row[static_cast<std::size_t>(c)];
            // Never narrower than on screen.
            EXPECT_GE(edges[static_cast<std::size_t>(c)] - previous,
                      (grid.columnWidths[static_cast<std::size_t>(c)] + 2) * 15 - 1);
            previous = edges[static_cast<std::size_t>(c)];
        }
    }
    {
        // The progressions: the sign glyph follows the text in the same cell.
        ProgGridMarks marks;
        marks.sign.assign(2, std::vector<int>(4, 0));
        marks.retro.assign(2, std::vector<bool>(4, false));
        marks.sign[1][3] = 7;
        const SquareGlyphs glyphs(11);
        TCtrlToRTF rtf;
        rtf.AddFont(RtfFont{"Arial"});
        rtf.WriteHeader();
        const std::size_t start = rtf.Body().size();
        rtf.WriteProgGrid(96, grid, marks, glyphs);
        const std::vector<long> edges = CellEdges(rtf.Body().substr(start));
        ASSERT_EQ(edges.size(), 4u);
        EXPECT_GE(edges[3] - edges[2] - 216, twips("23° 44' 39\"") + 11 * 15);
    }
    {
        // Twenty such columns do not fit upright: the table is written smaller, and then it fits.
        RtfGrid wide = grid;
        wide.columnWidths.assign(20, 74);
        for (auto &row : wide.cells)
            row.assign(20, "2444164,2297");
        TCtrlToRTF rtf;
        rtf.AddFont(RtfFont{"Arial"});
        rtf.WriteHeader();
        rtf.WritePortraitPaper();
        const std::size_t start = rtf.Body().size();
        rtf.WriteGrid(96, wide);
        const std::string table = rtf.Body().substr(start);
        EXPECT_EQ(table.find("\\fs16"), std::string::npos);
        const std::vector<long> edges = CellEdges(table);
        ASSERT_EQ(edges.size(), 20u);
        if (table.find("\\fs12") == std::string::npos) { // not yet at the smallest size
            EXPECT_LE(edges.back() + 90, 12240 - 2 * 1134);
        }
    }
}

TEST(TCtrlToRTF, GridColourOutsideTheTableWritesNoColourWord) {
    for (const auto &[colour, expectCf] : std::vector<std::pair<std::uint32_t, bool>>{
             {0x336699, false}, {kSystemTextColour, false}, {0x000080, true}}) {
        TCtrlToRTF rtf;
        rtf.AddFont(RtfFont{"Arial"});
        rtf.WriteHeader();
        RtfGrid grid;
        grid.columnWidths = {50, 50};
        grid.cells = {{"a", "b"}, {"c", "d"}};
        grid.font.colour = colour;
        rtf.WriteGrid(96, grid);
        EXPECT_EQ(rtf.Body().find("\\cf") != std::string::npos, expectCf) << colour;
    }
}

TEST(TCtrlToRTF, AspectGridPicturesPerCell) {
    TCtrlToRTF rtf;
    rtf.AddFont(RtfFont{"Arial"});
    rtf.WriteHeader();
    RtfGrid grid;
    grid.columnWidths = {20, 20, 20};
    grid.cells = {{"", "", ""}, {"", "1:100", ""}, {"", "?", "13:72d"}};
    SquareGlyphs glyphs(11);
    const std::size_t start = rtf.Body().size();
    rtf.WriteAspectGrid(96, grid, glyphs, false, false);
    const std::string table = rtf.Body().substr(start);
    // Row 0: three header pictures; row 1: header and aspect; row 2: header, "?" and aspect.
    EXPECT_EQ(Count(table, "{\\pict"), 8u);
    // 14 x 11 screen pixels of page room, drawn at 300 per inch.
    EXPECT_EQ(Count(table, "\\picw44\\pich34\\picwgoal210\\pichgoal165"), 8u);
    EXPECT_EQ(Count(table, "\\clcbpat15"), 0u); // no cell borders asked for
    EXPECT_EQ(Count(table, "\\cellx"), 9u);
    EXPECT_NE(table.find("\\cellx498"), std::string::npos); // (20 + 6) / 96 * 1440 + 108: small glyphs
    // Header glyphs of items 1 and 2 (pictures 12 and 13) and aspect glyphs 1 and 13 (24 and 36).
    EXPECT_EQ(glyphs.drawn, (std::vector<int>{12, 13, 12, 24, 13, 36}));

    TCtrlToRTF withStrength;
    withStrength.WriteAspectGrid(96, grid, glyphs, true, true);
    // Column width 20 x two glyphs (22), at 300 per inch.
    EXPECT_EQ(Count(withStrength.Body(), "\\picw63\\pich69\\picwgoal300\\pichgoal330"), 8u);
    EXPECT_EQ(Count(withStrength.Body(), "\\clcbpat15"), 9u);
}

TEST(TCtrlToRTF, ProgressionsGridGlyphsAndRetrogradeUnderline) {
    TCtrlToRTF rtf;
    rtf.AddFont(RtfFont{"Arial"});
    rtf.WriteHeader();
    RtfGrid grid;
    grid.columnWidths = {30, 60, 60};
    grid.cells = {{"", "Nat. Ecl", "Nat DMO"}, {"", "12\xC2\xB0", "5\xC2\xB0 (2)"}};
    ProgGridMarks marks;
    marks.sign = {{0, 0, 0}, {0, 5, 2}};
    marks.retro = {{false, false, false}, {false, true, false}};
    marks.showRetro = true;
    SquareGlyphs glyphs(11);
    const std::size_t start = rtf.Body().size();
    rtf.WriteProgGrid(96, grid, marks, glyphs);
    const std::string table = rtf.Body().substr(start);
    EXPECT_EQ(glyphs.drawn, (std::vector<int>{12, 4, 1})); // Sol, then signs 5 and 2 (pictures 4 and 1)
    EXPECT_NE(table.find("\\plain\\f0\\fs16\\ul 12\xB0  {\\pict"), std::string::npos);
    EXPECT_NE(table.find("\\plain\\f0\\fs16 5\xB0 (2)  {\\pict"), std::string::npos);
    EXPECT_NE(table.find("{\\f0\\fs16\\cgrid0{\\pict"), std::string::npos); // point glyph opens row 1
    EXPECT_NE(table.find("\\plain\\f0\\fs16 Nat. Ecl  \\cell "), std::string::npos);
}

TEST(TCtrlToRTF, AspectListCellsTextPicturesAndHalves) {
    TCtrlToRTF rtf;
    rtf.AddFont(RtfFont{"Arial"});
    rtf.WriteHeader();
    RtfGrid grid;
    grid.columnWidths = {100, 100, 100};
    grid.cells = {{"  Lista", "", " 1:E:L1:p01:0:p02:"}, {" 2:E:L1:p01:1:p03:/0:A:L1:p01:0:p03", " ", ""}};
    std::vector<std::string> rendered;
    std::vector<int> widths;
    const CodeRenderer render = [&](QPainter &painter, int w, int h, const std::string &code) {
        rendered.push_back(code);
        widths.push_back(w);
        painter.fillRect(0, 0, w, h, Qt::blue);
    };
    const std::size_t start = rtf.Body().size();
    rtf.WriteAspectList(96, grid, render, 100, 40, false, false);
    const std::string table = rtf.Body().substr(start);
    EXPECT_EQ(rendered,
              (std::vector<std::string>{"1:E:L1:p01:0:p02:", "2:E:L1:p01:1:p03:", "0:A:L1:p01:0:p03"}));
    EXPECT_EQ(widths, (std::vector<int>{96, 46, 46}));
    EXPECT_NE(table.find("\\cgrid0   Lista  \\cell \\cell {\\pict"), std::string::npos);
    EXPECT_EQ(Count(table, "{\\pict"), 3u);
    EXPECT_EQ(Count(table, "\\clcbpat15"), 0u);
}

TEST(TCtrlToRTF, SaveToFileClosesTheDocumentAndReplacesTheFile) {
    const testsupport::TempFolder folder("cel_rtf_writer_test");
    const std::filesystem::path dir = folder.Dir();
    const std::filesystem::path file = dir / "doc.rtf";
    {
        std::ofstream old(file, std::ios::binary);
        old << "old content that is longer than the new document........................................";
    }
    TCtrlToRTF rtf;
    rtf.AddFont(RtfFont{});
    rtf.WriteHeader();
    rtf.WriteText("fin", RtfFont{}, kAlignLeft);
    const std::string expected = rtf.Body() + "\r\n}";
    rtf.SaveToFile(file.string());
    std::ifstream in(file, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, expected);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()),
              1);

    TCtrlToRTF failing;
    failing.WriteHeader();
    const std::string missing = (dir / "no such folder" / "doc.rtf").string();
    try {
        failing.SaveToFile(missing);
        ADD_FAILURE() << "saving into a missing folder succeeded";
    } catch (const std::runtime_error &e) {
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos);
    }
    EXPECT_EQ(failing.Body().find("\r\n}"), std::string::npos); // nothing appended on failure
}

} // namespace
} // namespace cel::exporting
