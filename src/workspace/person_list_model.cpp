#include "workspace/person_list_model.h"

#include <QBrush>
#include <QColor>

namespace cel::workspace {

namespace {

QColor Stored(std::uint32_t v) {
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

} // namespace

PersonListModel::PersonListModel(session::Session &session, QObject *parent)
    : QAbstractListModel(parent), session_(session) {}

void PersonListModel::Reload() {
    beginResetModel();
    session::PersonFilter everyone;
    everyone.with = session::BirthDataFilter::All;
    const session::PersonList list = session::FilterPersons(session_.ws.db, everyone);
    ids_.clear();
    texts_.clear();
    for (const database::TPersona *p : list.persons) {
        ids_.push_back(p->Id);
        texts_.push_back(QString::fromStdString(p->Nombre + " " + p->Apellidos));
    }
    endResetModel();
}

std::int32_t PersonListModel::IdAt(int row) const {
    return row >= 0 && row < static_cast<int>(ids_.size()) ? ids_[static_cast<std::size_t>(row)] : -1;
}

int PersonListModel::RowOf(std::int32_t personId) const {
    for (std::size_t i = 0; i < ids_.size(); ++i)
        if (ids_[i] == personId)
            return static_cast<int>(i);
    return -1;
}

int PersonListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(ids_.size());
}

QVariant PersonListModel::data(const QModelIndex &index, int role) const {
    const std::int32_t id = IdAt(index.row());
    const database::TPersona *p = session_.FindPerson(id);
    if (!p)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return texts_[static_cast<std::size_t>(index.row())];
    case Qt::UserRole:
        return id;
    case Qt::CheckStateRole:
        return p->Marca ? Qt::Checked : Qt::Unchecked;
    case Qt::BackgroundRole:
        if (id == session_.Person(session::PersonSlot::A))
            return QBrush(Stored(session::kPersonAColour));
        if (id == session_.Person(session::PersonSlot::B))
            return QBrush(Stored(session::kPersonBColour));
        return {};
    case Qt::ForegroundRole:
        return QBrush(p->IsDate == 0   ? QColor(Qt::gray)
                      : p->IsHora == 0 ? QColor(Qt::red)
                                       : QColor(0, 0, 128));
    default:
        return {};
    }
}

bool PersonListModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::CheckStateRole || !session_.FindPerson(IdAt(index.row())))
        return false;
    session_.SetMark(IdAt(index.row()), value.toInt() == Qt::Checked);
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags PersonListModel::flags(const QModelIndex &index) const {
    return QAbstractListModel::flags(index) | Qt::ItemIsUserCheckable;
}

PersonFilterProxy::PersonFilterProxy(session::Session &session, PersonListModel &source, QObject *parent)
    : QSortFilterProxyModel(parent), session_(session), source_(source) {
    // A person unticked under "Seleccionados" stays listed until the list is filtered again.
    setDynamicSortFilter(false);
    setSourceModel(&source);
}

std::int32_t PersonFilterProxy::IdAt(int row) const {
    if (row < 0 || row >= rowCount())
        return -1;
    return source_.IdAt(mapToSource(index(row, 0)).row());
}

int PersonFilterProxy::RowOf(std::int32_t personId) const {
    const int sourceRow = source_.RowOf(personId);
    if (sourceRow < 0)
        return -1;
    return mapFromSource(source_.index(sourceRow, 0)).row();
}

bool PersonFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex &) const {
    const database::TPersona *p = session_.FindPerson(source_.IdAt(sourceRow));
    return p != nullptr && session::PersonListed(*p, session_.Filter());
}

} // namespace cel::workspace
