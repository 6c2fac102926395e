#include "analysis/points.h"

#include <algorithm>
#include <cstdio>

#include "common/number_text.h"

namespace cel::analysis {

PointsSettings BuiltInPoints() {
    PointsSettings points;
    for (int i = 1; i <= 12; ++i) {
        const auto n = static_cast<std::size_t>(i);
        points.ptosPla[n] = i <= 3 ? 2.0f : 1.0f;
        points.ptosCas[n] = i == 1 ? 2.0f : 1.0f;
        points.viewPtosPla[n] = true;
        points.viewPtosCas[n] = i == 1;
    }
    return points;
}

float PointsTotal(const PointsSettings &points) {
    float total = 0;
    for (std::size_t n = 1; n <= 12; ++n)
        if (points.viewPtosPla[n])
            total += points.ptosPla[n];
    for (std::size_t n = 1; n <= 12; ++n)
        if (points.viewPtosCas[n])
            total += points.ptosCas[n];
    return total;
}

PointsDistribution DistributePoints(const chart::RecDataProg &item, const PointsSettings &points) {
    PointsDistribution d;
    auto valid = [](int sign) { return sign >= 1 && sign <= 12; };
    for (std::size_t i = 1; i <= 12; ++i) {
        const int sign = item.bodies[i].sign;
        if (points.viewPtosPla[i] && valid(sign))
            d.bodies[static_cast<std::size_t>(sign)] += points.ptosPla[i];
    }
    for (std::size_t j = 1; j <= 12; ++j) {
        if (!points.viewPtosCas[j])
            continue;
        const chart::CuspEntry &cusp = item.cusps[j];
        if (valid(cusp.sign))
            d.houses[cusp.sign] += points.ptosCas[j];
        if (cusp.nextSign != 0 && valid(cusp.nextSign))
            d.houses[cusp.nextSign] += points.ptosCas[j];
    }
    return d;
}

void ApplyFlagsPreset(PointsSettings &points, PointsFlagsPreset preset) {
    for (int i = 1; i <= 12; ++i) {
        const auto n = static_cast<std::size_t>(i);
        switch (preset) {
        case PointsFlagsPreset::HoraOk:
            points.viewPtosPla[n] = true;
            points.viewPtosCas[n] = i == 1;
            break;
        case PointsFlagsPreset::SinHora:
            points.viewPtosPla[n] = i <= 11;
            points.viewPtosCas[n] = false;
            break;
        case PointsFlagsPreset::Personales:
            points.viewPtosPla[n] = i <= 7;
            points.viewPtosCas[n] = false;
            break;
        }
    }
}

void RestoreBuiltInWeights(PointsSettings &points) {
    const PointsSettings builtIn = BuiltInPoints();
    points.ptosPla = builtIn.ptosPla;
    points.ptosCas = builtIn.ptosCas;
}

void SetAllWeightsToOne(PointsSettings &points) {
    for (std::size_t n = 1; n <= 12; ++n) {
        points.ptosPla[n] = 1.0f;
        points.ptosCas[n] = 1.0f;
    }
}

std::string PointsText(float value, const TextFormat &format) {
    return FormatFixed(value, 2, format.decimalSeparator, 2);
}

std::string PercentText(float value, float total, const TextFormat &format) {
    if (total == 0.0f)
        return "0%";
    const float percent = value * 100.0f / total;
    return FormatFixed(percent, 0, format.decimalSeparator, 2) + "%";
}

void FillDistributionGrid(TextGrid &grid, const chart::RecDataProg &item, const PointsSettings &points,
                          const TextFormat &format) {
    if (grid.RowCount() < 15 || grid.ColumnCount() < 14)
        grid.SetSize(std::max(grid.RowCount(), 15), std::max(grid.ColumnCount(), 14));
    const float total = PointsTotal(points);
    const PointsDistribution d = DistributePoints(item, points);
    auto put = [&](int column, int row, float value) {
        grid.At(row, column) = PointsText(value, format);
        grid.At(row + 1, column) = PercentText(value, total, format);
    };
    auto putBeside = [&](int column, int row, float value) {
        grid.At(row, column) = PointsText(value, format);
        grid.At(row, column + 1) = PercentText(value, total, format);
    };
    std::array<float, kListSize> s{};
    for (int sign = 1; sign <= 12; ++sign) {
        s[static_cast<std::size_t>(sign)] = d.SignTotal(sign);
        put(sign, 1, d.bodies[static_cast<std::size_t>(sign)]);
        put(sign, 3, d.houses[static_cast<std::size_t>(sign)]);
        put(sign, 5, s[static_cast<std::size_t>(sign)]);
    }
    auto S = [&](int sign) { return s[static_cast<std::size_t>(sign)]; };
    for (int q = 1; q <= 3; ++q)
        putBeside(5, 8 + q, S(q) + S(q + 3) + S(q + 6) + S(q + 9));
    for (int g = 1; g <= 4; ++g)
        put(g, 12, S(3 * g - 2) + S(3 * g - 1) + S(3 * g));
    for (int e = 1; e <= 4; ++e)
        putBeside(12, 8 + e, S(e) + S(e + 4) + S(e + 8));
    for (int t = 1; t <= 3; ++t)
        put(8 + t, 13, S(4 * t - 3) + S(4 * t - 2) + S(4 * t - 1) + S(4 * t));
}

} // namespace cel::analysis
