// Angle texts and parts the chart program's windows show: the Sun's longitude and its difference in
// the solar return window, and an orb as whole degrees, minutes and seconds in the orb editor.
#pragma once

#include <string>

#include "chart/records.h"
#include "common/text_format.h"

namespace cel::session {

// The Sun's longitude in three lines: "ddd° mm' ss\"", its place in its sign with the sign's name,
// and the decimal degrees.
std::string SunLabelText(chart::Real value, const TextFormat &format);
// A signed difference of longitudes: "+ dd° mm' ss\"" and its decimal degrees in brackets.
std::string SunDifferenceText(chart::Real difference, const TextFormat &format);

struct OrbParts {
    int degrees = 0;
    int minutes = 0;
    int seconds = 0; // whole seconds, truncated
};
OrbParts SplitOrb(float orb);
float OrbFromParts(int degrees, int minutes, int seconds);

} // namespace cel::session
