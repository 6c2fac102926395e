// The computer's clock for the windows: the one of the common module.
#pragma once

#include "common/clock.h"

namespace cel::manager {

using cel::UniversalNow;

} // namespace cel::manager
