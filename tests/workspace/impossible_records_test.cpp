// A data file whose records hold impossible values (written by another program or by hand): the window
// says so when it opens the file, keeps the records, and computes no chart from them.
#include <QAction>

#include <fstream>
#include <sstream>

#include "workspace_fixture.h"

namespace cel::workspace::test {
namespace {

const QString kAna = QString::fromUtf8("Ana Lucía Restrepo Gaviria"); // born in Medellín

class ImpossibleRecordsTest : public WindowFixture {
protected:
    // Replaces one value of the copied data file (Windows-1252 bytes).
    void Replace(const std::string &from, const std::string &to) {
        std::ifstream in(dataFile_, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        in.close();
        std::string s = bytes.str();
        const std::size_t at = s.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        s.replace(at, from.size(), to);
        std::ofstream(dataFile_, std::ios::binary) << s;
    }
};

TEST_F(ImpossibleRecordsTest, NoChartIsComputedFromAnImpossiblePersonOrPlace) {
    struct Case {
        const char *from, *to;
        const char *opening; // in the notice at opening
        const char *refusal; // in the notice when Ana is chosen
    } cases[] = {
        {"6,25184", "1E300", "Lugar 2 \"Medell", "lugar de nacimiento \"Medell"},
        {"28563,3993055556", "99999999", "Persona 1 \"Ana Luc", "fecha de nacimiento"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.to);
        TearDown();
        SetUp();
        notifier_.shown.clear();
        Replace(c.from, c.to);
        TFormMain &w = Open();
        ASSERT_EQ(notifier_.shown.size(), 1u);
        EXPECT_TRUE(notifier_.Contains("valores imposibles")) << notifier_.LastText();
        EXPECT_TRUE(notifier_.Contains(c.opening)) << notifier_.LastText();
        const double before = static_cast<double>(w.Workspace().natal.latitude);
        Choose(kAna.toStdString());
        EXPECT_EQ(notifier_.shown.size(), 2u);
        EXPECT_TRUE(notifier_.Contains(c.refusal)) << notifier_.LastText();
        EXPECT_NE(notifier_.LastText().find("No se calcula una carta"), std::string::npos);
        EXPECT_EQ(w.CurrentPerson(), -1);
        EXPECT_EQ(static_cast<double>(w.Workspace().natal.latitude), before);
        EXPECT_EQ(w.Workspace().db.Persons.size(), 12u); // kept as they are
    }
}

// The list's "como persona A" and "como persona B" are refused as choosing the person is.
TEST_F(ImpossibleRecordsTest, APersonWithImpossibleValuesIsNoSynastryPartnerEither) {
    Replace("6,25184", "1E300");
    TFormMain &w = Open();
    auto *list = PersonList();
    ASSERT_TRUE(SelectPerson(kAna));
    for (const QString suffix : {" como persona A", " como persona B"}) {
        notifier_.shown.clear();
        QAction *action = nullptr;
        for (QAction *a : list->actions())
            if (a->text() == kAna + suffix)
                action = a;
        ASSERT_NE(action, nullptr) << suffix.toStdString();
        action->trigger();
        EXPECT_TRUE(notifier_.Contains("lugar de nacimiento \"Medell")) << notifier_.LastText();
        EXPECT_EQ(w.PersonA(), -1);
        EXPECT_EQ(w.PersonB(), -1);
        EXPECT_EQ(w.CurrentPerson(), -1);
    }
}

TEST_F(ImpossibleRecordsTest, ChoosingAnImpossiblePlaceKeepsTheRecordsPlace) {
    Replace("6,25184", "1E300");
    TFormMain &w = Open();
    const std::int32_t before = w.Workspace().natalRecord.placeId;
    auto *country = Find<QComboBox>("CBPais");
    country->setCurrentIndex(country->findText("Colombia"));
    auto *place = Find<QComboBox>("CBLugar");
    ASSERT_GE(country->currentIndex(), 1) << country->count();
    ASSERT_GE(place->findText("Medellín"), 1) << place->count();
    place->setCurrentIndex(place->findText("Medellín"));
    EXPECT_TRUE(notifier_.Contains("Lugar \"Medellín\"")) << notifier_.LastText();
    EXPECT_EQ(w.Workspace().natalRecord.placeId, before);
    EXPECT_NE(place->currentText(), "Medellín");
    // A sound place is taken as before.
    place->setCurrentIndex(place->findText("Cali"));
    EXPECT_EQ(place->currentText(), "Cali");
    EXPECT_EQ(static_cast<double>(w.Workspace().natal.latitude), 3.43722);
}

} // namespace
} // namespace cel::workspace::test
