// The chart program's person list: every person of the session's database in the list's order, and
// a filter proxy that lists those the session's person filter passes. The tick of a row is the
// person's mark; persons A and B have their colours, a birth without time or date its text colour.
#pragma once

#include <QAbstractListModel>
#include <QSortFilterProxyModel>

#include <vector>

#include "session/session.h"

namespace cel::workspace {

class PersonListModel : public QAbstractListModel {
public:
    explicit PersonListModel(session::Session &session, QObject *parent = nullptr);

    // Reads the persons again (added, deleted, renamed, A and B changed).
    void Reload();
    std::int32_t IdAt(int row) const;
    int RowOf(std::int32_t personId) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    session::Session &session_;
    std::vector<std::int32_t> ids_;
    std::vector<QString> texts_;
};

class PersonFilterProxy : public QSortFilterProxyModel {
public:
    PersonFilterProxy(session::Session &session, PersonListModel &source, QObject *parent = nullptr);
    // The person of a row of the list, -1 for none.
    std::int32_t IdAt(int row) const;
    int RowOf(std::int32_t personId) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    session::Session &session_;
    PersonListModel &source_;
};

} // namespace cel::workspace
