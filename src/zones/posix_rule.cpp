// Compiled as C++17: date/tz's POSIX zone header names hh_mm_ss in a way that C++20's <chrono> makes
// ambiguous.
#include "zones/posix_rule.h"

#include <date/ptz.h>

namespace cel::zones {

namespace {

// hasSaving: the rule has saving time at all; negativeSaving: the rule's saving is negative (Ireland:
// "IST-1GMT0,..."), so its standard time is the summer time and its saving time the winter.
PosixInterval IntervalOf(const date::sys_info &info, bool hasSaving, int negativeSaving) {
    PosixInterval r;
    r.offsetSeconds = static_cast<int>(info.offset.count());
    r.abbreviation = info.abbrev;
    if (!hasSaving)
        return r;
    const int save = static_cast<int>(info.save.count() * 60);
    if (save > 0) {
        r.daylight = true;
        r.daylightSeconds = save;
    } else if (save == 0 && negativeSaving < 0) {
        r.daylight = true;
        r.daylightSeconds = -negativeSaving;
    }
    return r;
}

class DateRule : public PosixRule {
public:
    explicit DateRule(const std::string &text) : zone_(text) {
        // The rule's saving, read in the winter and the summer of a year far beyond any listed transition.
        // A rule without saving time has the same offset in both (and its "save" is then not set).
        const date::sys_info winter = zone_.get_info(date::sys_days{date::year{2200} / 1 / 1});
        const date::sys_info summer = zone_.get_info(date::sys_days{date::year{2200} / 7 / 1});
        hasSaving_ = winter.offset != summer.offset;
        for (const date::sys_info &info : {winter, summer})
            if (hasSaving_ && info.save < std::chrono::minutes{0})
                negativeSaving_ = static_cast<int>(info.save.count() * 60);
    }

    PosixLocal AtLocal(long long localSeconds) const override {
        const date::local_info li = zone_.get_info(date::local_seconds{std::chrono::seconds{localSeconds}});
        PosixLocal out;
        out.first = IntervalOf(li.first, hasSaving_, negativeSaving_);
        out.second = li.result == date::local_info::unique
                         ? out.first
                         : IntervalOf(li.second, hasSaving_, negativeSaving_);
        out.kind = li.result == date::local_info::unique        ? 0
                   : li.result == date::local_info::nonexistent ? 1
                                                                : 2;
        return out;
    }

    PosixInterval AtUniversal(long long universalSeconds) const override {
        return IntervalOf(zone_.get_info(date::sys_seconds{std::chrono::seconds{universalSeconds}}),
                          hasSaving_, negativeSaving_);
    }

private:
    Posix::time_zone zone_;
    bool hasSaving_ = false;
    int negativeSaving_ = 0;
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
