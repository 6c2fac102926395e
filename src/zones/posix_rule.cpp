// Compiled as C++17: date/tz's POSIX zone header names hh_mm_ss in a way that C++20's <chrono> makes
// ambiguous.
#include "zones/posix_rule.h"

#include <date/ptz.h>

namespace cel::zones {

namespace {

PosixInterval IntervalOf(const date::sys_info &info) {
    PosixInterval r;
    r.offsetSeconds = static_cast<int>(info.offset.count());
    r.daylight = info.save != std::chrono::minutes{0};
    r.daylightSeconds = static_cast<int>(info.save.count() * 60);
    r.abbreviation = info.abbrev;
    return r;
}

class DateRule : public PosixRule {
public:
    explicit DateRule(const std::string &text) : zone_(text) {}

    PosixLocal AtLocal(long long localSeconds) const override {
        const date::local_info li = zone_.get_info(date::local_seconds{std::chrono::seconds{localSeconds}});
        PosixLocal out;
        out.first = IntervalOf(li.first);
        out.second = li.result == date::local_info::unique ? out.first : IntervalOf(li.second);
        out.kind = li.result == date::local_info::unique        ? 0
                   : li.result == date::local_info::nonexistent ? 1
                                                                : 2;
        return out;
    }

    PosixInterval AtUniversal(long long universalSeconds) const override {
        return IntervalOf(zone_.get_info(date::sys_seconds{std::chrono::seconds{universalSeconds}}));
    }

private:
    Posix::time_zone zone_;
};

} // namespace

std::unique_ptr<PosixRule> PosixRule::Parse(const std::string &text) {
    try {
        return std::make_unique<DateRule>(text);
    } catch (const std::exception &) {
        return nullptr;
    }
}

} // namespace cel::zones
