// The paged document: pages, captions and positions (millimetres) of every kind, the flow of a long
// aspect list over pages, the orientation rule and the renderer's picture and PDF.
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "../export/export_fixtures.h"
#include "document/layout.h"
#include "document/renderer.h"
#include "document/text_painting.h"
#include "graphics/canvas.h"

namespace {

using namespace cel::document;
using cel::exporting::testing_fixtures::RealCharts;
using cel::exporting::testing_fixtures::SampleInput;

const std::string kFooter = "Celestigrafo  Versión 0.02.00";

Document Build(PageContent content, bool landscape = false) {
    Document document;
    LayoutOptions options;
    options.landscape = landscape;
    options.footerText = "Consulta de prueba";
    BuildDocument(document, std::move(content), options);
    return document;
}

const PageDrawing *Find(const Page &page, const std::string &name) {
    for (const PageDrawing &d : page.drawings)
        if (d.name == name)
            return &d;
    return nullptr;
}

const PageText *FindText(const Page &page, const std::string &text) {
    for (const PageText &t : page.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

struct KindCase {
    PageKind kind;
    bool landscapeChosen;
    QPageLayout::Orientation orientation;
    std::string title;
    std::string grid; // the drawing at the left margin, below the information lines
};

// The box a text of the page takes, in millimetres.
QRectF TextBox(const PageText &t) {
    const QFontMetricsF metrics(MakeFont(t.font));
    return {t.at, QSizeF(metrics.horizontalAdvance(QString::fromStdString(t.text)) * kMmPerPixel,
                         metrics.height() * kMmPerPixel)};
}

// The room between the margins.
QRectF InsideMargins(const Page &page) {
    const QSizeF size = page.SizeMm();
    const QMarginsF &m = page.margins;
    return {QPointF(m.left(), m.top()), QPointF(size.width() - m.right(), size.height() - m.bottom())};
}

// Each kind: its orientation whatever the wheel's choice says, its title and where its content lands.
TEST(DocumentLayout, EveryKindHasItsOrientationTitleCaptionsAndPositions) {
    const KindCase cases[] = {
        {PageKind::Tabla, true, QPageLayout::Portrait, "Tabla de aspectos Natal Eclíptica", "aspect table"},
        {PageKind::Progresiones, false, QPageLayout::Landscape, "Lista Progresiones", "progressions"},
        {PageKind::Speculum, true, QPageLayout::Portrait, "Speculum", "natal speculum"},
        {PageKind::Resumen, true, QPageLayout::Portrait, "Resumen Natal Eclíptica", "summary 1"},
        {PageKind::Diagramas, true, QPageLayout::Portrait, "Diagramas", "diagrams"},
        {PageKind::Rueda, false, QPageLayout::Portrait, "Natal Eclíptica", "wheel"},
        {PageKind::Rueda, true, QPageLayout::Landscape, "Natal Eclíptica", "wheel"},
    };
    for (const KindCase &c : cases) {
        SCOPED_TRACE(PageTitle(c.kind, {}) + (c.landscapeChosen ? " landscape" : ""));
        const Document document = Build(SampleInput(c.kind), c.landscapeChosen);
        ASSERT_EQ(document.pages.size(), 1u);
        const Page &page = document.pages.front();
        EXPECT_EQ(page.orientation, c.orientation);
        const bool landscape = c.orientation == QPageLayout::Landscape;
        EXPECT_DOUBLE_EQ(page.margins.left(), 20);
        EXPECT_DOUBLE_EQ(page.margins.top(), landscape ? 10 : 20);
        EXPECT_NEAR(page.SizeMm().width(), landscape ? 279.4 : 215.9, 0.1);
        const double H = page.HeaderHeight();
        EXPECT_DOUBLE_EQ(H, (landscape ? 10 : 20) + kHeaderCaptionHeight);
        EXPECT_EQ(page.headerCaption, c.title);
        EXPECT_EQ(page.footerLeft, kFooter);
        EXPECT_EQ(page.footerCentre, "Página 1 de 1");
        EXPECT_EQ(page.footerRight, "Consulta de prueba");
        // The first information line at the left margin just below the title, the next one line below.
        ASSERT_GE(page.texts.size(), 1u);
        EXPECT_EQ(page.texts[0].at, QPointF(20, H + kHeadingOffset));
        EXPECT_EQ(page.texts[0].text.rfind("Natal: Ana Pérez", 0), 0u);
        double linesBottom = 0;
        for (const PageText &t : page.texts)
            if (t.text.rfind("Natal", 0) == 0 || t.text.rfind("Cali", 0) == 0 ||
                t.text.rfind("Lon:", 0) == 0 || t.text.rfind("mi", 0) == 0)
                linesBottom = std::max(linesBottom, TextBox(t).bottom());
        if (c.kind == PageKind::Tabla || c.kind == PageKind::Rueda) {
            ASSERT_GE(page.texts.size(), 4u);
            EXPECT_EQ(page.texts[1].text, "Cali, Colombia");
            EXPECT_DOUBLE_EQ(page.texts[1].at.y(), H + kHeadingOffset + InformationLineStep());
        }
        const PageDrawing *drawing = Find(page, c.grid);
        ASSERT_NE(drawing, nullptr);
        // Left edges line up at the margin (the landscape wheel stands right of the heading column), and
        // the content starts below the information lines.
        if (c.kind != PageKind::Rueda) {
            EXPECT_DOUBLE_EQ(drawing->rect.x(), 20);
        }
        if (!(c.kind == PageKind::Rueda && landscape)) {
            EXPECT_GE(drawing->rect.y(), linesBottom);
        }
        // Everything stays inside the margins.
        for (const PageDrawing &d : page.drawings)
            EXPECT_TRUE(InsideMargins(page).adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(d.rect) ||
                        (d.rect.isEmpty() && InsideMargins(page).contains(d.rect.topLeft())))
                << d.name;
    }
}

TEST(DocumentLayout, WheelIsASquareOfItsPictureSideAtMostInsideTheMargins) {
    for (const bool landscape : {false, true}) {
        const Document document = Build(SampleInput(PageKind::Rueda), landscape);
        const Page &page = document.pages.front();
        const QSizeF size = page.SizeMm();
        const PageDrawing *wheel = Find(page, "wheel");
        ASSERT_NE(wheel, nullptr);
        EXPECT_EQ(wheel->kind, PageDrawing::Kind::Wheel);
        // [min(215.9, 259.4) x 1.225 x 2.6] = 687 pixels in portrait, [195.9 x 3.185] = 623 in landscape,
        // shrunk to the room between the margins.
        const int side = WheelPictureSide(size);
        EXPECT_EQ(side, landscape ? 623 : 687);
        EXPECT_LE(wheel->rect.width(), side * 25.4 / 96 + 1e-9);
        EXPECT_DOUBLE_EQ(wheel->rect.width(), wheel->rect.height());
        EXPECT_TRUE(InsideMargins(page).adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(wheel->rect));
        if (landscape) { // at the right margin, centred in the height below the title
            EXPECT_NEAR(wheel->rect.right(), size.width() - page.margins.right(), 1e-9);
            EXPECT_NEAR(wheel->rect.width(), side * 25.4 / 96, 1e-9);
        } else { // centred across, as wide as the margins allow
            EXPECT_NEAR(wheel->rect.center().x(), size.width() / 2, 1e-9);
            EXPECT_NEAR(wheel->rect.width(), size.width() - 40, 1e-9);
        }
    }
}

// The heading never covers the wheel and its lines never clip each other: portrait and landscape,
// single and double, with a name and a place long enough to wrap.
TEST(DocumentLayout, WheelPageHeadingNeverCoversTheWheelNorClipsItsLines) {
    struct Case {
        bool landscape, doubleWheel, longTexts;
    };
    for (const Case c : {Case{false, false, false}, Case{false, false, true}, Case{false, true, true},
                         Case{true, false, false}, Case{true, true, false}, Case{true, true, true}}) {
        SCOPED_TRACE(std::to_string(c.landscape) + std::to_string(c.doubleWheel) +
                     std::to_string(c.longTexts));
        PageContent content = SampleInput(PageKind::Rueda);
        if (c.doubleWheel) {
            content.view.doubleWheel = true;
            content.view.innerItem = 1;
            content.view.outerItem = 3;
        }
        if (c.longTexts) {
            content.heading.natalLabel = "Natal: María de los Ángeles Valentina Echeverría de la Santísima "
                                         "Trinidad y Restrepo  ";
            content.heading.place =
                "Santiago de los Caballeros de Guatemala, Antigua Guatemala, Departamento "
                "de Sacatepéquez, República de Guatemala, Centroamérica";
        }
        const Document document = Build(content, c.landscape);
        const Page &page = document.pages.front();
        const PageDrawing *wheel = Find(page, "wheel");
        ASSERT_NE(wheel, nullptr);
        std::vector<QRectF> boxes;
        for (const PageText &t : page.texts) {
            const QRectF box = TextBox(t);
            EXPECT_FALSE(box.intersects(wheel->rect)) << t.text;
            for (const QRectF &other : boxes)
                EXPECT_FALSE(box.intersects(other)) << t.text;
            EXPECT_LE(box.right(), page.SizeMm().width() - page.margins.right() + 1e-9) << t.text;
            boxes.push_back(box);
        }
        EXPECT_GE(boxes.size(), c.longTexts ? 5u : 4u);
    }
}

// The aspect grid beside the wheel, when chosen: inside the margins, clear of the wheel and the heading,
// a triangle of 12 cells for one chart and a square of 13 for two; the real charts paint it in colour.
TEST(DocumentLayout, AspectGridStandsBesideTheWheel) {
    RealCharts charts;
    for (const bool landscape : {false, true})
        for (const int outer : {1, 3}) {
            SCOPED_TRACE(std::to_string(landscape) + " " + std::to_string(outer));
            charts.SetItems(1, outer);
            PageContent content =
                MakePageContent(PageKind::Rueda, charts.State(), {}, SampleInput(PageKind::Rueda).heading);
            content.view.doubleWheel = outer != 1;
            Document document;
            BuildDocument(document, content, LayoutOptions{landscape, "", true});
            const Page &page = document.pages.front();
            const PageDrawing *wheel = Find(page, "wheel");
            const PageDrawing *grid = Find(page, "aspect grid");
            ASSERT_TRUE(wheel && grid);
            EXPECT_NEAR(grid->rect.width(), (outer == 1 ? 12 : 13) * 16 * kMmPerPixel, 1e-9);
            EXPECT_TRUE(InsideMargins(page).adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(grid->rect));
            EXPECT_FALSE(grid->rect.intersects(wheel->rect));
            for (const PageText &t : page.texts)
                EXPECT_FALSE(TextBox(t).intersects(grid->rect)) << t.text;
            const QImage image = RenderPageImage(page, 100, false);
            const double k = 100 / 25.4;
            int coloured = 0;
            for (int y = qRound(grid->rect.top() * k); y < qRound(grid->rect.bottom() * k); ++y)
                for (int x = qRound(grid->rect.left() * k); x < qRound(grid->rect.right() * k); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    coloured +=
                        std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) >
                        100;
                }
            EXPECT_GT(coloured, 20);
        }
    // Without the choice there is no grid.
    const Document plain = Build(SampleInput(PageKind::Rueda));
    EXPECT_EQ(Find(plain.pages.front(), "aspect grid"), nullptr);
}

// The chart's data box from the heading and the natal chart: a name, or "Natal" without one; the place
// with its country; Delta T in the page's decimals, or "no" when it was not applied.
TEST(DocumentLayout, NatalCaptionTakesTheHeadingsDataAndTheChartsDeltaT) {
    PageHeading heading = SampleInput(PageKind::Rueda).heading;
    EXPECT_EQ(cel::graphics::CaptionLines(NatalCaption(heading, 50.54, true, cel::TextFormat{','})),
              (std::vector<std::string>{"Ana Pérez", "oct 17 1979, 12:30:00 pm  (TZ:-5,00)", "Cali, Colombia",
                                        "76° 31' W  03° 27' N", "Casas: Topocéntricas", "Zodíaco: Tropical",
                                        "ΔT: 50,5 s"}));
    heading.natalName.clear();
    heading.country.clear();
    const cel::graphics::ChartCaption bare = NatalCaption(heading, 0, false, cel::TextFormat{'.'});
    EXPECT_EQ(bare.name, "Natal");
    EXPECT_EQ(bare.place, "Cali");
    EXPECT_EQ(bare.deltaT, "ΔT: no");
}

// The wheel page carries the chart's data box in every orientation, with and without the aspect grid:
// inside the margins, clear of the wheel, the grid and every heading line, and its text drawn.
TEST(DocumentLayout, WheelPageCarriesTheChartsDataBox) {
    RealCharts charts;
    for (const bool landscape : {false, true})
        for (const bool grid : {false, true})
            for (const int outer : {1, 3}) {
                SCOPED_TRACE(std::to_string(landscape) + " " + std::to_string(grid) + " " +
                             std::to_string(outer));
                charts.SetItems(1, outer);
                PageContent content = MakePageContent(PageKind::Rueda, charts.State(), {},
                                                      SampleInput(PageKind::Rueda).heading);
                content.view.doubleWheel = outer != 1;
                EXPECT_EQ(content.caption.name, "Ana Pérez");
                EXPECT_NE(content.caption.deltaT.find(" s"), std::string::npos) << content.caption.deltaT;
                Document document;
                BuildDocument(document, content, LayoutOptions{landscape, "", grid});
                const Page &page = document.pages.front();
                const PageDrawing *box = Find(page, "data box");
                const PageDrawing *wheel = Find(page, "wheel");
                ASSERT_TRUE(box && wheel);
                EXPECT_GT(box->rect.height(), 10);
                EXPECT_TRUE(InsideMargins(page).adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(box->rect));
                EXPECT_FALSE(box->rect.intersects(wheel->rect));
                if (const PageDrawing *aspects = Find(page, "aspect grid"))
                    EXPECT_FALSE(box->rect.intersects(aspects->rect));
                else
                    EXPECT_FALSE(grid);
                for (const PageText &t : page.texts)
                    EXPECT_FALSE(TextBox(t).intersects(box->rect)) << t.text;
                // Its seven lines are written: dark pixels on most of the box's text rows.
                const QImage image = RenderPageImage(page, 100, false);
                const double k = 100 / 25.4;
                int inked = 0, rows = 0;
                for (int y = qRound(box->rect.top() * k); y < qRound(box->rect.bottom() * k); ++y, ++rows) {
                    bool dark = false;
                    for (int x = qRound(box->rect.left() * k); x < qRound(box->rect.right() * k) && !dark;
                         ++x)
                        dark = qGray(image.pixel(x, y)) < 96;
                    inked += dark;
                }
                EXPECT_GT(inked, rows / 2) << inked << " of " << rows;
            }
}

// The wheel page's heading and data box print each fact once and in one form: the name, the date, the place
// and the coordinates are in the box only, while the lines the box does not hold (the event's date, the
// wheels' items) stay in the heading.
TEST(DocumentLayout, WheelPagePrintsEachFactOnce) {
    struct Case {
        bool landscape;
        int outer;
        bool synastry;
        std::vector<std::string> lines; // the heading's lines, in order
    };
    const std::vector<Case> cases = {
        {false, 1, false, {}},
        {true, 1, false, {}},
        {false,
         3,
         false,
         {"Evento: ene 5 2026, 09:15:00 am  (TZ:-5,00)", "Rueda Int: Natal Eclíptica",
          "Rueda Ext: Trán. Eclíptico"}},
        {true,
         3,
         false,
         {"Evento: ene 5 2026, 09:15:00 am  (TZ:-5,00)", "Rueda Int: Natal Eclíptica",
          "Rueda Ext: Trán. Eclíptico"}},
        {false,
         3,
         true,
         {"Rueda Int: Natal Eclíptica", "Evento: ene 5 2026, 09:15:00 am  (TZ:-5,00)",
          "Rueda Ext: Trán. Eclíptico"}},
    };
    RealCharts charts;
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.landscape) + " " + std::to_string(c.outer) + " " +
                     std::to_string(c.synastry));
        charts.SetItems(1, c.outer);
        PageHeading heading = SampleInput(PageKind::Rueda).heading;
        heading.synastry = c.synastry;
        PageContent content = MakePageContent(PageKind::Rueda, charts.State(), {}, heading);
        Document document;
        BuildDocument(document, content, LayoutOptions{c.landscape, "", false});
        const Page &page = document.pages.front();
        // The lines in order, a line broken to its column's width read whole again.
        std::string lines, expected;
        for (const PageText &t : page.texts)
            lines += (lines.empty() ? "" : " ") + t.text;
        for (const std::string &line : c.lines)
            expected += (expected.empty() ? "" : " ") + line;
        EXPECT_EQ(lines, expected);
        // The box holds the facts the heading left out, in the date's one form.
        const std::vector<std::string> box = cel::graphics::CaptionLines(content.caption);
        ASSERT_GE(box.size(), 4u);
        EXPECT_EQ(box[0], "Ana Pérez");
        EXPECT_EQ(box[1], heading.natalDateLine);
        EXPECT_EQ(box[2], "Cali, Colombia");
        ASSERT_NE(Find(page, "data box"), nullptr);
    }
    // Without a data box (a page content that has none) the heading keeps the natal lines.
    const Document bare = Build(SampleInput(PageKind::Rueda));
    EXPECT_NE(FindText(bare.pages.front(), "Cali, Colombia"), nullptr);
}

TEST(DocumentLayout, DoubleWheelTableHasTheBareTitleAndTheWheelLinesAtTheRight) {
    PageContent content = SampleInput(PageKind::Tabla);
    content.view.doubleWheel = true;
    content.view.innerItem = 1;
    content.view.outerItem = 3;
    const Document document = Build(content);
    const Page &page = document.pages.front();
    EXPECT_EQ(page.headerCaption, "Tabla de aspectos");
    const double right = page.SizeMm().width() - page.margins.right() - kRightColumn;
    const PageText *event = FindText(page, "Evento: ene 5 2026, 09:15:00 am  (TZ:-5,00)");
    const PageText *inner = FindText(page, "Rueda Int: Natal Eclíptica");
    const PageText *outer = FindText(page, "Rueda Ext: Trán. Eclíptico");
    ASSERT_TRUE(event && inner && outer);
    for (const PageText *t : {event, inner, outer})
        EXPECT_DOUBLE_EQ(t->at.x(), right);
    EXPECT_EQ(event->at.y(), page.HeaderHeight() + kHeadingOffset);
    EXPECT_DOUBLE_EQ(outer->at.y(), page.HeaderHeight() + kHeadingOffset + 2 * InformationLineStep());
}

// A long name makes the report's first information line wider than the paper: it breaks after its
// sentence and every line ends inside the margins, the lines a font's line spacing apart.
TEST(DocumentLayout, InformationLinesBreakInsteadOfRunningOffThePaper) {
    for (const PageKind kind : {PageKind::Resumen, PageKind::Speculum, PageKind::Tabla, PageKind::Rueda}) {
        SCOPED_TRACE(static_cast<int>(kind));
        PageContent content = SampleInput(kind);
        content.heading.natalLabel =
            "Natal: María de los Ángeles Valentina Echeverría de la Santísima Trinidad  ";
        const Document document = Build(content);
        const Page &page = document.pages.front();
        const QFontMetricsF metrics(MakeFont({"Arial", 9}));
        std::vector<double> tops;
        for (const PageText &t : page.texts) {
            const double right =
                t.at.x() + metrics.horizontalAdvance(QString::fromStdString(t.text)) * kMmPerPixel;
            EXPECT_LE(right, page.SizeMm().width() - page.margins.right()) << t.text;
            if (t.at.x() == 20 && t.at.y() < page.HeaderHeight() + 20 &&
                t.text != "Natal") // the information lines
                tops.push_back(t.at.y());
        }
        ASSERT_GE(tops.size(), 2u);
        for (std::size_t i = 1; i < tops.size(); ++i)
            EXPECT_NEAR(tops[i] - tops[i - 1], InformationLineStep(), 1e-9);
        EXPECT_GE(InformationLineStep(), 3.5);
    }
}

// The drawing painted at `ppi`: a white picture of its rectangle.
QImage PaintDrawing(const PageDrawing &drawing, double ppi) {
    const double k = ppi / 25.4;
    QImage image(qRound(drawing.rect.width() * k) + 1, qRound(drawing.rect.height() * k) + 1,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(ppi / 96, ppi / 96);
    drawing.paint(painter);
    return image;
}

// The texts of a painted grid that run into the next column: dark ink within `air` pixels left of one of
// its grey inner column lines (found as columns of pixels inked from top to bottom).
int TextsTouchingTheNextColumn(const QImage &image, int air) {
    std::vector<int> lines;
    for (int x = 1; x < image.width() - 2; ++x) {
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            inked += qGray(image.pixel(x, y)) < 250;
        if (inked > image.height() * 9 / 10 && (lines.empty() || lines.back() < x - 1))
            lines.push_back(x);
    }
    EXPECT_GE(lines.size(), 3u);
    int touching = 0;
    for (const int line : lines)
        for (int y = 0; y < image.height(); ++y) {
            bool dark = false;
            for (int x = std::max(0, line - air); x < line && !dark; ++x)
                dark = qGray(image.pixel(x, y)) < 100;
            touching += dark;
        }
    return touching;
}

// Every text of the real charts' speculum tables stands clear of the next column, inside the margins.
TEST(DocumentLayout, SpeculumCellsHoldTheirTextsWithAir) {
    RealCharts charts;
    charts.SetItems(1, 3);
    const Document document = Build(
        MakePageContent(PageKind::Speculum, charts.State(), {}, SampleInput(PageKind::Speculum).heading));
    const Page &page = document.pages.front();
    for (const char *name : {"natal speculum", "event speculum"}) {
        SCOPED_TRACE(name);
        const PageDrawing *grid = Find(page, name);
        ASSERT_NE(grid, nullptr);
        EXPECT_TRUE(InsideMargins(page).adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(grid->rect));
        constexpr double kPpi = 288; // three picture pixels to one of the page's
        EXPECT_EQ(TextsTouchingTheNextColumn(PaintDrawing(*grid, kPpi), 6), 0);
    }
}

// The printed aspect table fills the room below its heading (across the page, or down it when that is
// shorter) with cells and glyphs enlarged alike: square cells, single and double, with and without "%".
TEST(DocumentLayout, PrintedAspectTableFillsThePage) {
    RealCharts charts;
    for (const int outer : {1, 3})
        for (const bool strength : {false, true}) {
            SCOPED_TRACE(std::to_string(outer) + " " + std::to_string(strength));
            charts.SetItems(1, outer);
            PageChoices choices;
            choices.showStrength = strength;
            const Document document = Build(MakePageContent(PageKind::Tabla, charts.State(), choices,
                                                            SampleInput(PageKind::Tabla).heading));
            ASSERT_EQ(document.pages.size(), 1u);
            const Page &page = document.pages.front();
            const PageDrawing *table = Find(page, "aspect table");
            ASSERT_NE(table, nullptr);
            const QRectF room = InsideMargins(page);
            EXPECT_TRUE(room.adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(table->rect));
            const bool across = std::abs(table->rect.right() - room.right()) < 1e-6;
            const bool down = std::abs(table->rect.bottom() - room.bottom()) < 1e-6;
            EXPECT_TRUE(across || down) << table->rect.right() << " " << table->rect.bottom();
            // 26 columns and 25 rows; square cells without the strengths, at least half as large again as
            // the screen's 16 pixels.
            const double cell = table->rect.width() / 26;
            EXPECT_GT(cell, 1.5 * 16 * kMmPerPixel);
            if (!strength) {
                EXPECT_NEAR(table->rect.height() / 25, cell, 1e-9);
            }
        }
}

TEST(DocumentLayout, EventSpeculumNeverOverlapsTheNatalOne) {
    PageContent content = SampleInput(PageKind::Speculum);
    content.natalSpeculum.cells.resize(30, std::vector<std::string>(8)); // taller than the room above 140
    const Document document = Build(content);
    const Page &page = document.pages.front();
    const PageDrawing *natal = Find(page, "natal speculum");
    const PageDrawing *event = Find(page, "event speculum");
    ASSERT_TRUE(natal && event);
    EXPECT_GE(event->rect.top(), natal->rect.bottom() + 5);
    const PageText *label = FindText(page, "Evento");
    ASSERT_NE(label, nullptr);
    EXPECT_DOUBLE_EQ(label->at.y() + 5, event->rect.top());
    // A short natal speculum brings the event's block up below it.
    content.natalSpeculum.cells.resize(5);
    const Document usual = Build(content);
    EXPECT_DOUBLE_EQ(FindText(usual.pages.front(), "Evento")->at.y(),
                     Find(usual.pages.front(), "natal speculum")->rect.bottom() + 5);
}

// A list of 60 codes under one heading flows over pages; every page has the header lines, the captions
// and its number, every code is placed once inside the margins, each page starts below its header lines,
// and every page but the last is full: another row of codes would pass the bottom margin.
TEST(DocumentLayout, SixtyCodeListFlowsOverFullPagesEachWithItsHeader) {
    PageContent content = SampleInput(PageKind::Listado);
    Grid &detail = content.detail;
    detail.columnWidths.assign(8, 100);
    detail.rowHeight = 90;
    detail.cells.assign(9, std::vector<std::string>(8));
    detail.cells[0][0] = " Lista";
    int placed = 0;
    for (int r = 1; r < 9 && placed < 60; ++r)
        for (int c = 0; c < 8 && placed < 60; ++c) {
            ++placed;
            detail.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
                std::to_string(placed) + ":P:P1:1:" + std::to_string(placed) + ":2";
        }
    int painted = 0;
    content.renderCode = [&painted](QPainter &, int, int, const std::string &) { ++painted; };
    content.paintCode = nullptr;
    const Document document = Build(content);

    ASSERT_GE(document.pages.size(), 2u);
    const std::size_t count = document.pages.size();
    int codes = 0;
    const double w = std::round(100 / 3.2), h = std::round(90 / 2.9);
    const double pictureHeight = static_cast<int>(2.9 * h) * 25.4 / 96;
    for (std::size_t i = 0; i < count; ++i) {
        SCOPED_TRACE("page " + std::to_string(i + 1));
        const Page &page = document.pages[i];
        EXPECT_EQ(page.orientation, QPageLayout::Portrait);
        EXPECT_EQ(page.headerCaption, "Lista aspectos: Natal Eclíptica");
        EXPECT_EQ(page.footerLeft, kFooter);
        EXPECT_EQ(page.footerCentre, "Página " + std::to_string(i + 1) + " de " + std::to_string(count));
        const PageText *first = FindText(page, "Natal: Ana Pérez  ");
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->at, QPointF(20, page.HeaderHeight() + kHeadingOffset));
        const PageText *last = FindText(page, "miércoles, oct-17-1979, 12:30:00 pm, 12:30:00 (TZ:-5,00)");
        ASSERT_NE(last, nullptr);
        double top = 1e9, bottom = 0;
        for (const PageDrawing &d : page.drawings) {
            ASSERT_EQ(d.kind, PageDrawing::Kind::Code);
            ++codes;
            top = std::min(top, d.rect.top());
            bottom = std::max(bottom, d.rect.bottom());
            EXPECT_TRUE(InsideMargins(page).adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(d.rect));
            EXPECT_NEAR(d.rect.width(), static_cast<int>(3.5 * w) * 25.4 / 96, 1e-9);
            EXPECT_NEAR(d.rect.height(), pictureHeight, 1e-9);
        }
        EXPECT_GT(top, TextBox(*last).bottom());
        if (i + 1 < count) {
            EXPECT_GT(bottom + 1.5 + pictureHeight, page.SizeMm().height() - page.margins.bottom());
        }
    }
    EXPECT_EQ(codes, 60);
    // The heading is written once, on the first page, at the left margin above the first row.
    const PageText *heading = FindText(document.pages.front(), " Lista");
    ASSERT_NE(heading, nullptr);
    EXPECT_DOUBLE_EQ(heading->at.x(), 20);
    EXPECT_LT(heading->at.y(), document.pages.front().drawings.front().rect.top());

    // Rendering the pages paints every code once.
    for (const Page &page : document.pages)
        RenderPageImage(page, 30, false);
    EXPECT_EQ(painted, 60);
}

// The natal listing of the real charts: its cells fill the pages, so the 1979 chart's aspects take no
// more pages than their rows need.
TEST(DocumentLayout, RealListingFillsItsPages) {
    RealCharts charts;
    const PageContent content =
        MakePageContent(PageKind::Listado, charts.State(), {}, SampleInput(PageKind::Listado).heading);
    int cells = 0;
    for (const auto &row : content.detail.cells)
        for (const std::string &cell : row)
            cells += !cell.empty() && cell[0] != ' ';
    const Document document = Build(content);
    ASSERT_FALSE(document.pages.empty());
    const Page &page = document.pages.front();
    const int perRow =
        static_cast<int>(std::count_if(page.drawings.begin(), page.drawings.end(), [&](const PageDrawing &d) {
            return d.rect.top() == page.drawings.front().rect.top();
        }));
    const double rowHeight = page.drawings.front().rect.height() + 1.5;
    const double room = InsideMargins(page).bottom() - page.drawings.front().rect.top() + 1.5;
    const int rowsPerPage = static_cast<int>(room / rowHeight);
    ASSERT_GE(perRow, 3);
    ASSERT_GE(rowsPerPage, 7);
    // Thirteen aspects share one page; the whole list needs one page per rowsPerPage rows, give or take
    // the first page's heading.
    EXPECT_GE(perRow * rowsPerPage, 13);
    const int rows = (cells + perRow - 1) / perRow;
    EXPECT_LE(static_cast<int>(document.pages.size()), (rows + rowsPerPage - 2) / rowsPerPage + 1);
}

// Every kind of page has a title, a double wheel too, and its page number.
TEST(DocumentLayout, EveryPageHasATitleAndItsNumber) {
    for (const PageKind kind :
         {PageKind::Rueda, PageKind::Tabla, PageKind::Listado, PageKind::Natal, PageKind::Progresiones,
          PageKind::Speculum, PageKind::Resumen, PageKind::Diagramas}) {
        PageContent content = SampleInput(kind);
        content.view.doubleWheel = kind != PageKind::Natal;
        content.view.innerItem = 1;
        content.view.outerItem = 3;
        const Document document = Build(content);
        for (std::size_t i = 0; i < document.pages.size(); ++i) {
            EXPECT_FALSE(document.pages[i].headerCaption.empty()) << static_cast<int>(kind);
            EXPECT_EQ(document.pages[i].footerCentre,
                      "Página " + std::to_string(i + 1) + " de " + std::to_string(document.pages.size()));
        }
    }
    PageView twin;
    twin.doubleWheel = true;
    twin.innerItemName = "Natal Eclíptica";
    twin.outerItemName = "Trán. Eclíptico";
    EXPECT_EQ(PageTitle(PageKind::Rueda, twin), "Rueda doble: Natal Eclíptica - Trán. Eclíptico");
}

// The printed aspect table shows the screen's colours: aspect glyphs tinted by kind and, in the double
// table, the relation fills.
TEST(DocumentRenderer, PrintedAspectTableIsInColour) {
    RealCharts charts;
    charts.SetItems(1, 3);
    const Document document =
        Build(MakePageContent(PageKind::Tabla, charts.State(), {}, SampleInput(PageKind::Tabla).heading));
    const Page &page = document.pages.front();
    const PageDrawing *table = Find(page, "aspect table");
    ASSERT_NE(table, nullptr);
    const QImage image = RenderPageImage(page, 150, false);
    const double k = 150 / 25.4;
    std::map<QRgb, int> colours;
    for (int y = qRound(table->rect.top() * k); y < qRound(table->rect.bottom() * k); ++y)
        for (int x = qRound(table->rect.left() * k); x < qRound(table->rect.right() * k); ++x)
            ++colours[image.pixel(x, y)];
    const auto count = [&](QColor c) {
        const auto found = colours.find(c.rgb());
        return found == colours.end() ? 0 : found->second;
    };
    EXPECT_GT(count(QColor(255, 0, 0)), 20); // oppositions and squares in red
    EXPECT_GT(count(QColor(0, 0, 255)), 20); // trines and sextiles in blue
    int relationFills = 0;
    for (int r = 1; r <= 5; ++r)
        if (charts.settings.tabla.viewColRel[static_cast<std::size_t>(r)])
            relationFills +=
                count(cel::graphics::StoredColour(charts.settings.tabla.colRel[static_cast<std::size_t>(r)]));
    EXPECT_GT(relationFills, 100);
}

TEST(DocumentLayout, BothModelsPlaceTheTwoHalvesOfACellSideBySide) {
    PageContent content = SampleInput(PageKind::Natal);
    content.ambos = true;
    content.detail.columnWidths.assign(2, 190);
    content.detail.rowHeight = 60;
    content.detail.cells = {{"1:A:A1:1:1:2/1:A:A1:1:1:3", ""}};
    const Document document = Build(content);
    const Page &page = document.pages.front();
    ASSERT_EQ(page.drawings.size(), 2u);
    const double w = std::round(190 / 3.8);
    EXPECT_DOUBLE_EQ(page.drawings[1].rect.left() - page.drawings[0].rect.left(), w / 2);
    EXPECT_EQ(page.drawings[0].name, "1:A:A1:1:1:2");
    EXPECT_EQ(page.drawings[1].name, "1:A:A1:1:1:3");
}

TEST(DocumentLayout, BuildingAgainReplacesThePages) {
    Document document = Build(SampleInput(PageKind::Rueda), false);
    BuildDocument(document, SampleInput(PageKind::Rueda), LayoutOptions{true, ""});
    ASSERT_EQ(document.pages.size(), 1u);
    EXPECT_EQ(document.pages.front().orientation, QPageLayout::Landscape);
    EXPECT_TRUE(document.landscape);
}

// The real charts: the wheel is painted through the painter and shows on the preview picture.
TEST(DocumentRenderer, PreviewShowsTheWheelTheCaptionsAndTheGuides) {
    RealCharts charts;
    const ChartState state = charts.State();
    const Document document =
        Build(MakePageContent(PageKind::Rueda, state, {}, SampleInput(PageKind::Rueda).heading));
    const Page &page = document.pages.front();
    const QImage image = RenderPageImage(page, 48, true);
    EXPECT_EQ(image.width(), qRound(215.9 / 25.4 * 48));
    const PageDrawing *wheel = Find(page, "wheel");
    ASSERT_NE(wheel, nullptr);
    const double k = 48 / 25.4;
    int inked = 0;
    const QRect area(QPoint(qRound(wheel->rect.left() * k), qRound(wheel->rect.top() * k)),
                     QPoint(qRound(wheel->rect.right() * k), qRound(wheel->rect.bottom() * k)));
    for (int y = area.top(); y < area.bottom(); y += 2)
        for (int x = area.left(); x < area.right(); x += 2)
            inked += image.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_GT(inked, area.width() * area.height() / 4 / 5);
    // The margin guide: a silver dot on the left margin's line.
    bool guide = false;
    const int x = qRound(20 * k);
    for (int y = qRound(100 * k); y < qRound(110 * k); ++y)
        guide = guide || image.pixelColor(x, y) == QColor(192, 192, 192) ||
                image.pixelColor(x - 1, y).red() > 150;
    EXPECT_TRUE(guide);
}

TEST(DocumentRenderer, PdfOfEveryPageAndAClearErrorForAnUnwritablePath) {
    const Document document = Build(SampleInput(PageKind::Progresiones));
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("document_test_" + std::to_string(::getpid()) + ".pdf");
    QString error;
    ASSERT_TRUE(WritePdf(document, QString::fromStdString(path.string()), &error)) << error.toStdString();
    EXPECT_GT(std::filesystem::file_size(path), 1000u);
    std::filesystem::remove(path);
    EXPECT_FALSE(WritePdf(document, QStringLiteral("/nonexistent-folder/x.pdf"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(WritePdf(Document{}, QString::fromStdString(path.string()), &error));
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace

namespace {

// A listing of transits: n rows of text after the heading row, and a timeline row for each.
PageContent ListingInput(int rows) {
    PageContent content = SampleInput(PageKind::Transitos);
    content.view.listingTitle = "Tránsitos del 01/01/2025 al 31/12/2025, horas GMT";
    content.listing.columnWidths = {48, 38, 190, 104, 316, 104};
    content.listing.rowHeight = 16;
    content.listing.cells.push_back({"Fuente", "Cuerpo", "Suceso", "Entra", "Exacto", "Sale"});
    content.timelineFrom = 45658;
    content.timelineTo = 46023;
    for (int r = 0; r < rows; ++r) {
        content.listing.cells.push_back(
            {"Trán.", "Sat", "90° Sol", "", "2025-03-0" + std::to_string(r % 9 + 1), ""});
        cel::graphics::TimelineRow row;
        row.label = QString("Sat 90° Sol %1").arg(r);
        row.exact = {45700.0 + r};
        content.timeline.push_back(row);
    }
    return content;
}

} // namespace

TEST(DocumentLayout, TransitListingFlowsOverLandscapePagesWithItsHeadingRowThenItsTimeline) {
    const Document document = Build(ListingInput(120));
    ASSERT_GE(document.pages.size(), 4u);
    int listed = 0, timelineRows = 0;
    bool timelineStarted = false;
    for (const Page &page : document.pages) {
        EXPECT_EQ(page.orientation, QPageLayout::Landscape);
        EXPECT_EQ(page.headerCaption, "Tránsitos del 01/01/2025 al 31/12/2025, horas GMT");
        ASSERT_FALSE(page.texts.empty());
        EXPECT_EQ(page.texts[0].text.rfind("Natal: Ana Pérez", 0), 0u);
        for (const PageDrawing &d : page.drawings)
            EXPECT_TRUE(QRectF(QPointF(0, 0), page.SizeMm()).contains(d.rect)) << d.name;
        if (const PageDrawing *list = Find(page, "listing")) {
            EXPECT_FALSE(timelineStarted) << "the list comes first";
            // Its height says how many rows it holds: the heading row and the page's share of the list.
            const int rows = static_cast<int>(std::lround(list->rect.height() / (16 * kMmPerPixel)));
            EXPECT_GT(rows, 1);
            listed += rows - 1;
        }
        if (const PageDrawing *timeline = Find(page, "timeline")) {
            timelineStarted = true;
            const cel::graphics::TimelineLayout layout;
            timelineRows += static_cast<int>(std::lround(
                (timeline->rect.height() / kMmPerPixel - layout.axisHeight - 2) / layout.rowHeight));
        }
    }
    EXPECT_EQ(listed, 120);
    EXPECT_EQ(timelineRows, 120);
}
