// The print layout: the pages of each kind built from a page's content, with the information lines,
// captions and positions of the printed pages (millimetres from the page's top-left corner).
#pragma once

#include <string>

#include "document/document.h"

namespace cel::document {

struct LayoutOptions {
    bool landscape = false; // the wheel page's orientation; the other kinds choose their own
    std::string footerText; // the user's footer (setting "Footer"), the right footer caption
};

// The wheel prints as chosen, the progressions in landscape, everything else in portrait.
QPageLayout::Orientation PageOrientation(PageKind kind, bool landscape);
// Letter paper; margins 20 mm, top and bottom 10 mm in landscape.
QMarginsF PageMargins(QPageLayout::Orientation orientation);
// The side in pixels of the wheel's picture: [min(page width, page height - 20) x 1.225 x 2.6].
int WheelPictureSide(QSizeF pageMm);
// The side of the diagrams' picture: 675 pixels, 840 from 120 pixels per inch.
int DiagramPictureSide(int previewPpi);

// Clears the document and builds all its pages for the content's kind.
void BuildDocument(Document &document, PageContent content, const LayoutOptions &options);
// Starts a page in the document's orientation for its kind.
Page &NewPage(Document &document);
// Writes the information lines (Arial 9 at x = 30 from y = H + 22, 3.5 apart; a double wheel's lines
// at x = page width - 90) and sets the header and footer captions on the current (last) page.
void WritePageHeader(Document &document, const LayoutOptions &options);
// Places the cells of the detail grid as rendered pictures, flowing over pages from (15, H + 40).
void FlowCodeCells(Document &document, const LayoutOptions &options);
// The listing of transits on as many pages as it takes (its heading row on each), then its timeline.
void FlowListing(Document &document, const LayoutOptions &options);

// A grid as a drawing at (x, y) millimetres; paintCell draws one cell inside its rectangle (pixels).
PageDrawing GridDrawing(const Grid &grid, QPointF atMm, std::string name,
                        std::function<void(QPainter &, const QRect &, int column, int row)> paintCell);
// The bottom of a grid drawn at y, in millimetres.
double GridBottom(const Grid &grid, double y);

} // namespace cel::document
