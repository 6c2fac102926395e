// Paints the paged document with QPainter: on a preview picture, a printer or a PDF file, with text and
// lines as vectors and pictures at their own resolution.
#pragma once

#include <QImage>
#include <QString>

#include "document/document.h"

class QPagedPaintDevice;

namespace cel::document {

// Paints one page, the painter's unit being one pixel of 96 per inch from the paper's corner. The
// preview adds the margin guides as silver dotted lines.
void PaintPage(QPainter &painter, const Page &page, bool marginGuides);
// The page as a picture at `ppi` pixels per inch (the preview and its thumbnails).
QImage RenderPageImage(const Page &page, double ppi, bool marginGuides);
// Paints pages first..last (0-based, inclusive) on a printer or PDF writer, each in its own paper and
// orientation. The device should be set to the full page; false when painting cannot start.
bool PaintDocument(QPagedPaintDevice &device, const Document &document, int first, int last);
// Writes all pages to a PDF file (replacing it safely); false with the reason in `error`.
bool WritePdf(const Document &document, const QString &path, QString *error);

} // namespace cel::document
