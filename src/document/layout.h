// The print layout: the pages of each kind built from a page's content, with the information lines,
// captions and positions of the printed pages (millimetres from the page's top-left corner).
#pragma once

#include <string>

#include "document/document.h"

namespace cel::document {

struct LayoutOptions {
    bool landscape = false;  // the wheel page's orientation; the other kinds choose their own
    std::string footerText;  // the user's footer (setting "Footer"), the right footer caption
    bool aspectGrid = false; // the wheel page: the grid of the aspects between the bodies beside the wheel
};

// The wheel prints as chosen, the progressions in landscape, everything else in portrait.
QPageLayout::Orientation PageOrientation(PageKind kind, bool landscape);
// Letter paper; margins 20 mm, top and bottom 10 mm in landscape.
QMarginsF PageMargins(QPageLayout::Orientation orientation);
// The side in pixels of the wheel's picture: [min(page width, page height - 20) x 1.225 x 2.6].
int WheelPictureSide(QSizeF pageMm);
// The side of the diagrams' picture: 675 pixels, 840 from 120 pixels per inch.
int DiagramPictureSide(int previewPpi);

// The information lines start this far below H, and follow each other at InformationLineStep().
inline constexpr double kHeadingOffset = 4;
// The second column of a double wheel's information lines is this wide, against the right margin.
inline constexpr double kRightColumn = 80;
// A landscape wheel page keeps a column this wide at the left for the heading lines.
inline constexpr double kLandscapeColumn = 70;
double InformationLineStep();
double HeadingTop(const Page &page);

// Clears the document and builds all its pages for the content's kind; every page's footer centre
// reads "Página n de m".
void BuildDocument(Document &document, PageContent content, const LayoutOptions &options);
// Starts a page in the document's orientation for its kind.
Page &NewPage(Document &document);
// Writes the information lines (Arial 9 at the left margin from HeadingTop(); a double wheel's lines
// in a column of kRightColumn at the right margin, or below the others when columnRight > 0 puts them all in
// one column ending there) and sets the header and footer captions on the current (last) page. Returns where
// the page's content starts, below the lines.
double WritePageHeader(Document &document, const LayoutOptions &options, double columnRight = 0);
// Places the cells of the detail grid as rendered pictures from (left margin, top), row after row,
// flowing over as many pages as they fill.
void FlowCodeCells(Document &document, const LayoutOptions &options, double top);
// The listing of transits from `top` on as many pages as it takes (its heading row on each), then its
// timeline.
void FlowListing(Document &document, const LayoutOptions &options, double top);

// A grid as a drawing at (x, y) millimetres; paintCell draws one cell inside its rectangle (pixels).
PageDrawing GridDrawing(const Grid &grid, QPointF atMm, std::string name,
                        std::function<void(QPainter &, const QRect &, int column, int row)> paintCell);
// The aspects between the bodies of the page's aspect table as a grid at (x, y) millimetres: a triangle
// under the bodies' diagonal for one chart, a square of inner rows against outer columns for two.
PageDrawing AspectGridDrawing(const PageContent &content, QPointF atMm);
// The bottom of a grid drawn at y, in millimetres.
double GridBottom(const Grid &grid, double y);

} // namespace cel::document
