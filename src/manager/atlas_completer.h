// Typing a place's name searches the world atlas: a list under the field shows the matching cities
// (accents and case ignored, largest first, with region, country and population); choosing one with
// the mouse or Enter reports the city.
#pragma once

#include <QObject>

#include "zones/atlas.h"

class QCompleter;
class QLineEdit;
class QStandardItemModel;

namespace cel::manager {

class AtlasCompleter : public QObject {
    Q_OBJECT
public:
    AtlasCompleter(QLineEdit *edit, const zones::Atlas &atlas);
    QCompleter *Completer() const { return completer_; }
    // The cities listed now (tests).
    int Count() const;

signals:
    void chosen(const zones::AtlasCity *city);

private:
    void Search(const QString &text);

    QLineEdit *edit_;
    const zones::Atlas &atlas_;
    QCompleter *completer_ = nullptr;
    QStandardItemModel *model_ = nullptr;
};

} // namespace cel::manager
