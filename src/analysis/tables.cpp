#include "analysis/tables.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "astronomy/angle_text.h"
#include "common/date_time.h"
#include "common/number_text.h"

namespace cel::analysis {

namespace {

using astronomy::AngleLayout;
using astronomy::AngleSuffix;
using astronomy::FormatAngle;

const std::string kNoHalf = "-";

bool ValidNumber(int n) {
    return n >= 1 && n <= 12;
}

std::string_view Member1(std::string_view key) {
    return key.substr(0, 3);
}
std::string_view Member2(std::string_view key) {
    return key.size() >= 6 ? key.substr(3, 3) : std::string_view();
}

// Index of the record with the key (or, with eitherOrder, the swapped key), or -1.
int FindRecord(const AspectList &list, std::string_view key, bool eitherOrder) {
    const std::string swapped = eitherOrder ? SwappedKey(key) : std::string();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].key == key || (eitherOrder && list[i].key == swapped))
            return static_cast<int>(i);
    }
    return -1;
}

// The code of a record of an aspect list; cusp-body records name the cusp first.
std::string RecordCode(std::string_view number, std::string_view sourceList, const AspectList &list,
                       int index, bool cuspFirst, bool trailingColon) {
    const std::string &key = list[static_cast<std::size_t>(index)].key;
    if (cuspFirst)
        return ReferenceCode(number, sourceList, Member2(key), index, Member1(key), trailingColon);
    return ReferenceCode(number, sourceList, Member1(key), index, Member2(key), trailingColon);
}

std::string DispositorCode(std::string_view number, std::string_view sourceList, const DispositorList &list,
                           int index, bool trailingColon) {
    const std::string &key = list[static_cast<std::size_t>(index)].dispositorKey;
    return ReferenceCode(number, sourceList, Member1(key), index, Member2(key), trailingColon);
}

const AspectList &EclipticList(const AspectLists &lists, int digit) {
    return digit == 1 ? lists.eclipticBodies : digit == 2 ? lists.eclipticBodyCusp : lists.eclipticCusps;
}
const AspectList &AscensionalList(const AspectLists &lists, int digit) {
    return digit == 1   ? lists.ascensionalBodies
           : digit == 2 ? lists.ascensionalBodyCusp
                        : lists.ascensionalCusps;
}

// Places list cells left to right, starting a new row when one is full.
class ListWriter {
public:
    ListWriter(TextGrid &grid, ListCursor &cursor) : grid_(grid), cursor_(cursor) {
        columns_ = std::max(grid.ColumnCount(), 1);
    }
    void Put(std::string text) {
        if (cursor_.column >= columns_) {
            ++cursor_.row;
            cursor_.column = 0;
        }
        grid_.Set(cursor_.row, cursor_.column, std::move(text));
        ++cursor_.column;
        ++cursor_.count;
    }
    void NewRow() {
        if (cursor_.column != 0) {
            ++cursor_.row;
            cursor_.column = 0;
        }
    }
    void Heading(std::string text) {
        NewRow();
        grid_.Set(cursor_.row, 0, std::move(text));
        ++cursor_.row;
    }

private:
    TextGrid &grid_;
    ListCursor &cursor_;
    int columns_ = 1;
};

// Starts a list fill: one empty row of the grid's width.
void ResetList(TextGrid &grid) {
    grid.SetSize(1, std::max(grid.ColumnCount(), 1));
    grid.Clear();
}

std::string TwoDigits(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

std::string TimeText(const CivilDateTime &t) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d:%03d", t.hour, t.minute, t.second, t.millisecond);
    return buffer;
}

} // namespace

int RoundedStrength(float strength) {
    return static_cast<int>(std::nearbyint(strength));
}

std::string AspectCellText(const TDetallesAspecto &record) {
    std::string text = std::to_string(record.kind) + ":" + std::to_string(RoundedStrength(record.strength));
    if (record.dispositorMark != 0)
        text += "d";
    return text;
}

std::string ReferenceCode(std::string_view number, std::string_view sourceList, std::string_view member1,
                          int index, std::string_view member2, bool trailingColon) {
    std::string code;
    code.reserve(32);
    code.append(number).append(":").append(sourceList).append(":").append(member1).append(":");
    code.append(std::to_string(index)).append(":").append(member2);
    if (trailingColon)
        code += ':';
    return code;
}

TableLists SelectTableLists(const settings::RecVistaCarta &view, const AspectLists &lists) {
    TableLists t;
    if (view.wheelMode == settings::kSingleWheel && view.innerItem == chart::kNatalEcliptic) {
        t = {'E', &lists.eclipticBodies, &lists.eclipticBodyCusp, nullptr, &lists.eclipticCusps};
    } else if (view.wheelMode == settings::kSingleWheel && view.innerItem == chart::kNatalAscensional) {
        t = {'A', &lists.ascensionalBodies, &lists.ascensionalBodyCusp, nullptr, &lists.ascensionalCusps};
    } else {
        t = {'P', &lists.pairBodies, &lists.pairBodyCusp,
             view.wheelMode == settings::kDoubleWheel ? &lists.pairCuspBody : nullptr, &lists.pairCusps};
    }
    return t;
}

int FillAspectTable(TextGrid &grid, bool doubleWheel, const AspectList &bodies, const AspectList &bodyCusp,
                    const AspectList *cuspBody, const AspectList &cusps,
                    const settings::RecVistaCarta &view) {
    if (grid.RowCount() < 25 || grid.ColumnCount() < 25)
        grid.SetSize(std::max(grid.RowCount(), 25), std::max(grid.ColumnCount(), 25));
    for (int r = 1; r <= 24; ++r)
        for (int c = 1; c <= 24; ++c)
            grid.At(r, c).clear();
    int count = 0;
    auto write = [&](int row, int column, const TAspReg &record) {
        std::string text = AspectCellText(record);
        if (!doubleWheel)
            grid.At(column, row) = text;
        grid.At(row, column) = std::move(text);
        ++count;
    };
    auto each = [&](const AspectList &list, auto place) {
        for (const TAspReg &record : list) {
            if (!AspectVisible(record, view, view.innerItem))
                continue;
            const PairMembers m = ReadPairKey(record.key);
            if (ValidNumber(m.number1) && ValidNumber(m.number2))
                place(m.number1, m.number2, record);
        }
    };
    each(bodies, [&](int r, int s, const TAspReg &rec) { write(r, s, rec); });
    each(bodyCusp, [&](int r, int s, const TAspReg &rec) { write(r, 12 + s, rec); });
    if (doubleWheel && cuspBody != nullptr)
        each(*cuspBody, [&](int r, int s, const TAspReg &rec) { write(12 + s, r, rec); });
    each(cusps, [&](int r, int s, const TAspReg &rec) { write(12 + r, 12 + s, rec); });
    return count;
}

void FillAspectDetail(TextGrid &grid, bool doubleWheel, int a, int b, const AspectLists &lists,
                      const settings::RecVistaCarta &view) {
    grid.SetSize(2, std::max(grid.ColumnCount(), 2));
    grid.ClearRow(1);
    if (a < 1 || a > 24 || b < 1 || b > 24)
        return;
    const int item = view.innerItem;

    // The natal key: bodies or cusps smaller number first, a body before a cusp.
    int digit = 1;
    std::string key;
    if (a <= 12 && b <= 12) {
        key = MakePairKey('p', std::min(a, b), 'p', std::max(a, b));
    } else if (a > 12 && b > 12) {
        digit = 4;
        key = MakePairKey('c', std::min(a, b) - 12, 'c', std::max(a, b) - 12);
    } else {
        digit = 2;
        key = MakePairKey('p', std::min(a, b), 'c', std::max(a, b) - 12);
    }
    const std::string digitText = std::to_string(digit);

    const AspectList &ecliptic = EclipticList(lists, digit);
    const int e = FindRecord(ecliptic, key, false);
    const bool eclipticShown = e >= 0 && AspectVisible(ecliptic[static_cast<std::size_t>(e)], view, item);
    if (eclipticShown)
        grid.At(1, 0) = RecordCode("0", "E:L" + digitText, ecliptic, e, false, false);

    const AspectList &ascensional = AscensionalList(lists, digit);
    const int asc = FindRecord(ascensional, key, false);
    if (asc >= 0) {
        if (AspectVisible(ascensional[static_cast<std::size_t>(asc)], view, item))
            grid.At(1, 1) = RecordCode("0", "A:L" + digitText, ascensional, asc, false, false);
    } else if (eclipticShown && digit != 4) {
        const DispositorList &dispositors = digit == 1 ? lists.dispositorBodies : lists.dispositorBodyCusp;
        int row = 0;
        for (std::size_t i = 0; i < dispositors.size(); ++i) {
            if (dispositors[i].controlledKey != key)
                continue;
            ++row;
            if (row >= grid.RowCount())
                grid.SetRowCount(row + 1);
            grid.At(row, 1) = DispositorCode(std::to_string(row), "A:D" + digitText, dispositors,
                                             static_cast<int>(i), false);
        }
    }

    if (grid.ColumnCount() < 3)
        return;
    if (!doubleWheel && item == chart::kNatalEcliptic) {
        grid.At(1, 2) = grid.At(1, 0);
        return;
    }
    if (!doubleWheel && item == chart::kNatalAscensional) {
        grid.At(1, 2) = grid.At(1, 1);
        return;
    }
    // The pair key names the row member first.
    int pairDigit = 0;
    std::string pairKey;
    const AspectList *list = nullptr;
    if (a <= 12 && b <= 12) {
        pairDigit = 1;
        pairKey = MakePairKey('p', b, 'p', a);
        list = &lists.pairBodies;
    } else if (b <= 12) {
        pairDigit = 2;
        pairKey = MakePairKey('p', b, 'c', a - 12);
        list = &lists.pairBodyCusp;
    } else if (a <= 12) {
        pairDigit = 3;
        pairKey = MakePairKey('p', a, 'c', b - 12);
        list = &lists.pairCuspBody;
    } else {
        pairDigit = 4;
        pairKey = MakePairKey('c', b - 12, 'c', a - 12);
        list = &lists.pairCusps;
    }
    // A single wheel's pair lists hold each unordered pair once.
    const int p = FindRecord(*list, pairKey, !doubleWheel);
    if (p >= 0 && AspectVisible((*list)[static_cast<std::size_t>(p)], view, item))
        grid.At(1, 2) = RecordCode("0", "P:P" + std::to_string(pairDigit), *list, p, pairDigit == 3, false);
}

int FillAspectList(TextGrid &grid, char source, const AspectList &bodies, const AspectList &bodyCusp,
                   const AspectList *cuspBody, const AspectList &cusps, const settings::RecVistaCarta &view) {
    ResetList(grid);
    ListCursor cursor;
    ListWriter writer(grid, cursor);
    const std::string prefix = std::string(1, source) + (source == 'P' ? ":P" : ":L");
    auto each = [&](const AspectList &list, int digit) {
        const std::string sourceList = prefix + std::to_string(digit);
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (!AspectVisible(list[i], view, view.innerItem))
                continue;
            ++cursor.number;
            writer.Put(RecordCode(std::to_string(cursor.number), sourceList, list, static_cast<int>(i),
                                  digit == 3, true));
        }
    };
    each(bodies, 1);
    each(bodyCusp, 2);
    if (cuspBody != nullptr)
        each(*cuspBody, 3);
    each(cusps, 4);
    return cursor.count;
}

void FillNatalList(TextGrid &grid, ListCursor &cursor, std::string_view heading, const BodySelection &bodies,
                   const CuspSelection &cusps, bool ambos, NatalModel model, const AspectLists &lists,
                   const settings::RecVistaCarta &view) {
    ListWriter writer(grid, cursor);
    writer.Heading(" " + std::string(heading));
    settings::RecVistaCarta blockView = view;
    blockView.pointSelection = bodies;
    blockView.cuspSelection = cusps;
    const int item = view.innerItem;
    const bool eclipticFirst = ambos || model == NatalModel::Ecliptic;

    // Body-body codes name the selected body first.
    auto code = [&](std::string_view number, std::string_view sourceList, const AspectList &list, int index,
                    int digit, bool trailingColon) {
        const std::string &key = list[static_cast<std::size_t>(index)].key;
        const PairMembers m = ReadPairKey(key);
        const bool swap =
            digit == 1 && !(ValidNumber(m.number1) && bodies[static_cast<std::size_t>(m.number1)]);
        return RecordCode(number, sourceList, list, index, swap, trailingColon);
    };

    for (int digit = 1; digit <= 2; ++digit) {
        const std::string d = std::to_string(digit);
        const AspectList &ecliptic = EclipticList(lists, digit);
        const AspectList &ascensional = AscensionalList(lists, digit);
        const DispositorList &dispositors = digit == 1 ? lists.dispositorBodies : lists.dispositorBodyCusp;
        const AspectList &primary = eclipticFirst ? ecliptic : ascensional;
        const std::string primaryList = std::string(eclipticFirst ? "E" : "A") + ":L" + d;

        for (std::size_t i = 0; i < primary.size(); ++i) {
            if (!AspectVisible(primary[i], blockView, item))
                continue;
            ++cursor.number;
            const std::string left =
                code(std::to_string(cursor.number), primaryList, primary, static_cast<int>(i), digit, true);
            if (!ambos) {
                writer.Put(left);
                continue;
            }
            const int twin = FindRecord(ascensional, primary[i].key, false);
            if (twin >= 0) {
                writer.Put(left + "/" + code("0", "A:L" + d, ascensional, twin, digit, false));
                continue;
            }
            bool any = false;
            for (std::size_t j = 0; j < dispositors.size(); ++j) {
                if (dispositors[j].controlledKey != primary[i].key)
                    continue;
                any = true;
                writer.Put(left + "/" +
                           DispositorCode("0", "A:D" + d, dispositors, static_cast<int>(j), false));
            }
            if (!any)
                writer.Put(left + "/" + kNoHalf);
        }
        if (!ambos)
            continue;
        for (std::size_t j = 0; j < ascensional.size(); ++j) {
            if (!AspectVisible(ascensional[j], blockView, item) ||
                HasPair(ecliptic, ascensional[j].key, false))
                continue;
            ++cursor.number;
            writer.Put("-:" + std::to_string(cursor.number) + "/" +
                       code("0", "A:L" + d, ascensional, static_cast<int>(j), digit, false));
        }
    }
    writer.NewRow();
}

int FillNatalManual(TextGrid &grid, bool ambos, NatalModel model, const AspectLists &lists,
                    const settings::RecVistaCarta &view) {
    ResetList(grid);
    ListCursor cursor;
    FillNatalList(grid, cursor, "Lista", view.pointSelection, view.cuspSelection, ambos, model, lists, view);
    grid.SetRowCount(cursor.row + 1); // the row after the last block stays empty
    return cursor.count;
}

int FillNatalByHouse(TextGrid &grid, const chart::RecDataProg &natalItem, NatalModel model, bool ambos,
                     int house, const AspectLists &lists, const settings::RecVistaCarta &view,
                     const settings::DignityMatrix &matrix) {
    ResetList(grid);
    if (!ValidNumber(house))
        return 0;
    ListCursor cursor;
    const CuspSelection noCusp{};
    const BodySelection noBody{};
    if (view.autoSources[settings::kSourceRuler]) {
        BodySelection rulers{};
        for (int b : RulersOfHouse(house, natalItem.cusps, matrix))
            rulers[static_cast<std::size_t>(b)] = true;
        FillNatalList(grid, cursor, "Regente", rulers, noCusp, ambos, model, lists, view);
    }
    if (view.autoSources[settings::kSourceCusp]) {
        CuspSelection only{};
        only[static_cast<std::size_t>(house)] = true;
        FillNatalList(grid, cursor, "Cúspide", noBody, only, ambos, model, lists, view);
    }
    if (view.autoSources[settings::kSourceOccupants]) {
        BodySelection occupants{};
        for (std::size_t b = 1; b <= 12; ++b)
            occupants[b] = natalItem.bodies[b].house == house;
        FillNatalList(grid, cursor, "Ocupantes", occupants, noCusp, ambos, model, lists, view);
    }
    if (cursor.row > 0)
        grid.SetRowCount(cursor.row + 1);
    return cursor.count;
}

void FillChartData(TextGrid &grid, const chart::TDataAstro &chart, const TextFormat &format) {
    if (grid.RowCount() < 20 || grid.ColumnCount() < 8)
        grid.SetSize(std::max(grid.RowCount(), 20), std::max(grid.ColumnCount(), 8));
    for (int i = 1; i <= 12; ++i) {
        const chart::RecPlaneta &p = chart.bodies[static_cast<std::size_t>(i)];
        grid.At(i, 0) = chart::kBodyNames[static_cast<std::size_t>(i)];
        grid.At(i, 1) =
            FormatAngle(360, 0, AngleSuffix::None, AngleLayout::DegreesMinutesSeconds, p.longitude, format);
        grid.At(i, 2) = FormatAngle(360, 0, AngleSuffix::PlusMinus, AngleLayout::DegreesMinutesSeconds,
                                    p.latitude, format);
        grid.At(i, 3) = FormatAngle(360, 0, AngleSuffix::None, AngleLayout::DegreesMinutesSeconds,
                                    p.rightAscension, format);
        grid.At(i, 4) = FormatAngle(360, 0, AngleSuffix::PlusMinus, AngleLayout::DegreesMinutesSeconds,
                                    p.declination, format);
        grid.At(i, 5) =
            FormatAngle(360, 0, AngleSuffix::None, AngleLayout::DegreesMinutesSeconds, p.dmo, format) + " (" +
            std::to_string(p.quadrant) + ")";
        grid.At(i, 6) =
            FormatAngle(360, 0, AngleSuffix::None, AngleLayout::DegreesMinutesSeconds, p.pole, format);
        grid.At(i, 7) =
            FormatAngle(360, 0, AngleSuffix::None, AngleLayout::DegreesMinutesSeconds, p.aoDo, format) + " " +
            p.aoDoLabel;
    }
    // The chart's instant is in dynamical time when ΔT is applied; the "GMT" lines show universal time.
    const TDateTime universal =
        chart.deltaT != 0 ? ShiftDateTime(chart.instant, -(chart.deltaT / 86400.0f)) : chart.instant;
    const CivilDateTime instant = DecodeDateTime(universal);
    grid.At(14, 2) =
        std::string(format.shortMonthNames[static_cast<std::size_t>((instant.month + 11) % 12)]) + " " +
        TwoDigits(instant.day) + " " + std::to_string(instant.year);
    grid.At(15, 2) = TimeText(instant);
    grid.At(16, 2) = FormatFixed(chart.deltaT, 3, format.decimalSeparator, 2) + " s";
    grid.At(17, 2) = FormatFixed(static_cast<double>(chart.julianDay), 4, format.decimalSeparator, 2);
    grid.At(18, 2) =
        FormatAngle(24, 0, AngleSuffix::None, AngleLayout::HoursMinutesSeconds, chart.siderealTime, format);
    // Angles over the whole circle wrap at 360.
    grid.At(14, 4) =
        FormatAngle(360, 0, AngleSuffix::None, AngleLayout::DegreesMinutesSeconds, chart.armc, format);
    grid.At(15, 4) =
        FormatAngle(360, 0, AngleSuffix::None, AngleLayout::DegreesMinutesSeconds, chart.obliquity, format);
    grid.At(16, 4) = FormatAngle(360, 0, AngleSuffix::None, AngleLayout::DegreesMinutesSeconds,
                                 chart.sunTrueLongitude, format);
    grid.At(17, 4) = FormatAngle(360, 0, AngleSuffix::None, AngleLayout::DegreesMinutesSeconds,
                                 chart.sunMeanLongitude, format);
    const CivilDateTime equation = DecodeDateTime(std::fabs(static_cast<double>(chart.equationOfTime)));
    grid.At(18, 4) = (chart.equationOfTime > 0 ? "+ " : "- ") + TimeText(equation);
}

void FillBodySummary(TextGrid &grid, const chart::RecDataProg &item, const settings::DignityMatrix &matrix) {
    if (grid.RowCount() < 13 || grid.ColumnCount() < 15)
        grid.SetSize(std::max(grid.RowCount(), 13), std::max(grid.ColumnCount(), 15));
    for (int i = 1; i <= 12; ++i) {
        const chart::RecPlanetaSimple &body = item.bodies[static_cast<std::size_t>(i)];
        grid.At(i, 1) = std::to_string(body.sign);
        grid.At(i, 2) = std::to_string(matrix.At(i, body.sign));
        grid.At(i, 3) = body.ruledHouses;
        grid.At(i, 4) = std::to_string(body.house);
        grid.At(i, 5) = std::to_string(DecanateSign(body.sign, body.position));
        grid.At(i, 6) = std::to_string(NeighbourOfBody(-1, i, item.bodies));
        grid.At(i, 7) = std::to_string(NeighbourOfBody(+1, i, item.bodies));
    }
    for (int j = 1; j <= 12; ++j) {
        const chart::CuspEntry &cusp = item.cusps[static_cast<std::size_t>(j)];
        grid.At(j, 10) = std::to_string(cusp.sign);
        grid.At(j, 11) = std::to_string(cusp.nextSign);
        grid.At(j, 12) = std::to_string(DecanateSign(cusp.sign, cusp.cusp));
        grid.At(j, 13) = std::to_string(NeighbourBody(-1, cusp.cusp, item.bodies));
        grid.At(j, 14) = std::to_string(NeighbourBody(+1, cusp.cusp, item.bodies));
    }
}

} // namespace cel::analysis
