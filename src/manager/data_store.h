// The manager's windows work on the program's data-file store (session/data_store.h), under the
// manager's names, and read the locale's text choices.
#pragma once

#include "common/text_format.h"
#include "session/data_store.h"

namespace cel::manager {

using session::DataStore;
using session::GuardedDataStore;

// The locale's decimal separator and the interface's Spanish month names.
TextFormat LocaleTextFormat();

} // namespace cel::manager
