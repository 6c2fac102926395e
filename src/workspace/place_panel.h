// The place of the chart side being edited ("Lugar"): the country, the place, and the buttons that
// add, edit and import places. Typing in the place lists the country's places of the data file and
// the atlas's cities that match; a city the file does not have is added as a place once the user
// confirms. A view of the session's entry: every choice is one session operation, and Show writes the
// lists back.
#pragma once

#include <functional>

#include "session/session.h"
#include "workspace/view_input.h"

class QComboBox;
class QToolButton;

namespace cel::manager {
class AtlasCompleter;
}

namespace cel::workspace {

class PlacePanel : public SessionPanel {
public:
    explicit PlacePanel(session::Session &session, QWidget *parent = nullptr);

    // The window's check that a data file is there to store places in (it offers to create or open
    // one); the place buttons do nothing without it.
    std::function<bool()> ensureDataFile;

    // The countries listed again (another file, or its lists changed); the places follow with Show.
    void ShowLists();
    // The entry's country and place.
    void Show();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool EnsureDataFile() const { return ensureDataFile ? ensureDataFile() : session_.HasDataFile(); }
    void AddOrEditPlace(bool edit);
    void ImportPlaces();
    // An entry of the typed search chosen: a place of the file, or an atlas city.
    void ChoosePlace(std::int32_t placeId);
    void ChooseCity(const zones::AtlasCity &city);
    // The place field shows the entry's place again, the list closed (Escape, or a search left).
    void RestoreText();

    QComboBox *cbPais_ = nullptr, *cbLugar_ = nullptr;
    QToolButton *sbNuevoLugar_ = nullptr, *sbEditarLugar_ = nullptr, *sbImportarLugar_ = nullptr;
    manager::AtlasCompleter *search_ = nullptr;
};

} // namespace cel::workspace
