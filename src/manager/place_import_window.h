// The place import window: the places of one place file in a grid with a name filter, ticked by the
// user and added to the database with the duplicate questions; and the whole import from a file.
#pragma once

#include <QDialog>

#include "database/place_import.h"
#include "manager/data_store.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace cel::manager {

class TFormImportLugar : public QDialog {
    Q_OBJECT
public:
    TFormImportLugar(DataStore &store, database::PlaceFile &file, const std::string &path,
                     QWidget *parent = nullptr);

    int Ticked() const { return ticked_; }
    // Toggles the tick of the shown row.
    void ToggleRow(int row);

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Refilter();
    void UpdateCounters();

    DataStore &store_;
    database::PlaceFile &file_;
    std::vector<database::TLugar_Geo *> shown_;
    int ticked_ = 0;
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

// The report of an import: the counts of added, renamed and declined places and their names.
std::string ImportReportText(const database::AddPlacesResult &result, const std::string &countryName);

} // namespace cel::manager
