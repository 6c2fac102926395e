// The two orb dialogs: the orb matrix "Orbes de Aspectos" (`TFormOrbes`) with the three per-aspect
// tables, and the single orb editor "Editar Orbe" (`TFormOrbe`) for an orb preset.
#pragma once

#include <QDialog>

#include <array>

#include "settings/orb_tables.h"

class QDoubleSpinBox;
class QSpinBox;

namespace cel::workspace {

class TFormOrbes : public QDialog {
public:
    TFormOrbes(settings::OrbTables &orbs, QWidget *parent = nullptr);
    // "Orbes &Orig.": the built-in values into the edits and at once into the tables.
    void PutBuiltIn();

protected:
    void done(int result) override; // closing in any way stores the 39 edits

private:
    void Store();
    settings::OrbTables &orbs_;
    std::array<std::array<QDoubleSpinBox *, 3>, 14> edits_{}; // [kind][OPE, OCE, OPA]
};

class TFormOrbe : public QDialog {
public:
    // Opens with the preset split into degrees, minutes and whole seconds.
    TFormOrbe(float orb, QWidget *parent = nullptr);
    // The orb of the three fields in degrees (0 is stored as 0.000001 by the caller's tables).
    float Orb() const;

private:
    QSpinBox *degrees_ = nullptr, *minutes_ = nullptr, *seconds_ = nullptr;
};

} // namespace cel::workspace
