#include "export/rtf_export.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "common/date_text.h"
#include "common/number_text.h"
#include "document/layout.h"

namespace cel::exporting {

std::string CreatedQuestion(const std::string &path) {
    return "El archivo\n\n" + path + "\n\nha sido creado correctamente. Desea abrirlo ?";
}

RtfGrid ReflowList(const RtfGrid &detail, bool smallImages) {
    const int width = detail.columnWidths.empty() ? 64 : detail.columnWidths.front();
    const int columns = std::max(1, static_cast<int>(std::trunc(610.5 / std::max(width, 1))));
    RtfGrid list;
    list.columnWidths.assign(static_cast<std::size_t>(columns), width + 12);
    list.rowHeight = detail.rowHeight;
    list.font = RtfFont{"Arial", smallImages ? 7 : 9};
    // The detail grid's empty cells (the rest of a heading's row, the end of the last row) are left
    // out, so the list has no holes: a heading starts a row, the codes follow it in order.
    int column = 0;
    for (int r = 0; r < detail.RowCount(); ++r)
        for (int c = 0; c < detail.ColumnCount(); ++c) {
            if (detail.Cell(c, r).empty())
                continue;
            const std::string text = " " + detail.Cell(c, r);
            const bool heading = text.size() > 2 && text[1] == ' ';
            if (heading || column == columns || list.cells.empty()) {
                list.cells.emplace_back(static_cast<std::size_t>(columns));
                column = 0;
            }
            list.cells.back()[static_cast<std::size_t>(column++)] = text;
        }
    return list;
}

int ExportPictureSide(int previewPpi) {
    return previewPpi >= 120 ? 765 : 600;
}

ExportResult BuildExportDocument(const document::PageContent &input, TCtrlToRTF &writer) {
    if (input.page == document::PageKind::Resumen)
        return {false, kSummaryRefusal};
    const auto require = [](bool present, const char *what) {
        if (!present)
            throw std::invalid_argument(std::string("export needs ") + what);
    };
    switch (input.page) {
    case document::PageKind::Rueda:
        require(static_cast<bool>(input.drawWheel), "a wheel");
        break;
    case document::PageKind::Diagramas:
        require(static_cast<bool>(input.drawDiagrams), "the diagrams");
        break;
    case document::PageKind::Tabla:
        require(input.tableGlyphs != nullptr, "the table glyphs");
        break;
    case document::PageKind::Listado:
    case document::PageKind::Natal:
        require(static_cast<bool>(input.renderCode), "a code renderer");
        break;
    case document::PageKind::Progresiones:
        require(input.smallGlyphs != nullptr, "the small glyphs");
        break;
    default:
        break;
    }

    const RtfFont base; // "MS Sans Serif" 10 in the system text colour: "\f0"
    writer.AddFont(base);
    RtfGrid list;
    const RtfGrid *grid = nullptr;
    switch (input.page) {
    case document::PageKind::Tabla:
        grid = &input.aspectTable;
        break;
    case document::PageKind::Listado:
    case document::PageKind::Natal:
        list = ReflowList(input.detail, input.smallImages);
        grid = &list;
        break;
    case document::PageKind::Progresiones:
        grid = &input.progressions;
        break;
    case document::PageKind::Speculum:
        grid = &input.natalSpeculum;
        writer.AddFont(input.eventSpeculum.font);
        break;
    case document::PageKind::Transitos:
        grid = &input.listing;
        break;
    default:
        break;
    }
    if (grid != nullptr)
        writer.AddFont(grid->font);
    writer.WriteHeader();
    // The wide pages (the progressions) turn the paper as the printed page does.
    if (document::PageOrientation(input.page, false) == QPageLayout::Landscape)
        writer.WriteLandscapePaper();
    else
        writer.WritePortraitPaper();

    writer.WriteText(kProgramCaption, base, kAlignRight);
    writer.WriteText(" ", base, kAlignRight);
    for (const std::string &line :
         document::HeadingLines(input.page, input.heading, input.view, input.format))
        writer.WriteText(line, base, kAlignLeft);
    writer.WriteText(" ", base, kAlignRight);
    writer.WriteText(document::PageTitle(input.page, input.view), base, kAlignCentre);
    writer.WriteText(" ", base, kAlignRight);

    // The wheel and the diagrams take the page room of a picture of `side` screen pixels, drawn at print
    // resolution: they scale with their side, so the page shows the same picture, only sharper.
    const int side = ExportPictureSide(input.previewPpi);
    const int screenPpi = input.ppi > 0 ? input.ppi : 96;
    const int printSide = static_cast<int>(std::lround(static_cast<double>(side) * kPrintPpi / screenPpi));
    switch (input.page) {
    case document::PageKind::Rueda: {
        QImage picture(printSide, printSide, QImage::Format_RGB32);
        picture.fill(QColor(255, 0, 0));
        input.drawWheel(picture);
        writer.WritePicture(kPrintPpi, picture, kAlignCentre);
        break;
    }
    case document::PageKind::Tabla: {
        // The item names of the position columns stay on screen only.
        RtfGrid table = input.aspectTable;
        if (table.columnWidths.size() > 26)
            table.columnWidths.resize(26);
        writer.WriteAspectGrid(input.ppi, table, *input.tableGlyphs, input.showStrength, true,
                               input.paintAspectCell);
        break;
    }
    case document::PageKind::Listado:
    case document::PageKind::Natal: {
        const int cellWidth = list.columnWidths.front();
        writer.WriteAspectList(input.ppi, list, input.renderCode, cellWidth, list.rowHeight,
                               input.smallImages, false);
        break;
    }
    case document::PageKind::Progresiones:
        writer.WriteProgGrid(input.ppi, input.progressions, input.progressionMarks, *input.smallGlyphs);
        break;
    case document::PageKind::Speculum:
        writer.WriteText("Natal", base, kAlignLeft);
        writer.WriteGrid(input.ppi, input.natalSpeculum);
        writer.WriteText("", base, kAlignLeft);
        writer.WriteText("Evento", base, kAlignLeft);
        writer.WriteGrid(input.ppi, input.eventSpeculum);
        break;
    case document::PageKind::Diagramas: {
        QImage picture(printSide, printSide, QImage::Format_RGB32);
        picture.fill(Qt::white);
        input.drawDiagrams(picture);
        writer.WritePicture(kPrintPpi, picture, kAlignCentre);
        break;
    }
    case document::PageKind::Transitos: {
        writer.WriteGrid(input.ppi, input.listing);
        // The timeline in pictures of at most 40 rows, across the landscape page.
        constexpr int kRowsPerPicture = 40;
        constexpr int kWidth = 900; // screen pixels
        const graphics::TimelineLayout layout = graphics::FitLabels({}, input.timeline, QFont(), kWidth / 3);
        const double scale = static_cast<double>(kPrintPpi) / screenPpi;
        const int rows = static_cast<int>(input.timeline.size());
        for (int first = 0; first < rows; first += kRowsPerPicture) {
            const int count = std::min(kRowsPerPicture, rows - first);
            const int height = graphics::TimelineHeight(count, layout);
            QImage picture(static_cast<int>(std::lround(kWidth * scale)),
                           static_cast<int>(std::lround(height * scale)), QImage::Format_RGB32);
            picture.fill(Qt::white);
            QPainter painter(&picture);
            painter.scale(scale, scale);
            graphics::DrawTimeline(painter, QRect(0, 0, kWidth, height), input.timeline, input.timelineFrom,
                                   input.timelineTo, first, count, layout);
            painter.end();
            writer.WriteText("", base, kAlignLeft);
            writer.WritePicture(kPrintPpi, picture, kAlignCentre);
        }
        break;
    }
    case document::PageKind::Resumen:
        break;
    }
    writer.WriteText("", base, kAlignLeft);
    writer.WriteText("", base, kAlignLeft);
    return {true, {}};
}

ExportResult ExportRtf(const document::PageContent &input, const std::string &fileName) {
    TCtrlToRTF writer;
    ExportResult result = BuildExportDocument(input, writer);
    if (result.written)
        writer.SaveToFile(fileName);
    return result;
}

} // namespace cel::exporting
