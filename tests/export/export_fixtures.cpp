#include "export_fixtures.h"

#include <QPainter>

#include "common/date_time.h"

namespace cel::exporting::testing_fixtures {

void ShapeGlyphs::Draw(QPainter &painter, int picture, int x, int y, std::uint32_t tint) const {
    const QColor colour(static_cast<int>(tint & 0xFF), static_cast<int>((tint >> 8) & 0xFF),
                        static_cast<int>((tint >> 16) & 0xFF));
    painter.setPen(colour);
    painter.drawRect(x + 1, y + 1, size_ - 3, size_ - 3);
    painter.fillRect(x + 3, y + 3, 1 + picture % (size_ - 6), 2, colour);
}

const ShapeGlyphs &SmallGlyphs() {
    static const ShapeGlyphs glyphs(11);
    return glyphs;
}

const ShapeGlyphs &LargeGlyphs() {
    static const ShapeGlyphs glyphs(17);
    return glyphs;
}

document::PageHeading SampleHeading() {
    document::PageHeading h;
    h.natalName = "Ana Pérez";
    h.natalLabel = "Natal: Ana Pérez  ";
    h.natalDateLine = "oct 17 1979, 12:30:00 pm  (TZ:-5,00)";
    h.eventDateLine = "ene 5 2026, 09:15:00 am  (TZ:-5,00)";
    h.place = "Cali";
    h.country = "Colombia";
    h.longitudeText = "76° 31' W";
    h.latitudeText = "03° 27' N";
    h.natalLocal = EncodeDateTime({1979, 10, 17, 12, 30, 0, 0});
    h.zone = -5;
    h.progressionLines = {"Edad: 46 años", "ARMC. Nat: 100° 00' 00\", Eve: 200° 00' 00\"",
                          "Arco. DP: 45° 00' 00\", Solar: 45° 30' 00\"",
                          "Fecha DS: dic 02 1979, 01:02:03 \"GMT\", ARMC: 10° 00' 00\""};
    return h;
}

namespace {

RtfGrid TextTable(int rows, int columns, int width) {
    RtfGrid grid;
    grid.columnWidths.assign(static_cast<std::size_t>(columns), width);
    grid.cells.assign(static_cast<std::size_t>(rows),
                      std::vector<std::string>(static_cast<std::size_t>(columns)));
    return grid;
}

void DrawRings(QImage &picture) {
    QPainter p(&picture);
    const int side = picture.width();
    p.setBrush(Qt::white);
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(10, 10, side - 20, side - 20);
    p.drawEllipse(side / 4, side / 4, side / 2, side / 2);
    p.setPen(QColor(0, 0, 255));
    p.drawLine(side / 4, side / 2, 3 * side / 4, side / 2);
}

void DrawBars(QImage &picture) {
    QPainter p(&picture);
    for (int i = 0; i < 12; ++i)
        p.fillRect(20 + i * 40, picture.height() - 40 - i * 20, 30, 20 + i * 20,
                   QColor(30 * (i % 8), 90, 200));
}

} // namespace

document::PageContent SampleInput(document::PageKind page) {
    document::PageContent in;
    in.page = page;
    in.heading = SampleHeading();
    in.view.innerItemName = "Natal Eclíptica";
    in.view.outerItemName = "Trán. Eclíptico";
    in.format = TextFormat{','};
    in.drawWheel = DrawRings;
    in.drawDiagrams = DrawBars;

    in.aspectTable = TextTable(25, 28, 16);
    in.aspectTable.font = RtfFont{"Arial", 8};
    in.aspectTable.cells[0][26] = "Natal Eclíptica";
    in.aspectTable.cells[1][2] = "9:80";
    in.aspectTable.cells[2][1] = "9:80";
    in.aspectTable.cells[3][14] = "13:72d";
    in.aspectTable.cells[4][5] = "?";
    in.tableGlyphs = &SmallGlyphs();

    in.detail = TextTable(2, 3, 200);
    in.detail.rowHeight = 60;
    in.detail.cells[0] = {"1:P:P1:p01:0:p04:", "2:P:P1:p02:1:p05:", "3:P:P2:p03:0:c10:"};
    in.detail.cells[1] = {"4:P:P4:c01:2:c07:", "", ""};
    in.renderCode = [](QPainter &p, int w, int h, const std::string &code) {
        p.setPen(Qt::black);
        p.drawRect(1, 1, w - 3, h - 3);
        p.drawText(QRect(0, 0, w, h), Qt::AlignCenter, QString::fromStdString(code.substr(0, 6)));
    };
    in.smallImages = true;

    // Column widths that fit a portrait page, as the main window's grid has them.
    in.progressions = TextTable(25, 12, 42);
    in.progressions.columnWidths[0] = 30;
    in.progressions.cells[0] = {"",       "Nat. Ecl", "Nat. Asc",  "Trá. Ecl", "Trá. Asc", "Dir PD",
                                "Dir PC", "Dir Sec",  "Ar. Solar", "ProLuna",  "Nat DMO",  "Trá DMO."};
    in.progressionMarks.sign.assign(25, std::vector<int>(12, 0));
    in.progressionMarks.retro.assign(25, std::vector<bool>(12, false));
    for (int r = 1; r <= 24; ++r) {
        if (r > 12)
            in.progressions.cells[static_cast<std::size_t>(r)][0] = std::to_string(r - 12);
        for (int c = 1; c <= 11; ++c) {
            in.progressions.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
                c <= 9 ? std::to_string((r * 7 + c) % 30) + "° 10'" : "45° 00' (2)";
            in.progressionMarks.sign[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
                (r + c) % 12 + 1;
        }
    }
    in.progressionMarks.retro[3][1] = true;
    in.progressionMarks.showRetro = true;
    in.smallGlyphs = &SmallGlyphs();

    in.natalSpeculum = TextTable(20, 8, 75);
    in.natalSpeculum.cells[0] = {"", "Long.", "Lat.", "AR", "De", "DMO", "PHI", "AO/DO"};
    in.natalSpeculum.cells[1] = {"Sol",       "203° 40'", "+ 00° 00'", "202° 16'",
                                 "- 09° 30'", "12° (1)",  "3°",        "1° AO"};
    in.eventSpeculum = in.natalSpeculum;
    in.eventSpeculum.cells[1][1] = "284° 50'";
    return in;
}

RealCharts::RealCharts() {
    settings.InstallFirstRunValues();
    settings::CopySettingsToView(settings, view);
    view.aspectFamilies.fill(true);
    view.pointSelection.fill(true);
    view.cuspSelection.fill(true);
    view.angleSelection.fill(true);
    view.computeDispositors = true;
    context.options = chart::ChartOptionsFrom(settings);
    const chart::PlacePosition place{-5, 76.5225L, 3.43722L};
    natalRecord.placeId = 1;
    eventRecord.placeId = 1;
    chart::ComputeChartFor(context, natalRecord, place, natal, EncodeDate(1979, 10, 17) + 12.5 / 24);
    chart::ComputeChartFor(context, eventRecord, place, event, EncodeDate(2026, 1, 5) + 9.25 / 24);
    chart::ComputeProgressions(natal, event, prog, context.options);
    SetItems(1, 1);
}

void RealCharts::SetItems(int inner, int outer) {
    view.innerItem = static_cast<std::uint8_t>(inner);
    view.outerItem = static_cast<std::uint8_t>(outer);
    view.wheelMode = inner == outer ? settings::kSingleWheel : settings::kDoubleWheel;
    aspects = {};
    analysis::BuildNatalAspects(aspects, prog.items[1], prog.items[2], true, settings.orbs, settings.dignity);
    analysis::BuildPairAspects(aspects, prog.items[static_cast<std::size_t>(inner)],
                               prog.items[static_cast<std::size_t>(outer)], analysis::kOrbModeEcliptic,
                               inner != outer, settings.orbs);
}

} // namespace cel::exporting::testing_fixtures
