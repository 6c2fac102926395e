#include "export/rtf_export.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/date_time.h"
#include "export_fixtures.h"
#include "graphics/canvas.h"

namespace cel::exporting {
namespace {

std::size_t Count(const std::string &text, const std::string &what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(ExportRtf, SummaryIsRefusedAndWritesNothing) {
    document::PageContent input = testing_fixtures::SampleInput(document::PageKind::Resumen);
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "cel_resumen_refused.rtf";
    std::filesystem::remove(file);
    const ExportResult result = ExportRtf(input, file.string());
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.message,
              "La función \"Exportar resumen a un archivo RTF\" aún no se ha implementado. Contacte "
              "al autor del programa quien le indicará cuando se habilitará esta función.");
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(ExportRtf, HeadingParagraphsTitleAndClosingParagraphsOfTheWheel) {
    document::PageContent input = testing_fixtures::SampleInput(document::PageKind::Rueda);
    TCtrlToRTF writer;
    ASSERT_TRUE(BuildExportDocument(input, writer).written);
    const std::string &body = writer.Body();
    const std::string p = "\\par \\pard\\plain\\f0\\fs20 ";
    const std::string right = "\\par \\pard\\qr\\plain\\f0\\fs20 ";
    const std::string expected = right + "Celestigrafo Versi\xF3n 0.02.00" + right + " " + p +
                                 "Natal: Ana P\xE9rez  " + p + "Cali, Colombia" + p +
                                 "Lon:76\xB0 31' W, Lat:03\xB0 27' N" + p +
                                 "mi\xE9rcoles, oct-17-1979, 12:30:00 pm, 12:30:00 (TZ:-5,00)" + right + " " +
                                 "\\par \\pard\\qc\\plain\\f0\\fs20 Natal Ecl\xEDptica" + right + " ";
    EXPECT_NE(body.find(expected), std::string::npos) << body.substr(0, 900);
    EXPECT_NE(body.find("\\par \\pard\\qc\\plain\\cgrid {\\pict"), std::string::npos);
    // The page room of 600 screen pixels (9000 twips), filled by a picture of 1875 pixels: 300 per inch.
    EXPECT_NE(body.find("\\picw1875\\pich1875\\picwgoal9000\\pichgoal9000\\pngblip"), std::string::npos);
    const std::string ending = "}" + p + p;
    EXPECT_EQ(body.substr(body.size() - ending.size()), ending);
}

TEST(ExportRtf, WheelAndDiagramPicturesTakeTheRoomOf765PixelsAt120PpiAtPrintResolution) {
    for (document::PageKind page : {document::PageKind::Rueda, document::PageKind::Diagramas}) {
        document::PageContent input = testing_fixtures::SampleInput(page);
        input.ppi = 120;
        input.previewPpi = 120;
        QColor background;
        int side = 0;
        const auto probe = [&](QImage &picture) {
            background = picture.pixelColor(0, 0);
            side = picture.width();
        };
        (page == document::PageKind::Rueda ? input.drawWheel : input.drawDiagrams) = probe;
        TCtrlToRTF writer;
        BuildExportDocument(input, writer);
        EXPECT_EQ(side, 1913); // 765 screen pixels at 120 per inch, drawn at 300 per inch
        EXPECT_EQ(background, page == document::PageKind::Rueda ? QColor(255, 0, 0) : QColor(Qt::white));
        EXPECT_NE(writer.Body().find("\\picw1913\\pich1913\\picwgoal9182\\pichgoal9182"), std::string::npos);
    }
}

TEST(ExportRtf, Titles) {
    document::PageView single;
    single.innerItemName = "Dir Secundaria";
    document::PageView twin = single;
    twin.doubleWheel = true;
    twin.outerItemName = "Trán. Eclíptico";
    document::PageView byHouse;
    byHouse.natalByHouse = true;
    byHouse.house = 7;
    byHouse.natalAscensional = true;
    const std::vector<std::tuple<document::PageKind, document::PageView, std::string>> cases{
        {document::PageKind::Rueda, single, "Dir Secundaria"},
        {document::PageKind::Rueda, twin, "Rueda doble: Dir Secundaria - Trán. Eclíptico"},
        {document::PageKind::Tabla, single, "Tabla de aspectos Dir Secundaria"},
        {document::PageKind::Tabla, twin, "Tabla de aspectos"},
        {document::PageKind::Listado, single, "Lista aspectos: Dir Secundaria"},
        {document::PageKind::Listado, twin,
         "Lista aspectos: Item Izq.Trán. Eclíptico - Item Der.Dir Secundaria"},
        {document::PageKind::Natal, single, "Lista aspectos natales. Según modelo eclíptico"},
        {document::PageKind::Natal, byHouse, "Lista aspectos natales. Casa: 7. Según modelo ascensional"},
        {document::PageKind::Progresiones, single, "Lista Progresiones"},
        {document::PageKind::Speculum, single, "Speculum"},
        {document::PageKind::Diagramas, single, "Diagramas"},
    };
    for (const auto &[page, view, title] : cases)
        EXPECT_EQ(document::PageTitle(page, view), title);
}

TEST(ExportRtf, HeadingLinesByPageAndWheel) {
    const document::PageHeading heading = testing_fixtures::SampleHeading();
    const TextFormat format{','};
    document::PageView twin;
    twin.doubleWheel = true;
    twin.innerItem = 1;
    twin.outerItem = 3;
    twin.innerItemName = "Natal Eclíptica";
    twin.outerItemName = "Trán. Eclíptico";
    const std::vector<std::string> doubleLines =
        document::HeadingLines(document::PageKind::Tabla, heading, twin, format);
    ASSERT_EQ(doubleLines.size(), 7u);
    EXPECT_EQ(doubleLines[4], "Evento: ene 5 2026, 09:15:00 am  (TZ:-5,00)");
    EXPECT_EQ(doubleLines[5], "Rueda Int: Natal Eclíptica");
    EXPECT_EQ(doubleLines[6], "Rueda Ext: Trán. Eclíptico");

    document::PageHeading synastry = heading;
    synastry.synastry = true;
    synastry.eventLabel = "Luis Gómez: ";
    const std::vector<std::string> synastryLines =
        document::HeadingLines(document::PageKind::Rueda, synastry, twin, format);
    EXPECT_EQ(synastryLines,
              (std::vector<std::string>{
                  "Natal: Ana Pérez  ", "oct 17 1979, 12:30:00 pm  (TZ:-5,00)", "Rueda Int: Natal Eclíptica",
                  "Luis Gómez: ene 5 2026, 09:15:00 am  (TZ:-5,00)", "Rueda Ext: Trán. Eclíptico"}));

    const std::vector<std::string> progressions =
        document::HeadingLines(document::PageKind::Progresiones, heading, twin, format);
    EXPECT_EQ(progressions,
              (std::vector<std::string>{"Natal: Ana Pérez, oct 17 1979, 12:30:00 pm  (TZ:-5,00). Evento: "
                                        "ene 5 2026, 09:15:00 am  (TZ:-5,00)",
                                        "Edad: 46 años", "ARMC. Nat: 100° 00' 00\", Eve: 200° 00' 00\"",
                                        "Arco. DP: 45° 00' 00\", Solar: 45° 30' 00\" . Fecha DS: dic 02 "
                                        "1979, 01:02:03 \"GMT\", ARMC: 10° 00' 00\""}));
}

TEST(ExportRtf, DateTexts) {
    const TextFormat comma{','};
    EXPECT_EQ(document::LocalDateTimeLine(EncodeDateTime({2000, 1, 1, 0, 5, 9, 0}), 1, comma),
              "sábado, ene-1-2000, 12:05:09 am, 0:05:09 (TZ:1,00)");
    EXPECT_EQ(document::LocalDateTimeLine(EncodeDateTime({1979, 10, 17, 23, 0, 0, 0}), -5.5, TextFormat{'.'}),
              "miércoles, oct-17-1979, 11:00:00 pm, 23:00:00 (TZ:-5.50)");
    EXPECT_EQ(document::DateLine(EncodeDateTime({1979, 10, 17, 12, 30, 0, 0}), true, 0, comma),
              "oct 17 1979, 12:30:00 pm  GMT");
}

TEST(ExportRtf, ListReflowPlacesHeadingsInColumnZero) {
    RtfGrid detail;
    detail.columnWidths = {200, 200};
    detail.rowHeight = 60;
    detail.cells = {{" Lista", "1:E:L1:p01:0:p02:"},
                    {"2:E:L1:p01:1:p03:", "3:E:L2:p01:0:c01:"},
                    {"4:x", ""},
                    {" Regente", ""},
                    {"5:x", ""}};
    const RtfGrid list = ReflowList(detail, true);
    EXPECT_EQ(list.columnWidths, (std::vector<int>{212, 212, 212})); // trunc(610.5 / 200) = 3
    EXPECT_EQ(list.rowHeight, 60);
    EXPECT_EQ(list.font.name, "Arial");
    EXPECT_EQ(list.font.size, 7);
    const std::vector<std::vector<std::string>> expected{
        {"  Lista", " 1:E:L1:p01:0:p02:", " 2:E:L1:p01:1:p03:"},
        {" 3:E:L2:p01:0:c01:", " 4:x", ""},
        {"  Regente", " 5:x", ""}}; // no hole after a heading nor where the detail grid had empty cells
    EXPECT_EQ(list.cells, expected);

    detail.columnWidths = {700};
    EXPECT_EQ(ReflowList(detail, false).columnWidths, (std::vector<int>{712}));
    EXPECT_EQ(ReflowList(detail, false).font.size, 9);
    detail.columnWidths = {0};
    EXPECT_EQ(ReflowList(detail, false).ColumnCount(), 610);
}

TEST(ExportRtf, ListExportRendersCodesWithoutBorders) {
    document::PageContent input = testing_fixtures::SampleInput(document::PageKind::Listado);
    std::vector<std::pair<std::string, int>> calls;
    input.renderCode = [&calls](QPainter &, int w, int, const std::string &code) {
        calls.emplace_back(code, w);
    };
    TCtrlToRTF writer;
    BuildExportDocument(input, writer);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), (std::pair<std::string, int>{"1:P:P1:p01:0:p04:", 212 - 4}));
    EXPECT_EQ(Count(writer.Body(), "\\clcbpat15"), 0u);
    EXPECT_NE(writer.Body().find("{\\f1\\fswiss\\fcharset0 Arial;}"), std::string::npos);
}

TEST(ExportRtf, AspectTableLeavesOutTheNameColumns) {
    document::PageContent input = testing_fixtures::SampleInput(document::PageKind::Tabla);
    ASSERT_EQ(input.aspectTable.ColumnCount(), 28);
    TCtrlToRTF writer;
    BuildExportDocument(input, writer);
    EXPECT_EQ(Count(writer.Body(), "\\cellx"), 26u * static_cast<std::size_t>(input.aspectTable.RowCount()));
    EXPECT_EQ(Count(writer.Body(), "\\clcbpat15"), Count(writer.Body(), "\\cellx"));
}

// The exported aspect table has the screen's colours: tinted aspect glyphs and the double table's
// relation fills, in the cell pictures.
TEST(ExportRtf, AspectTablePicturesAreInColour) {
    testing_fixtures::RealCharts charts;
    charts.SetItems(1, 3);
    const document::PageContent input = document::MakePageContent(document::PageKind::Tabla, charts.State(),
                                                                  {}, testing_fixtures::SampleHeading());
    TCtrlToRTF writer;
    ASSERT_TRUE(BuildExportDocument(input, writer).written);
    const std::string &body = writer.Body();
    int red = 0, filled = 0, pictures = 0;
    const QColor fill = graphics::StoredColour(charts.settings.tabla.colRel[1]);
    for (std::size_t at = body.find("\\pngblip \\bin"); at != std::string::npos;
         at = body.find("\\pngblip \\bin", at + 1)) {
        std::size_t end = 0;
        const std::size_t size = std::stoul(body.substr(at + 13), &end);
        const QImage png = QImage::fromData(reinterpret_cast<const uchar *>(body.data() + at + 13 + end),
                                            static_cast<int>(size), "PNG");
        ASSERT_FALSE(png.isNull());
        ++pictures;
        for (int y = 0; y < png.height(); ++y)
            for (int x = 0; x < png.width(); ++x) {
                const QColor c = png.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
                filled += c == fill;
            }
    }
    EXPECT_GT(pictures, 50);
    EXPECT_GT(red, 50);
    EXPECT_GT(filled, 500);
}

TEST(ExportRtf, SpeculumWritesBothChartsWithTheirCaptions) {
    document::PageContent input = testing_fixtures::SampleInput(document::PageKind::Speculum);
    TCtrlToRTF writer;
    BuildExportDocument(input, writer);
    const std::string &body = writer.Body();
    const std::size_t natal = body.find("\\f0\\fs20 Natal\\par \\pard\\plain\\cgrid{\\stylesheet");
    const std::size_t event =
        body.find("\\f0\\fs20 \\par \\pard\\plain\\f0\\fs20 Evento\\par \\pard\\plain\\cgrid");
    ASSERT_NE(natal, std::string::npos);
    ASSERT_NE(event, std::string::npos);
    EXPECT_LT(natal, event);
    EXPECT_EQ(Count(body, "{\\row}"), 40u);
}

TEST(ExportRtf, MissingSourcesAreRefusedClearly) {
    for (document::PageKind page :
         {document::PageKind::Rueda, document::PageKind::Tabla, document::PageKind::Listado,
          document::PageKind::Natal, document::PageKind::Progresiones, document::PageKind::Diagramas}) {
        document::PageContent input;
        input.page = page;
        TCtrlToRTF writer;
        EXPECT_THROW(BuildExportDocument(input, writer), std::invalid_argument);
        EXPECT_TRUE(writer.Body().empty());
    }
}

TEST(ExportRtf, ProgressionsTurnThePaperSidewaysAndTheOtherPagesKeepItUpright) {
    for (document::PageKind page :
         {document::PageKind::Progresiones, document::PageKind::Rueda, document::PageKind::Speculum}) {
        TCtrlToRTF writer;
        ASSERT_TRUE(BuildExportDocument(testing_fixtures::SampleInput(page), writer).written);
        const std::string &body = writer.Body();
        const bool landscape = page == document::PageKind::Progresiones;
        EXPECT_EQ(
            body.find("\\paperw15840\\paperh12240\\margl567\\margr567\\margt567\\margb567\\landscape") !=
                std::string::npos,
            landscape);
        // Before the first paragraph: the paper is the whole document's.
        if (landscape) {
            EXPECT_LT(body.find("\\landscape"), body.find("\\par "));
        }
    }
}

} // namespace
} // namespace cel::exporting

namespace cel::exporting {
namespace {

TEST(ExportRtf, TransitListingWritesItsRowsAndTimelinePicturesOnLandscapePaper) {
    document::PageContent input = testing_fixtures::SampleInput(document::PageKind::Transitos);
    input.view.listingTitle = "Tránsitos del 01/01/2025 al 31/12/2025, horas GMT";
    input.listing.columnWidths = {48, 38, 190, 104, 316, 104};
    input.listing.cells.push_back({"Fuente", "Cuerpo", "Suceso", "Entra", "Exacto", "Sale"});
    input.timelineFrom = 45658;
    input.timelineTo = 46023;
    for (int r = 0; r < 50; ++r) {
        input.listing.cells.push_back({"Trán.", "Sat", "90° Sol", "", "2025-03-04T05:06Z", ""});
        graphics::TimelineRow row;
        row.exact = {45700.0 + r};
        input.timeline.push_back(row);
    }
    TCtrlToRTF writer;
    ASSERT_TRUE(BuildExportDocument(input, writer).written);
    const std::string &body = writer.Body();
    EXPECT_NE(body.find("\\landscape"), std::string::npos);
    EXPECT_EQ(Count(body, "{\\row}"), 51u);
    EXPECT_EQ(Count(body, "2025-03-04T05:06Z"), 50u);
    EXPECT_EQ(Count(body, "\\pngblip"), 2u); // 50 timeline rows in pictures of 40
}

} // namespace
} // namespace cel::exporting
