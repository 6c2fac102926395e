// The paged document: pages, captions and positions (millimetres) of every kind, the flow of a long
// aspect list over pages, the orientation rule and the renderer's picture and PDF.
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "../export/export_fixtures.h"
#include "document/layout.h"
#include "document/renderer.h"
#include "document/text_painting.h"

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
    std::string grid; // the drawing placed at (x, H + dy)
    double x, dy;
};

// Each kind: its orientation whatever the wheel's choice says, its title and where its content lands.
TEST(DocumentLayout, EveryKindHasItsOrientationTitleCaptionsAndPositions) {
    const KindCase cases[] = {
        {PageKind::Tabla, true, QPageLayout::Portrait, "Tabla de aspectos Natal Eclíptica", "aspect table",
         30, 45},
        {PageKind::Progresiones, false, QPageLayout::Landscape, "Lista Progresiones", "progressions", 20, 40},
        {PageKind::Speculum, true, QPageLayout::Portrait, "Speculum", "natal speculum", 30, 40},
        {PageKind::Diagramas, true, QPageLayout::Portrait, "Diagramas", "diagrams", 30, 35},
        {PageKind::Rueda, false, QPageLayout::Portrait, "Natal Eclíptica", "wheel", -1, -1},
        {PageKind::Rueda, true, QPageLayout::Landscape, "Natal Eclíptica", "wheel", -1, -1},
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
        EXPECT_EQ(page.footerRight, "Consulta de prueba");
        // The first information line at (30, H + 22), the next 3.5 below.
        ASSERT_GE(page.texts.size(), 1u);
        EXPECT_EQ(page.texts[0].at, QPointF(30, H + 22));
        EXPECT_EQ(page.texts[0].text.rfind("Natal: Ana Pérez", 0), 0u);
        if (c.kind == PageKind::Tabla || c.kind == PageKind::Rueda) {
            ASSERT_GE(page.texts.size(), 4u);
            EXPECT_EQ(page.texts[1].text, "Cali, Colombia");
            EXPECT_DOUBLE_EQ(page.texts[1].at.y(), H + 25.5);
        }
        const PageDrawing *drawing = Find(page, c.grid);
        ASSERT_NE(drawing, nullptr);
        if (c.x >= 0) {
            EXPECT_DOUBLE_EQ(drawing->rect.x(), c.x);
            EXPECT_DOUBLE_EQ(drawing->rect.y(), H + c.dy);
        }
        // Everything stays on the paper.
        for (const PageDrawing &d : page.drawings)
            EXPECT_TRUE(QRectF(QPointF(0, 0), page.SizeMm()).contains(d.rect)) << d.name;
    }
}

TEST(DocumentLayout, WheelIsASquareOfItsPictureSideCentredAcrossThePage) {
    for (const bool landscape : {false, true}) {
        const Document document = Build(SampleInput(PageKind::Rueda), landscape);
        const Page &page = document.pages.front();
        const QSizeF size = page.SizeMm();
        const PageDrawing *wheel = Find(page, "wheel");
        ASSERT_NE(wheel, nullptr);
        EXPECT_EQ(wheel->kind, PageDrawing::Kind::Wheel);
        // [min(215.9, 259.4) x 1.225 x 2.6] = 687 pixels in portrait, [195.9 x 3.185] = 623 in landscape.
        const int side = WheelPictureSide(size);
        EXPECT_EQ(side, landscape ? 623 : 687);
        EXPECT_NEAR(wheel->rect.width(), side * 25.4 / 96, 1e-9);
        EXPECT_DOUBLE_EQ(wheel->rect.width(), wheel->rect.height());
        EXPECT_NEAR(wheel->rect.center().x(), size.width() / 2, 1e-9);
        if (landscape) {
            EXPECT_NEAR(wheel->rect.center().y(), size.height() / 2 + 5, 1e-9);
        } else { // below the four information lines, above the bottom margin
            EXPECT_GE(wheel->rect.top(), page.HeaderHeight() + 22 + 4 * 3.5);
        }
        EXPECT_LE(wheel->rect.bottom(), size.height() - page.margins.bottom());
    }
}

TEST(DocumentLayout, DoubleWheelTableHasTheBareTitleAndTheWheelLinesAtTheRight) {
    PageContent content = SampleInput(PageKind::Tabla);
    content.view.doubleWheel = true;
    content.view.innerItem = 1;
    content.view.outerItem = 3;
    const Document document = Build(content);
    const Page &page = document.pages.front();
    EXPECT_EQ(page.headerCaption, "Tabla de aspectos");
    const double right = page.SizeMm().width() - 90;
    const PageText *event = FindText(page, "Evento: ene 5 2026, 09:15:00 am  (TZ:-5,00)");
    const PageText *inner = FindText(page, "Rueda Int: Natal Eclíptica");
    const PageText *outer = FindText(page, "Rueda Ext: Trán. Eclíptico");
    ASSERT_TRUE(event && inner && outer);
    for (const PageText *t : {event, inner, outer})
        EXPECT_DOUBLE_EQ(t->at.x(), right);
    EXPECT_EQ(event->at.y(), page.HeaderHeight() + 22);
    EXPECT_DOUBLE_EQ(outer->at.y(), page.HeaderHeight() + 29);
}

// A long name makes the report's first information line wider than the paper: it breaks after its
// sentence and every line ends inside the paper, the lines still 3.5 mm apart.
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
            EXPECT_LE(right, page.SizeMm().width() - 10) << t.text;
            if (t.at.x() == 30 && t.at.y() < page.HeaderHeight() + 35) // the information lines
                tops.push_back(t.at.y());
        }
        ASSERT_GE(tops.size(), 2u);
        for (std::size_t i = 1; i < tops.size(); ++i)
            EXPECT_NEAR(tops[i] - tops[i - 1], 3.5, 1e-9);
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
    // A short natal speculum leaves the event's block at 140.
    content.natalSpeculum.cells.resize(5);
    const Document usual = Build(content);
    EXPECT_DOUBLE_EQ(FindText(usual.pages.front(), "Evento")->at.y(), 140);
}

// A list of 60 codes under one heading flows over pages; every page has the header lines and captions,
// every code is placed once inside the margins, and a new page starts at H + 40.
TEST(DocumentLayout, SixtyCodeListFlowsOverPagesEachWithItsHeader) {
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

    ASSERT_GE(document.pages.size(), 3u);
    int codes = 0;
    const double w = std::round(100 / 3.2), h = std::round(90 / 2.9);
    for (std::size_t i = 0; i < document.pages.size(); ++i) {
        SCOPED_TRACE("page " + std::to_string(i + 1));
        const Page &page = document.pages[i];
        EXPECT_EQ(page.orientation, QPageLayout::Portrait);
        EXPECT_EQ(page.headerCaption, "Lista aspectos: Natal Eclíptica");
        EXPECT_EQ(page.footerLeft, kFooter);
        const PageText *first = FindText(page, "Natal: Ana Pérez  ");
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->at, QPointF(30, page.HeaderHeight() + 22));
        double top = 1e9;
        for (const PageDrawing &d : page.drawings) {
            ASSERT_EQ(d.kind, PageDrawing::Kind::Code);
            ++codes;
            top = std::min(top, d.rect.top());
            EXPECT_LE(d.rect.top() + h, page.SizeMm().height() - page.margins.bottom());
            EXPECT_LE(d.rect.left() + w, page.SizeMm().width());
            EXPECT_NEAR(d.rect.width(), static_cast<int>(3.5 * w) * 25.4 / 96, 1e-9);
        }
        if (i > 0) {
            EXPECT_DOUBLE_EQ(top, page.HeaderHeight() + 40);
        }
    }
    EXPECT_EQ(codes, 60);
    // The heading is written once, on the first page, a row below the start.
    const PageText *heading = FindText(document.pages.front(), " Lista");
    ASSERT_NE(heading, nullptr);
    EXPECT_DOUBLE_EQ(heading->at.x(), 15 + w / 4);
    EXPECT_DOUBLE_EQ(heading->at.y(), document.pages.front().HeaderHeight() + 40 + h + h / 4);

    // Rendering the pages paints every code once.
    for (const Page &page : document.pages)
        RenderPageImage(page, 30, false);
    EXPECT_EQ(painted, 60);
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
