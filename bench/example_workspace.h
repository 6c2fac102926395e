// The benchmarks' example charts: a person born in Cali on 1979-10-17 at 12:30 and an event there,
// with every point, angle and aspect family chosen (and every cusp when asked).
#pragma once

#include "common/date_time.h"
#include "session/workspace.h"

namespace cel::bench {

inline const chart::PlacePosition kCali{-5, 76.5225L, 3.43722L};

// Computes both charts; the caller recomputes after changing further choices.
inline void SetUpExampleCharts(session::Workspace &w, TDateTime event, bool everyCusp = true) {
    w.settings.InstallFirstRunValues();
    w.ApplySettings();
    w.ComputeChart(session::ChartSide::Natal, EncodeDate(1979, 10, 17) + 12.5 / 24, kCali);
    w.ComputeChart(session::ChartSide::Event, event, kCali);
    w.choices.innerItem = 1;
    w.choices.pointSelection.fill(true);
    if (everyCusp)
        w.choices.cuspSelection.fill(true);
    w.choices.angleSelection.fill(true);
    w.choices.aspectFamilies.fill(true);
}

} // namespace cel::bench
