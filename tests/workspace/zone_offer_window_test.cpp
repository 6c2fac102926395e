// The main window offers the zone offset in force on the entered date beside the time, applies it
// with one click (the record then holds Greenwich time) and "Guardar" stores the birth with HoraUT = 1.
// Expected offsets are those of the installed IANA database (tzdata 2025b or later).
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include "common/date_time.h"
#include "database/data_file.h"
#include "manager/date_field.h"
#include "manager/zone_choices.h"
#include "support/widgets.h"
#include "workspace_fixture.h"

namespace cel::workspace::test {
namespace {

constexpr const char *kAna = "Ana Lucía Restrepo Gaviria";

TEST_F(WindowFixture, TheZoneInForceIsOfferedBesideTheTimeAndAppliedWithOneClick) {
    manager::SetZoneChoicesFile(dir_ / "zonas-de-lugares.txt");
    TFormMain &w = Open();
    Choose(kAna);
    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    auto *apply = Find<QPushButton>("BTAplicarZona");
    EXPECT_FALSE(apply->isVisible()); // Medellín keeps UTC-5

    auto *country = Find<QComboBox>("CBPais");
    country->setCurrentIndex(country->findText(QString::fromUtf8("España")));
    auto *place = Find<QComboBox>("CBLugar");
    place->setCurrentIndex(place->findText("Madrid"));
    Find<QComboBox>("CB12h")->setCurrentIndex(1); // "24 h"
    auto *field = Find<manager::DateField>("DEFecha");
    QTest::keyClick(field->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field->lineEdit(), "10/07/1990");
    QTest::keyClick(field->lineEdit(), Qt::Key_Return);
    Find<QSpinBox>("SEHora")->setValue(19);
    Find<QSpinBox>("SEMin")->setValue(7);
    Find<QSpinBox>("SESeg")->setValue(0);
    Find<QSpinBox>("SEMs")->setValue(0);

    const chart::TDato &natal = w.Workspace().natalRecord;
    // Stored zone +1: the chart is at 18:07 GMT until the offer is taken.
    EXPECT_NEAR(natal.gmtDateTime, EncodeDateTime({1990, 7, 10, 18, 7, 0, 0}), 1e-8);
    ASSERT_TRUE(apply->isVisible());
    EXPECT_EQ(Find<QLabel>("LAZonaHistorica")->text().toStdString(),
              "En esa fecha regía UTC+2, horario de verano (Europe/Madrid)");
    const std::uint64_t recomputes = Recomputes();
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_EQ(Recomputes(), recomputes + 1);
    EXPECT_EQ(natal.gmtFlag, 1);
    EXPECT_NEAR(natal.gmtDateTime, EncodeDateTime({1990, 7, 10, 17, 7, 0, 0}), 1e-8);
    EXPECT_EQ(Find<QComboBox>("CBGMTEntrada")->currentIndex(), 1);
    EXPECT_EQ(Find<QSpinBox>("SEHora")->value(), 17);
    EXPECT_FALSE(apply->isVisible());

    QTest::mouseClick(Find<QToolButton>("SBGuardarNatal"), Qt::LeftButton);
    database::Database saved;
    ScriptedNotifier quiet;
    database::LoadDataFile(dataFile_, saved, quiet, w.Workspace().format);
    const database::TPersona &ana =
        *saved.Persons[static_cast<std::size_t>(database::IndexOfId(saved.Persons, 1))];
    EXPECT_EQ(ana.HoraUT, 1);
    EXPECT_EQ(ana.IdLugarNac, 8);
    EXPECT_NEAR(ana.Fecha, EncodeDateTime({1990, 7, 10, 17, 7, 0, 0}), 1e-8);
}

// The notes the entry adds under the date (the zone offer, the Julian and Gregorian readings) have
// the room their text needs at 1366x768: nothing is cut off.
TEST_F(WindowFixture, TheEntrysNotesHaveRoomForTheirText) {
    manager::SetZoneChoicesFile(dir_ / "zonas-de-lugares.txt");
    TFormMain &w = Open();
    Choose(kAna);
    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    testsupport::ChooseText(Find<QComboBox>("CBPais"), QString::fromUtf8("España"));
    testsupport::ChooseText(Find<QComboBox>("CBLugar"), "Madrid");
    auto *field = Find<manager::DateField>("DEFecha");
    const auto type = [&](const char *date) {
        QTest::keyClick(field->lineEdit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field->lineEdit(), date);
        QTest::keyClick(field->lineEdit(), Qt::Key_Return);
        for (int pass = 0; pass < 3; ++pass) // the notes' heights settle in the layouts
            QApplication::processEvents();
    };
    const auto roomy = [&](const char *name, const char *shot) {
        testsupport::Keep(w.grab().toImage(), shot);
        auto *label = w.findChild<QLabel *>(name);
        ASSERT_NE(label, nullptr) << name;
        ASSERT_TRUE(label->isVisible()) << name;
        EXPECT_GE(label->height(), label->heightForWidth(label->width())) << name << " is cut off";
        // Nothing of the page stands over the note.
        const QRect note(label->mapTo(&w, QPoint(0, 0)), label->size());
        for (const QWidget *other : label->window()->findChildren<QWidget *>()) {
            if (!other->isVisible() || other == label || other->isAncestorOf(label) ||
                label->isAncestorOf(other) || other->isWindow() ||
                !other->findChildren<QWidget *>().isEmpty())
                continue;
            const QRect box(other->mapTo(&w, QPoint(0, 0)), other->size());
            EXPECT_FALSE(note.intersects(box)) << name << " under " << other->objectName().toStdString();
        }
        EXPECT_GE(label->width(), std::min(label->sizeHint().width(), label->minimumSizeHint().width()))
            << name;
    };
    type("10/07/1990");
    roomy("LAZonaHistorica", "entrada-oferta-zona.png");
    type("11/03/1500");
    roomy("Nota", "entrada-fecha-juliana.png");
}

} // namespace
} // namespace cel::workspace::test
