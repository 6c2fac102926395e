// Small chart items and view records for the analysis tests.
#pragma once

#include <cmath>
#include <map>

#include "analysis/analysis.h"
#include "chart/records.h"

namespace cel::analysis::test {

// Positions that form no exact aspect with each other (used with zero orbs).
inline long double QuietBody(int i) {
    return 1.23L + 29.97L * (i - 1) + 0.011L * i * i;
}
inline float QuietCusp(int j) {
    return 11.71f + 30.03f * static_cast<float>(j - 1) + 0.017f * static_cast<float>(j * j);
}

// A chart item with the given body and cusp positions (the others quiet); signs follow the positions,
// every body in house 1 unless given.
inline chart::RecDataProg MakeItem(const std::map<int, long double> &bodies = {},
                                   const std::map<int, float> &cusps = {},
                                   const std::map<int, int> &houses = {}) {
    chart::RecDataProg item;
    for (int i = 1; i <= 12; ++i) {
        auto &b = item.bodies[static_cast<std::size_t>(i)];
        b.position = bodies.count(i) ? bodies.at(i) : QuietBody(i);
        b.sign = chart::SignOf(b.position);
        b.house = static_cast<std::uint8_t>(houses.count(i) ? houses.at(i) : 1);
        auto &c = item.cusps[static_cast<std::size_t>(i)];
        c.cusp = cusps.count(i) ? cusps.at(i) : QuietCusp(i);
        c.sign = chart::SignOf(c.cusp);
    }
    return item;
}

inline settings::OrbTables ZeroOrbs() {
    return settings::OrbTables{};
}

// A view that shows everything.
inline settings::RecVistaCarta ShowAll(int innerItem = 1, int wheelMode = 1) {
    settings::RecVistaCarta view;
    view.innerItem = static_cast<std::uint8_t>(innerItem);
    view.wheelMode = static_cast<settings::WheelMode>(wheelMode);
    view.aspectFamilies.fill(true);
    view.pointSelection.fill(true);
    view.cuspSelection.fill(true);
    view.angleSelection.fill(true);
    return view;
}

inline TAspReg Record(const std::string &key, int kind, float strength, int mark = 0, float arc = 0) {
    TAspReg r;
    r.key = key;
    r.kind = static_cast<std::uint8_t>(kind);
    r.strength = strength;
    r.dispositorMark = static_cast<std::uint8_t>(mark);
    r.arc = arc;
    return r;
}

} // namespace cel::analysis::test
