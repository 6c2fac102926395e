// The content of a page composed once from the charts as the main window holds them: the information
// lines and title, the grids filled by the analysis tables, and the wheel, the cell pictures and the
// diagrams drawn by the chart graphics. The printed pages and the RTF export are both made from it.
#pragma once

#include <QImage>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "analysis/aspects.h"
#include "chart/progressions.h"
#include "common/date_time.h"
#include "common/text_format.h"
#include "document/grid.h"
#include "graphics/chart_caption.h"
#include "graphics/diagrams.h"
#include "graphics/glyphs.h"
#include "graphics/timeline.h"
#include "settings/settings.h"
#include "settings/view_record.h"

namespace cel::document {

// The kind of page: the wheel, the three kinds of aspect page, the four reports and the listing of
// transits, progressions and directions.
enum class PageKind { Rueda, Tabla, Listado, Natal, Progresiones, Speculum, Resumen, Diagramas, Transitos };

// What the main window shows above the pages, as texts.
struct PageHeading {
    std::string natalName;              // the person's name and surname, empty when unknown
    std::string natalLabel = "Natal: "; // the "Natal: " label text (person name and surname)
    std::string natalDateLine;          // the date line beside it
    std::string eventLabel = "Evento: ";
    std::string eventDateLine;
    std::string place;   // natal place
    std::string country; // its country
    std::string longitudeText;
    std::string latitudeText;
    TDateTime natalLocal = 0;      // natal local date-time
    double zone = 0;               // natal zone, hours east
    bool natalTimeUnknown = false; // a birth without its time, charted at 0:00: its date lines say so
    // The progressions label: "Edad: ..", "ARMC. Nat: ..", "Arco. DP: ..", "Fecha DS: ..".
    std::array<std::string, 4> progressionLines;
    bool synastry = false;
};

// What decides the title and the heading lines.
struct PageView {
    bool doubleWheel = false;
    std::string innerItemName; // e.g. "Natal Eclíptica"
    std::string outerItemName;
    int innerItem = 1;
    int outerItem = 1;
    bool natalByHouse = false;     // "Natal" arranged by houses (else manual)
    int house = 0;                 // current house of the by-house list
    bool natalAscensional = false; // "R. Asc." (else "R. Ecl.")
    std::string summaryItemName;   // "Resumen": the chosen summary item
    std::string listingTitle;      // "Tránsitos": the title with the period
};

// The local date-time as the place information shows it:
// "dddd, mmm-d-yyyy, h:nn:ss am/pm, h:nn:ss (TZ:z.zz)".
std::string LocalDateTimeLine(TDateTime local, double zone, const TextFormat &format);
// The date line beside "Natal: " and "Evento: ": "mmm d yyyy, hh:nn:ss am/pm" and "  (TZ:z.zz)" or "  GMT".
std::string DateLine(TDateTime value, bool gmt, double zone, const TextFormat &format);

// The natal chart's data box: the name ("Natal" when unknown), the date line, the place with its country
// and coordinates, the house system, the zodiac and Delta T.
graphics::ChartCaption NatalCaption(const PageHeading &heading, double deltaT, bool deltaTApplied,
                                    const TextFormat &format);

// The title of the page.
std::string PageTitle(PageKind page, const PageView &view);
// The information lines: those written down the left of a printed page, and those of a double wheel
// written in a second column at the right ("Evento: ", "Rueda Int:", "Rueda Ext:").
struct InformationLines {
    std::vector<std::string> left;
    std::vector<std::string> right;
};
// With `dataBox` the page also prints the natal chart's data box: the lines that would repeat its facts
// (the natal label, date, place and coordinates) are left out, so each is printed once and in one form.
InformationLines PageInformation(PageKind page, const PageHeading &heading, const PageView &view,
                                 const TextFormat &format, bool dataBox = false);
// The heading paragraphs after the program caption, before the title: the information lines in order.
std::vector<std::string> HeadingLines(PageKind page, const PageHeading &heading, const PageView &view,
                                      const TextFormat &format);

// A glyph set of the chart graphics as the writer draws it.
class GlyphSetPainter : public GlyphPainter {
public:
    explicit GlyphSetPainter(const graphics::GlyphSet &set) : set_(set) {}
    int Size() const override { return set_.Size(); }
    void Draw(QPainter &painter, int picture, int x, int y, std::uint32_t tint) const override;

private:
    const graphics::GlyphSet &set_;
};
const GlyphPainter &NormalGlyphPainter();
const GlyphPainter &LargeGlyphPainter();

// The charts and choices of the workspace.
struct ChartState {
    const settings::Settings &settings;
    const settings::RecVistaCarta &view;
    const chart::TDataAstro &natal;
    const chart::TDataAstro &event;
    const chart::TDataProg &progressions;
    const analysis::AspectLists &aspects; // natal lists and the current pair's lists
    TextFormat format;
};

// The page choices that are not in the view record.
struct PageChoices {
    bool showStrength = false;     // "%"
    bool natalAscensional = false; // "R. Asc." (else "R. Ecl.")
    bool ambos = false;            // both natal models
    int house = 0;                 // current house of the by-house natal list (view aspect mode 1)
    graphics::GraphKind graphKind = graphics::GraphKind::Histogram;
    int graphItemA = 1; // the two chart items of the diagrams
    int graphItemB = 2;
    int summaryItem = 1; // the chart item of "Resumen"
    int ppi = 96;
    int previewPpi = 96;
};

// The four lines of the progressions label: age, ARMCs, arcs, secondary-direction date and its ARMC.
std::array<std::string, 4> ProgressionLines(const chart::TDataAstro &natal, const chart::TDataAstro &event,
                                            const chart::TDataProg &progressions, const TextFormat &format);

// The progressions grid (12 columns, 25 rows) with its signs and retrograde marks.
void FillProgressionsGrid(Grid &grid, ProgGridMarks &marks, const chart::TDataProg &progressions, bool retro,
                          const TextFormat &format);

// Everything a page shows.
struct PageContent {
    PageKind page = PageKind::Rueda;
    int ppi = 96;        // screen resolution, for twips
    int previewPpi = 96; // print preview resolution: 120 or more gives the larger pictures
    PageHeading heading;
    PageView view;
    TextFormat format;

    // The wheel page's data box.
    graphics::ChartCaption caption;

    // Wheel and diagrams: draw onto a square picture (the wheel's comes filled red).
    std::function<void(QImage &picture)> drawWheel;
    std::function<void(QImage &picture)> drawDiagrams;
    // The same drawn through a painter on any device (preview, printer, PDF) as vectors, into a square
    // of `side` pixels of 96 per inch at the painter's origin. When absent the picture is used.
    std::function<void(QPainter &painter, int side)> paintWheel;
    std::function<void(QPainter &painter, int side)> paintDiagrams;

    // "Tabla": the aspect table (its 26 item and header columns are written), glyphs per "ImagenT".
    Grid aspectTable;
    const GlyphPainter *tableGlyphs = nullptr;
    bool showStrength = false; // "%"
    // Paints one cell of the table inside its rectangle as the screen does (tints, relation fills);
    // when absent the cells are drawn in black by the table glyphs.
    std::function<void(QPainter &painter, const QRect &rect, int column, int row, const std::string &text)>
        paintAspectCell;

    // "Listado" and "Natal": the detail grid, the renderer of its codes and "peq.".
    Grid detail;
    CodeRenderer renderCode;
    CodeRenderer paintCode; // the same through any painter as vectors (the printed pages)
    bool smallImages = false;
    bool ambos = false; // "Natal" with both models: a cell holds two codes split by "/"

    // Progressions: the grid, its signs and retrograde marks, and the small glyph set.
    Grid progressions;
    ProgGridMarks progressionMarks;
    const GlyphPainter *smallGlyphs = nullptr;

    // Speculum of the natal and of the event chart.
    Grid natalSpeculum;
    Grid eventSpeculum;

    // "Resumen": the two summary grids of the chosen item and the painter of their cells.
    Grid bodySummary;
    Grid distribution;
    std::function<void(QPainter &painter, const QRect &rect, int grid, int column, int row,
                       const std::string &text)>
        paintSummaryCell;

    // "Tránsitos": the listing (a heading row, then a row per event) and its timeline over the period.
    Grid listing;
    std::vector<graphics::TimelineRow> timeline;
    double timelineFrom = 0, timelineTo = 0;
};

// The complete content of one page. The callbacks keep the references of `state`: the charts and settings
// it names must outlive the document.
PageContent MakePageContent(PageKind page, const ChartState &state, const PageChoices &choices,
                            const PageHeading &heading);

} // namespace cel::document
