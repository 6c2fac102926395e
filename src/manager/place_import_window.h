// The place import window: the places of one place file in a grid with a name filter, ticked by the
// user and added to the database with the duplicate questions; and the whole import from a file.
#pragma once

#include <QDialog>

#include "manager/data_store.h"
#include "session/place_import_list.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace cel::manager {

class TFormImportLugar : public QDialog {
    Q_OBJECT
public:
    TFormImportLugar(DataStore &store, session::PlaceFile &file, const std::string &path,
                     QWidget *parent = nullptr);

    int Ticked() const { return list_.Ticked(); }
    // Toggles the tick of the shown row.
    void ToggleRow(int row);

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The filter's controls read into the list, and its rows shown.
    void Refilter();
    void ShowRows();
    void UpdateCounters();

    DataStore &store_;
    session::PlaceImportList list_;
    QTableWidget *grid_ = nullptr;
    QLineEdit *filter_ = nullptr;
    QCheckBox *onlyTicked_ = nullptr;
    QLabel *selected_ = nullptr;
    QLabel *filtered_ = nullptr;
};

// Asks for a place file (in the folder of the current data file), shows the import window and adds
// the ticked places, saves the data file and reports what was added and declined. The manager clears
// the places' ticks first; the item editor does not. True when places were added or renamed.
bool ImportPlaceFile(QWidget *parent, DataStore &store, bool clearMarks);
// The same for a given file.
bool ImportPlacesFrom(QWidget *parent, DataStore &store, const std::string &path, bool clearMarks);

} // namespace cel::manager
