#include "manager/date_field.h"

#include <QApplication>
#include <QCalendar>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QFocusEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "common/typed_date.h"
#include "manager/wrapped_label.h"

namespace cel::manager {

namespace {

QLocale Spanish() {
    return QLocale(QLocale::Spanish, QLocale::Spain);
}

CalendarDate Of(QDate d) {
    return {d.year(), d.month(), d.day()};
}

} // namespace

DateField::DateField(QWidget *parent) : QWidget(parent), date_(2000, 1, 1) {
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);
    auto *row = new QHBoxLayout;
    row->setSpacing(0);
    edit_ = new QLineEdit(this);
    edit_->setObjectName("Texto");
    edit_->setToolTip(QString::fromUtf8(
        "Escriba o pegue la fecha: 25/12/1990, 25-12-1990, 25 dic 1990, 25 de diciembre de 1990 o "
        "1990-12-25 (años 1 a 9999).\nUna fecha del calendario juliano lleva \"j\": 4/10/1582 j (o marque "
        "\"Juliano\", que se ofrece para las fechas anteriores al 15/10/1582).\n"
        "Enter la lee; flechas arriba y abajo: un día; Alt+Abajo: calendario."));
    button_ = new QToolButton(this);
    button_->setObjectName("BotonCalendario");
    button_->setArrowType(Qt::DownArrow);
    button_->setToolTip("Calendario (Alt+Abajo)");
    button_->setFocusPolicy(Qt::NoFocus);
    julian_ = new QCheckBox("Juliano", this);
    julian_->setObjectName("Juliano");
    julian_->setToolTip(QString::fromUtf8(
        "Escribir y ver la fecha en el calendario juliano, como la dan los registros anteriores a la reforma "
        "gregoriana (15 de octubre de 1582).\nLa fecha se guarda en el calendario gregoriano; debajo se ven "
        "las dos lecturas."));
    julian_->setFocusPolicy(Qt::TabFocus);
    row->addWidget(edit_, 1);
    row->addWidget(button_);
    column->addLayout(row);
    // Under the field, shown only when there is something to say: the refusal or both calendars'
    // readings, and the toggle of the Julian reading for dates before the reform (so the field is no
    // wider in the windows for the dates of today).
    auto *noteRow = new QHBoxLayout;
    noteRow->setSpacing(6);
    note_ = new WrappedLabel(this);
    note_->setObjectName("Nota");
    note_->hide();
    julian_->hide();
    noteRow->addWidget(note_, 1);
    noteRow->addWidget(julian_, 0, Qt::AlignTop);
    column->addLayout(noteRow);
    setFocusProxy(edit_);
    edit_->installEventFilter(this);
    connect(button_, &QToolButton::clicked, this, &DateField::showCalendar);
    connect(julian_, &QCheckBox::clicked, this, [this](bool on) {
        if (!setJulianReading(on))
            edit_->setFocus(Qt::OtherFocusReason);
    });
    setDisplayFormat(format_);
}

QString DateField::Shown(QDate date) const {
    return Shown(date, typedJulian_);
}

QString DateField::Shown(QDate date, bool julian) const {
    return julian ? Spanish().toString(date, format_, QCalendar(QCalendar::System::Julian))
                  : Spanish().toString(date, format_);
}

void DateField::setDisplayFormat(const QString &format) {
    format_ = format;
    // Wide enough for the longest month and weekday names.
    int width = 0;
    for (int day = 1; day <= 7; ++day)
        width =
            std::max(width, edit_->fontMetrics().horizontalAdvance(Shown(QDate(2000, 9, 24 + day), false)));
    edit_->setMinimumWidth(width + 16);
    ShowDate();
}

void DateField::setDateRange(QDate minimum, QDate maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    setDate(date_);
}

void DateField::setDate(QDate date) {
    if (!date.isValid())
        return;
    // Another record's date keeps the Julian reading only while it is a date before the reform.
    const QDate kept = std::clamp(date, minimum_, maximum_);
    if (kept != date_ && !IsBeforeReform(Of(kept)))
        typedJulian_ = false;
    StepTo(date);
}

void DateField::StepTo(QDate date) {
    date = std::clamp(date, minimum_, maximum_);
    error_.clear();
    const bool changed = date != date_;
    date_ = date;
    ShowDate();
    if (changed)
        emit dateChanged(date_);
}

QString DateField::noteText() const {
    return note_->text();
}

void DateField::ShowDate() {
    shownText_ = Shown(date_);
    edit_->setText(shownText_);
    QString note;
    if (!error_.isEmpty()) {
        note = error_ + QString::fromUtf8("\nSe mantiene la fecha ") + shownText_ + ".";
        note_->setStyleSheet("color: #b00000;");
    } else {
        TypedDate d;
        d.gregorian = Of(date_);
        d.julian = JulianOf(d.gregorian);
        d.typedJulian = typedJulian_;
        note = QString::fromStdString(CalendarReadingsText(d));
        note_->setStyleSheet({});
    }
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
    // The Julian reading is offered for dates before the reform, and can always be left.
    const QSignalBlocker quiet(julian_);
    julian_->setChecked(typedJulian_);
    const bool offered = typedJulian_ || IsBeforeReform(Of(date_));
    julian_->setEnabled(offered);
    julian_->setVisible(offered);
}

bool DateField::setJulianReading(bool julian) {
    if (julian == typedJulian_ && error_.isEmpty())
        return true;
    // The text in the field (as typed, or as shown) is read again in the chosen calendar.
    const QString text = edit_->text().trimmed();
    const TypedDateResult read = ParseTypedDate(text.toStdString() + (julian ? " j" : ""));
    if (!read.date || read.date->typedJulian != julian) {
        SetError(read.date ? QString::fromUtf8("La fecha \"") + text +
                                 QString::fromUtf8("\" está escrita en el calendario juliano: quite la \"j\" "
                                                   "para leerla en el gregoriano.")
                           : QString::fromStdString(read.error));
        julian_->setChecked(typedJulian_);
        return false;
    }
    const CalendarDate &g = read.date->gregorian;
    const QDate date(g.year, g.month, g.day);
    if (date < minimum_ || date > maximum_) {
        SetError(QString::fromUtf8("La fecha debe estar entre el ") + Shown(minimum_, false) + " y el " +
                 Shown(maximum_, false) + ".");
        julian_->setChecked(typedJulian_);
        return false;
    }
    typedJulian_ = julian;
    StepTo(date);
    return true;
}

void DateField::SetError(const QString &message) {
    error_ = message;
    const QString typed = edit_->text();
    ShowDate();
    // The typed text stays, selected, so that it can be corrected or typed over.
    edit_->setText(typed);
    edit_->selectAll();
}

bool DateField::commitText() {
    const QString text = edit_->text().trimmed();
    if (text == shownText_) {
        if (!error_.isEmpty()) {
            error_.clear();
            ShowDate();
        }
        return true;
    }
    // With the Julian reading chosen, a date typed without a calendar's name is a Julian one (a date
    // that names the Gregorian calendar is read in it).
    // The Julian reading holds for the dates typed before the reform; a later one is a Gregorian date.
    TypedDateResult read = ParseTypedDate(text.toStdString());
    if (typedJulian_ && !(read.date && (read.date->typedJulian || read.date->namedGregorian))) {
        TypedDateResult julian = ParseTypedDate(text.toStdString() + " j");
        const CalendarDate typed = julian.date ? julian.date->julian
                                   : read.date ? read.date->gregorian
                                               : CalendarDate{};
        if (!read.date || IsBeforeReform(typed))
            read = std::move(julian);
    }
    if (!read.date) {
        SetError(QString::fromStdString(read.error));
        return false;
    }
    const CalendarDate &g = read.date->gregorian;
    const QDate date(g.year, g.month, g.day);
    if (date < minimum_ || date > maximum_) {
        SetError(QString::fromUtf8("La fecha debe estar entre el ") + Shown(minimum_, false) + " y el " +
                 Shown(maximum_, false) + ".");
        return false;
    }
    error_.clear();
    const bool changed = date != date_;
    date_ = date;
    typedJulian_ = read.date->typedJulian;
    ShowDate();
    if (changed)
        emit dateChanged(date_);
    return true;
}

void DateField::showCalendar() {
    if (edit_->text().trimmed() != shownText_ && !commitText())
        return;
    if (!popup_) {
        popup_ = new QFrame(this, Qt::Popup);
        popup_->setObjectName("PopupCalendario");
        popup_->setFrameShape(QFrame::StyledPanel);
        auto *layout = new QVBoxLayout(popup_);
        layout->setContentsMargins(0, 0, 0, 0);
        calendar_ = new QCalendarWidget(popup_);
        calendar_->setObjectName("Calendario");
        calendar_->setLocale(Spanish());
        calendar_->setFirstDayOfWeek(Qt::Monday);
        calendar_->setGridVisible(true);
        layout->addWidget(calendar_);
        calendar_->installEventFilter(this);
        const auto choose = [this](QDate date) {
            popup_->hide();
            StepTo(date);
            edit_->setFocus(Qt::PopupFocusReason);
        };
        connect(calendar_, &QCalendarWidget::clicked, this, choose);
        connect(calendar_, &QCalendarWidget::activated, this, choose);
    }
    // The calendar of the reading chosen: a Julian month for a Julian date.
    calendar_->setCalendar(typedJulian_ ? QCalendar(QCalendar::System::Julian) : QCalendar());
    calendar_->setDateRange(minimum_, maximum_);
    calendar_->setSelectedDate(date_);
    popup_->adjustSize();
    QPoint at = edit_->mapToGlobal(QPoint(0, edit_->height()));
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - popup_->width())));
        if (at.y() + popup_->height() > area.bottom())
            at.setY(edit_->mapToGlobal(QPoint(0, 0)).y() - popup_->height());
    }
    popup_->move(at);
    popup_->show();
    calendar_->setFocus(Qt::PopupFocusReason);
}

bool DateField::eventFilter(QObject *watched, QEvent *event) {
    if (watched == calendar_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        popup_->hide();
        edit_->setFocus(Qt::PopupFocusReason);
        return true;
    }
    if (watched != edit_)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool changed = edit_->text().trimmed() != shownText_;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Enter after typing reads the date and stays in the field (a dialog does not close on it);
            // Enter on a date already read goes on to the dialog's default button.
            if (!changed && error_.isEmpty())
                return false;
            commitText();
            return true;
        case Qt::Key_Escape:
            if (!changed && error_.isEmpty())
                return false;
            error_.clear();
            ShowDate();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (key->modifiers() & Qt::AltModifier) {
                if (key->key() == Qt::Key_Down)
                    showCalendar();
                return true;
            }
            if (changed && !commitText())
                return true;
            StepTo(date_.addDays(key->key() == Qt::Key_Up ? 1 : -1));
            return true;
        case Qt::Key_F4:
            showCalendar();
            return true;
        default:
            break;
        }
    } else if (event->type() == QEvent::FocusOut &&
               static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
        // Leaving the field reads it; a refused text goes back to the kept date, its reason stays shown.
        if (edit_->text().trimmed() != shownText_ && !commitText()) {
            ShowDate();
            edit_->deselect();
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace cel::manager
