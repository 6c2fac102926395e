// The file dialogs of the manager behind one small interface, so that tests and scripts can answer
// them without a person at the screen.
#pragma once

#include <deque>
#include <string>

class QWidget;

namespace cel::manager {

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // A file to read; empty when cancelled. filter is a Qt name filter ("Archivos Tarjaro (*.age)").
    virtual std::string OpenFile(QWidget *parent, const std::string &title, const std::string &folder,
                                 const std::string &filter);
    // A file to write, proposing a path; the suffix is added when the name has none. With
    // confirmOverwrite an existing file is replaced only after the user agrees.
    virtual std::string SaveFile(QWidget *parent, const std::string &title, const std::string &proposed,
                                 const std::string &filter, const std::string &suffix, bool confirmOverwrite);
};

// Answers from a queue of paths (an empty path cancels), in the order the dialogs open.
class ScriptedFileChooser : public FileChooser {
public:
    std::deque<std::string> paths;
    std::deque<std::string> titles; // the titles of the dialogs opened

    std::string OpenFile(QWidget *, const std::string &title, const std::string &,
                         const std::string &) override;
    std::string SaveFile(QWidget *, const std::string &title, const std::string &, const std::string &,
                         const std::string &, bool) override;
};

// The chooser the windows use: the real dialogs unless another one was set (nullptr restores them).
FileChooser &Files();
void SetFileChooser(FileChooser *chooser);

} // namespace cel::manager
