#include "document/layout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "document/cell_drawing.h"
#include "document/text_painting.h"

namespace cel::document {

namespace {

constexpr double kLineStep = 3.5; // information lines, millimetres apart at the least
constexpr int kPrintPpi = 300;    // pictures without a vector painter are drawn at this resolution
constexpr double kGap = 4;        // millimetres between the heading lines and the page's content

double Mm(int pixels) {
    return pixels * kMmPerPixel;
}

// A square picture of `side` pixels: through the painter as vectors, else a picture at print resolution.
std::function<void(QPainter &)> SquarePicture(const std::function<void(QPainter &, int)> &paint,
                                              const std::function<void(QImage &)> &draw, int side,
                                              QColor background) {
    return [paint, draw, side, background](QPainter &painter) {
        painter.fillRect(QRect(0, 0, side, side), Qt::white);
        if (paint) {
            paint(painter, side);
            return;
        }
        if (!draw)
            return;
        const int printSide = static_cast<int>(std::lround(side * kPrintPpi / 96.0));
        QImage picture(printSide, printSide, QImage::Format_RGB32);
        picture.fill(background);
        draw(picture);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(QRectF(0, 0, side, side), picture);
    };
}

void PaintTextCell(QPainter &painter, const QRect &rect, const std::string &text, const TextFont &font,
                   bool underline = false) {
    TextFont f = font;
    f.underline = f.underline || underline;
    painter.setFont(MakeFont(f));
    painter.setPen(TextColour(f));
    painter.drawText(rect.adjusted(3, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString(text));
}

PageDrawing TextGridDrawing(const Grid &grid, QPointF at, std::string name) {
    const TextFont font = grid.font;
    return GridDrawing(grid, at, std::move(name),
                       [grid](QPainter &painter, const QRect &rect, int column, int row) {
                           PaintTextCell(painter, rect, grid.Cell(column, row), grid.font);
                       });
}

// Widens each column to hold its widest text with some air on both sides, plus `extra(column)` pixels
// (room for a glyph beside the text); a column never gets narrower.
constexpr int kCellAir = 8; // pixels: the text's inset at the left and a gap before the next column

void WidenToTexts(Grid &grid, const std::function<int(int column)> &extra = {}) {
    const QFontMetricsF metrics(MakeFont(grid.font));
    for (int c = 0; c < grid.ColumnCount(); ++c) {
        double widest = 0;
        for (int r = 0; r < grid.RowCount(); ++r)
            widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(grid.Cell(c, r))));
        int &width = grid.columnWidths[static_cast<std::size_t>(c)];
        width = std::max(width, static_cast<int>(std::ceil(widest)) + kCellAir + (extra ? extra(c) : 0));
    }
}

// The drawing scaled by `scale` about its top-left corner: its rectangle and everything it paints.
PageDrawing Scaled(PageDrawing drawing, double scale) {
    if (scale == 1.0)
        return drawing;
    drawing.rect.setSize(drawing.rect.size() * scale);
    drawing.paint = [paint = std::move(drawing.paint), scale](QPainter &painter) {
        painter.scale(scale, scale);
        paint(painter);
    };
    return drawing;
}

// The drawing shrunk, when it is wider than `width` millimetres, to that width.
PageDrawing FitWidth(PageDrawing drawing, double width) {
    const double wide = drawing.rect.width();
    return wide > width ? Scaled(std::move(drawing), width / wide) : drawing;
}

void AddText(Page &page, double x, double y, const std::string &text, const TextFont &font = {"Arial", 9}) {
    page.texts.push_back(PageText{QPointF(x, y), text, font});
}

// A line wider than `room` millimetres breaks after its last ". " or ", " (else blank) that fits, so no
// text runs off the paper; a word longer than the room stays whole.
std::vector<std::string> BreakLine(const std::string &line, double room, const TextFont &font) {
    const QFontMetricsF metrics(MakeFont(font));
    const auto width = [&metrics](const std::string &text) {
        return metrics.horizontalAdvance(QString::fromStdString(text)) * kMmPerPixel;
    };
    std::vector<std::string> lines;
    std::string rest = line;
    while (width(rest) > room) {
        std::size_t cut = std::string::npos;
        for (const char *mark : {". ", ", ", " "}) {
            for (std::size_t at = rest.find(mark); at != std::string::npos; at = rest.find(mark, at + 1))
                if (at > 0 && width(rest.substr(0, at + 1)) <= room)
                    cut = at + 1;
            if (cut != std::string::npos)
                break;
        }
        if (cut == std::string::npos)
            break;
        lines.push_back(rest.substr(0, cut));
        const std::size_t next = rest.find_first_not_of(' ', cut);
        rest = next == std::string::npos ? std::string() : rest.substr(next);
    }
    if (!rest.empty() || lines.empty())
        lines.push_back(rest);
    return lines;
}

// Writes the lines from (x, top) down, each broken to the room left of `right` millimetres; returns the
// bottom of the last line.
double AddLines(Page &page, double x, double top, double right, const std::vector<std::string> &lines) {
    double y = top;
    for (const std::string &line : lines)
        for (const std::string &part : BreakLine(line, right - x, {"Arial", 9})) {
            AddText(page, x, y, part);
            y += InformationLineStep();
        }
    return y;
}

// The room for the page's content: between the margins, below `top`, above the footer.
QRectF ContentArea(const Page &page, double top) {
    const QSizeF size = page.SizeMm();
    const QMarginsF &m = page.margins;
    return {QPointF(m.left(), top), QPointF(size.width() - m.right(), size.height() - m.bottom())};
}

} // namespace

double InformationLineStep() {
    // The font's own line spacing, so a line's descenders never reach into the next line.
    static const double step =
        std::max(kLineStep, QFontMetricsF(MakeFont({"Arial", 9})).lineSpacing() * kMmPerPixel);
    return step;
}

double HeadingTop(const Page &page) {
    return page.HeaderHeight() + kHeadingOffset;
}

QPageLayout::Orientation PageOrientation(PageKind kind, bool landscape) {
    if (kind == PageKind::Rueda)
        return landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    return kind == PageKind::Progresiones || kind == PageKind::Transitos ? QPageLayout::Landscape
                                                                         : QPageLayout::Portrait;
}

QMarginsF PageMargins(QPageLayout::Orientation orientation) {
    const double vertical = orientation == QPageLayout::Landscape ? 10 : 20;
    return {20, vertical, 20, vertical};
}

int WheelPictureSide(QSizeF pageMm) {
    return static_cast<int>(std::min(pageMm.width(), pageMm.height() - 20) * 1.225 * 2.6);
}

int DiagramPictureSide(int previewPpi) {
    return previewPpi >= 120 ? 840 : 675;
}

PageDrawing GridDrawing(const Grid &grid, QPointF atMm, std::string name,
                        std::function<void(QPainter &, const QRect &, int column, int row)> paintCell) {
    int width = 0;
    for (int w : grid.columnWidths)
        width += w;
    const int height = grid.rowHeight * grid.RowCount();
    PageDrawing drawing;
    drawing.kind = PageDrawing::Kind::Grid;
    drawing.name = std::move(name);
    drawing.rect = QRectF(atMm, QSizeF(Mm(width), Mm(height)));
    const std::vector<int> widths = grid.columnWidths;
    const int rows = grid.RowCount();
    const int rowHeight = grid.rowHeight;
    drawing.paint = [widths, rows, rowHeight, paintCell, width, height](QPainter &painter) {
        painter.fillRect(QRect(0, 0, width, height), Qt::white);
        for (int r = 0; r < rows; ++r) {
            int x = 0;
            for (std::size_t c = 0; c < widths.size(); ++c) {
                const QRect cell(x, r * rowHeight, widths[c], rowHeight);
                painter.save();
                painter.setClipRect(cell);
                painter.translate(0, 0);
                paintCell(painter, cell, static_cast<int>(c), r);
                painter.restore();
                x += widths[c];
            }
        }
        // The cell borders: thin grey lines.
        QPen pen(QColor(160, 160, 160));
        pen.setWidthF(0.5);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        for (int r = 0; r <= rows; ++r)
            painter.drawLine(QPointF(0, r * rowHeight), QPointF(width, r * rowHeight));
        int x = 0;
        painter.drawLine(QPointF(0, 0), QPointF(0, height));
        for (int w : widths) {
            x += w;
            painter.drawLine(QPointF(x, 0), QPointF(x, height));
        }
    };
    return drawing;
}

PageDrawing AspectGridDrawing(const PageContent &content, QPointF atMm) {
    constexpr int kCell = 16;
    const bool square = content.view.doubleWheel;
    const int cells = square ? 13 : 12;
    PageDrawing drawing;
    drawing.kind = PageDrawing::Kind::Grid;
    drawing.name = "aspect grid";
    drawing.rect = QRectF(atMm, QSizeF(Mm(cells * kCell), Mm(cells * kCell)));
    const Grid table = content.aspectTable;
    const auto paintCell = content.paintAspectCell;
    drawing.paint = [table, paintCell, square, cells](QPainter &painter) {
        if (!paintCell)
            return;
        QPen pen(QColor(160, 160, 160));
        pen.setWidthF(0.5);
        // One cell: the table's cell (column, row) drawn at grid position (x, y), framed.
        const auto cell = [&](int x, int y, int column, int row) {
            const QRect rect(x * kCell, y * kCell, kCell, kCell);
            painter.save();
            painter.setClipRect(rect);
            paintCell(painter, rect, column, row, table.Cell(column, row));
            painter.restore();
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(rect));
        };
        if (square) {
            // Outer bodies across the top, inner bodies down the left.
            for (int b = 1; b <= 12; ++b) {
                cell(b, 0, b, 0);
                cell(0, b, 0, b);
                for (int c = 1; c <= 12; ++c)
                    cell(c, b, c, b);
            }
            return;
        }
        // The body's glyph on the diagonal, its aspects with the bodies before it to the left.
        for (int r = 1; r <= cells; ++r) {
            cell(r - 1, r - 1, r, 0);
            for (int c = 1; c < r; ++c)
                cell(c - 1, r - 1, c, r);
        }
    };
    return drawing;
}

double GridBottom(const Grid &grid, double y) {
    return y + Mm(grid.rowHeight * grid.RowCount());
}

Page &NewPage(Document &document) {
    Page page;
    page.orientation = PageOrientation(document.content.page, document.landscape);
    page.margins = PageMargins(page.orientation);
    document.pages.push_back(std::move(page));
    return document.pages.back();
}

double WritePageHeader(Document &document, const LayoutOptions &options, double columnRight) {
    if (document.pages.empty())
        NewPage(document);
    Page &page = document.pages.back();
    const PageContent &content = document.content;
    const double top = HeadingTop(page);
    const double left = page.margins.left();
    // The wheel page prints the natal chart's data box, which carries the natal lines' facts.
    const InformationLines info =
        PageInformation(content.page, content.heading, content.view, content.format,
                        content.page == PageKind::Rueda && !content.caption.name.empty());
    const double width = page.SizeMm().width();
    const double paperRight = width - page.margins.right();
    double bottom = top;
    if (columnRight > 0) {
        // One column beside the picture: the second column's lines follow the first's.
        std::vector<std::string> lines = info.left;
        lines.insert(lines.end(), info.right.begin(), info.right.end());
        bottom = AddLines(page, left, top, columnRight, lines);
    } else {
        const double right = paperRight - kRightColumn;
        bottom = AddLines(page, left, top, info.right.empty() ? paperRight : right - 2, info.left);
        bottom = std::max(bottom, AddLines(page, right, top, paperRight, info.right));
    }
    page.headerCaption = PageTitle(content.page, content.view);
    page.footerLeft = FooterCaption();
    page.footerRight = options.footerText;
    return bottom + kGap;
}

void FlowCodeCells(Document &document, const LayoutOptions &options, double top) {
    const PageContent &content = document.content;
    const Grid &detail = content.detail;
    const int columnWidth = detail.columnWidths.empty() ? 64 : detail.columnWidths.front();
    const double w = std::max(1.0, std::round(columnWidth / (content.ambos ? 3.8 : 3.2)));
    const double h = std::max(1.0, std::round(detail.rowHeight / 2.9));
    const int pictureWidth = static_cast<int>(3.5 * w);
    const int pictureHeight = static_cast<int>(2.9 * h);
    // Rows follow each other at the picture's height and a little air, so the list fills the page.
    const double rowStep = Mm(pictureHeight) + 1.5;
    const double headingStep = InformationLineStep() + 1;
    const TextFont font = detail.font;
    const CodeRenderer render = content.paintCode ? content.paintCode : content.renderCode;

    const double left = document.pages.back().margins.left();
    // As many cells as fit across between the margins, spread over the whole width.
    const Page &first = document.pages.back();
    const double across = first.SizeMm().width() - left - first.margins.right();
    const int perRow = std::max(1, static_cast<int>(std::floor(across / std::max(w, Mm(pictureWidth)))));
    const double step = std::max(w, across / perRow);
    double x = left;
    double y = top;
    // A new page when `need` millimetres more would pass the bottom margin; it starts below the header
    // lines. The check is made where a cell is about to be placed, so the list never ends on an empty page.
    const auto pageCheck = [&](double need) {
        const Page &page = document.pages.back();
        if (y + need > page.SizeMm().height() - page.margins.bottom() && !page.drawings.empty()) {
            NewPage(document);
            y = WritePageHeader(document, options);
            x = left;
        }
    };
    const auto rowFull = [&] {
        const Page &page = document.pages.back();
        return x + Mm(pictureWidth) > page.SizeMm().width() - page.margins.right() + 1e-9;
    };
    const auto place = [&](double at, int width, const std::string &code) {
        PageDrawing drawing;
        drawing.kind = PageDrawing::Kind::Code;
        drawing.name = code;
        drawing.rect = QRectF(at, y, Mm(width), Mm(pictureHeight));
        const int height = pictureHeight;
        drawing.paint = [render, width, height, code](QPainter &painter) {
            painter.fillRect(QRect(0, 0, width, height), Qt::white);
            if (render)
                render(painter, width, height, code);
        };
        document.pages.back().drawings.push_back(std::move(drawing));
    };
    for (int r = 0; r < detail.RowCount(); ++r)
        for (int c = 0; c < detail.ColumnCount(); ++c) {
            const std::string &text = detail.Cell(c, r);
            if (text.empty())
                continue;
            if (text[0] == ' ') {
                // A heading starts a row of its own and keeps at least one row of cells below it.
                if (x > left)
                    y += rowStep;
                x = left;
                pageCheck(headingStep + rowStep);
                AddText(document.pages.back(), left, y, text, font);
                y += headingStep;
                continue;
            }
            if (rowFull()) {
                x = left;
                y += rowStep;
            }
            pageCheck(Mm(pictureHeight));
            if (text[0] == '?') {
                AddText(document.pages.back(), x, y + h / 4, text, font);
            } else if (const std::size_t slash = text.find('/');
                       slash != std::string::npos && content.ambos) {
                place(x, pictureWidth / 2, text.substr(0, slash));
                place(x + w / 2, pictureWidth / 2, text.substr(slash + 1));
            } else {
                place(x, pictureWidth, text.substr(0, slash));
            }
            x += step;
        }
}

namespace {

// The data box's text: the heading lines' font.
graphics::TextStyle CaptionStyle() {
    graphics::TextStyle style;
    style.family = QStringLiteral("Arial");
    style.pointSize = 9;
    return style;
}
// The room the data box needs in one or two columns, millimetres.
QSizeF CaptionSizeMm(const graphics::ChartCaption &caption, int columns) {
    QImage probe(1, 1, QImage::Format_RGB32);
    graphics::Canvas canvas(probe);
    return graphics::ChartCaptionSize(canvas, caption, CaptionStyle(), columns) * kMmPerPixel;
}
// The data box drawn at the top-left of `rect` (millimetres), shrunk where it would not fit.
PageDrawing CaptionDrawing(const graphics::ChartCaption &caption, const QRectF &rect) {
    PageDrawing drawing;
    drawing.kind = PageDrawing::Kind::Picture;
    drawing.name = "data box";
    drawing.rect = rect;
    const QSizeF pixels = rect.size() / kMmPerPixel;
    drawing.paint = [caption, pixels](QPainter &painter) {
        graphics::Canvas canvas(painter, pixels.toSize());
        graphics::DrawChartCaption(canvas, QRectF(QPointF(0, 0), pixels), caption, CaptionStyle());
    };
    return drawing;
}

// The largest square that fits in `area`, of at most `side` pixels, as millimetres.
double SquareSideMm(const QRectF &area, int side) {
    return std::max(10.0, std::min({Mm(side), area.width(), area.height()}));
}

// Numbers every page "Página n de m" in the centre of its footer.
void NumberPages(Document &document) {
    const std::size_t count = document.pages.size();
    for (std::size_t i = 0; i < count; ++i)
        document.pages[i].footerCentre = "Página " + std::to_string(i + 1) + " de " + std::to_string(count);
}

} // namespace

void FlowListing(Document &document, const LayoutOptions &options, double top) {
    const PageContent &content = document.content;
    const Grid &listing = content.listing;
    const auto bottom = [&document] {
        const Page &page = document.pages.back();
        return page.SizeMm().height() - page.margins.bottom();
    };
    const auto newPage = [&] {
        NewPage(document);
        return WritePageHeader(document, options);
    };
    // The list: as many rows as fit on each page below the information line, the heading row on every page.
    int row = 1;
    while (row < listing.RowCount() || row == 1) {
        const int fit = std::max(1, static_cast<int>((bottom() - top) / Mm(listing.rowHeight)) - 1);
        Grid part = listing;
        part.cells.clear();
        if (!listing.cells.empty())
            part.cells.push_back(listing.cells.front());
        for (int r = row; r < std::min(listing.RowCount(), row + fit); ++r)
            part.cells.push_back(listing.cells[static_cast<std::size_t>(r)]);
        document.pages.back().drawings.push_back(TextGridDrawing(part, QPointF(20, top), "listing"));
        row += fit;
        if (row >= listing.RowCount())
            break;
        top = newPage();
    }
    // The timeline on pages of its own, as many rows on each as fit, across the page's width.
    const std::vector<graphics::TimelineRow> &rows = content.timeline;
    if (rows.empty())
        return;
    graphics::TimelineLayout timeline;
    for (int first = 0; first < static_cast<int>(rows.size());) {
        top = newPage();
        Page &page = document.pages.back();
        const int width = static_cast<int>((page.SizeMm().width() - 40) / kMmPerPixel);
        // The label column as wide as the labels need, up to a third of the page.
        if (first == 0)
            timeline = graphics::FitLabels({}, rows, QFont(), width / 3);
        const int room = static_cast<int>((bottom() - top) / kMmPerPixel);
        const int count = std::max(1, (room - timeline.axisHeight - 2) / timeline.rowHeight);
        const int shown = std::min(count, static_cast<int>(rows.size()) - first);
        const int height = graphics::TimelineHeight(shown, timeline);
        PageDrawing drawing;
        drawing.kind = PageDrawing::Kind::Picture;
        drawing.name = "timeline";
        drawing.rect = QRectF(20, top, Mm(width), Mm(height));
        const double from = content.timelineFrom, to = content.timelineTo;
        drawing.paint = [rows, from, to, first, shown, width, height, timeline](QPainter &painter) {
            graphics::DrawTimeline(painter, QRect(0, 0, width, height), rows, from, to, first, shown,
                                   timeline);
        };
        page.drawings.push_back(std::move(drawing));
        first += shown;
    }
}

void BuildDocument(Document &document, PageContent content, const LayoutOptions &options) {
    document.pages.clear();
    document.landscape = options.landscape;
    document.content = std::move(content);
    const PageContent &c = document.content;
    Page &page = NewPage(document);
    const QSizeF size = page.SizeMm();
    const double left = page.margins.left();
    switch (c.page) {
    case PageKind::Rueda: {
        const int side = WheelPictureSide(size);
        PageDrawing wheel;
        wheel.kind = PageDrawing::Kind::Wheel;
        wheel.name = "wheel";
        QRectF area;
        const bool grid = options.aspectGrid && c.paintAspectCell;
        const double gridSide = grid ? Mm((c.view.doubleWheel ? 13 : 12) * 16) : 0;
        if (page.orientation == QPageLayout::Landscape) {
            // The heading in a column at the left, the wheel in the room to its right; the data box
            // under the heading, the aspect grid at the bottom of the column.
            const QRectF content = ContentArea(page, page.HeaderHeight() + 2);
            const double sideMm = SquareSideMm(content.adjusted(kLandscapeColumn, 0, 0, 0), side);
            const double x = content.right() - sideMm;
            const double linesBottom = WritePageHeader(document, options, x - kGap);
            area = QRectF(x, content.top() + (content.height() - sideMm) / 2, sideMm, sideMm);
            const double gridTop = std::min(std::max(linesBottom, content.bottom() - gridSide - 2 * kGap),
                                            content.bottom() - gridSide);
            const double boxBottom = grid ? gridTop - kGap : content.bottom();
            const QSizeF need = CaptionSizeMm(c.caption, 1);
            if (boxBottom - linesBottom > 0)
                page.drawings.push_back(CaptionDrawing(
                    c.caption, QRectF(left, linesBottom, std::min(x - kGap - left, need.width() + 1),
                                      std::min(need.height(), boxBottom - linesBottom))));
            if (grid)
                page.drawings.push_back(AspectGridDrawing(c, QPointF(left, gridTop)));
        } else {
            // The wheel centred below the heading; under it the aspect grid at the left and the data box
            // beside it (or across the page).
            const QRectF content = ContentArea(page, WritePageHeader(document, options));
            const double boxX = grid ? left + gridSide + kGap : left;
            const QSizeF need = CaptionSizeMm(c.caption, 2);
            const double band = std::max(grid ? gridSide : 0.0, need.height());
            const double sideMm = SquareSideMm(content.adjusted(0, 0, 0, -(band + kGap)), side);
            // The wheel and the band under it stand in the middle of the room left below the heading.
            const double slack = std::max(0.0, content.height() - (sideMm + kGap + band));
            area = QRectF(content.left() + (content.width() - sideMm) / 2, content.top() + slack / 2, sideMm,
                          sideMm);
            const double bandTop = area.bottom() + kGap;
            if (grid)
                page.drawings.push_back(AspectGridDrawing(c, QPointF(left, bandTop)));
            page.drawings.push_back(
                CaptionDrawing(c.caption, QRectF(boxX, bandTop, content.right() - boxX,
                                                 std::min(need.height(), content.bottom() - bandTop))));
        }
        const double scale = area.width() / Mm(side);
        wheel.rect = area;
        const auto paint = SquarePicture(c.paintWheel, c.drawWheel, side, Qt::white);
        wheel.paint = [paint, scale](QPainter &painter) {
            painter.scale(scale, scale);
            paint(painter);
        };
        page.drawings.push_back(std::move(wheel));
        break;
    }
    case PageKind::Tabla: {
        const double top = WritePageHeader(document, options);
        // Printed with the normal glyph set whatever "ImagenT" chooses; the position columns stay on screen.
        Grid table = c.aspectTable;
        table.columnWidths.assign(std::min<std::size_t>(26, table.columnWidths.size()),
                                  16 + (c.showStrength ? 4 : 0));
        table.rowHeight = c.showStrength ? 24 : 16;
        const GlyphPainter &glyphs = NormalGlyphPainter();
        const bool strength = c.showStrength;
        const auto paintCell = c.paintAspectCell;
        PageDrawing drawing = GridDrawing(
            table, QPointF(left, top), "aspect table",
            [table, &glyphs, strength, paintCell](QPainter &painter, const QRect &rect, int column, int row) {
                if (paintCell) {
                    // As on screen: the aspects tinted by kind, the double table's relation fills.
                    paintCell(painter, rect, column, row, table.Cell(column, row));
                    return;
                }
                if (!AspectCellDrawn(table, column, row))
                    return;
                const QSize cell = AspectCellSize(table, column, glyphs, strength);
                painter.translate(rect.x() + std::max(0, (rect.width() - cell.width()) / 2),
                                  rect.y() + std::max(0, (rect.height() - cell.height()) / 2));
                PaintAspectCell(painter, table, column, row, glyphs, strength);
            });
        // Enlarged, cells and glyphs alike, to fill the room below the heading across or down the page.
        const QRectF room = ContentArea(page, top);
        const double scale = std::clamp(
            std::min(room.width() / drawing.rect.width(), room.height() / drawing.rect.height()), 0.5, 3.0);
        document.pages.back().drawings.push_back(Scaled(std::move(drawing), scale));
        break;
    }
    case PageKind::Listado:
    case PageKind::Natal:
        FlowCodeCells(document, options, WritePageHeader(document, options));
        break;
    case PageKind::Progresiones: {
        const double top = WritePageHeader(document, options);
        // Room in every column for its texts, and beside a position for its sign glyph with a gap; the
        // rows spread down the page; shrunk to the margins if need be.
        Grid grid = c.progressions;
        const ProgGridMarks marks = c.progressionMarks;
        const GlyphPainter &glyphs = c.smallGlyphs != nullptr ? *c.smallGlyphs : NormalGlyphPainter();
        for (std::size_t i = 0; i < grid.columnWidths.size(); ++i)
            grid.columnWidths[i] = i == 0 ? 30 : i <= 9 ? 74 : 86;
        WidenToTexts(grid, [&glyphs](int column) { return column <= 9 ? glyphs.Size() + 3 : 0; });
        const QRectF room = ContentArea(page, top);
        if (grid.RowCount() > 0)
            grid.rowHeight = std::clamp(static_cast<int>(room.height() / kMmPerPixel / grid.RowCount()),
                                        grid.rowHeight, 24);
        page.drawings.push_back(FitWidth(
            GridDrawing(grid, QPointF(left, top), "progressions",
                        [grid, marks, &glyphs](QPainter &painter, const QRect &rect, int column, int row) {
                            const int g = glyphs.Size();
                            QRect textRect = rect;
                            if (column == 0 && row >= 1 && row <= 12) {
                                glyphs.Draw(painter, 11 + row, rect.x() + 2,
                                            rect.y() + (rect.height() - g) / 2, 0);
                                textRect.setLeft(rect.left() + g + 2);
                            }
                            const bool retro = marks.showRetro && row >= 1 && row <= 12 && column >= 1 &&
                                               column <= 11 && marks.RetroAt(row, column);
                            PaintTextCell(painter, textRect, grid.Cell(column, row), grid.font, retro);
                            const int sign = column >= 1 && column <= 9 ? marks.SignAt(row, column) : 0;
                            if (sign >= 1 && sign <= 12)
                                glyphs.Draw(painter, sign - 1, rect.right() - g - 2,
                                            rect.y() + (rect.height() - g) / 2, 0);
                        }),
            room.width()));
        break;
    }
    case PageKind::Speculum: {
        const double top = WritePageHeader(document, options);
        // Columns as wide as their texts (a Julian day, a signed declination) with air between them, both
        // charts' tables alike; rows close enough for both on the page; shrunk to the margins if need be.
        const auto printed = [](Grid grid) {
            static constexpr int kWidths[] = {30, 80, 76, 80, 76, 100, 92, 92};
            for (std::size_t i = 0; i < grid.columnWidths.size(); ++i)
                grid.columnWidths[i] = i < std::size(kWidths) ? kWidths[i] : 80;
            grid.rowHeight = 15;
            WidenToTexts(grid);
            return grid;
        };
        Grid natal = printed(c.natalSpeculum);
        Grid event = printed(c.eventSpeculum);
        for (std::size_t i = 0; i < std::min(natal.columnWidths.size(), event.columnWidths.size()); ++i)
            natal.columnWidths[i] = event.columnWidths[i] =
                std::max(natal.columnWidths[i], event.columnWidths[i]);
        const double room = ContentArea(page, top).width();
        AddText(page, left, top, "Natal");
        page.drawings.push_back(
            FitWidth(TextGridDrawing(natal, QPointF(left, top + 5), "natal speculum"), room));
        // The event's speculum below the natal one, never over it.
        const double eventTop = page.drawings.back().rect.bottom() + 5;
        AddText(page, left, eventTop, "Evento");
        page.drawings.push_back(
            FitWidth(TextGridDrawing(event, QPointF(left, eventTop + 5), "event speculum"), room));
        break;
    }
    case PageKind::Resumen: {
        const double top = WritePageHeader(document, options);
        const auto paint = c.paintSummaryCell;
        const auto summary = [paint](const Grid &grid, int which) {
            return [paint, grid, which](QPainter &painter, const QRect &rect, int column, int row) {
                if (paint)
                    paint(painter, rect, which, column, row, grid.Cell(column, row));
                else
                    PaintTextCell(painter, rect, grid.Cell(column, row), grid.font);
            };
        };
        page.drawings.push_back(
            GridDrawing(c.bodySummary, QPointF(left, top), "summary 1", summary(c.bodySummary, 1)));
        const double second = GridBottom(c.bodySummary, top) + 6;
        page.drawings.push_back(
            GridDrawing(c.distribution, QPointF(left, second), "summary 2", summary(c.distribution, 2)));
        break;
    }
    case PageKind::Diagramas: {
        // 840 pixels of 120 per inch take the room of 675 of 96; the picture shrinks to the margins.
        const int side = DiagramPictureSide(c.previewPpi);
        const double ppi = c.previewPpi >= 120 ? 120.0 : 96.0;
        const QRectF content = ContentArea(page, WritePageHeader(document, options));
        const double sideMm = std::min({side * 25.4 / ppi, content.width(), content.height()});
        PageDrawing diagrams;
        diagrams.kind = PageDrawing::Kind::Diagrams;
        diagrams.name = "diagrams";
        diagrams.rect = QRectF(left, content.top(), sideMm, sideMm);
        const auto paint = SquarePicture(c.paintDiagrams, c.drawDiagrams, side, Qt::white);
        const double scale = sideMm / (side * kMmPerPixel);
        diagrams.paint = [paint, scale](QPainter &painter) {
            painter.scale(scale, scale);
            paint(painter);
        };
        page.drawings.push_back(std::move(diagrams));
        break;
    }
    case PageKind::Transitos:
        FlowListing(document, options, WritePageHeader(document, options));
        break;
    }
    NumberPages(document);
}

} // namespace cel::document
