#include "manager/dialog_buttons.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

namespace cel::manager {

DialogButtons AddDialogButtons(QDialog &dialog, QBoxLayout &layout, const QString &okText,
                               const QString &cancelText) {
    auto *strip = new QHBoxLayout;
    auto *ok = new QPushButton(okText, &dialog);
    ok->setObjectName("BTAcuerdo");
    auto *cancel = new QPushButton(cancelText, &dialog);
    cancel->setObjectName("BTCancelar");
    strip->addStretch(1);
    strip->addWidget(ok);
    strip->addWidget(cancel);
    layout.addLayout(strip);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return {ok, cancel};
}

} // namespace cel::manager
