// The standalone manager's own settings file: the data file opened at start-up, button hints, the
// colour suite and the blocks of the person summary.
#pragma once

#include <string>

#include "session/person_details.h"

namespace cel::manager {

struct ManagerSettings {
    std::string file; // "Data" "File"
    bool hint = true; // "Main" "Hint"
    int color = 7;    // "Main" "Color" 1..8
    session::SummaryOptions summary;

    // Reads the file; missing keys keep their defaults. defaultFile is used when "File" is absent.
    static ManagerSettings Load(const std::string &path, const std::string &defaultFile);
    // Writes the keys, keeping the rest of the file; false with the platform's error text.
    bool Save(const std::string &path, std::string *error = nullptr) const;
};

// The settings file: --ini wins, then "tarjaro.ini" beside the executable, then the user's
// configuration folder.
std::string ManagerSettingsPath(const std::string &iniOption);
// The default data file folder: the documents folder, then "Norvelta/".
std::string DefaultDataFolder();
// Where the chart program keeps its settings: "celestigrafo.ini" beside the executable when it exists,
// else in the user's configuration folder.
std::string ChartProgramSettingsPath();
// The data file a start without a file argument opens: the last one (lastFile) when it still exists;
// else the file the chart program uses (its settings at chartSettingsPath); else the sample copy
// "ejemplo.age" the chart program sets up in dataFolder; empty when there is none.
std::string StartDataFile(const std::string &lastFile, const std::string &chartSettingsPath,
                          const std::string &dataFolder);

} // namespace cel::manager
