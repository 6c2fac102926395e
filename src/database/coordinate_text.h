// Coordinate and time-zone texts, the degree/minute/second split and composition used by the
// editors, the place description and the input check of typed names.
#pragma once

#include <string>

#include "common/notifier.h"
#include "database/database.h"

namespace cel::database {

// "+5:45", "-5:30"; minutes truncated; zero gives "-0:00".
std::string TimeZoneText(long double hours);

// What an angle text carries besides degrees, minutes and seconds.
enum class AngleKind {
    Signed = 0,    // "+" or "-" in front
    Longitude = 1, // " W" (not negative) or " E"
    Latitude = 2,  // " N" (not negative) or " S"
    Plain = 3,     // no sign or suffix (as 4)
    Plain4 = 4,
};
// "74° 15' 0\"" plus the kind's sign or suffix; seconds rounded only when written.
std::string AngleText(long double degrees, AngleKind kind);

// Degrees (or hours), minutes, seconds and milliseconds of a value, as the editors show them.
struct DmsParts {
    bool negative = false;
    int degrees = 0;
    int minutes = 0;
    int seconds = 0;
    int milliseconds = 0;
};
DmsParts SplitDegrees(long double value);
long double ComposeDegrees(const DmsParts &parts);

// The lines (separated by "\r") describing a place: name, country, coordinates, zone and DST.
std::string PlaceDescription(const Database &db, const TLugar_Geo &place);

// The check of a typed name: refuses an empty text ("Debe digitar " + what + " !") and any "â", "ß"
// or "^", or a character that Windows-1252 cannot hold ("El caracter \"x\" no es permitido"), with a
// centred warning. Returns true when the text may be stored.
bool CheckInput(const std::string &text, const std::string &what, Notifier &notifier);
// The same character check for a field that may stay empty (surname, address, description, notes).
bool CheckOptionalInput(const std::string &text, Notifier &notifier);
// The check of an event name: as CheckInput, and "ê" is refused too.
bool CheckEventName(const std::string &text, Notifier &notifier);
// Asks for an event name with an input box until it passes CheckEventName (each refusal says why and
// the box opens again with the text typed); false, name unchanged, when the box is cancelled.
bool AskEventName(Notifier &notifier, const std::string &title, const std::string &prompt, std::string &name);

} // namespace cel::database
