#include "export/rtf_export.h"

#include <cmath>
#include <stdexcept>

#include "chart/progressions.h"
#include "common/date_text.h"
#include "common/number_text.h"

namespace cel::exporting {

namespace {

std::string ZoneText(double zone, const TextFormat &format) {
    return "(TZ:" + FormatFixed(zone, 2, format.decimalSeparator, 2) + ")";
}

bool IsReport(ExportPage page) {
    return page == ExportPage::Progresiones || page == ExportPage::Speculum || page == ExportPage::Resumen ||
           page == ExportPage::Diagramas;
}

} // namespace

std::string CreatedQuestion(const std::string &path) {
    return "El archivo\n\n" + path + "\n\nha sido creado correctamente. Desea abrirlo ?";
}

std::string LocalDateTimeLine(TDateTime local, double zone, const TextFormat &format) {
    return FormatDateTimeText(local, "dddd, mmm-d-yyyy, h:nn:ss am/pm, ", format) +
           FormatDateTimeText(local, "h:nn:ss", format) + " " + ZoneText(zone, format);
}

std::string DateLine(TDateTime value, bool gmt, double zone, const TextFormat &format) {
    return FormatDateTimeText(value, "mmm d yyyy, hh:nn:ss am/pm", format) +
           (gmt ? std::string("  GMT") : "  " + ZoneText(zone, format));
}

std::string ExportTitle(ExportPage page, const ExportView &view) {
    switch (page) {
    case ExportPage::Rueda:
        return view.doubleWheel ? std::string() : view.innerItemName;
    case ExportPage::Tabla:
        return view.doubleWheel ? std::string("Tabla de aspectos")
                                : "Tabla de aspectos " + view.innerItemName;
    case ExportPage::Listado:
        return view.doubleWheel ? "Lista aspectos: Item Izq." + view.outerItemName + " - " + "Item Der." +
                                      view.innerItemName
                                : "Lista aspectos: " + view.innerItemName;
    case ExportPage::Natal: {
        std::string title = view.natalByHouse ? "Lista aspectos natales. Casa: " + std::to_string(view.house)
                                              : std::string("Lista aspectos natales");
        return title + (view.natalAscensional ? ". Según modelo ascensional" : ". Según modelo eclíptico");
    }
    case ExportPage::Progresiones:
        return "Lista Progresiones";
    case ExportPage::Speculum:
        return "Speculum";
    case ExportPage::Resumen:
        return "Resumen " + view.innerItemName;
    case ExportPage::Diagramas:
        return "Diagramas";
    }
    return {};
}

std::vector<std::string> HeadingLines(ExportPage page, const ExportHeading &heading, const ExportView &view,
                                      const TextFormat &format) {
    std::vector<std::string> lines;
    if (IsReport(page)) {
        lines.push_back(heading.natalLabel + ", " + heading.natalDateLine +
                        ". Evento: " + heading.eventDateLine);
        if (page == ExportPage::Progresiones) {
            lines.push_back(heading.progressionLines[0]);
            lines.push_back(heading.progressionLines[1]);
            lines.push_back(heading.progressionLines[2] + " . " + heading.progressionLines[3]);
        }
        return lines;
    }
    lines.push_back(heading.natalLabel);
    if (heading.synastry) {
        lines.push_back(heading.natalDateLine);
        lines.push_back("Rueda Int: " + view.innerItemName);
    } else {
        lines.push_back(heading.place + ", " + heading.country);
        lines.push_back("Lon:" + heading.longitudeText + ", Lat:" + heading.latitudeText);
        lines.push_back(LocalDateTimeLine(heading.natalLocal, heading.zone, format));
    }
    if (view.doubleWheel && page != ExportPage::Natal) {
        // Natal ecliptic inside natal ascensional is about the person alone: no event line.
        if (!(view.innerItem == chart::kNatalEcliptic && view.outerItem == chart::kNatalAscensional))
            lines.push_back(heading.eventLabel + heading.eventDateLine);
        if (!heading.synastry)
            lines.push_back("Rueda Int: " + view.innerItemName);
        lines.push_back("Rueda Ext: " + view.outerItemName);
    }
    return lines;
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

namespace {
constexpr int kPrintPpi = 300; // pixels per inch of the large pictures of a document
} // namespace

int ExportPictureSide(int previewPpi) {
    return previewPpi >= 120 ? 765 : 600;
}

ExportResult BuildExportDocument(const ExportInput &input, TCtrlToRTF &writer) {
    if (input.page == ExportPage::Resumen)
        return {false, kSummaryRefusal};
    const auto require = [](bool present, const char *what) {
        if (!present)
            throw std::invalid_argument(std::string("export needs ") + what);
    };
    switch (input.page) {
    case ExportPage::Rueda:
        require(static_cast<bool>(input.drawWheel), "a wheel");
        break;
    case ExportPage::Diagramas:
        require(static_cast<bool>(input.drawDiagrams), "the diagrams");
        break;
    case ExportPage::Tabla:
        require(input.tableGlyphs != nullptr, "the table glyphs");
        break;
    case ExportPage::Listado:
    case ExportPage::Natal:
        require(static_cast<bool>(input.renderCode), "a code renderer");
        break;
    case ExportPage::Progresiones:
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
    case ExportPage::Tabla:
        grid = &input.aspectTable;
        break;
    case ExportPage::Listado:
    case ExportPage::Natal:
        list = ReflowList(input.detail, input.smallImages);
        grid = &list;
        break;
    case ExportPage::Progresiones:
        grid = &input.progressions;
        break;
    case ExportPage::Speculum:
        grid = &input.natalSpeculum;
        writer.AddFont(input.eventSpeculum.font);
        break;
    default:
        break;
    }
    if (grid != nullptr)
        writer.AddFont(grid->font);
    writer.WriteHeader();

    writer.WriteText(kProgramCaption, base, kAlignRight);
    writer.WriteText(" ", base, kAlignRight);
    for (const std::string &line : HeadingLines(input.page, input.heading, input.view, input.format))
        writer.WriteText(line, base, kAlignLeft);
    writer.WriteText(" ", base, kAlignRight);
    writer.WriteText(ExportTitle(input.page, input.view), base, kAlignCentre);
    writer.WriteText(" ", base, kAlignRight);

    // The wheel and the diagrams take the page room of a picture of `side` screen pixels, drawn at print
    // resolution: they scale with their side, so the page shows the same picture, only sharper.
    const int side = ExportPictureSide(input.previewPpi);
    const int screenPpi = input.ppi > 0 ? input.ppi : 96;
    const int printSide = static_cast<int>(std::lround(static_cast<double>(side) * kPrintPpi / screenPpi));
    switch (input.page) {
    case ExportPage::Rueda: {
        QImage picture(printSide, printSide, QImage::Format_RGB32);
        picture.fill(QColor(255, 0, 0));
        input.drawWheel(picture);
        writer.WritePicture(kPrintPpi, picture, kAlignCentre);
        break;
    }
    case ExportPage::Tabla: {
        // The item names of the position columns stay on screen only.
        RtfGrid table = input.aspectTable;
        if (table.columnWidths.size() > 26)
            table.columnWidths.resize(26);
        writer.WriteAspectGrid(input.ppi, table, *input.tableGlyphs, input.showStrength, true);
        break;
    }
    case ExportPage::Listado:
    case ExportPage::Natal: {
        const int cellWidth = list.columnWidths.front();
        writer.WriteAspectList(input.ppi, list, input.renderCode, cellWidth, list.rowHeight,
                               input.smallImages, false);
        break;
    }
    case ExportPage::Progresiones:
        writer.WriteProgGrid(input.ppi, input.progressions, input.progressionMarks, *input.smallGlyphs);
        break;
    case ExportPage::Speculum:
        writer.WriteText("Natal", base, kAlignLeft);
        writer.WriteGrid(input.ppi, input.natalSpeculum);
        writer.WriteText("", base, kAlignLeft);
        writer.WriteText("Evento", base, kAlignLeft);
        writer.WriteGrid(input.ppi, input.eventSpeculum);
        break;
    case ExportPage::Diagramas: {
        QImage picture(printSide, printSide, QImage::Format_RGB32);
        picture.fill(Qt::white);
        input.drawDiagrams(picture);
        writer.WritePicture(kPrintPpi, picture, kAlignCentre);
        break;
    }
    case ExportPage::Resumen:
        break;
    }
    writer.WriteText("", base, kAlignLeft);
    writer.WriteText("", base, kAlignLeft);
    return {true, {}};
}

ExportResult ExportRtf(const ExportInput &input, const std::string &fileName) {
    TCtrlToRTF writer;
    ExportResult result = BuildExportDocument(input, writer);
    if (result.written)
        writer.SaveToFile(fileName);
    return result;
}

} // namespace cel::exporting
