// The person list's filter ("Filtar lista personas"): name, surname, group, birth data, sex and the
// marked persons, with the buttons that mark the listed persons. A view of the session's person
// filter: every change is one session operation, and Show writes the controls back.
#pragma once

#include "session/session.h"
#include "workspace/view_input.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace cel::workspace {

class PersonFilterPanel : public SessionPanel {
public:
    explicit PersonFilterPanel(session::Session &session, QWidget *parent = nullptr);

    // The groups of the file, listed again.
    void ShowGroups();
    // The controls from the session's filter.
    void Show();

private:
    void FilterInput();

    QLineEdit *leNombre_ = nullptr, *leApellido_ = nullptr;
    QComboBox *cbGrupo_ = nullptr, *cbCon_ = nullptr, *cbSexo_ = nullptr;
    QCheckBox *cbSeleccionados_ = nullptr;
};

} // namespace cel::workspace
