// The astronomical engine: time scales and angle texts, the VSOP87D planets, the Moon, Pluto, the
// mean node and the Part of Fortune, Earth orientation, topocentric houses and mundane positions.
// Pure functions: no state, no errors; angles in degrees as extended reals unless named otherwise.
#pragma once

#include "astronomy/angle_text.h"
#include "astronomy/angles.h"
#include "astronomy/earth_orientation.h"
#include "astronomy/houses.h"
#include "astronomy/moon.h"
#include "astronomy/planets.h"
#include "astronomy/pluto_node_fortune.h"
#include "astronomy/time_scales.h"
