// The main window's "Fecha" typed as a person types it: select-all and type, Backspace and type,
// pasted text, the years 1, 1500 and 9999, and an impossible date refused with the chart kept.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include "common/date_time.h"
#include "document/workspace_page.h"
#include "manager/clock.h"
#include "manager/date_field.h"
#include "workspace_fixture.h"

namespace cel::workspace::test {
namespace {

constexpr const char *kAna = "Ana Lucía Restrepo Gaviria";

TEST_F(WindowFixture, TypedDatesOfAnyYearRecomputeTheChartOnce) {
    struct Case {
        const char *how; // "select", "backspace" or "paste"
        const char *text;
        int year, month, day;
    };
    const Case cases[] = {
        {"select", "25/12/1990", 1990, 12, 25},
        {"backspace", "10-07-1990", 1990, 7, 10},
        {"paste", "25 de diciembre de 1990", 1990, 12, 25},
        {"select", "1/1/1", 1, 1, 1},
        {"paste", "5 jun 1500 juliano", 1500, 6, 15},
        {"select", "31/12/9999", 9999, 12, 31},
        {"backspace", "15/06/1500", 1500, 6, 15},
    };
    TFormMain &w = Open();
    Choose(kAna);
    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    auto *field = Find<manager::DateField>("DEFecha");
    QLineEdit *edit = field->lineEdit();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const session::TimeFields before = session::TimeFieldsOf(w.Workspace().natalRecord.localDateTime);
        const std::uint64_t recomputes = Recomputes();
        if (std::string(c.how) == "paste") {
            QApplication::clipboard()->setText(QString::fromUtf8(c.text));
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        } else {
            if (std::string(c.how) == "select") {
                QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            } else {
                QTest::keyClick(edit, Qt::Key_End);
                for (int i = edit->text().size(); i > 0; --i)
                    QTest::keyClick(edit, Qt::Key_Backspace);
            }
            QTest::keyClicks(edit, QString::fromUtf8(c.text));
        }
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(Recomputes(), recomputes + 1);
        const CivilDateTime local = DecodeDateTime(w.Workspace().natalRecord.localDateTime);
        EXPECT_EQ(local.year, c.year);
        EXPECT_EQ(local.month, c.month);
        EXPECT_EQ(local.day, c.day);
        // The time of day stays as it was entered.
        EXPECT_EQ(local.hour, before.hour);
        EXPECT_EQ(local.minute, before.minute);
        EXPECT_TRUE(std::isfinite(w.Workspace().natal.instant));
        EXPECT_TRUE(w.NatalChanged());
    }
}

TEST_F(WindowFixture, AnImpossibleTypedDateIsRefusedAndTheChartKept) {
    TFormMain &w = Open();
    Choose(kAna);
    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    auto *field = Find<manager::DateField>("DEFecha");
    const TDateTime kept = w.Workspace().natalRecord.localDateTime;
    const QString shown = field->lineEdit()->text();
    const std::uint64_t recomputes = Recomputes();
    QTest::keyClick(field->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field->lineEdit(), "31/02/1990");
    QTest::keyClick(field->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(Recomputes(), recomputes);
    EXPECT_DOUBLE_EQ(w.Workspace().natalRecord.localDateTime, kept);
    EXPECT_FALSE(w.NatalChanged());
    EXPECT_EQ(field->errorText().toStdString(),
              "El día 31 de febrero de 1990 no existe: febrero de 1990 tiene 28 días.");
    EXPECT_TRUE(field->noteText().endsWith("Se mantiene la fecha " + shown + "."));
    EXPECT_TRUE(notifier_.shown.empty());
}

// Esteban's birth has a date without its time: the wheel page's date line and the printed pages say
// so while the chart stands at the 0:00 put in its place, and stop saying it once a time is set.
TEST_F(WindowFixture, ABirthWithoutItsTimeIsMarkedOnTheWheelAndPrintedPages) {
    TFormMain &w = Open();
    Find<QComboBox>("CBCon")->setCurrentIndex(3); // "Todos": the persons without a time are listed too
    Choose("Esteban Gorostiaga Duarte");
    auto *dateLine = Find<QLabel>("LabelNatalFecha");
    EXPECT_TRUE(dateLine->text().endsWith("  hora desconocida")) << dateLine->text().toStdString();
    const auto printed = [&w] {
        const document::PageHeading heading =
            document::MakeHeading(w.Workspace(), document::NamesFromDatabase(w.Workspace(), {}, false));
        std::string lines;
        for (const document::PageKind page : {document::PageKind::Rueda, document::PageKind::Speculum})
            for (const std::string &line : document::HeadingLines(page, heading, {}, w.Workspace().format))
                lines += line + "\n";
        return lines;
    };
    EXPECT_NE(printed().find(", hora desconocida\n"), std::string::npos) << printed(); // the wheel page
    EXPECT_NE(printed().find("  hora desconocida. Evento: "), std::string::npos) << printed(); // a report

    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    Find<QComboBox>("CB12h")->setCurrentIndex(1); // "24 h"
    Find<QSpinBox>("SEHora")->setValue(5);
    EXPECT_FALSE(dateLine->text().contains("desconocida"));
    EXPECT_EQ(printed().find("desconocida"), std::string::npos);

    notifier_.answers.push_back(false); // the changed natal data are not kept
    Choose(kAna);                       // a birth with its time
    EXPECT_FALSE(dateLine->text().contains("desconocida"));
}

// The event chart stands at the person's birth place (Medellín, zone -5), never at 0°, 0° and zone 0,
// and "Ahora" and "Hoy a las cero horas" read the clock there.
TEST_F(WindowFixture, TheEventStandsAtThePersonsPlaceAndNowIsThatPlacesClock) {
    TFormMain &w = Open();
    Choose(kAna);
    const chart::TDato &event = w.Workspace().eventRecord;
    EXPECT_EQ(event.placeId, 2);
    EXPECT_EQ(event.zone, -5);
    EXPECT_NEAR(event.gmtDateTime, manager::UniversalNow(), 5.0 / 1440);
    EXPECT_NEAR(event.localDateTime, event.gmtDateTime - 5.0 / 24, 1e-8);

    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    Find<QRadioButton>("RBEvento")->click();
    QTest::mouseClick(Find<QPushButton>("SBAhora"), Qt::LeftButton);
    const TDateTime universal = manager::UniversalNow();
    EXPECT_NEAR(event.gmtDateTime, universal, 2.0 / 1440);
    EXPECT_NEAR(event.localDateTime, universal - 5.0 / 24, 2.0 / 1440);

    QTest::mouseClick(Find<QPushButton>("SBHoy"), Qt::LeftButton);
    const CivilDateTime there = DecodeDateTime(ShiftDateTime(manager::UniversalNow(), -5.0L / 24));
    EXPECT_DOUBLE_EQ(event.localDateTime, EncodeDate(there.year, there.month, there.day));
}

} // namespace
} // namespace cel::workspace::test
