// The standalone manager's own settings file: the data file opened at start-up, button hints, the
// colour suite and the blocks of the person summary.
#pragma once

#include <string>

#include "database/person_summary.h"

namespace cel::manager {

struct ManagerSettings {
    std::string file; // "Data" "File"
    bool hint = true; // "Main" "Hint"
    int color = 7;    // "Main" "Color" 1..8
    database::SummaryOptions summary;

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

} // namespace cel::manager
