// The zones users chose for places, as both programs' windows share them: read from the user's file on
// first use, written back whenever a choice changes. The data file itself never holds them.
#pragma once

#include <filesystem>
#include <string>

#include "zones/place_zones.h"

namespace cel::manager {

zones::PlaceZoneChoices &ZoneChoices();
// Writes the choices; false and the reason when the file cannot be written.
bool SaveZoneChoices(std::string *error = nullptr);
// The file the choices are read from and written to (tests point it elsewhere before first use).
void SetZoneChoicesFile(const std::filesystem::path &file);

} // namespace cel::manager
