// The paged document behind the preview, the printer, PDF and the RTF export: pages of a paper size and
// orientation with margins, a centred header caption and footer captions, and texts and drawings
// placed in millimetres from the page's top-left corner.
#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPointF>
#include <QRectF>
#include <QSize>

#include <functional>
#include <string>
#include <vector>

#include "document/grid.h"
#include "document/page_content.h"

class QPainter;

namespace cel::document {

// Pictures and grids are laid out in pixels of 96 per inch.
inline constexpr double kMmPerPixel = 25.4 / 96.0;
// The height of the header caption's line; H is the top margin plus this.
inline constexpr double kHeaderCaptionHeight = 6.0;

// The left footer caption: "Celestigrafo  Versión 0.02.00" (two blanks before the version).
std::string FooterCaption();

struct PageText {
    QPointF at; // top-left corner of the text's line, millimetres
    std::string text;
    TextFont font{"Arial", 9};
    bool opaque = false; // on a white ground, over a picture
};

// A picture or a grid: painted through a painter whose origin is the drawing's top-left corner and
// whose unit is one pixel of 96 per inch, so it comes out as vectors on any device.
struct PageDrawing {
    enum class Kind { Wheel, Diagrams, Grid, Code, Picture };
    Kind kind = Kind::Picture;
    QRectF rect; // millimetres
    std::string name;
    std::function<void(QPainter &painter)> paint;
};

struct Page {
    QPageSize paper{QPageSize::Letter};
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins; // millimetres: left, top, right, bottom
    std::string headerCaption;
    TextFont headerFont{"Arial", 12, false, false, true};
    std::string footerLeft;
    std::string footerCentre;
    std::string footerRight;
    TextFont footerLeftFont{"Arial", 8, true};
    TextFont footerFont{"Arial", 8};
    std::vector<PageText> texts;
    std::vector<PageDrawing> drawings;

    // The paper's size in millimetres in the page's orientation.
    QSizeF SizeMm() const;
    // H: the top margin plus the header caption's height.
    double HeaderHeight() const { return margins.top() + kHeaderCaptionHeight; }
    QPageLayout Layout() const;
};

struct Document {
    PageContent content; // what the pages were composed from; the RTF export writes the same
    bool landscape = false;
    std::vector<Page> pages;
};

} // namespace cel::document
