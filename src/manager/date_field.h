// The date field of the item editor and of the main window: it takes a date as it is typed or pasted
// (25/12/1990, 25 dic 1990, 1990-12-25, ..., any year from 1 to 9999, a Julian-calendar date with
// "j" or the "Juliano" toggle beside it), reads it on Enter or when the field is left, refuses an
// impossible date with a Spanish reason while keeping the previous date, shows both calendars for dates
// before the Gregorian reform, and opens a calendar with the button beside it (or Alt+Down / F4). Up and
// Down step one day. The date it gives is always the proleptic Gregorian one that records hold.
#pragma once

#include <QDate>
#include <QString>
#include <QWidget>

class QCalendarWidget;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QToolButton;

namespace cel::manager {

class DateField : public QWidget {
    Q_OBJECT
public:
    explicit DateField(QWidget *parent = nullptr);

    QDate date() const { return date_; }
    // Shows a date (kept within the range); emits dateChanged when the date changes.
    void setDate(QDate date);
    // A Spanish date pattern of QLocale ("dd/MM/yyyy", "MMM-dd-yyyy,ddd").
    void setDisplayFormat(const QString &format);
    void setDateRange(QDate minimum, QDate maximum);

    QLineEdit *lineEdit() const { return edit_; }
    // The reason the last typed text was refused; empty after a date was read.
    QString errorText() const { return error_; }
    // The note under the field: the refusal, or both calendars' readings of an early date.
    QString noteText() const;
    // Reads the typed text now, as Enter does; false when it was refused (the date is kept).
    bool commitText();
    void showCalendar();
    // The reading of the field: in the Julian calendar (the text shown and typed is a Julian date) or
    // the Gregorian. Choosing it reads the field's text again in that calendar, as the toggle does;
    // false when the text is not a date of that calendar (the date and reading are then kept).
    bool julianReading() const { return typedJulian_; }
    bool setJulianReading(bool julian);

signals:
    void dateChanged(QDate date);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ShowDate();
    QString Shown(QDate date) const;
    QString Shown(QDate date, bool julian) const;
    // A date from the arrows or the calendar: the reading chosen stays.
    void StepTo(QDate date);
    void SetError(const QString &message);

    QLineEdit *edit_ = nullptr;
    QToolButton *button_ = nullptr;
    QCheckBox *julian_ = nullptr;
    QLabel *note_ = nullptr;
    QFrame *popup_ = nullptr;
    QCalendarWidget *calendar_ = nullptr;
    QDate date_;
    QDate minimum_{1, 1, 1};
    QDate maximum_{9999, 12, 31};
    QString format_ = "dd/MM/yyyy";
    QString shownText_;
    bool typedJulian_ = false;
    QString error_;
};

} // namespace cel::manager
