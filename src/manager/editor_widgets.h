// Small helpers that build the item editor's controls with their object names.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QString>

#include <string>

namespace cel::manager::editor {

inline QString Q(const std::string &s) {
    return QString::fromStdString(s);
}

inline std::string S(const QString &s) {
    return s.toStdString();
}

inline QSpinBox *Spin(QWidget *parent, const char *name, int min, int max) {
    auto *box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(min, max);
    box->setAlignment(Qt::AlignRight);
    return box;
}

inline QLineEdit *Edit(QWidget *parent, const char *name) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

inline QPushButton *Button(QWidget *parent, const char *name, const QString &text, const QString &hint = {}) {
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    if (!hint.isEmpty())
        button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

inline QRadioButton *Radio(QWidget *parent, const char *name, const QString &text) {
    auto *radio = new QRadioButton(text, parent);
    radio->setObjectName(name);
    return radio;
}

} // namespace cel::manager::editor
