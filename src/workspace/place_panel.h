// The place of the chart side being edited ("Lugar"): the country, the place, and the buttons that
// add, edit and import places. A view of the session's entry: choosing a country or a place is one
// session operation, and Show writes the lists back.
#pragma once

#include <QWidget>

#include <functional>

#include "session/session.h"

class QComboBox;
class QToolButton;

namespace cel::workspace {

class PlacePanel : public QWidget {
public:
    explicit PlacePanel(session::Session &session, QWidget *parent = nullptr);

    // The window's check that a data file is there to store places in (it offers to create or open
    // one); the place buttons do nothing without it.
    std::function<bool()> ensureDataFile;

    // The countries listed again (another file, or its lists changed); the places follow with Show.
    void ShowLists();
    // The entry's country and place.
    void Show();

private:
    template <class Sender, class Signal, class Slot> void OnInput(Sender *sender, Signal signal, Slot slot);
    bool EnsureDataFile() const { return ensureDataFile ? ensureDataFile() : session_.HasDataFile(); }
    void AddOrEditPlace(bool edit);
    void ImportPlaces();

    session::Session &session_;
    bool showing_ = false;

    QComboBox *cbPais_ = nullptr, *cbLugar_ = nullptr;
    QToolButton *sbNuevoLugar_ = nullptr, *sbEditarLugar_ = nullptr, *sbImportarLugar_ = nullptr;
};

} // namespace cel::workspace
