#include "analysis/dignities.h"

#include <algorithm>

namespace cel::analysis {

namespace {

long double OnCircle(long double x) {
    return x >= 360 ? x - 360 : x;
}

struct Entry {
    int body;
    long double position;
};

std::array<Entry, 12> SortedBodies(const chart::PlanetasSimple &bodies) {
    std::array<Entry, 12> list{};
    for (int i = 1; i <= 12; ++i)
        list[static_cast<std::size_t>(i - 1)] = {i, OnCircle(bodies[static_cast<std::size_t>(i)].position)};
    std::stable_sort(list.begin(), list.end(),
                     [](const Entry &a, const Entry &b) { return a.position < b.position; });
    return list;
}

template <std::size_t N> const std::string &NameAt(const std::array<std::string, N> &names, int n) {
    static const std::string empty;
    return n >= 1 && static_cast<std::size_t>(n) < N ? names[static_cast<std::size_t>(n)] : empty;
}

} // namespace

std::vector<int> RulersOfSign(int sign, const settings::DignityMatrix &matrix) {
    std::vector<int> rulers;
    for (int b = 1; b <= 12; ++b)
        if (matrix.Rules(b, sign))
            rulers.push_back(b);
    return rulers;
}

std::vector<int> RulersOfHouse(int house, const chart::InfoCasas &cusps,
                               const settings::DignityMatrix &matrix) {
    if (house < 1 || house > 12)
        return {};
    const chart::CuspEntry &cusp = cusps[static_cast<std::size_t>(house)];
    std::vector<int> rulers;
    for (int b = 1; b <= 12; ++b)
        if (matrix.Rules(b, cusp.sign) || (cusp.nextSign != 0 && matrix.Rules(b, cusp.nextSign)))
            rulers.push_back(b);
    return rulers;
}

int DecanateSign(int sign, long double x) {
    const long double d = OnCircle(x) - (sign - 1) * 30.0L;
    int offset = 8;
    if (d >= 0 && d < 10)
        offset = 0;
    else if (d >= 10 && d < 20)
        offset = 4;
    return (sign - 1 + offset) % 12 + 1;
}

int NeighbourOfBody(int direction, int body, const chart::PlanetasSimple &bodies) {
    const std::array<Entry, 12> list = SortedBodies(bodies);
    for (int i = 0; i < 12; ++i) {
        if (list[static_cast<std::size_t>(i)].body == body)
            return list[static_cast<std::size_t>((i + (direction < 0 ? 11 : 1)) % 12)].body;
    }
    return 0;
}

int NeighbourBody(int direction, long double x, const chart::PlanetasSimple &bodies) {
    const std::array<Entry, 12> list = SortedBodies(bodies);
    x = OnCircle(x);
    int interval = 11; // every x in 0..360 falls in one interval; the last one catches the rest
    if (0 <= x && x <= list[0].position) {
        interval = -1;
    } else {
        for (int i = 0; i < 11; ++i) {
            if (list[static_cast<std::size_t>(i)].position <= x &&
                x <= list[static_cast<std::size_t>(i + 1)].position) {
                interval = i;
                break;
            }
        }
    }
    if (direction < 0)
        return list[static_cast<std::size_t>(interval == -1 ? 11 : interval)].body;
    return list[static_cast<std::size_t>((interval + 1) % 12)].body;
}

std::optional<HouseChoice> HouseSelection(const CuspSelection &cusps, const chart::RecDataProg &item,
                                          const std::array<bool, settings::kAutoSourceCount> &switches,
                                          const settings::DignityMatrix &matrix) {
    int h = 0;
    for (int j = 1; j <= 12 && h == 0; ++j)
        if (cusps[static_cast<std::size_t>(j)])
            h = j;
    if (h == 0)
        return std::nullopt;
    HouseChoice choice;
    choice.house = h;
    if (switches[settings::kSourceRuler])
        for (int b : RulersOfHouse(h, item.cusps, matrix))
            choice.bodies[static_cast<std::size_t>(b)] = true;
    choice.keepCusp = switches[settings::kSourceCusp];
    if (switches[settings::kSourceOccupants])
        for (int b = 1; b <= 12; ++b)
            if (item.bodies[static_cast<std::size_t>(b)].house == h)
                choice.bodies[static_cast<std::size_t>(b)] = true;
    return choice;
}

int ApplyHouseSelection(settings::RecVistaCarta &view, const chart::RecDataProg &item,
                        const settings::DignityMatrix &matrix) {
    const std::optional<HouseChoice> choice =
        HouseSelection(view.cuspSelection, item, view.autoSources, matrix);
    view.pointSelection.fill(false);
    if (!choice)
        return 0;
    view.pointSelection = choice->bodies;
    view.cuspSelection[static_cast<std::size_t>(choice->house)] = choice->keepCusp;
    return choice->house;
}

const std::string &ElementName(const settings::Settings::TxtSection &txt, int element) {
    return NameAt(txt.strEle, element);
}
const std::string &QualityName(const settings::Settings::TxtSection &txt, int quality) {
    return NameAt(txt.strComp, quality);
}
const std::string &QuarterName(const settings::Settings::TxtSection &txt, int quarter) {
    return NameAt(txt.strSoc2, quarter);
}
const std::string &ThirdName(const settings::Settings::TxtSection &txt, int third) {
    return NameAt(txt.strSoc1, third);
}

} // namespace cel::analysis
