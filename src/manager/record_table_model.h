// The manager's grid as a model over the display list: one page of records, the columns of the kind,
// the tick column and the row colours. The records are never copied into widget items.
#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <vector>

#include "session/record_cells.h"

namespace cel::manager {

class RecordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kTickColumn = 2;

    explicit RecordTableModel(const database::Database &db, QObject *parent = nullptr);

    // Shows `count` records of the display list from `first`; the list must outlive the model's use.
    void SetPage(database::Kind kind, const std::vector<database::TData *> *rows, int first, int count);
    void SetSelectedId(std::int32_t id);
    std::int32_t SelectedId() const { return selectedId_; }

    database::Kind ListKind() const { return kind_; }
    database::TData *RecordAt(int row) const;
    // The row showing the record with this Id, -1 when it is not on the page.
    int RowOfId(std::int32_t id) const;
    // Repaints the tick column after ticks changed.
    void TicksChanged();

    // The base width in pixels of a column of a kind.
    static int ColumnWidth(database::Kind kind, int column);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The text of a cell, as shown.
    QString CellText(int row, int column) const;

private:
    const database::Database &db_;
    database::Kind kind_ = database::Kind::Person;
    const std::vector<database::TData *> *rows_ = nullptr;
    int first_ = 0;
    int count_ = 0;
    std::int32_t selectedId_ = -1;
};

// The column headers of a kind, column 0 ("Id") first.
QStringList ColumnHeaders(database::Kind kind);

} // namespace cel::manager
