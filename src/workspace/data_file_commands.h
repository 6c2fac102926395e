// The chart program's questions about its data file: which file to open, a file to create or open
// when a command needs one, and whether to take the file another start of the program asks for.
#pragma once

#include <string>

#include "common/notifier.h"
#include "session/session.h"

class QWidget;

namespace cel::workspace {

// Asks about unsaved natal data, then lets the user choose a data file and opens it.
void ChooseAndOpenDataFile(QWidget *parent, session::Session &session);
// True when a data file is loaded; otherwise offers to create a new one or open an existing one.
bool EnsureDataFile(QWidget *parent, session::Session &session, Notifier &notifier);
// Another start asked to open path: unless it is the current file, asks about unsaved natal data
// and then whether to open it, and opens it.
void OpenFromAnotherStart(session::Session &session, Notifier &notifier, const std::string &path);

} // namespace cel::workspace
