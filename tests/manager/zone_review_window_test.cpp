// The manager's review of births whose stored zone was not the one in force: nothing is ticked at
// first, and correcting stores only the ticked persons as universal time, through the manager's save.
// Expected offsets are those of the installed tzdata (2026f).
#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <sstream>

#include "manager/file_chooser.h"
#include "manager/manager_window.h"
#include "manager/zone_choices.h"
#include "manager/zone_review_window.h"
#include "manager_fixture.h"

namespace cel::manager {
namespace {

using mgrtest::Find;
using mgrtest::OnNextModal;

std::vector<std::string> Lines(const std::string &bytes) {
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(ZoneReviewWindow, CorrectsOnlyTheTickedPersonAndTheFileChangesNowhereElse) {
    mgrtest::SampleData data;
    SetZoneChoicesFile(data.folder.File("zonas-de-lugares.txt"));
    const std::string before = data.Bytes();
    TFormMainTarjaro window(data.store, ManagerMode::InChartProgram);
    window.OpenFile(data.path);
    window.FirstActivation();

    std::vector<std::string> listed;
    QString result, summary;
    int rowsAfter = -1;
    bool bytesKeptWhenDeclined = false;
    OnNextModal([&](QWidget *dialog) {
        auto *table = Find<QTableWidget>(dialog, "SGRevision");
        auto *correct = Find<QPushButton>(dialog, "BTCorregir");
        summary = Find<QLabel>(dialog, "LAResumen")->text();
        for (int r = 0; r < table->rowCount(); ++r) {
            std::string row;
            for (int c = 1; c <= 6; ++c)
                row += (c > 1 ? " | " : "") + table->item(r, c)->text().toStdString();
            listed.push_back(row);
            EXPECT_EQ(table->item(r, 0)->checkState(), Qt::Unchecked);
        }
        EXPECT_FALSE(correct->isEnabled());
        if (table->rowCount() != 2)
            return Find<QPushButton>(dialog, "BTCerrar")->click();
        table->item(1, 0)->setCheckState(Qt::Checked);
        EXPECT_TRUE(correct->isEnabled());
        // Declining the question changes nothing.
        data.notices.answers.push_back(false);
        correct->click();
        bytesKeptWhenDeclined = data.Bytes() == before && table->rowCount() == 2;
        data.notices.answers.push_back(true);
        correct->click();
        result = Find<QLabel>(dialog, "LAResultado")->text();
        rowsAfter = table->rowCount();
        Find<QPushButton>(dialog, "BTCerrar")->click();
    });
    window.ReviewZones();

    EXPECT_EQ(
        summary.toStdString(),
        "2 personas de 8 con nacimiento en hora local: el huso guardado con el lugar no es el que regía "
        "en esa fecha. Sin hora conocida, no se revisan: 1. Ya en tiempo universal: 2.");
    const std::vector<std::string> expected = {
        "Bartolomé Iriarte Salcedo | Caracas (Venezuela) | 08/05/1871 04:30 | UTC-4 | UTC-4:27:31, hora "
        "media local (America/Caracas) | 08/05/1871 08:57:31",
        "Leonor Aranguren Paz | Quito (Ecuador) | 29/12/1899 18:00 | UTC-5 | UTC-5:14, horario estándar "
        "(America/Guayaquil) | 29/12/1899 23:14",
    };
    EXPECT_EQ(listed, expected);
    EXPECT_TRUE(bytesKeptWhenDeclined);
    EXPECT_EQ(
        data.notices.shown.at(0).text,
        "El nacimiento de 1 persona marcada se guardará en tiempo universal (GMT), con el huso que regía "
        "en su fecha.\r\r¿Desea corregirlas?");
    EXPECT_EQ(result.toStdString(), "1 persona corregida: su nacimiento se guarda ahora en tiempo universal "
                                    "(GMT) y el archivo se guardó.");
    EXPECT_EQ(rowsAfter, 1);

    const database::Database saved = data.Reload();
    const auto person = [&saved](const char *name) {
        return *saved.Persons[static_cast<std::size_t>(database::IndexOfName(saved.Persons, name))];
    };
    EXPECT_EQ(person("Leonor").HoraUT, 1);
    EXPECT_NEAR(person("Leonor").Fecha, EncodeDateTime({1899, 12, 29, 23, 14, 0, 0}), 1e-8);
    EXPECT_EQ(person("Bartolomé").HoraUT, 0);
    EXPECT_NEAR(person("Bartolomé").Fecha, EncodeDateTime({1871, 5, 8, 4, 30, 0, 0}), 1e-8);

    // Only Leonor's line of the file changed.
    const std::vector<std::string> was = Lines(before), now = Lines(data.Bytes());
    ASSERT_EQ(was.size(), now.size());
    std::vector<std::string> changed;
    for (std::size_t i = 0; i < was.size(); ++i)
        if (was[i] != now[i])
            changed.push_back(now[i].substr(0, now[i].find("Paz") + 3));
    EXPECT_EQ(changed, (std::vector<std::string>{"I\xe2"
                                                 "11\xe2Leonor\xe2"
                                                 "Aranguren Paz"}));
}

} // namespace
} // namespace cel::manager
