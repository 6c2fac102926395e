// Changes the data file refuses are never shown as held: a file another program had open becomes
// writable again once that program ends, a file the user may not write opens read-only, a save the
// file refused puts the window back as the file is, and a second start asks before another file
// replaces the one with unsaved changes.
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include <chrono>
#include <fstream>

#include "database/data_file.h"
#include "workspace_fixture.h"

namespace cel::workspace::test {
namespace {

constexpr const char *kAna = "Ana Lucía Restrepo Gaviria";
constexpr const char *kRosa = "Rosa Elvira Quispe Mamani";
constexpr std::int32_t kRosaId = 5;

class RefusedChanges : public WindowFixture {
protected:
    std::size_t EventsInFile(std::int32_t personId) {
        database::Database saved;
        SilentNotifier silent;
        database::LoadDataFile(dataFile_, saved, silent, window_->Workspace().format);
        return saved.Persons[static_cast<std::size_t>(database::IndexOfId(saved.Persons, personId))]
            ->Eventos.size();
    }
    int EventsShown() { return Find<QLabel>("LabelEventos")->text().split(' ').front().toInt(); }
    void ToEventMode() {
        Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
        Find<QRadioButton>("RBEvento")->click();
    }
    // Another program changes the file behind this one's back: the next save is refused.
    void ChangeFileOnDisk() {
        const auto later = std::filesystem::last_write_time(dataFile_) + std::chrono::seconds(5);
        std::filesystem::last_write_time(dataFile_, later);
    }
};

// The manager had the file when the window opened it; once it has ended, the next change reads the
// file again and asks for the change to be repeated, and the repeated change is saved.
TEST_F(RefusedChanges, AFileFreedByTheOtherProgramTakesTheNextChange) {
    database::SharedUseGuard table(guardName_);
    const database::GuardOwner other = database::GuardOwner::Current(4242);
    ASSERT_TRUE(table.Register(other, dataFile_));
    Open();
    ASSERT_TRUE(notifier_.Contains("[ejemplo.age]"));
    Choose(kRosa);
    ToEventMode();
    const int events = EventsShown();
    Find<QPushButton>("SBNuevoEvento")->click(); // refused: the other program still runs
    EXPECT_EQ(EventsShown(), events);

    table.Release(other, dataFile_);
    Find<QPushButton>("SBNuevoEvento")->click(); // read again, no name asked
    EXPECT_TRUE(notifier_.Contains("ya no está siendo usado por otro programa"));
    EXPECT_TRUE(notifier_.inputTitles.empty());

    Choose(kRosa);
    ToEventMode();
    notifier_.inputs.push_back(std::string("Viaje a Lima"));
    Find<QPushButton>("SBNuevoEvento")->click();
    EXPECT_EQ(EventsShown(), events + 1);
    EXPECT_EQ(EventsInFile(kRosaId), static_cast<std::size_t>(events + 1));
}

// A file without write permission opens read-only with its notice; no change is taken.
TEST_F(RefusedChanges, AFileTheUserMayNotWriteOpensReadOnly) {
    std::filesystem::permissions(dataFile_, std::filesystem::perms::owner_read |
                                                std::filesystem::perms::group_read |
                                                std::filesystem::perms::others_read);
    Open();
    ASSERT_TRUE(notifier_.Contains("no tiene permiso de escritura")) << notifier_.LastText();
    Choose(kRosa);
    ToEventMode();
    const int events = EventsShown();
    Find<QPushButton>("SBNuevoEvento")->click();
    EXPECT_TRUE(notifier_.inputTitles.empty()); // refused before the name is asked
    EXPECT_EQ(EventsShown(), events);
}

// A save the file refuses (changed on disk by another program meanwhile) leaves the window as the
// file is: the event list, the person list, and natal data kept visibly unsaved.
TEST_F(RefusedChanges, ARefusedSaveIsNotShownAsHeld) {
    TFormMain &w = Open();
    Choose(kRosa);
    ToEventMode();
    const int events = EventsShown();
    ChangeFileOnDisk();
    notifier_.inputs.push_back(std::string("Viaje a Lima"));
    Find<QPushButton>("SBNuevoEvento")->click();
    EXPECT_EQ(notifier_.shown.back().kind, NoticeKind::Error);
    EXPECT_EQ(EventsShown(), events);
    EXPECT_EQ(
        w.Workspace()
            .db.Persons[static_cast<std::size_t>(database::IndexOfId(w.Workspace().db.Persons, kRosaId))]
            ->Eventos.size(),
        static_cast<std::size_t>(events));

    // Deleting a person: the person comes back, as the file still holds it.
    auto *list = PersonList();
    const int persons = PersonRows();
    ChangeFileOnDisk();
    SelectPersonRow(0);
    notifier_.answers.push_back(true);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(PersonRows(), persons);

    // Natal data: the save fails, the changes stay on screen with "Guardar" to try again.
    Choose(kAna);
    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    QTest::mouseClick(Find<QToolButton>("SBPasoMas"), Qt::LeftButton);
    ASSERT_TRUE(w.NatalChanged());
    ChangeFileOnDisk();
    Find<QToolButton>("SBGuardarNatal")->click();
    EXPECT_TRUE(w.NatalChanged());
    EXPECT_TRUE(Find<QToolButton>("SBGuardarNatal")->isEnabled());
}

// A second start hands over another file: unsaved natal data is asked about first, and the file is
// opened only when the user says so.
TEST_F(RefusedChanges, AnotherStartAsksBeforeReplacingTheFile) {
    TFormMain &w = Open();
    const std::string other = (dir_ / "otro.age").string();
    std::filesystem::copy_file(dataFile_, other);
    Choose(kAna);
    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    QTest::mouseClick(Find<QToolButton>("SBPasoMas"), Qt::LeftButton);
    ASSERT_TRUE(w.NatalChanged());

    notifier_.choices.push_back(Answer::Cancel); // keep working on the changes
    w.OpenFromAnotherStart(other);
    EXPECT_TRUE(w.NatalChanged());
    EXPECT_EQ(w.Workspace().db.Path, dataFile_);

    notifier_.choices.push_back(Answer::No); // drop the changes
    notifier_.choices.push_back(Answer::No); // and stay on this file
    w.OpenFromAnotherStart(other);
    EXPECT_TRUE(notifier_.Contains("pide abrir el archivo de datos"));
    EXPECT_EQ(w.Workspace().db.Path, dataFile_);

    notifier_.choices.push_back(Answer::Yes);
    w.OpenFromAnotherStart(other);
    EXPECT_EQ(w.Workspace().db.Path, other);
    EXPECT_FALSE(w.NatalChanged());
    EXPECT_FALSE(Find<QToolButton>("SBGuardarNatal")->isEnabled());

    const std::size_t asked = notifier_.shown.size();
    w.OpenFromAnotherStart(other); // the file it has: it only comes forward
    EXPECT_EQ(notifier_.shown.size(), asked);
}

} // namespace
} // namespace cel::workspace::test
