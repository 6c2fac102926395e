#include "document/document.h"

#include "common/version.h"

namespace cel::document {

std::string FooterCaption() {
    return std::string("Celestigrafo  Versión ") + kChartVersionText;
}

QSizeF Page::SizeMm() const {
    const QSizeF size = paper.size(QPageSize::Millimeter);
    return orientation == QPageLayout::Landscape ? size.transposed() : size;
}

QPageLayout Page::Layout() const {
    return QPageLayout(paper, orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

} // namespace cel::document
