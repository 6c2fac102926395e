#include "manager/zone_choices.h"

#include <optional>

namespace cel::manager {

namespace {

struct Shared {
    std::optional<std::filesystem::path> file;
    zones::PlaceZoneChoices choices;
    bool loaded = false;
};

Shared &State() {
    static Shared shared;
    return shared;
}

std::filesystem::path ChoicesFile() {
    return State().file ? *State().file : zones::DefaultChoicesFile();
}

} // namespace

zones::PlaceZoneChoices &ZoneChoices() {
    Shared &s = State();
    if (!s.loaded) {
        s.choices = zones::PlaceZoneChoices{};
        s.choices.Load(ChoicesFile());
        s.loaded = true;
    }
    return s.choices;
}

bool SaveZoneChoices(std::string *error) {
    std::error_code ec;
    std::filesystem::create_directories(ChoicesFile().parent_path(), ec);
    return ZoneChoices().Save(ChoicesFile(), error);
}

void SetZoneChoicesFile(const std::filesystem::path &file) {
    State().file = file;
    State().loaded = false; // read again from there on next use
}

} // namespace cel::manager
