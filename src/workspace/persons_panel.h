// The " Personas " page of the chart program: the person list (a model behind the session's filter),
// its counter, the buttons and the context menu of the person commands, synastry and persons A and B.
// A view of the session's persons: choosing a person and every button is one session operation or
// one of the window's actions, and Show writes the list and the pair back.
#pragma once

#include <cstdint>

#include "session/session.h"
#include "workspace/view_input.h"

class QAction;
class QLabel;
class QListView;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace cel::workspace {

class PersonListModel;
class PersonFilterProxy;

class PersonsPanel : public SessionPanel {
public:
    // The person commands are the window's actions, which carry their shortcuts.
    PersonsPanel(session::Session &session, QAction *newPerson, QAction *editPerson, QAction *deletePerson,
                 QWidget *parent = nullptr);

    // The person highlighted in the list (-1 none), and highlighting one.
    std::int32_t SelectedPerson() const;
    void SelectPersonRow(std::int32_t personId);
    // The list again from the session's persons and filter, keeping the highlighted person.
    void ShowList();
    // "Sinastría" and the chosen slot, A or B.
    void ShowPair();

private:
    QListView *lbPersona_ = nullptr;
    PersonListModel *personModel_ = nullptr;
    PersonFilterProxy *personProxy_ = nullptr;
    QLabel *labelCount_ = nullptr;
    QPushButton *sbNueva_ = nullptr, *sbEditar_ = nullptr, *sbEliminar_ = nullptr, *sbTodos_ = nullptr;
    QToolButton *sbSinastria_ = nullptr;
    QRadioButton *rbA_ = nullptr, *rbB_ = nullptr;
};

} // namespace cel::workspace
