#include "manager/notice_window.h"
#include "manager/dialog_buttons.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace cel::manager {

namespace {

constexpr int kIconStrip = 48;
constexpr int kButtonStrip = 44;

QStyle::StandardPixmap IconOf(NoticeKind kind) {
    switch (kind) {
    case NoticeKind::Question:
        return QStyle::SP_MessageBoxQuestion;
    case NoticeKind::Information:
        return QStyle::SP_MessageBoxInformation;
    case NoticeKind::Error:
        return QStyle::SP_MessageBoxCritical;
    case NoticeKind::Warning:
        break;
    }
    return QStyle::SP_MessageBoxWarning;
}

// The strips grow by a quarter on screens of 120 or more pixels per inch.
int Scaled(int pixels, const QWidget *w) {
    const QScreen *screen = w->screen();
    return screen && screen->logicalDotsPerInch() >= 120 ? pixels * 5 / 4 : pixels;
}

} // namespace

QString TFormAviso::DisplayText(const QString &text) {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

TFormAviso::TFormAviso(NoticeKind kind, bool yesNo, bool centred, const QString &text, QWidget *parent,
                       QuestionStyle question)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("TFormAviso");
    setModal(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto *layout = new QVBoxLayout(this);
    auto *icon = new QLabel(this);
    icon->setObjectName("IMIcono");
    icon->setPixmap(style()->standardIcon(IconOf(kind)).pixmap(32, 32));
    icon->setAlignment(Qt::AlignCenter);
    icon->setFixedHeight(Scaled(kIconStrip, this));
    layout->addWidget(icon);

    auto *label = new QLabel(DisplayText(text), this);
    label->setObjectName("LAMensaje");
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    QPalette textPal = label->palette();
    textPal.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(textPal);
    layout->addWidget(label, 1);

    auto *strip = new QHBoxLayout;
    if (yesNo) {
        buttons_[0] = new QPushButton(QString::fromUtf8("&Sí"), this);
        buttons_[0]->setObjectName("BTSi");
        buttons_[1] = new QPushButton("&No", this);
        buttons_[1]->setObjectName("BTNo");
        strip->addStretch(1);
        strip->addWidget(buttons_[0]);
        strip->addStretch(2);
        strip->addWidget(buttons_[1]);
        strip->addStretch(1);
        connect(buttons_[0], &QPushButton::clicked, this, [this] {
            yes_ = true;
            accept();
        });
        connect(buttons_[1], &QPushButton::clicked, this, [this] {
            no_ = true;
            reject();
        });
        if (question.cancel) {
            buttons_[2] = new QPushButton("Cancelar", this);
            buttons_[2]->setObjectName("BTCancelar");
            strip->addWidget(buttons_[2]);
            strip->addStretch(1);
            connect(buttons_[2], &QPushButton::clicked, this, &TFormAviso::reject);
        }
        // Enter answers the default: "&No" where the question deletes something.
        buttons_[question.noByDefault ? 1 : 0]->setDefault(true);
        buttons_[question.noByDefault ? 1 : 0]->setFocus();
    } else {
        buttons_[0] = new QPushButton("De &acuerdo", this);
        buttons_[0]->setObjectName("BTAcuerdo");
        strip->addStretch(1);
        strip->addWidget(buttons_[0]);
        strip->addStretch(1);
        connect(buttons_[0], &QPushButton::clicked, this, &QDialog::accept);
        buttons_[0]->setDefault(true);
    }
    auto *stripWidget = new QWidget(this);
    stripWidget->setLayout(strip);
    stripWidget->setFixedHeight(Scaled(kButtonStrip, this));
    layout->addWidget(stripWidget);

    // As wide as the platform's message box for the same text, and as tall plus the two strips.
    // Long lines wrap at a readable width instead of stretching the window across the screen.
    QMessageBox measure(QMessageBox::Information, QString(), DisplayText(text), QMessageBox::Ok);
    const QSize box = measure.sizeHint();
    const int width = std::clamp(box.width(), 260, 560);
    const QMargins m = layout->contentsMargins();
    const int textHeight = label->heightForWidth(width - m.left() - m.right());
    resize(width, std::max(box.height(), textHeight + m.top() + m.bottom() + 2 * layout->spacing()) +
                      icon->height() + stripWidget->height());

    // Centred on the screen, not on the parent window.
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    timer_ = new QTimer(this);
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &TFormAviso::Flash);
    timer_->start();
}

void TFormAviso::reject() {
    if (buttons_[2] && !no_ && !yes_)
        cancelled_ = true;
    QDialog::reject();
}

void TFormAviso::Flash() {
    red_ = !red_;
    for (QPushButton *b : buttons_) {
        if (!b)
            continue;
        QPalette pal = b->palette();
        pal.setColor(QPalette::ButtonText, red_ ? Qt::red : Qt::black);
        b->setPalette(pal);
    }
}

TInputBox::TInputBox(const QString &title, const QString &prompt, const QString &text, QWidget *parent)
    : QDialog(parent) {
    setObjectName("TInputBox");
    setWindowTitle(title);
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(prompt, this);
    label->setObjectName("LAPrompt");
    layout->addWidget(label);
    edit_ = new QLineEdit(text, this);
    edit_->setObjectName("EDTexto");
    layout->addWidget(edit_);
    AddDialogButtons(*this, *layout, "De &acuerdo", "&Cancelar").ok->setDefault(true);
    resize(360, sizeHint().height());
}

QString TInputBox::Text() const {
    return edit_->text();
}

bool NoticeWindow::Notice(NoticeKind kind, bool yesNo, bool centred, const std::string &text) {
    TFormAviso notice(kind, yesNo, centred, QString::fromStdString(text), parent_);
    notice.exec();
    return notice.AnsweredYes();
}

Answer NoticeWindow::Ask(const std::string &text, QuestionStyle style) {
    TFormAviso notice(NoticeKind::Question, true, true, QString::fromStdString(text), parent_, style);
    notice.exec();
    return notice.AnsweredYes() ? Answer::Yes : notice.Cancelled() ? Answer::Cancel : Answer::No;
}

bool NoticeWindow::InputText(const std::string &title, const std::string &prompt, std::string &text) {
    TInputBox box(QString::fromStdString(title), QString::fromStdString(prompt), QString::fromStdString(text),
                  parent_);
    if (box.exec() != QDialog::Accepted)
        return false;
    text = box.Text().toStdString();
    return true;
}

} // namespace cel::manager
