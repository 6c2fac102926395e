// Whether the natal chart stands on a birth whose time is not known: the person's record has a date
// without its time ("Hora" unticked), and the chart is still at the 0:00 put in place of it.
#pragma once

#include <string>

#include "session/workspace.h"

namespace cel::session {

bool NatalTimeUnknown(const Workspace &w);

// The mark the windows, printed pages and the command line add to such a chart's date.
inline const std::string kTimeUnknownMark = "hora desconocida";

} // namespace cel::session
