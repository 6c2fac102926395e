#include "workspace/message_notifier.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace cel::workspace {

bool MessageNotifier::Notice(NoticeKind kind, bool yesNo, bool, const std::string &text) {
    QMessageBox box(parent_);
    box.setWindowTitle("Celestigrafo");
    box.setText(QString::fromStdString(text).replace('\r', '\n'));
    box.setIcon(kind == NoticeKind::Question      ? QMessageBox::Question
                : kind == NoticeKind::Information ? QMessageBox::Information
                : kind == NoticeKind::Error       ? QMessageBox::Critical
                                                  : QMessageBox::Warning);
    if (yesNo) {
        QPushButton *yes = box.addButton("&Sí", QMessageBox::YesRole);
        box.addButton("&No", QMessageBox::NoRole);
        box.exec();
        return box.clickedButton() == static_cast<QAbstractButton *>(yes);
    }
    box.addButton("De &acuerdo", QMessageBox::AcceptRole);
    box.exec();
    return false;
}

bool MessageNotifier::InputText(const std::string &title, const std::string &prompt, std::string &text) {
    bool ok = false;
    const QString value =
        QInputDialog::getText(parent_, QString::fromStdString(title), QString::fromStdString(prompt),
                              QLineEdit::Normal, QString::fromStdString(text), &ok);
    if (ok)
        text = value.toStdString();
    return ok;
}

} // namespace cel::workspace
