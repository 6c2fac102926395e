// The tool windows' layout in the settings' "TB" sections: for each dock where it is docked or
// floats, its place and whether it shows.
#pragma once

#include <QMainWindow>

#include <vector>

#include "settings/settings.h"

class QDockWidget;

namespace cel::workspace {

struct DockSection {
    QDockWidget *dock;
    const char *name; // the section without "TB": "TWDatos", ...
    bool visible;     // as saved: a dock hidden for the moment by the window counts as shown
};

// The sections of the docks as they are now.
std::vector<settings::ToolWindowSection> DockLayoutSections(const QMainWindow &window,
                                                            const std::vector<DockSection> &docks);
// Puts the docks where the sections say, in their saved order; docks without a section stay.
void RestoreDockLayout(QMainWindow &window, const std::vector<DockSection> &docks,
                       const std::vector<settings::ToolWindowSection> &sections);

} // namespace cel::workspace
