// Where the chart program keeps its settings and which data file a start opens.
#pragma once

#include <string>

namespace cel::workspace {

// The settings file: --ini when given; else "celestigrafo.ini" beside the executable when it exists
// (a portable installation); else "celestigrafo.ini" in the user's configuration folder.
std::string SettingsPath(const std::string &iniOption);

// The documents folder with "Norvelta/" (the default of "Data" "File").
std::string DocumentsDataFolder();

// On a first run (no settings file yet) without a file argument, the shipped sample data file is
// copied into the documents folder (never over an existing file) and its path returned; otherwise
// the argument, or nothing (the settings name the file).
std::string StartDataFile(const std::string &settingsPath, const std::string &fileArgument);

} // namespace cel::workspace
