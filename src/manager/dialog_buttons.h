// The accept and cancel buttons at the foot of the manager's small dialogs, on the right.
#pragma once

#include <QString>

class QBoxLayout;
class QDialog;
class QPushButton;

namespace cel::manager {

struct DialogButtons {
    QPushButton *ok;     // "BTAcuerdo": accepts the dialog
    QPushButton *cancel; // "BTCancelar": rejects it
};

// Adds the strip of the two buttons to the dialog's layout.
DialogButtons AddDialogButtons(QDialog &dialog, QBoxLayout &layout, const QString &okText,
                               const QString &cancelText);

} // namespace cel::manager
