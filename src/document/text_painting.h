// The fonts and colours of the document's texts as QPainter draws them on a device of 96 per inch.
#pragma once

#include <QColor>
#include <QFont>

#include "document/grid.h"

namespace cel::document {

QFont MakeFont(const TextFont &font);
// The font's colour; the system text colour is black.
QColor TextColour(const TextFont &font);

} // namespace cel::document
