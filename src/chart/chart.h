// Chart computation: the birth-data and chart records, the pipeline that fills a chart through the
// astronomical engine, the eleven derived chart items (directions and progressions) and the solar
// return search. Plain C++; the caller passes a place's coordinates and zone in directly.
#pragma once

#include "chart/pipeline.h"
#include "chart/progressions.h"
#include "chart/records.h"
#include "chart/solar_return.h"
