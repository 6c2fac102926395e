#include "workspace/grid_models.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>

#include <algorithm>

namespace cel::workspace {

void GridModel::SetGrid(const analysis::TextGrid &grid) {
    if (grid.RowCount() == grid_.RowCount() && grid.ColumnCount() == grid_.ColumnCount()) {
        grid_ = grid;
        if (grid_.RowCount() > 0 && grid_.ColumnCount() > 0)
            emit dataChanged(index(0, 0), index(grid_.RowCount() - 1, grid_.ColumnCount() - 1));
        return;
    }
    beginResetModel();
    grid_ = grid;
    endResetModel();
}

int GridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : grid_.RowCount();
}

int GridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : grid_.ColumnCount();
}

QVariant GridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return QString::fromStdString(grid_.Text(index.row(), index.column()));
}

void PainterDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const {
    if (!painter_)
        return;
    // Drawn at the device's pixel ratio so the glyphs stay sharp on high-density screens.
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QSize logical = option.rect.size();
    if (logical.isEmpty())
        return;
    QImage image(qMax(1, qRound(logical.width() * ratio)), qMax(1, qRound(logical.height() * ratio)),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    {
        QPainter onImage(&image);
        graphics::Canvas canvas(onImage, logical);
        painter_(canvas, QRect(QPoint(0, 0), logical), index.column(), index.row(),
                 index.data().toString().toStdString());
    }
    painter->drawImage(option.rect.topLeft(), image);
    if (option.state & QStyle::State_HasFocus) {
        painter->save();
        painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        painter->restore();
    }
}

QTableView *MakeGridView(const char *objectName, GridModel *model, PainterDelegate *delegate,
                         QWidget *parent) {
    auto *view = new QTableView(parent);
    view->setObjectName(objectName);
    view->setModel(model);
    view->setItemDelegate(delegate);
    view->horizontalHeader()->hide();
    view->verticalHeader()->hide();
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setGridStyle(Qt::SolidLine);
    view->horizontalHeader()->setMinimumSectionSize(4);
    view->verticalHeader()->setMinimumSectionSize(4);
    return view;
}

void SetCellSizes(QTableView *view, int columnWidth, int rowHeight) {
    view->horizontalHeader()->setDefaultSectionSize(columnWidth);
    view->verticalHeader()->setDefaultSectionSize(rowHeight);
    for (int c = 0; c < view->model()->columnCount(); ++c)
        view->setColumnWidth(c, columnWidth);
    for (int r = 0; r < view->model()->rowCount(); ++r)
        view->setRowHeight(r, rowHeight);
}

void FitColumns(QTableView *view, const analysis::TextGrid &grid, const QFont &font, int extra, int minimum) {
    const QFontMetrics metrics(font);
    for (int c = 0; c < grid.ColumnCount(); ++c) {
        int width = 0;
        for (int r = 0; r < grid.RowCount(); ++r)
            width = std::max(width, metrics.horizontalAdvance(QString::fromStdString(grid.Text(r, c))));
        view->setColumnWidth(c, std::max(minimum, width + extra));
    }
}

} // namespace cel::workspace
