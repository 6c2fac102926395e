// The chart program's commands: one QAction each, with its Spanish text, mnemonic and the shortcut
// users expect on Linux. The buttons, menus and context menus all trigger these actions.
#pragma once

#include <array>
#include <functional>

class QAction;
class QWidget;

namespace cel::workspace {

enum class Command {
    Open,
    Manager,
    Print,
    Preview,
    ExportRtf,
    Settings,
    StepBack,
    StepForward,
    Today,
    Now,
    Birth,
    NewPerson,
    EditPerson,
    DeletePerson,
    Help,
    Close,
};
inline constexpr int kCommandCount = static_cast<int>(Command::Close) + 1;

class MainActions {
public:
    // Creates the actions on the window, where their shortcuts work wherever the focus is.
    explicit MainActions(QWidget *window);

    QAction *operator[](Command command) const { return actions_[static_cast<std::size_t>(command)]; }
    // What a command does when triggered (connected in the window's context).
    void On(Command command, std::function<void()> run);

private:
    QWidget *window_;
    std::array<QAction *, kCommandCount> actions_{};
};

} // namespace cel::workspace
