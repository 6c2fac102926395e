// The computer's clock as a universal date-time; what it is in a place is the place's zone's business.
#pragma once

#include "common/date_time.h"

namespace cel::manager {

TDateTime UniversalNow();

} // namespace cel::manager
