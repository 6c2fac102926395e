// The Moon from Meeus' truncated ELP-2000/82 tables (chapter 47).
#pragma once

#include "astronomy/planets.h"

namespace cel::astronomy {

// Apparent longitude and latitude (degrees) and distance (kilometres) at jd (TT).
BodyPosition MoonPosition(Real jd);

} // namespace cel::astronomy
