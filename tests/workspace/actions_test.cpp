// Every command of the main window is one QAction: its shortcut, its button and its menu entry all
// run the same operation.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <map>
#include <set>

#include "manager/item_editor.h"

#include "workspace_fixture.h"

namespace cel::workspace::test {
namespace {

constexpr const char *kAna = "Ana Lucía Restrepo Gaviria";

// Closes the next modal dialog the event loop shows (a file dialog, the print dialog), and tells
// what it was.
struct ModalCloser {
    QString shown;
    void Arm() {
        QTimer::singleShot(0, [this] { Close(); });
    }
    void Close() {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            QTimer::singleShot(10, [this] { Close(); });
            return;
        }
        shown = modal->metaObject()->className();
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }
};

TEST_F(WindowFixture, EveryShortcutTriggersItsCommand) {
    TFormMain &w = Open();
    Choose(kAna);
    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    QApplication::setActiveWindow(&w);
    w.activateWindow();

    // The shortcuts the program promises, each on exactly one action of the window.
    const std::map<QKeySequence, Command> promised = {
        {QKeySequence(Qt::CTRL | Qt::Key_O), Command::Open},
        {QKeySequence(Qt::CTRL | Qt::Key_P), Command::Print},
        {QKeySequence(Qt::Key_F1), Command::Help},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), Command::Close},
        {QKeySequence(Qt::ALT | Qt::Key_Left), Command::StepBack},
        {QKeySequence(Qt::ALT | Qt::Key_Right), Command::StepForward},
        {QKeySequence(Qt::CTRL | Qt::Key_N), Command::NewPerson},
    };
    std::set<QKeySequence> seen;
    for (QAction *action : w.findChildren<QAction *>()) {
        if (action->shortcut().isEmpty())
            continue;
        const QKeySequence key = action->shortcut();
        EXPECT_TRUE(seen.insert(key).second) << key.toString().toStdString() << " twice";
        const auto found = promised.find(key);
        ASSERT_NE(found, promised.end()) << key.toString().toStdString();
        EXPECT_EQ(w.Action(found->second), action) << key.toString().toStdString();
    }
    EXPECT_EQ(seen.size(), promised.size());

    // Each shortcut runs its operation, typed as a user types it.
    const auto press = [&w](const QKeySequence &key) {
        w.activateWindow(); // again after a dialog closed
        QApplication::setActiveWindow(&w);
        QApplication::processEvents();
        const QKeyCombination k = key[0];
        QTest::keyClick(&w, k.key(), k.keyboardModifiers());
        QApplication::processEvents();
    };
    const TDateTime birth = w.Workspace().natalRecord.localDateTime;
    const int shows = w.Shows();
    const std::uint64_t refreshes = Refreshes(), recomputes = Recomputes();
    press(QKeySequence(Qt::ALT | Qt::Key_Right));
    EXPECT_NEAR(w.Workspace().natalRecord.localDateTime - birth, 1.0, 1e-9);
    // One input: one recomputation with its one refresh, and the window shown once.
    EXPECT_EQ(Recomputes(), recomputes + 1);
    EXPECT_EQ(Refreshes(), refreshes + 1);
    EXPECT_EQ(w.Shows(), shows + 1);
    EXPECT_TRUE(w.NatalChanged());
    press(QKeySequence(Qt::ALT | Qt::Key_Left));
    EXPECT_NEAR(w.Workspace().natalRecord.localDateTime, birth, 1e-9);

    ModalCloser closer;
    notifier_.choices.push_back(Answer::No); // leave the stepped natal data unsaved
    closer.Arm();
    press(QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(closer.shown, "QFileDialog");
    EXPECT_FALSE(w.NatalChanged());

    closer.Arm();
    press(QKeySequence(Qt::CTRL | Qt::Key_N)); // the item editor, for a new person
    EXPECT_EQ(closer.shown, "cel::manager::TFormItem");

    // Printing and the help page reach their actions; their own operations (a printer, a browser)
    // are left out here.
    for (Command c : {Command::Print, Command::Help}) {
        QAction *action = w.Action(c);
        QObject::disconnect(action, &QAction::triggered, &w, nullptr);
        int triggered = 0;
        QObject::connect(action, &QAction::triggered, [&triggered] { ++triggered; });
        press(action->shortcut());
        EXPECT_EQ(triggered, 1) << action->shortcut().toString().toStdString();
    }

    // The buttons and the print menu share the actions.
    auto *print = Find<QToolButton>("SBImprimir");
    ASSERT_NE(print->menu(), nullptr);
    EXPECT_TRUE(print->menu()->actions().contains(w.Action(Command::Print)));
    EXPECT_TRUE(print->menu()->actions().contains(w.Action(Command::Preview)));
    EXPECT_TRUE(print->menu()->actions().contains(w.Action(Command::ExportRtf)));
    EXPECT_TRUE(Find<QWidget>("LBPersona")->actions().contains(w.Action(Command::EditPerson)));
    EXPECT_TRUE(Find<QWidget>("LBPersona")->actions().contains(w.Action(Command::DeletePerson)));
    const TDateTime before = w.Workspace().natalRecord.localDateTime;
    QTest::mouseClick(Find<QToolButton>("SBPasoMas"), Qt::LeftButton);
    EXPECT_NEAR(w.Workspace().natalRecord.localDateTime - before, 1.0, 1e-9);
    notifier_.choices.push_back(Answer::No);

    press(QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_FALSE(w.isVisible());
}

} // namespace
} // namespace cel::workspace::test
