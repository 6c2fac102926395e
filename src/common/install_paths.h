// Where the program finds what it ships: the sample data file, the place files and the help pages.
// Installed programs look under their prefix; programs run from the build tree use the source tree.
#pragma once

#include <filesystem>

namespace cel {

// The folder holding "ejemplo.age" and the ".lug" place files. The environment variable
// CELESTIGRAFO_DATA_DIR, when set, wins (tests and unusual installs).
std::filesystem::path DataDirectory();

// The folder of the Spanish help pages ("index.html").
std::filesystem::path HelpDirectory();

// The folder that holds the running executable.
std::filesystem::path ExecutableDirectory();

} // namespace cel
