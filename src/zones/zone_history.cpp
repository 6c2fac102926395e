#include "zones/zone_history.h"

#include "zones/posix_rule.h"

#include <date/tz.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <sstream>

namespace cel::zones {

namespace {

namespace ch = std::chrono;
using Ms = ch::milliseconds;
using LocalMs = date::local_time<Ms>;
using SysMs = date::sys_time<Ms>;

// Where the system keeps its compiled zone files.
constexpr const char *kZoneFolder = "/usr/share/zoneinfo";

// One zone as looked up: the library's zone and, for instants after the last transition its file
// lists, the rule of the file's footer (the files list transitions only up to 2037).
struct ZoneEntry {
    const date::time_zone *zone = nullptr;
    std::shared_ptr<const PosixRule> footer;
};

// The footer of a compiled zone file: the rule for the instants after its last transition.
std::shared_ptr<const PosixRule> ReadFooter(const std::string &zoneId) {
    std::ifstream in(std::string(kZoneFolder) + "/" + zoneId, std::ios::binary);
    if (!in)
        return nullptr;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 6 || bytes.compare(0, 4, "TZif") != 0 || bytes[4] < '2' || bytes.back() != '\n')
        return nullptr;
    const std::size_t start = bytes.rfind('\n', bytes.size() - 2);
    if (start == std::string::npos)
        return nullptr;
    const std::string rule = bytes.substr(start + 1, bytes.size() - start - 2);
    if (rule.empty())
        return nullptr;
    return PosixRule::Parse(rule);
}

class ZoneCache {
public:
    const ZoneEntry *Find(std::string_view zoneId) {
        {
            std::shared_lock lock(mutex_);
            if (auto it = entries_.find(zoneId); it != entries_.end())
                return it->second.zone ? &it->second : nullptr;
        }
        ZoneEntry entry;
        const std::string id(zoneId);
        // Ids are names under the zone folder: refuse anything that could leave it.
        const bool plain = !id.empty() && id.find("..") == std::string::npos && id.front() != '/';
        if (plain) {
            try {
                entry.zone = date::locate_zone(id);
            } catch (const std::exception &) {
                entry.zone = nullptr;
            }
        }
        if (entry.zone)
            entry.footer = ReadFooter(std::string(entry.zone->name()));
        std::unique_lock lock(mutex_);
        auto [it, inserted] = entries_.emplace(id, std::move(entry));
        return it->second.zone ? &it->second : nullptr;
    }

private:
    std::shared_mutex mutex_;
    std::map<std::string, ZoneEntry, std::less<>> entries_;
};

ZoneCache &Cache() {
    static ZoneCache cache;
    return cache;
}

LocalMs ToLocal(TDateTime value) {
    const CivilDateTime dt = DecodeDateTime(value);
    const date::local_days day{date::year{dt.year} / date::month{static_cast<unsigned>(dt.month)} /
                               date::day{static_cast<unsigned>(dt.day)}};
    return LocalMs{ch::duration_cast<Ms>(day.time_since_epoch())} + ch::hours{dt.hour} +
           ch::minutes{dt.minute} + ch::seconds{dt.second} + Ms{dt.millisecond};
}

bool IsEndless(const date::sys_info &info) {
    return info.end >= date::sys_days{date::year{32767} / 1 / 1};
}

bool IsBeginless(const date::sys_info &info) {
    return info.begin <= date::sys_days{date::year{-32767} / 12 / 31};
}

// The standard offset in force around an interval on daylight time: that of the nearest interval on
// standard time, looking back first.
ch::seconds StandardOffset(const date::time_zone &zone, const date::sys_info &info) {
    if (info.save == ch::minutes{0})
        return info.offset;
    date::sys_info look = info;
    for (int i = 0; i < 6 && !IsBeginless(look); ++i) {
        look = zone.get_info(look.begin - ch::seconds{1});
        if (look.save == ch::minutes{0})
            return look.offset;
    }
    look = info;
    for (int i = 0; i < 6 && !IsEndless(look); ++i) {
        look = zone.get_info(look.end);
        if (look.save == ch::minutes{0})
            return look.offset;
    }
    return info.offset - ch::hours{1};
}

// The offset of an interval, in milliseconds, with local mean time taken at the place's longitude.
long long OffsetMs(const date::sys_info &info, std::optional<double> longitudeWest) {
    if (info.abbrev == "LMT" && longitudeWest)
        return std::llround(-*longitudeWest / 15.0 * 3'600'000.0);
    return ch::duration_cast<Ms>(info.offset).count();
}

ZoneReading MakeReading(const date::time_zone *zone, const date::sys_info &info,
                        std::optional<double> longitudeWest) {
    ZoneReading r;
    r.offsetHours = static_cast<double>(OffsetMs(info, longitudeWest)) / 3'600'000.0;
    r.abbreviation = info.abbrev;
    r.localMeanTime = info.abbrev == "LMT";
    if (!zone)
        return r;
    // The database marks Ireland's winter (GMT) as its saving time, a negative one: for the user the
    // summer time is the greater offset of the year. (Morocco's month of Ramadan at +0 is marked the
    // same way; its +1 around it stays standard time, which the length of that month tells apart.)
    if (info.save != ch::minutes{0}) {
        const ch::seconds saving = info.offset - StandardOffset(*zone, info);
        r.daylight = saving > ch::seconds{0};
        r.daylightHours = r.daylight ? static_cast<double>(saving.count()) / 3600.0 : 0.0;
    } else if (!IsBeginless(info)) {
        const date::sys_info before = zone->get_info(info.begin - ch::seconds{1});
        if (before.save != ch::minutes{0} && before.offset < info.offset &&
            before.end - before.begin > date::days{90}) {
            r.daylight = true;
            r.daylightHours = static_cast<double>((info.offset - before.offset).count()) / 3600.0;
        }
    }
    return r;
}

ZoneReading FooterReading(const PosixInterval &info) {
    ZoneReading r;
    r.offsetHours = info.offsetSeconds / 3600.0;
    r.abbreviation = info.abbreviation;
    r.daylight = info.daylight;
    r.daylightHours = info.daylightSeconds / 3600.0;
    return r;
}

// The intervals around a local time: the one the local time falls in when read with the offset of
// the universal time of the same clock reading, and two on either side. Local mean time taken at
// the place's longitude can move a gap or fold away from where the reference city's mean time puts it,
// so each interval is tested with its own offset.
std::vector<date::sys_info> Around(const date::time_zone &zone, LocalMs local) {
    const date::sys_info guess = zone.get_info(SysMs{local.time_since_epoch()});
    std::vector<date::sys_info> list{guess};
    for (int i = 0; i < 2 && !IsBeginless(list.front()); ++i)
        list.insert(list.begin(), zone.get_info(list.front().begin - ch::seconds{1}));
    for (int i = 0; i < 2 && !IsEndless(list.back()); ++i)
        list.push_back(zone.get_info(list.back().end));
    return list;
}

} // namespace

bool IsZoneId(std::string_view zoneId) {
    return Cache().Find(zoneId) != nullptr;
}

const std::vector<std::string> &ZoneIds() {
    static const std::vector<std::string> ids = [] {
        std::vector<std::string> list;
        try {
            const date::tzdb &db = date::get_tzdb();
            for (const date::time_zone &z : db.zones)
                list.emplace_back(z.name());
        } catch (const std::exception &) {
        }
        // The folder's copies of the same zones under "posix/" and "right/" (leap seconds) are not zones.
        std::erase_if(list, [](const std::string &id) {
            return id.starts_with("posix/") || id.starts_with("right/") || id.starts_with("posixrules") ||
                   id == "localtime" || id == "Factory";
        });
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
        return list;
    }();
    return ids;
}

std::string TzdataVersion() {
    for (const char *file : {"tzdata.zi", "+VERSION"}) {
        std::ifstream in(std::string(kZoneFolder) + "/" + file);
        std::string line;
        while (in && std::getline(in, line)) {
            if (line.starts_with("# version "))
                return line.substr(10);
            if (std::string(file) == "+VERSION" && !line.empty())
                return line;
            if (!line.starts_with("#"))
                break;
        }
    }
    return {};
}

std::optional<LocalZoneReading> ReadLocal(std::string_view zoneId, TDateTime local,
                                          std::optional<double> longitudeWest) {
    const ZoneEntry *entry = Cache().Find(zoneId);
    if (!entry)
        return std::nullopt;
    const date::time_zone &zone = *entry->zone;
    const LocalMs t = ToLocal(local);
    LocalZoneReading out;
    out.zoneId = std::string(zoneId);
    out.beforeReliableHistory = local < ReliableHistoryStart();

    const std::vector<date::sys_info> around = Around(zone, t);
    auto utcOf = [&](const date::sys_info &info) {
        return SysMs{t.time_since_epoch() - Ms{OffsetMs(info, longitudeWest)}};
    };
    std::vector<std::size_t> valid;
    for (std::size_t i = 0; i < around.size(); ++i) {
        const SysMs u = utcOf(around[i]);
        if (u >= around[i].begin && u < around[i].end)
            valid.push_back(i);
    }
    if (valid.size() == 1) {
        const date::sys_info &info = around[valid.front()];
        if (IsEndless(info) && entry->footer) {
            // After the file's last transition: the footer's rule, with its own gaps and folds.
            const PosixLocal li =
                entry->footer->AtLocal(ch::floor<ch::seconds>(t.time_since_epoch()).count());
            out.first = FooterReading(li.first);
            out.second = FooterReading(li.second);
            out.kind = li.kind == 0   ? LocalTimeKind::Unique
                       : li.kind == 1 ? LocalTimeKind::Gap
                                      : LocalTimeKind::Fold;
            return out;
        }
        out.first = out.second = MakeReading(&zone, info, longitudeWest);
        return out;
    }
    if (valid.size() >= 2) {
        out.kind = LocalTimeKind::Fold;
        out.first = MakeReading(&zone, around[valid.front()], longitudeWest);
        out.second = MakeReading(&zone, around[valid.back()], longitudeWest);
        return out;
    }
    // No interval holds it: a gap between the interval it has passed and the one it has not reached.
    for (std::size_t i = 0; i + 1 < around.size(); ++i) {
        if (utcOf(around[i]) >= around[i].end && utcOf(around[i + 1]) < around[i + 1].begin) {
            out.kind = LocalTimeKind::Gap;
            out.first = MakeReading(&zone, around[i], longitudeWest);
            out.second = MakeReading(&zone, around[i + 1], longitudeWest);
            return out;
        }
    }
    // Not expected; the library's own reading.
    const date::local_info li = zone.get_info(t);
    out.first = out.second = MakeReading(&zone, li.first, longitudeWest);
    return out;
}

std::optional<ZoneReading> ReadUniversal(std::string_view zoneId, TDateTime universal,
                                         std::optional<double> longitudeWest) {
    const ZoneEntry *entry = Cache().Find(zoneId);
    if (!entry)
        return std::nullopt;
    const SysMs u{ToLocal(universal).time_since_epoch()};
    const date::sys_info info = entry->zone->get_info(u);
    if (IsEndless(info) && entry->footer)
        return FooterReading(
            entry->footer->AtUniversal(ch::floor<ch::seconds>(u.time_since_epoch()).count()));
    return MakeReading(entry->zone, info, longitudeWest);
}

TDateTime UniversalOf(TDateTime local, const ZoneReading &reading) {
    return ShiftDateTime(local, -static_cast<long double>(reading.offsetHours) / 24.0L);
}

TDateTime LocalOf(TDateTime universal, const ZoneReading &reading) {
    return ShiftDateTime(universal, static_cast<long double>(reading.offsetHours) / 24.0L);
}

std::optional<TDateTime> UniversalToLocal(std::string_view zoneId, TDateTime universal,
                                          std::optional<double> longitudeWest) {
    const std::optional<ZoneReading> r = ReadUniversal(zoneId, universal, longitudeWest);
    if (!r)
        return std::nullopt;
    return LocalOf(universal, *r);
}

TDateTime ReliableHistoryStart() {
    return EncodeDate(1970, 1, 1);
}

std::string OffsetText(double hours) {
    const long long seconds = std::llround(std::fabs(hours) * 3600.0);
    const long long h = seconds / 3600;
    const long long m = seconds / 60 % 60;
    const long long s = seconds % 60;
    char buffer[40];
    const char sign = hours < 0 && seconds != 0 ? '-' : '+';
    if (s != 0)
        std::snprintf(buffer, sizeof buffer, "UTC%c%lld:%02lld:%02lld", sign, h, m, s);
    else if (m != 0)
        std::snprintf(buffer, sizeof buffer, "UTC%c%lld:%02lld", sign, h, m);
    else
        std::snprintf(buffer, sizeof buffer, "UTC%c%lld", sign, h);
    return buffer;
}

std::string ReadingKindText(const ZoneReading &reading) {
    if (reading.localMeanTime)
        return "hora media local";
    return reading.daylight ? "horario de verano" : "horario estándar";
}

} // namespace cel::zones
