// The date and time of the chart side being edited, with the stepping panel and its jumps, the
// information lines under them and the offer of the zone offset in force then. A view of the
// session's entry: every edit is one session operation, and Show writes the fields back.
#pragma once

#include "session/session.h"
#include "workspace/view_input.h"

class QAction;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace cel::manager {
class DateField;
class ZoneOfferPanel;
} // namespace cel::manager

namespace cel::workspace {

class DateTimePanel : public SessionPanel {
public:
    explicit DateTimePanel(session::Session &session, QWidget *parent = nullptr);

    // The stepping arrows and the jump buttons trigger the window's actions, which carry the shortcuts.
    void ConnectCommands(QAction *back, QAction *forward, QAction *today, QAction *now, QAction *birth);
    // Writes the fields, the stepping panel and the information lines from the session's entry.
    void Show();

private:
    manager::DateField *deFecha_ = nullptr;
    QComboBox *cbGmtChoice_ = nullptr, *cbDeltaT_ = nullptr, *cb12h_ = nullptr, *cbAmPm_ = nullptr;
    QSpinBox *seHora_ = nullptr, *seMin_ = nullptr, *seSeg_ = nullptr, *seMs_ = nullptr;
    QLabel *labelDeltaT_ = nullptr, *labelLugar_ = nullptr, *labelGmtInfo_ = nullptr;
    manager::ZoneOfferPanel *zoneOffer_ = nullptr;
    QSpinBox *seCada_ = nullptr;
    QComboBox *cbUnidad_ = nullptr;
    QToolButton *sbPasoMenos_ = nullptr, *sbPasoMas_ = nullptr;
    QPushButton *sbHoy_ = nullptr, *sbAhora_ = nullptr, *sbNacimiento_ = nullptr;
};

} // namespace cel::workspace
