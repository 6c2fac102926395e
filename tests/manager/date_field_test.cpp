// The date field as a person uses it: selecting and typing over, deleting and typing, pasting, keys
// and the calendar; impossible dates refused with the previous date kept; the item editor storing a
// typed birth date of any year.
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "common/date_time.h"
#include "manager/date_field.h"
#include "manager/item_editor.h"
#include "manager_fixture.h"

namespace cel::manager {
namespace {

using mgrtest::Find;

enum class Entry { SelectAllAndType, BackspaceAndType, Paste };

// Replaces the field's text the way a person does, then presses Enter.
void Enter(QLineEdit *edit, Entry how, const QString &text) {
    switch (how) {
    case Entry::SelectAllAndType:
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
        break;
    case Entry::BackspaceAndType:
        QTest::keyClick(edit, Qt::Key_End);
        for (int i = edit->text().size(); i > 0; --i)
            QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
        break;
    case Entry::Paste:
        QApplication::clipboard()->setText(text);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        break;
    }
    QTest::keyClick(edit, Qt::Key_Return);
}

TEST(DateField, ReadsTypedAndPastedDatesOfAnyYear) {
    struct Case {
        Entry how;
        const char *text;
        QDate expected;
        const char *shown;
        const char *note;
    };
    const Case cases[] = {
        {Entry::SelectAllAndType, "25/12/1990", QDate(1990, 12, 25), "25/12/1990", ""},
        {Entry::BackspaceAndType, "25-12-1990", QDate(1990, 12, 25), "25/12/1990", ""},
        {Entry::Paste, "25 de diciembre de 1990", QDate(1990, 12, 25), "25/12/1990", ""},
        {Entry::Paste, " 1990-12-25 ", QDate(1990, 12, 25), "25/12/1990", ""},
        {Entry::SelectAllAndType, "25 dic 1990", QDate(1990, 12, 25), "25/12/1990", ""},
        {Entry::SelectAllAndType, "01/01/0001", QDate(1, 1, 1), "01/01/0001",
         "gregoriano 1 ene 0001 = juliano 3 ene 0001"},
        {Entry::BackspaceAndType, "15/6/1500", QDate(1500, 6, 15), "15/06/1500",
         "gregoriano 15 jun 1500 = juliano 5 jun 1500"},
        {Entry::SelectAllAndType, "31/12/9999", QDate(9999, 12, 31), "31/12/9999", ""},
        {Entry::SelectAllAndType, "4/10/1582 j", QDate(1582, 10, 14), "04/10/1582",
         "gregoriano 14 oct 1582 = juliano 4 oct 1582"},
        {Entry::Paste, "25 de diciembre de 1642 (juliano)", QDate(1643, 1, 4), "25/12/1642",
         "gregoriano 4 ene 1643 = juliano 25 dic 1642"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        DateField field;
        field.setDate(QDate(2000, 1, 1));
        field.show();
        QSignalSpy changed(&field, &DateField::dateChanged);
        Enter(field.lineEdit(), c.how, QString::fromUtf8(c.text));
        EXPECT_EQ(field.date(), c.expected);
        EXPECT_EQ(changed.count(), 1);
        EXPECT_EQ(field.lineEdit()->text(), QString::fromUtf8(c.shown));
        EXPECT_EQ(field.noteText(), QString::fromUtf8(c.note));
        EXPECT_TRUE(field.errorText().isEmpty());
    }
}

TEST(DateField, RefusesImpossibleDatesAndKeepsThePreviousOne) {
    const std::pair<const char *, const char *> cases[] = {
        {"31/02/1990", "El día 31 de febrero de 1990 no existe: febrero de 1990 tiene 28 días."},
        {"29/02/1900", "febrero de 1900 tiene 28 días"},
        {"13/13/2000", "El mes 13 no existe"},
        {"1/1/10000", "escriba un año del 1 al 9999"},
        {"ayer", "No se reconoce \"ayer\""},
    };
    for (const auto &[text, reason] : cases) {
        SCOPED_TRACE(text);
        // In a dialog, so that an Enter the field does not take would press the default button.
        QDialog dialog;
        auto *field = new DateField(&dialog);
        auto *ok = new QPushButton("De Acuerdo", &dialog);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
        auto *other = new QLineEdit(&dialog);
        auto *layout = new QVBoxLayout(&dialog);
        layout->addWidget(field);
        layout->addWidget(other);
        layout->addWidget(ok);
        field->setDate(QDate(1990, 12, 25));
        dialog.show();
        QSignalSpy changed(field, &DateField::dateChanged);
        Enter(field->lineEdit(), Entry::SelectAllAndType, QString::fromUtf8(text));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), 0);
        EXPECT_EQ(field->date(), QDate(1990, 12, 25));
        EXPECT_EQ(changed.count(), 0);
        EXPECT_TRUE(field->errorText().contains(QString::fromUtf8(reason)))
            << field->errorText().toStdString();
        EXPECT_TRUE(field->noteText().endsWith("Se mantiene la fecha 25/12/1990."));
        // The typed text stays selected to be corrected; Escape brings the kept date back.
        EXPECT_EQ(field->lineEdit()->selectedText(), QString::fromUtf8(text));
        QTest::keyClick(field->lineEdit(), Qt::Key_Escape);
        EXPECT_EQ(field->lineEdit()->text(), "25/12/1990");
        EXPECT_TRUE(field->errorText().isEmpty());
        EXPECT_TRUE(dialog.isVisible());
    }
}

TEST(DateField, LeavingTheFieldReadsItOrGoesBackToTheKeptDate) {
    QWidget window;
    auto *field = new DateField(&window);
    auto *other = new QLineEdit(&window);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(field);
    layout->addWidget(other);
    field->setDate(QDate(1990, 12, 25));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    QTest::keyClick(field->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field->lineEdit(), "10/7/1990");
    other->setFocus();
    EXPECT_EQ(field->date(), QDate(1990, 7, 10));
    EXPECT_EQ(field->lineEdit()->text(), "10/07/1990");

    field->setFocus();
    QTest::keyClick(field->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field->lineEdit(), "31/06/1990");
    other->setFocus();
    EXPECT_EQ(field->date(), QDate(1990, 7, 10));
    EXPECT_EQ(field->lineEdit()->text(), "10/07/1990");
    EXPECT_TRUE(field->noteText().contains("junio de 1990 tiene 30 días"));
}

TEST(DateField, ArrowsStepADayAndTheCalendarChoosesOne) {
    DateField field;
    field.setDisplayFormat("MMM-dd-yyyy,ddd");
    field.setDate(QDate(1990, 12, 31));
    field.show();
    EXPECT_EQ(field.lineEdit()->text(), QString::fromUtf8("dic-31-1990,lun"));
    QTest::keyClick(field.lineEdit(), Qt::Key_Up);
    EXPECT_EQ(field.date(), QDate(1991, 1, 1));
    QTest::keyClick(field.lineEdit(), Qt::Key_Down);
    QTest::keyClick(field.lineEdit(), Qt::Key_Down);
    EXPECT_EQ(field.date(), QDate(1990, 12, 30));
    // The field's own text, typed back, reads as the same date.
    QTest::keyClick(field.lineEdit(), Qt::Key_End);
    QTest::keyClick(field.lineEdit(), Qt::Key_Return);
    EXPECT_EQ(field.date(), QDate(1990, 12, 30));

    QTest::keyClick(field.lineEdit(), Qt::Key_Down, Qt::AltModifier);
    auto *calendar = field.findChild<QCalendarWidget *>("Calendario");
    ASSERT_NE(calendar, nullptr);
    EXPECT_TRUE(calendar->isVisible());
    EXPECT_EQ(calendar->selectedDate(), QDate(1990, 12, 30));
    EXPECT_EQ(calendar->minimumDate(), QDate(1, 1, 1));
    EXPECT_EQ(calendar->maximumDate(), QDate(9999, 12, 31));
    emit calendar->activated(QDate(1492, 10, 12));
    EXPECT_FALSE(calendar->isVisible());
    EXPECT_EQ(field.date(), QDate(1492, 10, 12));
    EXPECT_EQ(field.noteText(), QString::fromUtf8("gregoriano 12 oct 1492 = juliano 3 oct 1492"));
}

// The "Juliano" toggle chooses the calendar the field is typed and shown in; the date it gives stays the
// proleptic Gregorian one, and both readings are shown under it.
TEST(DateField, TheJulianToggleReadsAndShowsTheDateInEitherCalendar) {
    enum class Do { Type, Tick, Untick, Up, Set };
    struct Step {
        Do what;
        const char *text; // typed, or for Set the date in ISO form
        QDate gregorian;  // what the field gives afterwards
        const char *shown;
        bool julian, enabled;
        const char *note; // the readings, or the start of the refusal
    };
    const Step steps[] = {
        {Do::Type, "1/3/1500", QDate(1500, 3, 1), "01/03/1500", false, true,
         "gregoriano 1 mar 1500 = juliano 20 feb 1500"},
        // The same text read as the Julian date that historical records give.
        {Do::Tick, "", QDate(1500, 3, 11), "01/03/1500", true, true,
         "gregoriano 11 mar 1500 = juliano 1 mar 1500"},
        {Do::Up, "", QDate(1500, 3, 12), "02/03/1500", true, true,
         "gregoriano 12 mar 1500 = juliano 2 mar 1500"},
        // A day only the Julian calendar has.
        {Do::Type, "29/02/1500", QDate(1500, 3, 10), "29/02/1500", true, true,
         "gregoriano 10 mar 1500 = juliano 29 feb 1500"},
        {Do::Untick, "", QDate(1500, 3, 10), "29/02/1500", true, true,
         "El día 29 de febrero de 1500 no existe"},
        {Do::Type, "4/10/1582", QDate(1582, 10, 14), "04/10/1582", true, true,
         "gregoriano 14 oct 1582 = juliano 4 oct 1582"},
        {Do::Untick, "", QDate(1582, 10, 4), "04/10/1582", false, true,
         "gregoriano 4 oct 1582 = juliano 24 sep 1582"},
        // From the reform on, the toggle is not offered and nothing is noted.
        {Do::Type, "15/10/1582", QDate(1582, 10, 15), "15/10/1582", false, false, ""},
        // A date typed with "j" turns the Julian reading on; it can be left even after the reform.
        {Do::Type, "15/10/1582 j", QDate(1582, 10, 25), "15/10/1582", true, true,
         "gregoriano 25 oct 1582 = juliano 15 oct 1582"},
        {Do::Type, "3/1/1", QDate(1, 1, 1), "03/01/0001", true, true,
         "gregoriano 1 ene 0001 = juliano 3 ene 0001"},
        // Julian 1 January of the year 1 is a day before the first Gregorian one.
        {Do::Type, "1/1/1", QDate(1, 1, 1), "1/1/1", true, true,
         "El 1 de enero de 1 del calendario juliano cae fuera"},
        {Do::Untick, "", QDate(1, 1, 3), "03/01/0001", false, true,
         "gregoriano 3 ene 0001 = juliano 5 ene 0001"},
        // Another record's date after the reform shows in the Gregorian calendar.
        {Do::Tick, "", QDate(1, 1, 1), "03/01/0001", true, true,
         "gregoriano 1 ene 0001 = juliano 3 ene 0001"},
        {Do::Set, "1990-12-25", QDate(1990, 12, 25), "25/12/1990", false, false, ""},
        // With the Julian reading on, a date typed after the reform is a Gregorian one.
        {Do::Set, "1500-03-01", QDate(1500, 3, 1), "01/03/1500", false, true,
         "gregoriano 1 mar 1500 = juliano 20 feb 1500"},
        {Do::Tick, "", QDate(1500, 3, 11), "01/03/1500", true, true,
         "gregoriano 11 mar 1500 = juliano 1 mar 1500"},
        {Do::Type, "25/12/1990", QDate(1990, 12, 25), "25/12/1990", false, false, ""},
    };
    DateField field;
    field.show();
    auto *toggle = Find<QCheckBox>(&field, "Juliano");
    EXPECT_FALSE(toggle->isEnabled());
    // (After a refusal the typed text stays in the field, and Escape brings the kept date back.)
    for (const Step &step : steps) {
        SCOPED_TRACE(std::string(step.text) + " / step " + std::to_string(&step - steps));
        switch (step.what) {
        case Do::Type:
            Enter(field.lineEdit(), Entry::SelectAllAndType, QString::fromUtf8(step.text));
            break;
        case Do::Tick:
        case Do::Untick:
            ASSERT_TRUE(toggle->isEnabled());
            QTest::mouseClick(toggle, Qt::LeftButton, {}, QPoint(4, toggle->height() / 2));
            break;
        case Do::Up:
            QTest::keyClick(field.lineEdit(), Qt::Key_Up);
            break;
        case Do::Set:
            field.setDate(QDate::fromString(step.text, Qt::ISODate));
            break;
        }
        EXPECT_EQ(field.date(), step.gregorian);
        EXPECT_EQ(field.lineEdit()->text(), QString::fromUtf8(step.shown));
        EXPECT_EQ(field.julianReading(), step.julian);
        EXPECT_EQ(toggle->isChecked(), step.julian);
        EXPECT_EQ(toggle->isEnabled(), step.enabled);
        EXPECT_EQ(toggle->isVisible(), step.enabled); // offered only where it means something
        EXPECT_TRUE(field.noteText().startsWith(QString::fromUtf8(step.note)))
            << field.noteText().toStdString();
        if (!field.errorText().isEmpty())
            QTest::keyClick(field.lineEdit(), Qt::Key_Escape);
    }
}

// The item editor's birth date typed (not picked), read when "De Acuerdo" is pressed.
TEST(DateField, TheItemEditorStoresATypedBirthDateOfAnyYear) {
    struct Case {
        const char *typed;
        int year, month, day;
    };
    const Case cases[] = {
        {"25/12/1990", 1990, 12, 25},
        {"1/1/1", 1, 1, 1},
        {"15 jun 1500", 1500, 6, 15},
        {"15/6/1500 j", 1500, 6, 25},
        {"31 de diciembre de 9999", 9999, 12, 31},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        mgrtest::SampleData data;
        TFormItem editor(data.store, database::Kind::Person, -1);
        editor.show();
        Find<QLineEdit>(&editor, "EDNombre")->setText("Tecla");
        Find<QTabBar>(&editor, "TBDatos")->setCurrentIndex(0);
        Find<QCheckBox>(&editor, "CBFecha")->setChecked(true);
        Find<QCheckBox>(&editor, "CBHora")->setChecked(true);
        Find<QTimeEdit>(&editor, "TMHora")->setTime(QTime(18, 0));
        auto *field = Find<DateField>(&editor, "DTFecha");
        QTest::keyClick(field->lineEdit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field->lineEdit(), QString::fromUtf8(c.typed));
        Find<QPushButton>(&editor, "BTAcuerdo")->click();
        ASSERT_FALSE(editor.isVisible()) << data.notices.LastText();
        const database::Database saved = data.Reload();
        const auto &p =
            *saved.Persons[static_cast<std::size_t>(database::IndexOfId(saved.Persons, editor.EditedId()))];
        const CivilDateTime stored = DecodeDateTime(p.Fecha);
        EXPECT_EQ(stored.year, c.year);
        EXPECT_EQ(stored.month, c.month);
        EXPECT_EQ(stored.day, c.day);
        EXPECT_EQ(stored.hour, 18);
    }
}

TEST(DateField, TheItemEditorRefusesAnImpossibleBirthDateAndSavesNothing) {
    mgrtest::SampleData data;
    const std::string before = data.Bytes();
    TFormItem editor(data.store, database::Kind::Person, -1);
    editor.show();
    Find<QLineEdit>(&editor, "EDNombre")->setText("Tecla");
    Find<QTabBar>(&editor, "TBDatos")->setCurrentIndex(0);
    Find<QCheckBox>(&editor, "CBFecha")->setChecked(true);
    auto *field = Find<DateField>(&editor, "DTFecha");
    field->setDate(QDate(1990, 2, 3));
    QTest::keyClick(field->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field->lineEdit(), "31/02/1990");
    Find<QPushButton>(&editor, "BTAcuerdo")->click();
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(data.notices.LastText(),
              "El día 31 de febrero de 1990 no existe: febrero de 1990 tiene 28 días.");
    EXPECT_EQ(field->date(), QDate(1990, 2, 3));
    EXPECT_EQ(data.Bytes(), before);
}

} // namespace
} // namespace cel::manager
