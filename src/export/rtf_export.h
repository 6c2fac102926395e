// The content of an exported RTF document: the heading paragraphs, the title and the page's content
// (wheel, aspect table, aspect lists, progressions, speculum, diagrams), written in the order the
// document shows them. The pictures come from drawing callbacks, so the same code serves the print
// window and the command line.
#pragma once

#include <QImage>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "common/date_time.h"
#include "common/text_format.h"
#include "common/version.h"
#include "export/rtf_writer.h"

namespace cel::exporting {

// The page being exported: the wheel, the three kinds of aspect page and the four reports.
enum class ExportPage { Rueda, Tabla, Listado, Natal, Progresiones, Speculum, Resumen, Diagramas };

inline constexpr const char *kProgramCaption = kChartProgramCaption;
// The refusal for the summaries, which have no export.
inline constexpr const char *kSummaryRefusal =
    "La función \"Exportar resumen a un archivo RTF\" aún no se ha implementado. Contacte al autor del "
    "programa quíen le indicará cuando se habilitará esta función.";

// The question after a successful export.
std::string CreatedQuestion(const std::string &path);

// What the main window shows above the pages, as texts.
struct ExportHeading {
    std::string natalLabel = "Natal: "; // the "Natal: " label text (person name and surname)
    std::string natalDateLine;          // the date line beside it
    std::string eventLabel = "Evento: ";
    std::string eventDateLine;
    std::string place;   // natal place
    std::string country; // its country
    std::string longitudeText;
    std::string latitudeText;
    TDateTime natalLocal = 0; // natal local date-time
    double zone = 0;          // natal zone, hours east
    // The progressions label: "Edad: ..", "ARMC. Nat: ..", "Arco. DP: ..", "Fecha DS: ..".
    std::array<std::string, 4> progressionLines;
    bool synastry = false;
};

// What decides the title and the heading lines.
struct ExportView {
    bool doubleWheel = false;
    std::string innerItemName; // e.g. "Natal Eclíptica"
    std::string outerItemName;
    int innerItem = 1;
    int outerItem = 1;
    bool natalByHouse = false;     // "Natal" arranged by houses (else manual)
    int house = 0;                 // current house of the by-house list
    bool natalAscensional = false; // "R. Asc." (else "R. Ecl.")
};

// The local date-time as the place information shows it:
// "dddd, mmm-d-yyyy, h:nn:ss am/pm, h:nn:ss (TZ:z.zz)".
std::string LocalDateTimeLine(TDateTime local, double zone, const TextFormat &format);
// The date line beside "Natal: " and "Evento: ": "mmm d yyyy, hh:nn:ss am/pm" and "  (TZ:z.zz)" or "  GMT".
std::string DateLine(TDateTime value, bool gmt, double zone, const TextFormat &format);

// The title of the page.
std::string ExportTitle(ExportPage page, const ExportView &view);
// The heading paragraphs after the program caption, before the title: the information lines.
std::vector<std::string> HeadingLines(ExportPage page, const ExportHeading &heading, const ExportView &view,
                                      const TextFormat &format);

// The detail cells of "Listado" and "Natal" reflowed into the rows of the exported list:
// trunc(610.5 / width) columns (at least one), each 12 pixels wider; a group heading starts a row
// in column 0; every placed text gets a leading blank.
RtfGrid ReflowList(const RtfGrid &detail, bool smallImages);

// Everything one export needs.
struct ExportInput {
    ExportPage page = ExportPage::Rueda;
    int ppi = 96;        // screen resolution, for twips
    int previewPpi = 96; // print preview resolution: 120 or more gives the larger pictures
    ExportHeading heading;
    ExportView view;
    TextFormat format;

    // Wheel and diagrams: draw onto a square picture (the wheel's comes filled red).
    std::function<void(QImage &picture)> drawWheel;
    std::function<void(QImage &picture)> drawDiagrams;

    // "Tabla": the aspect table (its 26 item and header columns are written), glyphs per "ImagenT".
    RtfGrid aspectTable;
    const GlyphPainter *tableGlyphs = nullptr;
    bool showStrength = false; // "%"

    // "Listado" and "Natal": the detail grid, the renderer of its codes and "peq.".
    RtfGrid detail;
    CodeRenderer renderCode;
    bool smallImages = false;

    // Progressions: the grid, its signs and retrograde marks, and the small glyph set.
    RtfGrid progressions;
    ProgGridMarks progressionMarks;
    const GlyphPainter *smallGlyphs = nullptr;

    // Speculum of the natal and of the event chart.
    RtfGrid natalSpeculum;
    RtfGrid eventSpeculum;
};

// The side of the wheel and diagram pictures: 600 pixels, 765 at 120 pixels per inch or more.
int ExportPictureSide(int previewPpi);

struct ExportResult {
    bool written = false;
    std::string message; // the refusal, when nothing was written
};

// Builds the document of the page. "Resumen" is refused (nothing written, the refusal returned).
// A missing picture source or grid for the page throws std::invalid_argument.
ExportResult BuildExportDocument(const ExportInput &input, TCtrlToRTF &writer);
// Builds the document and saves it; file errors throw std::runtime_error and leave any old file.
ExportResult ExportRtf(const ExportInput &input, const std::string &fileName);

} // namespace cel::exporting
