// Typing in the main window's place field lists the country's places of the data file and the atlas's
// cities that match; a place of the file is chosen at once, a city the file does not have is added as a
// place only once the user confirms, and Escape or a refused save leaves the place as it was.
#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QPainter>
#include <QTabWidget>

#include <chrono>
#include <fstream>
#include <sstream>

#include "database/data_file.h"
#include "manager/zone_choices.h"
#include "support/widgets.h"
#include "workspace_fixture.h"

namespace cel::workspace::test {
namespace {

constexpr const char *kAna = "Ana Lucía Restrepo Gaviria"; // born in Medellín

class PlaceSearch : public WindowFixture {
protected:
    TFormMain &OpenAtAna() {
        manager::SetZoneChoicesFile(dir_ / "zonas-de-lugares.txt");
        TFormMain &w = Open();
        Choose(kAna);
        Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
        return w;
    }
    QLineEdit *Field() { return Find<QComboBox>("CBLugar")->lineEdit(); }
    QAbstractItemView *List() { return Field()->completer()->popup(); }
    // Types into the place field as a person does, after selecting what it shows.
    void Type(const char *text) {
        window_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        Field()->setFocus();
        EXPECT_TRUE(Field()->hasFocus());
        Field()->selectAll();
        QTest::keyClicks(Field(), QString::fromUtf8(text));
    }
    QString Row(int row) { return List()->model()->index(row, 0).data().toString(); }
    // Down and Enter on the open list, as a person chooses its first entry (Enter alone takes it too).
    void ChooseFirst(bool arrow = true) {
        if (arrow)
            QTest::keyClick(List(), Qt::Key_Down);
        QTest::keyClick(List(), Qt::Key_Return);
        QApplication::processEvents();
    }
    std::string FileBytes() {
        std::ifstream in(dataFile_, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    database::Database Saved() {
        database::Database saved;
        SilentNotifier quiet;
        database::LoadDataFile(dataFile_, saved, quiet, window_->Workspace().format);
        return saved;
    }
    std::string PlaceName(std::int32_t id) { return window_->Workspace().db.PlaceCaption(id); }
    std::string EntryPlace() { return PlaceName(window_->Session().Entry().placeId); }
};

// A place the file has is chosen without a question, from its own country's list or through the
// atlas's city of that name from another country; the file does not change.
TEST_F(PlaceSearch, APlaceOfTheFileIsChosenWithoutAQuestion) {
    struct Case {
        const char *country, *place; // chosen before typing
        const char *typed;
        const char *first; // how the first entry begins
        const char *chosen;
    } const cases[] = {
        {"España", "Madrid", "medell", "Medellín — Antioquia, Colombia · ", "Medellín, Colombia"},
        {"Colombia", "Medellín", "BOGO", "Bogotá — ", "Bogotá, Colombia"},
        {"Colombia", "Medellín", "barran", "Barranquilla — ", "Barranquilla, Colombia"},
    };
    OpenAtAna();
    const std::string before = FileBytes();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        testsupport::ChooseText(Find<QComboBox>("CBPais"), QString::fromUtf8(c.country));
        testsupport::ChooseText(Find<QComboBox>("CBLugar"), QString::fromUtf8(c.place));
        Type(c.typed);
        ASSERT_TRUE(List()->isVisible());
        EXPECT_TRUE(Row(0).startsWith(QString::fromUtf8(c.first))) << Row(0).toStdString();
        EXPECT_TRUE(Row(0).endsWith("en el archivo de datos")) << Row(0).toStdString();
        ChooseFirst();
        EXPECT_EQ(EntryPlace(), c.chosen);
        EXPECT_EQ(Find<QComboBox>("CBLugar")->currentText().toStdString() + ", " +
                      Find<QComboBox>("CBPais")->currentText().toStdString(),
                  c.chosen);
        EXPECT_FALSE(List()->isVisible());
    }
    EXPECT_TRUE(notifier_.shown.empty()) << notifier_.LastText();
    EXPECT_EQ(FileBytes(), before);
}

// A city the file does not have: the question names it with its coordinates and zone (and the country
// the file lacks), and "Sí" adds it to the file as a place that becomes the entry's, in its zone.
TEST_F(PlaceSearch, ACityTheFileLacksIsAddedOnceConfirmed) {
    struct Case {
        const char *typed;
        const char *first; // how the first entry begins
        const char *name, *country, *zone;
        bool newCountry;
        bool arrow; // Down before Enter
    } const cases[] = {
        {"maniz", "Manizales — Caldas, Colombia · ", "Manizales", "Colombia", "America/Bogota", false, true},
        {"lisbo", "Lisboa (Lisbon) — Lisboa, Portugal · ", "Lisboa", "Portugal", "Europe/Lisbon", true,
         false},
    };
    TFormMain &w = OpenAtAna();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        const database::Database before = Saved();
        Type(c.typed);
        ASSERT_TRUE(List()->isVisible());
        EXPECT_TRUE(Row(0).startsWith(QString::fromUtf8(c.first))) << Row(0).toStdString();
        EXPECT_TRUE(Row(0).endsWith(" hab.")) << Row(0).toStdString();
        notifier_.answers.push_back(true);
        ChooseFirst(c.arrow);
        ASSERT_FALSE(notifier_.shown.empty());
        const std::string question = notifier_.shown.back().text;
        EXPECT_EQ(notifier_.shown.back().kind, NoticeKind::Question);
        for (const std::string &part : {std::string(c.name), std::string("Latitud: "),
                                        std::string("Longitud: "), std::string("Zona horaria: ") + c.zone})
            EXPECT_NE(question.find(part), std::string::npos) << part << " in " << question;
        EXPECT_EQ(question.find("no está en el archivo de datos") != std::string::npos, c.newCountry)
            << question;

        const database::Database saved = Saved();
        EXPECT_EQ(saved.Places.size(), before.Places.size() + 1);
        EXPECT_EQ(saved.Countries.size(), before.Countries.size() + (c.newCountry ? 1 : 0));
        const int i = database::IndexOfName(saved.Places, c.name);
        ASSERT_GE(i, 0);
        const database::TLugar_Geo &place = *saved.Places[static_cast<std::size_t>(i)];
        EXPECT_EQ(database::NameOfId(saved.Countries, place.IdPais), c.country);
        EXPECT_EQ(w.Session().Entry().placeId, place.Id);
        EXPECT_EQ(Find<QComboBox>("CBLugar")->currentText().toStdString(), c.name);
        EXPECT_EQ(Find<QComboBox>("CBPais")->currentText().toStdString(), c.country);
        const std::optional<session::ZoneOffer> zone = w.Session().EntryZoneOffer();
        ASSERT_TRUE(zone.has_value());
        EXPECT_EQ(zone->zoneId, c.zone);
        EXPECT_EQ(w.Workspace().natalRecord.zone, place.TZ);
    }
}

// "No" to the question, or a file that refuses the save, adds nothing and keeps the place; Escape, or
// leaving the field, closes the list and the field shows the place again.
TEST_F(PlaceSearch, NothingIsAddedWithoutAConfirmedSave) {
    enum class Ending { No, RefusedSave, Escape, EscapeAfterArrows, FocusLeft };
    const Ending endings[] = {Ending::Escape, Ending::EscapeAfterArrows, Ending::FocusLeft, Ending::No,
                              Ending::RefusedSave};
    TFormMain &w = OpenAtAna();
    const std::int32_t medellin = w.Session().Entry().placeId;
    ASSERT_EQ(EntryPlace(), "Medellín, Colombia");
    const std::size_t places = w.Workspace().db.Places.size();
    for (const Ending ending : endings) {
        SCOPED_TRACE(static_cast<int>(ending));
        const std::string before = FileBytes();
        notifier_.Clear();
        Type("maniz");
        ASSERT_TRUE(List()->isVisible());
        switch (ending) {
        case Ending::No:
            notifier_.answers.push_back(false);
            ChooseFirst();
            break;
        case Ending::RefusedSave: {
            // Another program saved the file meanwhile: this one's save is refused.
            std::filesystem::last_write_time(dataFile_, std::filesystem::last_write_time(dataFile_) +
                                                            std::chrono::seconds(5));
            notifier_.answers.push_back(true);
            ChooseFirst();
            EXPECT_EQ(notifier_.shown.back().kind, NoticeKind::Error);
            break;
        }
        case Ending::Escape:
            QTest::keyClick(List(), Qt::Key_Escape);
            break;
        case Ending::EscapeAfterArrows:
            QTest::keyClick(List(), Qt::Key_Down);
            EXPECT_EQ(Field()->text(), "Manizales"); // the highlighted city's name
            QTest::keyClick(List(), Qt::Key_Escape);
            break;
        case Ending::FocusLeft: // a click elsewhere closes the list and takes the focus away
            List()->hide();
            Find<QComboBox>("CBPais")->setFocus();
            break;
        }
        EXPECT_FALSE(List()->isVisible());
        EXPECT_EQ(w.Session().Entry().placeId, medellin);
        EXPECT_EQ(Field()->text(), QString::fromUtf8("Medellín"));
        EXPECT_EQ(w.Workspace().db.Places.size(), places);
        EXPECT_EQ(database::IndexOfName(w.Workspace().db.Places, "Manizales"), -1);
        EXPECT_EQ(FileBytes(), before);
    }
}

// The list open under the place field, to be looked at (CEL_SCREENSHOT_DIR).
TEST_F(PlaceSearch, TheListShowsUnderTheField) {
    TFormMain &w = OpenAtAna();
    Type("san");
    ASSERT_TRUE(List()->isVisible());
    EXPECT_GE(List()->width(), List()->sizeHintForColumn(0));
    QImage shot = w.grab().toImage();
    // The list is a window of its own: painted over the window's picture where it stands.
    QPainter paint(&shot);
    paint.drawImage(w.mapFromGlobal(List()->mapToGlobal(QPoint(0, 0))), List()->grab().toImage());
    paint.end();
    testsupport::Keep(shot, "lugar-busqueda.png");
}

} // namespace
} // namespace cel::workspace::test
