// The main window's grids: a table model over a text grid of the analysis tables, and a delegate that
// draws every cell through one of the chart graphics' cell painters (the grid's own texts stay the
// model's display data, so tests and accessibility read what the painters decode).
#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>
#include <string>

#include "analysis/text_grid.h"
#include "graphics/canvas.h"

namespace cel::workspace {

class GridModel : public QAbstractTableModel {
public:
    explicit GridModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}

    // Replaces the whole grid (the views keep their selection position where it still exists).
    void SetGrid(const analysis::TextGrid &grid);
    const analysis::TextGrid &Grid() const { return grid_; }
    std::string Text(int row, int column) const { return grid_.Text(row, column); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    analysis::TextGrid grid_;
};

// Paints one cell: the canvas covers the cell alone, `rect` is (0, 0, width, height).
using CellPainter = std::function<void(graphics::Canvas &canvas, const QRect &rect, int column, int row,
                                       const std::string &)>;

class PainterDelegate : public QStyledItemDelegate {
public:
    explicit PainterDelegate(QObject *parent = nullptr) : QStyledItemDelegate(parent) {}
    void SetPainter(CellPainter painter) { painter_ = std::move(painter); }
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    CellPainter painter_;
};

// A grid view as the main window shows them: no Qt headers (row 0 and column 0 are the grid's own
// fixed cells, drawn by the painters), one cell selected at a time, fixed cell sizes.
QTableView *MakeGridView(const char *objectName, GridModel *model, PainterDelegate *delegate,
                         QWidget *parent = nullptr);
// Sets every column width and row height of a view.
void SetCellSizes(QTableView *view, int columnWidth, int rowHeight);
// Makes every column as wide as its longest text in `font` plus `extra` pixels, at least `minimum`.
void FitColumns(QTableView *view, const analysis::TextGrid &grid, const QFont &font, int extra, int minimum);

} // namespace cel::workspace
