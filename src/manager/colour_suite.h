// The colour suite: the background of the manager window and of the dialogs it opens, chosen by
// number 1..8 (8 is the system's button-face colour); and the texts of dates with Spanish day names.
#pragma once

#include <QColor>
#include <string>
#include <string_view>

#include "common/date_time.h"
#include "common/text_format.h"

class QWidget;

namespace cel::manager {

QColor SuiteColour(int suite);
// The suite the manager uses now (7 until set).
int CurrentSuite();
void SetCurrentSuite(int suite);
// Paints a window's background in the current suite.
void ApplySuite(QWidget *window);

// As the database's date texts, and "dddd" for the Spanish day name.
std::string DateText(TDateTime value, std::string_view pattern, const TextFormat &format);

} // namespace cel::manager
