#include "manager/atlas_completer.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QStandardItemModel>

#include <algorithm>
#include <utility>

namespace cel::manager {

namespace {

constexpr int kNameRole = Qt::UserRole + 1; // what the field takes: the city's name alone
constexpr int kCityRole = Qt::UserRole + 2;
constexpr int kPlaceRole = Qt::UserRole + 3; // the data file's place, -1 for a city it does not have

} // namespace

AtlasCompleter::AtlasCompleter(QLineEdit *edit, const zones::Atlas &atlas)
    : AtlasCompleter(edit,
                     [&atlas](const std::string &typed) { return session::SearchAtlas(atlas, typed); }) {}

AtlasCompleter::AtlasCompleter(QLineEdit *edit, Source source)
    : QObject(edit), edit_(edit), source_(std::move(source)) {
    model_ = new QStandardItemModel(this);
    completer_ = new QCompleter(model_, this);
    // The atlas has already chosen and ordered the cities: the list shows them as they are.
    completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer_->setCompletionRole(kNameRole);
    completer_->setMaxVisibleItems(12);
    completer_->popup()->setObjectName("ListaAtlas");
    edit_->setCompleter(completer_);
    connect(edit_, &QLineEdit::textEdited, this, &AtlasCompleter::Search);
    connect(completer_, QOverload<const QModelIndex &>::of(&QCompleter::activated), this,
            [this](const QModelIndex &index) {
                const auto *city =
                    static_cast<const zones::AtlasCity *>(index.data(kCityRole).value<const void *>());
                if (const int place = index.data(kPlaceRole).toInt(); place >= 0)
                    emit placeChosen(place);
                else if (city)
                    emit chosen(city);
            });
}

int AtlasCompleter::Count() const {
    return model_->rowCount();
}

void AtlasCompleter::Search(const QString &text) {
    model_->clear();
    for (const session::AtlasMatch &m : source_(text.toStdString())) {
        auto *item = new QStandardItem(QString::fromStdString(m.text));
        item->setData(QString::fromStdString(m.name), kNameRole);
        item->setData(QVariant::fromValue(static_cast<const void *>(m.city)), kCityRole);
        item->setData(m.placeId, kPlaceRole);
        item->setEditable(false);
        model_->appendRow(item);
    }
    if (model_->rowCount() > 0) {
        // Wide enough for the region, country and population of the longest entry.
        // (A minimum, as the field's own completion call sizes the list to the field after this.)
        QAbstractItemView *list = completer_->popup();
        list->setMinimumWidth(std::max(edit_->width(), list->sizeHintForColumn(0) + 24));
        completer_->complete();
    } else
        completer_->popup()->hide();
}

} // namespace cel::manager
