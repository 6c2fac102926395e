#include "manager/record_table_model.h"

#include <QBrush>
#include <QColor>

namespace cel::manager {

using namespace cel::database;

QStringList ColumnHeaders(Kind kind) {
    QStringList h{"Id", "No", "", "Nombre"};
    switch (kind) {
    case Kind::Country:
        h << QString::fromUtf8("Lugares con este País");
        break;
    case Kind::Place:
        h << "Pais"
          << "DST"
          << "TZ"
          << "Lon"
          << "Lat"
          << "P>L" << QString::fromUtf8("Descripción");
        break;
    case Kind::PersonGroup:
        h << "Personas con este Grupo";
        break;
    case Kind::BusinessGroup:
        h << "Empresas con este Grupo";
        break;
    case Kind::Person:
        h[3] = "Nombres";
        h << "Apellidos";
        break;
    case Kind::Business:
        h << "CIUU"
          << "LugarBirt"
          << "Fecha Birt"
          << "Hora Birt";
        break;
    }
    return h;
}

int RecordTableModel::ColumnWidth(Kind kind, int column) {
    switch (column) {
    case 0:
        return 0;
    case 1:
        return 35;
    case 2:
        return 18;
    case 3:
        return kind == Kind::Country                                        ? 155
               : (kind == Kind::PersonGroup || kind == Kind::BusinessGroup) ? 200
                                                                            : 100;
    default:
        break;
    }
    if (kind == Kind::Place) {
        static const int w[] = {90, 30, 40, 80, 80, 30, 150};
        return column - 4 < 7 ? w[column - 4] : 100;
    }
    if (kind == Kind::Business)
        return column == 4 ? 35 : 100;
    if (kind == Kind::Person)
        return 100;
    return 150;
}

RecordTableModel::RecordTableModel(const Database &db, QObject *parent)
    : QAbstractTableModel(parent), db_(db) {}

void RecordTableModel::SetPage(Kind kind, const std::vector<TData *> *rows, int first, int count) {
    beginResetModel();
    kind_ = kind;
    rows_ = rows;
    first_ = first;
    count_ = count;
    endResetModel();
}

void RecordTableModel::SetSelectedId(std::int32_t id) {
    if (id == selectedId_)
        return;
    const int oldRow = RowOfId(selectedId_);
    selectedId_ = id;
    const int newRow = RowOfId(id);
    for (int row : {oldRow, newRow})
        if (row >= 0)
            emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::BackgroundRole});
}

TData *RecordTableModel::RecordAt(int row) const {
    if (!rows_ || row < 0 || row >= count_)
        return nullptr;
    return (*rows_)[static_cast<std::size_t>(first_ + row)];
}

int RecordTableModel::RowOfId(std::int32_t id) const {
    if (!rows_ || id < 0)
        return -1;
    for (int r = 0; r < count_; ++r)
        if ((*rows_)[static_cast<std::size_t>(first_ + r)]->Id == id)
            return r;
    return -1;
}

void RecordTableModel::TicksChanged() {
    if (count_ > 0)
        emit dataChanged(index(0, 0), index(count_ - 1, columnCount() - 1));
}

int RecordTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : count_;
}

int RecordTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(ColumnHeaders(kind_).size());
}

QString RecordTableModel::CellText(int row, int column) const {
    const TData *r = RecordAt(row);
    if (!r)
        return {};
    return QString::fromStdString(session::RecordCellText(db_, kind_, *r, column, first_ + row + 1));
}

QVariant RecordTableModel::data(const QModelIndex &index, int role) const {
    const TData *r = RecordAt(index.row());
    if (!r)
        return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return CellText(index.row(), column);
    case Qt::ToolTipRole: // the whole text of a cell too narrow for it
        return column == kTickColumn ? QVariant() : CellText(index.row(), column);
    case Qt::CheckStateRole:
        if (column == kTickColumn)
            return r->Marca ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::BackgroundRole:
        if (r->Id == selectedId_)
            return QBrush(QColor(255, 255, 0));
        if ((first_ + index.row() + 1) % 2 == 1)
            return QBrush(QColor(251, 253, 219));
        return QBrush(Qt::white);
    case Qt::TextAlignmentRole: {
        bool centred = false, right = false;
        if (kind_ == Kind::Place) {
            centred = column == 5 || column == 9;
            right = column >= 6 && column <= 8;
        } else if (kind_ == Kind::Person || kind_ == Kind::Business) {
            centred = column >= 5 && column <= 9;
        } else {
            centred = column == 4;
        }
        if (column == kTickColumn)
            centred = true;
        return QVariant::fromValue(centred ? Qt::Alignment(Qt::AlignCenter)
                                   : right ? Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter)
                                           : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    default:
        return {};
    }
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole) {
        const QStringList h = ColumnHeaders(kind_);
        return section < h.size() ? h[section] : QVariant();
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    if (role == Qt::BackgroundRole)
        return QBrush(QColor(235, 235, 235));
    return {};
}

} // namespace cel::manager
