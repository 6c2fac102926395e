// The main window on the offscreen platform, on a copy of the sample data file, with its own settings
// file and shared-use table, and the notice window scripted.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QListView>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "common/scripted_notifier.h"
#include "database/shared_use_guard.h"
#include "support/temp_folder.h"
#include "workspace/form_main.h"

namespace cel::workspace::test {

// The shared scripted notifier, with a question or input box left unanswered made a test failure.
struct StrictNotifier : cel::ScriptedNotifier {
    StrictNotifier() {
        onUnexpected = [](const std::string &text) { ADD_FAILURE() << "unexpected question: " << text; };
    }
};

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = folder_.Dir();
        dataFile_ = folder_.Copy("ejemplo.age");
        guardName_ = "/Norvelta_wtest_" + std::to_string(::getpid());
        options_.iniPath = (dir_ / "celestigrafo.ini").string();
        options_.dataFile = dataFile_;
        options_.guardName = guardName_;
        options_.splash = false;
    }
    void TearDown() override {
        window_.reset();
        database::SharedUseGuard::Remove(guardName_);
    }

    TFormMain &Open() {
        window_ = std::make_unique<TFormMain>(notifier_, options_);
        window_->resize(1366, 768);
        window_->show();
        return *window_;
    }
    void Reopen() {
        window_->close();
        window_.reset();
        options_.dataFile.clear(); // the settings name the file now
        Open();
    }

    template <class T> T *Find(const char *name) {
        T *w = window_->findChild<T *>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // The person list and its rows as they are shown.
    QListView *PersonList() { return Find<QListView>("LBPersona"); }
    int PersonRows() { return PersonList()->model()->rowCount(); }
    QString PersonText(int row) { return PersonList()->model()->index(row, 0).data().toString(); }
    QString CurrentPersonText() { return PersonList()->currentIndex().data().toString(); }
    void SelectPersonRow(int row) { PersonList()->setCurrentIndex(PersonList()->model()->index(row, 0)); }
    // Selects the one row showing name; false when there is none or more than one.
    bool SelectPerson(const QString &name) {
        const QModelIndexList found = PersonList()->model()->match(
            PersonList()->model()->index(0, 0), Qt::DisplayRole, name, -1, Qt::MatchExactly);
        if (found.size() != 1)
            return false;
        PersonList()->setCurrentIndex(found.front());
        return true;
    }
    // Chooses a person of the list by name with Enter, as a user does.
    void Choose(const std::string &name) {
        ASSERT_TRUE(SelectPerson(QString::fromStdString(name))) << name;
        QTest::keyClick(PersonList(), Qt::Key_Return);
    }
    std::uint64_t Recomputes() const { return window_->Workspace().counters.recomputes; }
    std::uint64_t Refreshes() const { return window_->Workspace().counters.refreshes; }

    testsupport::TempFolder folder_{"celestigrafo_window"};
    std::filesystem::path dir_;
    std::string dataFile_;
    std::string guardName_;
    StrictNotifier notifier_;
    MainWindowOptions options_;
    std::unique_ptr<TFormMain> window_;
};

} // namespace cel::workspace::test
