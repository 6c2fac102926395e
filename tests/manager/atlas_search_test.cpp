// The place editor searches the world atlas as the name is typed: the cities that match are listed
// largest first with region and country, and choosing one fills coordinates, country, zone offset and
// zone; accepting adds it to the data file as a place, which changes nowhere else.
#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>

#include "manager/item_editor.h"
#include "manager/zone_choices.h"
#include "manager_fixture.h"

namespace cel::manager {
namespace {

using mgrtest::Find;

std::vector<std::string> Lines(const std::string &bytes) {
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(AtlasSearch, TypingANameInThePlaceEditorFillsThePlaceFromTheChosenCity) {
    struct Case {
        const char *typed;
        const char *first; // the first city listed
        bool addCountry;   // the file has no such country: the editor offers to add it
        const char *country;
        int lonDeg, lonMin;
        bool east;
        int latDeg, latMin;
        bool south;
        int tzHour, tzMin;
        const char *zone;
    };
    const Case cases[] = {
        {"pereir", "Pereira — Risaralda, Colombia", false, "Colombia", 75, 41, false, 4, 48, false, -5, 0,
         "America/Bogota"},
        {"MENDOZA", "Mendoza — Provincia de Mendoza, Argentina", false, "Argentina", 68, 49, false, 32, 53,
         true, -3, 0, "America/Argentina/Mendoza"},
        {"lisbo", "Lisboa (Lisbon) — Lisboa, Portugal", true, "Portugal", 9, 8, false, 38, 43, false, 0, 0,
         "Europe/Lisbon"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        mgrtest::SampleData data;
        SetZoneChoicesFile(data.folder.File("zonas-de-lugares.txt"));
        const std::string before = data.Bytes();
        TFormItem editor(data.store, database::Kind::Place, -1);
        editor.show();
        auto *name = Find<QLineEdit>(&editor, "EDNombre");
        name->setFocus();
        QTest::keyClicks(name, QString::fromUtf8(c.typed));
        QAbstractItemView *list = name->completer()->popup();
        ASSERT_TRUE(list->isVisible());
        ASSERT_GT(list->model()->rowCount(), 0);
        const QString first = list->model()->index(0, 0).data().toString();
        EXPECT_TRUE(first.startsWith(QString::fromUtf8(c.first))) << first.toStdString();
        EXPECT_TRUE(first.endsWith(" hab.")) << first.toStdString();
        if (c.addCountry)
            data.notices.answers.push_back(true);
        // The first city chosen with the keyboard, as a person does.
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        EXPECT_FALSE(list->isVisible());

        EXPECT_EQ(Find<QComboBox>(&editor, "CMBPais")->currentText(), QString::fromUtf8(c.country));
        EXPECT_EQ(Find<QSpinBox>(&editor, "SELonGrados")->value(), c.lonDeg);
        EXPECT_EQ(Find<QSpinBox>(&editor, "SELonMinutos")->value(), c.lonMin);
        EXPECT_EQ(Find<QRadioButton>(&editor, "RBLonE")->isChecked(), c.east);
        EXPECT_EQ(Find<QSpinBox>(&editor, "SELatGrados")->value(), c.latDeg);
        EXPECT_EQ(Find<QSpinBox>(&editor, "SELatMinutos")->value(), c.latMin);
        EXPECT_EQ(Find<QRadioButton>(&editor, "RBLatS")->isChecked(), c.south);
        EXPECT_EQ(Find<QSpinBox>(&editor, "SETZHoras")->value(), c.tzHour);
        EXPECT_EQ(Find<QSpinBox>(&editor, "SETZMinutos")->value(), c.tzMin);
        EXPECT_EQ(Find<QComboBox>(&editor, "CMBZona")->currentText(), c.zone);
        const QString cityName = name->text();

        Find<QPushButton>(&editor, "BTAcuerdo")->click();
        ASSERT_FALSE(editor.isVisible()) << data.notices.LastText();
        const database::Database saved = data.Reload();
        const int i = database::IndexOfId(saved.Places, editor.EditedId());
        ASSERT_GE(i, 0);
        const database::TLugar_Geo &place = *saved.Places[static_cast<std::size_t>(i)];
        EXPECT_EQ(QString::fromStdString(place.Nombre), cityName);
        EXPECT_EQ(database::NameOfId(saved.Countries, place.IdPais), c.country);
        EXPECT_NEAR(static_cast<double>(place.TZ), c.tzHour + (c.tzHour < 0 ? -1 : 1) * c.tzMin / 60.0, 1e-9);
        EXPECT_NEAR(std::abs(static_cast<double>(place.Lon)), c.lonDeg + c.lonMin / 60.0, 1.0 / 60);

        // The file gained the place (and the country when it had none); every other line is as it was.
        std::vector<std::string> was = Lines(before), now = Lines(data.Bytes());
        EXPECT_EQ(now.size(), was.size() + (c.addCountry ? 2 : 1));
        std::vector<std::string> kept;
        for (const std::string &line : now)
            if (std::find(was.begin(), was.end(), line) != was.end())
                kept.push_back(line);
        EXPECT_EQ(kept, was);
    }
}

// The country a city needs is offered while another program has just saved the file with a country
// of its own: the save is refused, the file is read again, and the other program's country stays.
TEST(AtlasSearch, ARefusedCountryLeavesTheOtherProgramsCountryAlone) {
    mgrtest::SampleData data;
    SetZoneChoicesFile(data.folder.File("zonas-de-lugares.txt"));
    {
        database::Database other = data.Reload();
        auto country = std::make_unique<database::TPais>();
        country->Nombre = "Andorra";
        country->Id = other.TakeId(database::Kind::Country); // the id this editor is about to take
        other.Countries.push_back(std::move(country));
        database::SaveDataFile(data.path, other, mgrtest::CommaFormat());
        std::filesystem::last_write_time(data.path, std::filesystem::last_write_time(data.path) +
                                                        std::chrono::seconds(5));
    }
    TFormItem editor(data.store, database::Kind::Place, -1);
    editor.show();
    auto *name = Find<QLineEdit>(&editor, "EDNombre");
    name->setFocus();
    QTest::keyClicks(name, "lisbo");
    QAbstractItemView *list = name->completer()->popup();
    ASSERT_TRUE(list->isVisible());
    data.notices.answers.push_back(true); // add Portugal
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);

    EXPECT_NE(data.notices.LastText().find("Portugal"), std::string::npos) << data.notices.LastText();
    const database::Database &db = data.store.Db();
    const auto named = [&db](const char *country) {
        return std::any_of(db.Countries.begin(), db.Countries.end(),
                           [country](const auto &c) { return c->Nombre == country; });
    };
    EXPECT_TRUE(named("Andorra"));
    EXPECT_FALSE(named("Portugal"));
}

// From a person's birth data: "+" opens the place editor, a city typed and chosen there becomes the
// person's birth place.
TEST(AtlasSearch, ACityChosenFromThePersonEditorBecomesTheBirthPlace) {
    mgrtest::SampleData data;
    SetZoneChoicesFile(data.folder.File("zonas-de-lugares.txt"));
    TFormItem editor(data.store, database::Kind::Person, -1);
    editor.show();
    Find<QLineEdit>(&editor, "EDNombre")->setText("Atlas");
    Find<QTabBar>(&editor, "TBDatos")->setCurrentIndex(0);
    bool chosen = false;
    mgrtest::OnNextModal([&chosen](QWidget *placeEditor) {
        auto *name = Find<QLineEdit>(placeEditor, "EDNombre");
        name->setFocus();
        QTest::keyClicks(name, "pereir");
        QAbstractItemView *list = name->completer()->popup();
        if (!list->isVisible())
            return Find<QPushButton>(placeEditor, "BTCancelar")->click();
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        chosen = Find<QComboBox>(placeEditor, "CMBZona")->currentText() == "America/Bogota";
        Find<QPushButton>(placeEditor, "BTAcuerdo")->click();
    });
    Find<QPushButton>(&editor, "BTAgregarLugar")->click();
    EXPECT_TRUE(chosen);
    auto *place = Find<QComboBox>(&editor, "CMBLugar");
    EXPECT_TRUE(place->currentText().startsWith("Pereira")) << place->currentText().toStdString();
    const database::Database saved = data.Reload();
    const int i = database::IndexOfName(saved.Places, "Pereira");
    ASSERT_GE(i, 0);
    EXPECT_EQ(place->currentData().toInt(), saved.Places[static_cast<std::size_t>(i)]->Id);
}

// A name that no city has lists nothing, and the editor works as before.
TEST(AtlasSearch, ANameTheAtlasDoesNotHaveListsNothing) {
    mgrtest::SampleData data;
    TFormItem editor(data.store, database::Kind::Place, -1);
    editor.show();
    auto *name = Find<QLineEdit>(&editor, "EDNombre");
    name->setFocus();
    QTest::keyClicks(name, "Xqzvw");
    EXPECT_FALSE(name->completer()->popup()->isVisible());
    EXPECT_EQ(name->text(), "Xqzvw");
    EXPECT_EQ(Find<QSpinBox>(&editor, "SELonGrados")->value(), 0);
}

} // namespace
} // namespace cel::manager
