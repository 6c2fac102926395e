// Typing a place's name searches the world atlas: a list under the field shows the matching cities
// (accents and case ignored, largest first, with region, country and population); choosing one with
// the mouse or Enter reports the city. The main window's place field lists the data file's places
// with them, and reports a place of the file by its id.
#pragma once

#include <QObject>

#include <functional>
#include <string>
#include <vector>

#include "session/atlas_place.h"
#include "zones/atlas.h"

class QCompleter;
class QLineEdit;
class QStandardItemModel;

namespace cel::manager {

class AtlasCompleter : public QObject {
    Q_OBJECT
public:
    // What the list shows for a typed text.
    using Source = std::function<std::vector<session::AtlasMatch>(const std::string &typed)>;

    // The atlas's cities alone.
    AtlasCompleter(QLineEdit *edit, const zones::Atlas &atlas);
    // What source answers (the data file's places with the cities).
    AtlasCompleter(QLineEdit *edit, Source source);
    QCompleter *Completer() const { return completer_; }
    // The entries listed now (tests).
    int Count() const;

signals:
    // A city the data file does not have.
    void chosen(const zones::AtlasCity *city);
    // An entry standing for a place of the data file.
    void placeChosen(int placeId);

private:
    void Search(const QString &text);

    QLineEdit *edit_;
    Source source_;
    QCompleter *completer_ = nullptr;
    QStandardItemModel *model_ = nullptr;
};

} // namespace cel::manager
