#include "document/page_content.h"

#include <QPainter>

#include <memory>

#include "analysis/grid_layouts.h"
#include "analysis/points.h"
#include "analysis/tables.h"
#include "analysis/text_grid.h"
#include "astronomy/angle_text.h"
#include "common/date_text.h"
#include "common/number_text.h"
#include "graphics/canvas.h"
#include "graphics/cell_painters.h"
#include "graphics/wheel.h"
#include "session/birth_time.h"

namespace cel::document {

namespace {

std::string ZoneText(double zone, const TextFormat &format) {
    return "(TZ:" + FormatFixed(zone, 2, format.decimalSeparator, 2) + ")";
}

bool IsReport(PageKind page) {
    return page == PageKind::Progresiones || page == PageKind::Speculum || page == PageKind::Resumen ||
           page == PageKind::Diagramas || page == PageKind::Transitos;
}

// The text without its trailing blanks: the natal label ends in two, which must not stand before a comma.
std::string TrimRight(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// Angles over the whole circle: wrap 360, so that 180°30' is not written as 00°30'.
std::string WholeCircle(long double x, const TextFormat &format) {
    return astronomy::FormatAngle(360, 0, astronomy::AngleSuffix::None,
                                  astronomy::AngleLayout::DegreesMinutesSeconds, x, format);
}

Grid FromTextGrid(const analysis::TextGrid &grid, const std::vector<int> &widths, int rowHeight,
                  const TextFont &font) {
    Grid out;
    out.columnWidths = widths;
    out.columnWidths.resize(static_cast<std::size_t>(grid.ColumnCount()),
                            widths.empty() ? 64 : widths.back());
    out.rowHeight = rowHeight;
    out.cells = grid.Rows();
    out.font = font;
    return out;
}

std::string ItemName(int item) {
    return item >= 1 && item <= chart::kItemCount ? chart::kItemNames[static_cast<std::size_t>(item)] : "";
}

const chart::RecDataProg &Item(const chart::TDataProg &progressions, int item) {
    const int i = item >= 1 && item <= chart::kItemCount ? item : 1;
    return progressions.items[static_cast<std::size_t>(i)];
}

// The aspect table of the view with the screen's cell painter: the "Tabla" page, and the wheel page's
// aspect grid.
void AddAspectTable(PageContent &in, const ChartState &state, const PageChoices &choices) {
    const settings::RecVistaCarta &view = state.view;
    const bool doubleWheel = view.wheelMode == settings::kDoubleWheel;
    analysis::TextGrid table;
    analysis::SetUpAspectTable(table, view, false);
    const analysis::TableLists lists = analysis::SelectTableLists(view, state.aspects);
    analysis::FillAspectTable(table, doubleWheel, *lists.bodies, *lists.bodyCusp, lists.cuspBody,
                              *lists.cusps, view);
    const bool large = view.largeImagesTable;
    // Room for the glyph, and for "100%" when the strength is shown; 26 such columns still fit
    // across a Letter page.
    const int width = (large ? 22 : 16) + (choices.showStrength ? 4 : 0);
    in.aspectTable = FromTextGrid(table, {width}, large ? 20 : 16, TextFont{"Arial", large ? 9 : 8});
    in.tableGlyphs = large ? &LargeGlyphPainter() : &NormalGlyphPainter();
    in.showStrength = choices.showStrength;
    auto context = std::make_shared<graphics::CellContext>(state.progressions, state.view, state.aspects,
                                                           state.settings.dignity);
    context->gridFont.family = QStringLiteral("Arial");
    context->format = state.format;
    graphics::SetRelationColours(*context, state.settings);
    const bool percent = choices.showStrength;
    in.paintAspectCell = [context, percent](QPainter &painter, const QRect &rect, int column, int row,
                                            const std::string &text) {
        graphics::Canvas canvas(painter, rect.size() + QSize(rect.x(), rect.y()));
        graphics::PaintAspectCell(canvas, rect, column, row, text, false, percent, *context);
    };
}

} // namespace

std::string LocalDateTimeLine(TDateTime local, double zone, const TextFormat &format) {
    return FormatDateTimeText(local, "dddd, mmm-d-yyyy, h:nn:ss am/pm, ", format) +
           FormatDateTimeText(local, "h:nn:ss", format) + " " + ZoneText(zone, format);
}

std::string DateLine(TDateTime value, bool gmt, double zone, const TextFormat &format) {
    return FormatDateTimeText(value, "mmm d yyyy, hh:nn:ss am/pm", format) +
           (gmt ? std::string("  GMT") : "  " + ZoneText(zone, format));
}

std::string PageTitle(PageKind page, const PageView &view) {
    switch (page) {
    case PageKind::Rueda:
        return view.doubleWheel ? "Rueda doble: " + view.innerItemName + " - " + view.outerItemName
                                : view.innerItemName;
    case PageKind::Tabla:
        return view.doubleWheel ? std::string("Tabla de aspectos")
                                : "Tabla de aspectos " + view.innerItemName;
    case PageKind::Listado:
        return view.doubleWheel ? "Lista aspectos: Item Izq." + view.outerItemName + " - " + "Item Der." +
                                      view.innerItemName
                                : "Lista aspectos: " + view.innerItemName;
    case PageKind::Natal: {
        std::string title = view.natalByHouse ? "Lista aspectos natales. Casa: " + std::to_string(view.house)
                                              : std::string("Lista aspectos natales");
        return title + (view.natalAscensional ? ". Según modelo ascensional" : ". Según modelo eclíptico");
    }
    case PageKind::Progresiones:
        return "Lista Progresiones";
    case PageKind::Speculum:
        return "Speculum";
    case PageKind::Resumen:
        return "Resumen " + (view.summaryItemName.empty() ? view.innerItemName : view.summaryItemName);
    case PageKind::Diagramas:
        return "Diagramas";
    case PageKind::Transitos:
        return view.listingTitle.empty() ? std::string("Tránsitos") : view.listingTitle;
    }
    return {};
}

InformationLines PageInformation(PageKind page, const PageHeading &heading, const PageView &view,
                                 const TextFormat &format, bool dataBox) {
    InformationLines info;
    std::vector<std::string> &lines = info.left;
    if (IsReport(page)) {
        lines.push_back(TrimRight(heading.natalLabel) + ", " + heading.natalDateLine +
                        ". Evento: " + heading.eventDateLine);
        if (page == PageKind::Progresiones) {
            lines.push_back(heading.progressionLines[0]);
            lines.push_back(heading.progressionLines[1]);
            lines.push_back(heading.progressionLines[2] + " . " + heading.progressionLines[3]);
        }
        return info;
    }
    if (!dataBox)
        lines.push_back(heading.natalLabel);
    if (heading.synastry) {
        if (!dataBox)
            lines.push_back(heading.natalDateLine);
        lines.push_back("Rueda Int: " + view.innerItemName);
    } else if (!dataBox) {
        lines.push_back(heading.place + ", " + heading.country);
        lines.push_back("Lon:" + heading.longitudeText + ", Lat:" + heading.latitudeText);
        lines.push_back(LocalDateTimeLine(heading.natalLocal, heading.zone, format) +
                        (heading.natalTimeUnknown ? ", " + session::kTimeUnknownMark : std::string()));
    }
    if (view.doubleWheel && page != PageKind::Natal) {
        // Natal ecliptic inside natal ascensional is about the person alone: no event line.
        if (!(view.innerItem == chart::kNatalEcliptic && view.outerItem == chart::kNatalAscensional))
            info.right.push_back(heading.eventLabel + heading.eventDateLine);
        if (!heading.synastry)
            info.right.push_back("Rueda Int: " + view.innerItemName);
        info.right.push_back("Rueda Ext: " + view.outerItemName);
    }
    return info;
}

std::vector<std::string> HeadingLines(PageKind page, const PageHeading &heading, const PageView &view,
                                      const TextFormat &format) {
    InformationLines info = PageInformation(page, heading, view, format);
    info.left.insert(info.left.end(), info.right.begin(), info.right.end());
    return info.left;
}

void GlyphSetPainter::Draw(QPainter &painter, int picture, int x, int y, std::uint32_t tint) const {
    const QColor colour(static_cast<int>(tint & 0xFF), static_cast<int>((tint >> 8) & 0xFF),
                        static_cast<int>((tint >> 16) & 0xFF));
    // The glyph's outline filled in the colour; the rest of its box leaves the picture unchanged.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    set_.Draw(painter, picture, QRectF(x, y, set_.Size(), set_.Size()), colour);
    painter.restore();
}

const GlyphPainter &NormalGlyphPainter() {
    static const GlyphSetPainter painter(graphics::GlyphSet::Normal());
    return painter;
}

const GlyphPainter &LargeGlyphPainter() {
    static const GlyphSetPainter painter(graphics::GlyphSet::Large());
    return painter;
}

std::array<std::string, 4> ProgressionLines(const chart::TDataAstro &natal, const chart::TDataAstro &event,
                                            const chart::TDataProg &progressions, const TextFormat &format) {
    const std::string date =
        FormatDateTimeText(progressions.progressedInstant, "mmm dd yyyy, hh:nn:ss", format) + " GMT";
    return {"Edad: " + astronomy::FormatAge(natal.instant, event.instant) + " [" +
                FormatFixed(static_cast<double>(progressions.age), 4, format.decimalSeparator, 2) + " días]",
            "ARMC. Nat: " + WholeCircle(natal.armc, format) + ", Eve: " + WholeCircle(event.armc, format),
            "Arco. DP: " + WholeCircle(progressions.primaryArc, format) +
                ", Solar: " + WholeCircle(progressions.solarArc, format),
            "Fecha DS: " + date + ", ARMC: " + WholeCircle(progressions.progressedArmc, format)};
}

void FillProgressionsGrid(Grid &grid, ProgGridMarks &marks, const chart::TDataProg &progressions, bool retro,
                          const TextFormat &format) {
    constexpr int kRows = 25;
    constexpr int kColumns = chart::kItemCount + 1;
    grid.cells.assign(kRows, std::vector<std::string>(kColumns));
    marks.sign.assign(kRows, std::vector<int>(kColumns, 0));
    marks.retro.assign(kRows, std::vector<bool>(kColumns, false));
    marks.showRetro = retro;
    for (int c = 1; c < kColumns; ++c)
        grid.cells[0][static_cast<std::size_t>(c)] = chart::kItemColumns[static_cast<std::size_t>(c)];
    for (int r = 13; r <= 24; ++r)
        grid.cells[static_cast<std::size_t>(r)][0] = std::to_string(r - 12);
    for (int c = 1; c < kColumns; ++c) {
        const chart::RecDataProg &item = progressions.items[static_cast<std::size_t>(c)];
        for (int r = 1; r <= 24; ++r) {
            long double value;
            int sign;
            if (r <= 12) {
                const chart::RecPlanetaSimple &body = item.bodies[static_cast<std::size_t>(r)];
                value = body.position;
                sign = body.sign;
                marks.retro[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = body.retrograde != 0;
            } else {
                const chart::CuspEntry &cusp = item.cusps[static_cast<std::size_t>(r - 12)];
                value = cusp.cusp;
                sign = cusp.sign;
            }
            std::string text;
            if (c <= 9) {
                text = astronomy::FormatSignPosition(0, astronomy::AngleLayout::DegreesMinutesSeconds,
                                                     value - (sign - 1) * 30.0L, format);
                marks.sign[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = sign;
            } else {
                // The meridian-distance items keep their quadrant in the sign field.
                text = astronomy::FormatAngle(91, 0, astronomy::AngleSuffix::None,
                                              astronomy::AngleLayout::DegreesMinutesSeconds, value, format) +
                       " (" + std::to_string(sign) + ")";
            }
            grid.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = text;
        }
    }
    grid.columnWidths.assign(kColumns, 52);
    grid.columnWidths[0] = 24;
    grid.columnWidths[10] = grid.columnWidths[11] = 68;
    grid.rowHeight = 18;
    grid.font = TextFont{"Arial", 8};
}

graphics::ChartCaption NatalCaption(const PageHeading &heading, double deltaT, bool deltaTApplied,
                                    const TextFormat &format) {
    graphics::ChartCaption caption;
    caption.name = heading.natalName.empty() ? std::string("Natal") : heading.natalName;
    caption.dateTime = heading.natalDateLine;
    caption.place = heading.place;
    if (!heading.country.empty())
        caption.place += (caption.place.empty() ? "" : ", ") + heading.country;
    caption.coordinates = heading.longitudeText + "  " + heading.latitudeText;
    caption.deltaT = graphics::DeltaTText(deltaT, deltaTApplied, format);
    return caption;
}

PageContent MakePageContent(PageKind page, const ChartState &state, const PageChoices &choices,
                            const PageHeading &heading) {
    const settings::RecVistaCarta &view = state.view;
    PageContent in;
    in.page = page;
    in.ppi = choices.ppi;
    in.previewPpi = choices.previewPpi;
    in.heading = heading;
    in.format = state.format;
    in.view.doubleWheel = view.wheelMode == settings::kDoubleWheel;
    in.view.innerItem = view.innerItem;
    in.view.outerItem = view.outerItem;
    in.view.innerItemName = ItemName(view.innerItem);
    in.view.outerItemName = ItemName(view.outerItem);
    in.view.natalByHouse = view.aspectMode == settings::AspectMode::ByHouse;
    in.view.house = choices.house;
    in.view.natalAscensional = choices.natalAscensional;

    switch (page) {
    case PageKind::Rueda: {
        in.caption = NatalCaption(heading, state.natal.deltaT, state.natal.deltaTFlag == 1, state.format);
        const auto draw = [state](graphics::Canvas &canvas, const QRect &rect) {
            const graphics::WheelInput input{state.progressions, state.view, &state.aspects,
                                             graphics::WheelColoursFrom(state.settings)};
            graphics::DrawWheel(canvas, rect, graphics::GlyphSet::Choose(state.view.largeImagesWheel), input);
        };
        in.drawWheel = [draw](QImage &picture) {
            graphics::Canvas canvas(picture);
            draw(canvas, picture.rect());
        };
        in.paintWheel = [draw](QPainter &painter, int side) {
            graphics::Canvas canvas(painter, QSize(side, side));
            draw(canvas, QRect(0, 0, side, side));
        };
        AddAspectTable(in, state, choices); // for the aspect grid beside the wheel
        break;
    }
    case PageKind::Tabla:
        AddAspectTable(in, state, choices);
        break;
    case PageKind::Listado:
    case PageKind::Natal: {
        analysis::TextGrid detail;
        analysis::SetUpList(detail, 8);
        if (page == PageKind::Listado) {
            const analysis::TableLists lists = analysis::SelectTableLists(view, state.aspects);
            analysis::FillAspectList(detail, lists.source, *lists.bodies, *lists.bodyCusp, lists.cuspBody,
                                     *lists.cusps, view);
        } else {
            const analysis::NatalModel model =
                choices.natalAscensional ? analysis::NatalModel::Ascensional : analysis::NatalModel::Ecliptic;
            if (view.aspectMode == settings::AspectMode::ByHouse)
                analysis::FillNatalByHouse(
                    detail,
                    Item(state.progressions,
                         choices.natalAscensional ? chart::kNatalAscensional : chart::kNatalEcliptic),
                    model, choices.ambos, choices.house, state.aspects, view, state.settings.dignity);
            else
                analysis::FillNatalManual(detail, choices.ambos, model, state.aspects, view);
        }
        const bool small = state.settings.aspecto.peq;
        // The cell painters' context always draws with the normal glyph set, so the panels are laid
        // out for that set; "peq." still chooses the smaller font.
        const graphics::GlyphSet &glyphs = graphics::GlyphSet::Normal();
        const graphics::DetailOptions options = graphics::DetailOptionsFrom(state.settings);
        const graphics::PanelLayout layout =
            graphics::DefaultPanelLayout(options, glyphs, small, choices.ppi);
        const QSize half = graphics::PanelHalfSize(layout);
        const bool ambos = page == PageKind::Natal && choices.ambos;
        in.ambos = ambos;
        const int width = ambos ? static_cast<int>(half.width() * 2.2) : half.width();
        in.detail = FromTextGrid(detail, {width}, half.height(), TextFont{"Arial", small ? 7 : 9});
        auto context = std::make_shared<graphics::CellContext>(state.progressions, state.view, state.aspects,
                                                               state.settings.dignity);
        context->gridFont.family = QStringLiteral("Arial");
        context->gridFont.pointSize = small ? 7 : 9;
        context->format = state.format;
        context->screenPpi = choices.ppi;
        graphics::SetRelationColours(*context, state.settings);
        in.renderCode = [context, options, layout](QPainter &painter, int w, int h, const std::string &code) {
            painter.drawImage(0, 0, graphics::RenderCode(code, QSize(w, h), options, layout, *context));
        };
        in.paintCode = [context, options, layout](QPainter &painter, int w, int h, const std::string &code) {
            graphics::Canvas canvas(painter, QSize(w, h));
            graphics::PaintCode(canvas, code, QSize(w, h), options, layout, *context);
        };
        in.smallImages = small;
        break;
    }
    case PageKind::Progresiones:
        FillProgressionsGrid(in.progressions, in.progressionMarks, state.progressions, view.retrogradeMark,
                             state.format);
        in.smallGlyphs = &NormalGlyphPainter();
        break;
    case PageKind::Speculum: {
        std::vector<int> widths(8, 74);
        widths[0] = 34;
        analysis::TextGrid speculum;
        analysis::SetUpSpeculum(speculum);
        analysis::FillChartData(speculum, state.natal, state.format);
        in.natalSpeculum = FromTextGrid(speculum, widths, 18, TextFont{"Arial", 8});
        analysis::SetUpSpeculum(speculum);
        analysis::FillChartData(speculum, state.event, state.format);
        in.eventSpeculum = FromTextGrid(speculum, widths, 18, TextFont{"Arial", 8});
        break;
    }
    case PageKind::Diagramas: {
        const auto draw = [state, choices](graphics::Canvas &canvas, int side) {
            const graphics::DiagramItem a{Item(state.progressions, choices.graphItemA),
                                          QString::fromStdString(ItemName(choices.graphItemA))};
            const graphics::DiagramItem b{Item(state.progressions, choices.graphItemB),
                                          QString::fromStdString(ItemName(choices.graphItemB))};
            const graphics::DiagramSettings settings{state.settings.txt, state.settings.points,
                                                     state.settings.dignity, state.format};
            graphics::DrawDiagrams(canvas, side, graphics::GlyphSet::Normal(), state.settings.rueda.color,
                                   choices.graphKind, a, b, settings);
        };
        in.drawDiagrams = [draw](QImage &picture) {
            graphics::Canvas canvas(picture);
            draw(canvas, picture.width());
        };
        in.paintDiagrams = [draw](QPainter &painter, int side) {
            graphics::Canvas canvas(painter, QSize(side, side));
            draw(canvas, side);
        };
        break;
    }
    case PageKind::Resumen: {
        const chart::RecDataProg &item = Item(state.progressions, choices.summaryItem);
        in.view.summaryItemName = ItemName(choices.summaryItem);
        analysis::TextGrid grid;
        analysis::SetUpBodySummary(grid);
        analysis::FillBodySummary(grid, item, state.settings.dignity);
        std::vector<int> widths(static_cast<std::size_t>(grid.ColumnCount()), 36);
        if (!widths.empty())
            widths[0] = 44;
        in.bodySummary = FromTextGrid(grid, widths, 18, TextFont{"Arial", 8});
        analysis::SetUpDistribution(grid, state.settings.txt);
        analysis::FillDistributionGrid(grid, item, state.settings.points, state.format);
        widths.assign(static_cast<std::size_t>(grid.ColumnCount()), 36);
        if (!widths.empty())
            widths[0] = 60;
        in.distribution = FromTextGrid(grid, widths, 18, TextFont{"Arial", 8});
        auto context = std::make_shared<graphics::CellContext>(state.progressions, state.view, state.aspects,
                                                               state.settings.dignity);
        context->gridFont.family = QStringLiteral("Arial");
        context->format = state.format;
        in.paintSummaryCell = [context](QPainter &painter, const QRect &rect, int grid, int column, int row,
                                        const std::string &text) {
            graphics::Canvas canvas(painter, rect.size() + QSize(rect.x(), rect.y()));
            graphics::PaintSummaryCell(canvas, rect, grid, column, row, text, *context);
        };
        break;
    }
    case PageKind::Transitos:
        break; // the listing's window fills the listing and the timeline
    }
    return in;
}

} // namespace cel::document
