// The chart program's splash window: borderless, on top, centred, with the program's name and
// version; it closes itself after 5000 ms.
#pragma once

class QWidget;

namespace cel::workspace {

QWidget *ShowSplash();

} // namespace cel::workspace
