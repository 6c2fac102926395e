#include "document/cell_drawing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace cel::document {

namespace {

// The strength line of an aspect-table cell is written one point smaller than the cell's font.
QFont StrengthFont(bool small) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(small ? 7 : 9);
    return font;
}

bool IsHeader(int column, int row) {
    return column == 0 || column == 25 || row == 0;
}

} // namespace

QSize AspectCellSize(const Grid &grid, int column, const GlyphPainter &glyphs, bool showStrength) {
    const int g = glyphs.Size();
    const bool small = g <= 11;
    const int columnWidth =
        column >= 0 && column < grid.ColumnCount() ? grid.columnWidths[static_cast<std::size_t>(column)] : 0;
    const int width = showStrength ? std::max(columnWidth, 1) : (small ? 14 : 17);
    return {width, showStrength ? 2 * g : g};
}

bool AspectCellDrawn(const Grid &grid, int column, int row) {
    return IsHeader(column, row) || !grid.Cell(column, row).empty();
}

void PaintAspectCell(QPainter &painter, const Grid &grid, int column, int row, const GlyphPainter &glyphs,
                     bool showStrength) {
    const int g = glyphs.Size();
    const bool small = g <= 11;
    const int width = AspectCellSize(grid, column, glyphs, showStrength).width();
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(small ? 8 : 10);
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);

    if (IsHeader(column, row)) {
        const int item = row == 0 ? column : row;
        if (item >= 1 && item <= 12)
            glyphs.Draw(painter, 11 + item, std::max(0, (width - g) / 2), 0, 0);
        else if (item >= 13 && item <= 24)
            painter.drawText(QRect(0, 0, width, g), Qt::AlignCenter, QString::number(item - 12));
        painter.restore();
        return;
    }

    const std::string &text = grid.Cell(column, row);
    if (text.empty()) {
        painter.restore();
        return;
    }
    if (text == "?") {
        painter.setPen(QColor(255, 0, 0));
        painter.drawText(QRect(0, 0, width, g), Qt::AlignCenter, QStringLiteral("?"));
        painter.restore();
        return;
    }
    const std::size_t colon = text.find(':');
    const int kind = std::atoi(text.substr(0, colon).c_str());
    if (kind >= 1 && kind <= 13)
        glyphs.Draw(painter, 23 + kind, 0, 0, 0);
    painter.setPen(Qt::black);
    if (text.find('d') != std::string::npos) {
        QFont bold = font;
        bold.setBold(true);
        painter.setFont(bold);
        painter.drawText(QRect(small ? 11 : 14, 0, width, g), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral(":"));
        painter.setFont(font);
    }
    if (showStrength && colon != std::string::npos) {
        std::string strength = text.substr(colon + 1);
        if (const std::size_t d = strength.find('d'); d != std::string::npos)
            strength.erase(d);
        // The table keeps its width on the page: a strength wider than its cell ("100%") is drawn
        // narrower instead of being cut.
        const QFont strengthFont = StrengthFont(small);
        const QString label = QString::fromStdString(strength + "%");
        const qreal advance = QFontMetricsF(strengthFont).horizontalAdvance(label);
        const qreal squeeze = advance > width - 1 ? (width - 1) / advance : 1.0;
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setFont(strengthFont);
        painter.save();
        painter.scale(squeeze, 1);
        painter.drawText(QRectF(0, g, (width + 1) / squeeze, g), Qt::AlignLeft | Qt::AlignTop, label);
        painter.restore();
    }
    painter.restore();
}

} // namespace cel::document
