// The item editor offers the zone offset in force on a birth's date when it differs from the place's
// stored zone, and applying it with one click stores the birth as universal time (HoraUT = 1).
// Expected offsets are those of the IANA database installed with the system (tzdata 2025b or later).
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTimeEdit>

#include "common/date_time.h"
#include "manager/date_field.h"
#include "manager/item_editor.h"
#include "manager/zone_choices.h"
#include "manager_fixture.h"
#include "zones/place_zones.h"

namespace cel::manager {
namespace {

using mgrtest::Find;

TEST(ZoneOffer, TheItemEditorOffersTheOffsetInForceAndStoresTheBirthAsUniversalTime) {
    struct Case {
        int place;
        const char *date;
        QTime time;
        const char *text; // "" when the stored zone is the one in force
        const char *note;
        CivilDateTime universal;
    };
    const Case cases[] = {
        {8,
         "10/07/1990",
         QTime(19, 7),
         "En esa fecha regía UTC+2, horario de verano (Europe/Madrid)",
         "",
         {1990, 7, 10, 17, 7, 0, 0}},
        {35,
         "17/09/2003",
         QTime(11, 24),
         "En esa fecha regía UTC-4, horario de verano (America/New_York)",
         "",
         {2003, 9, 17, 15, 24, 0, 0}},
        {36,
         "13/06/2025",
         QTime(0, 0),
         "En esa fecha regía UTC-7, horario de verano (America/Los_Angeles)",
         "",
         {2025, 6, 13, 7, 0, 0, 0}},
        {20,
         "15/03/1905",
         QTime(12, 0),
         "En esa fecha regía UTC-4:16:48",
         "Antes de 1970",
         {1905, 3, 15, 16, 16, 48, 0}},
        {8, "10/01/1990", QTime(19, 7), "", "", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.date);
        mgrtest::SampleData data;
        SetZoneChoicesFile(data.folder.File("zonas-de-lugares.txt"));
        TFormItem editor(data.store, database::Kind::Person, -1);
        editor.show();
        Find<QLineEdit>(&editor, "EDNombre")->setText("Zona");
        Find<QTabBar>(&editor, "TBDatos")->setCurrentIndex(0);
        auto *place = Find<QComboBox>(&editor, "CMBLugar");
        place->setCurrentIndex(place->findData(c.place));
        Find<QCheckBox>(&editor, "CBFecha")->setChecked(true);
        Find<QCheckBox>(&editor, "CBHora")->setChecked(true);
        auto *field = Find<DateField>(&editor, "DTFecha");
        QTest::keyClick(field->lineEdit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field->lineEdit(), c.date);
        QTest::keyClick(field->lineEdit(), Qt::Key_Return);
        Find<QTimeEdit>(&editor, "TMHora")->setTime(c.time);

        auto *offer = Find<QLabel>(&editor, "LAZonaHistorica");
        auto *apply = Find<QPushButton>(&editor, "BTAplicarZona");
        if (*c.text == '\0') {
            EXPECT_FALSE(apply->isVisible());
            continue;
        }
        ASSERT_TRUE(apply->isVisible());
        EXPECT_TRUE(offer->text().startsWith(QString::fromUtf8(c.text))) << offer->text().toStdString();
        EXPECT_TRUE(offer->text().contains(QString::fromUtf8(c.note))) << offer->text().toStdString();
        // Nothing changes until the click.
        EXPECT_TRUE(Find<QRadioButton>(&editor, "RBLocal")->isChecked());
        apply->click();
        EXPECT_TRUE(Find<QRadioButton>(&editor, "RBUT")->isChecked());
        EXPECT_EQ(Find<QTimeEdit>(&editor, "TMHora")->time(),
                  QTime(c.universal.hour, c.universal.minute, c.universal.second));
        EXPECT_FALSE(apply->isVisible()); // universal time needs no zone

        Find<QPushButton>(&editor, "BTAcuerdo")->click();
        ASSERT_FALSE(editor.isVisible()) << data.notices.LastText();
        const database::Database saved = data.Reload();
        const auto &p =
            *saved.Persons[static_cast<std::size_t>(database::IndexOfId(saved.Persons, editor.EditedId()))];
        EXPECT_EQ(p.HoraUT, 1);
        EXPECT_EQ(p.IdLugarNac, c.place);
        EXPECT_NEAR(p.Fecha, EncodeDateTime(c.universal), 1e-8);
    }
}

// The place editor shows the place's zone and where it comes from; another zone chosen there is kept
// in the zone file (the data file keeps its bytes) and choosing the atlas's again forgets it.
TEST(ZoneOffer, ThePlaceEditorShowsTheZoneAndKeepsAnotherChoiceOutsideTheDataFile) {
    mgrtest::SampleData data;
    const std::string choicesFile = data.folder.File("zonas-de-lugares.txt");
    SetZoneChoicesFile(choicesFile);
    const std::string before = data.Bytes();
    const auto edit = [&data](const char *zone) {
        TFormItem editor(data.store, database::Kind::Place, 8); // Madrid
        editor.show();
        auto *combo = Find<QComboBox>(&editor, "CMBZona");
        const std::string shown = combo->currentText().toStdString();
        const std::string source = Find<QLabel>(&editor, "LAZonaOrigen")->text().toStdString();
        if (zone) {
            combo->setCurrentText(QString::fromUtf8(zone));
            Find<QPushButton>(&editor, "BTAcuerdo")->click();
        }
        return std::pair{shown, source};
    };
    const auto [derived, derivedSource] = edit("Africa/Ceuta");
    EXPECT_EQ(derived, "Europe/Madrid");
    EXPECT_EQ(derivedSource.rfind("Del atlas: la ciudad más cercana es Madrid", 0), 0u) << derivedSource;
    EXPECT_EQ(data.Bytes(), before);
    EXPECT_EQ(
        ZoneChoices().Get(zones::KeyOf(
            data.db, *data.db.Places[static_cast<std::size_t>(database::IndexOfId(data.db.Places, 8))])),
        "Africa/Ceuta");

    const auto [chosen, chosenSource] = edit("Europe/Madrid");
    EXPECT_EQ(chosen, "Africa/Ceuta");
    EXPECT_EQ(chosenSource, "Elegida por usted (el atlas da Europe/Madrid).");
    EXPECT_FALSE(
        ZoneChoices()
            .Get(zones::KeyOf(
                data.db, *data.db.Places[static_cast<std::size_t>(database::IndexOfId(data.db.Places, 8))]))
            .has_value());

    // A zone that is not in the database is refused, and nothing is kept.
    TFormItem editor(data.store, database::Kind::Place, 8);
    editor.show();
    Find<QComboBox>(&editor, "CMBZona")->setCurrentText("Marte/Olimpo");
    Find<QPushButton>(&editor, "BTAcuerdo")->click();
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(data.notices.LastText(),
              "La zona horaria \"Marte/Olimpo\" no existe en la base de datos de zonas horarias");
    EXPECT_EQ(data.Bytes(), before);
}

} // namespace
} // namespace cel::manager
