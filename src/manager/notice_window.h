// The notice window: one modal, borderless, always-on-top window for every question, warning, error
// and information message, with Spanish buttons that flash until one is pressed; and the one-line
// input box. NoticeWindow puts both behind the Notifier interface the core uses.
#pragma once

#include <QDialog>
#include <QString>

#include "common/notifier.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace cel::manager {

class TFormAviso : public QDialog {
    Q_OBJECT
public:
    // text uses "\r" (or "\r\n") for line breaks, as the notices are written.
    TFormAviso(NoticeKind kind, bool yesNo, bool centred, const QString &text, QWidget *parent = nullptr,
               QuestionStyle question = {});

    // True only after "&Sí" was pressed.
    bool AnsweredYes() const { return yes_; }
    // "Cancelar" (or Escape) on a question that offers it.
    bool Cancelled() const { return cancelled_; }

    // Every notice text as shown: each "\r\n" or "\r" becomes a line break.
    static QString DisplayText(const QString &text);

    // Escape on a question with "Cancelar" cancels; elsewhere it answers "No".
    void reject() override;

private:
    void Flash();

    bool yes_ = false;
    bool no_ = false;
    bool cancelled_ = false;
    bool red_ = false;
    QTimer *timer_ = nullptr;
    QPushButton *buttons_[3] = {nullptr, nullptr, nullptr};
};

// The one-line input box: a title, a prompt, the text field and "De &acuerdo" / "&Cancelar".
class TInputBox : public QDialog {
    Q_OBJECT
public:
    TInputBox(const QString &title, const QString &prompt, const QString &text, QWidget *parent = nullptr);
    QString Text() const;

private:
    QLineEdit *edit_ = nullptr;
};

// The Notifier of the programs: shows each notice modally over a parent window.
class NoticeWindow : public Notifier {
public:
    explicit NoticeWindow(QWidget *parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget *parent) { parent_ = parent; }

    bool Notice(NoticeKind kind, bool yesNo, bool centred, const std::string &text) override;
    Answer Ask(const std::string &text, QuestionStyle style) override;
    bool InputText(const std::string &title, const std::string &prompt, std::string &text) override;

private:
    QWidget *parent_ = nullptr;
};

} // namespace cel::manager
