// The colour scheme ("Main" "Color") and the tooltip switch ("Hint") on the program's windows: the
// window colour of the scheme and whether tooltips show. A dialog opened from a window follows that
// window's scheme, also when it changes while the dialog is open.
#pragma once

#include <QPalette>

class QWidget;

namespace cel::workspace {

// The application palette with the scheme's window colour; unchanged for "Windows" (8) and any other
// scheme without a colour.
QPalette SchemePalette(int scheme);

// Paints `window` with the scheme, shows or hides its tooltips, and passes both on to the open windows
// that follow it.
void ApplyScheme(QWidget *window, int scheme, bool hints);

// Takes the scheme and tooltip switch of the nearest parent that has them, and follows that window's
// later changes.
void FollowScheme(QWidget *window);

// Whether tooltips show for a widget (true where no scheme was applied).
bool HintsShown(const QWidget *widget);

} // namespace cel::workspace
