// The rule of a compiled zone file's footer (a POSIX TZ string such as "CET-1CEST,M3.5.0,M10.5.0/3"),
// which gives the offsets after the file's last listed transition. Read with date/tz's POSIX zone.
#pragma once

#include <memory>
#include <string>

namespace cel::zones {

struct PosixInterval {
    int offsetSeconds = 0;
    bool daylight = false;
    int daylightSeconds = 0;
    std::string abbreviation;
};

// A local time under the rule: unique, skipped (gap) or repeated (fold), with both readings.
struct PosixLocal {
    int kind = 0; // 0 unique, 1 gap, 2 fold
    PosixInterval first, second;
};

class PosixRule {
public:
    // Nothing when the text is no rule.
    static std::unique_ptr<PosixRule> Parse(const std::string &text);
    virtual ~PosixRule() = default;
    // Seconds from 1970-01-01 00:00 (local clock reading, or universal time).
    virtual PosixLocal AtLocal(long long localSeconds) const = 0;
    virtual PosixInterval AtUniversal(long long universalSeconds) const = 0;
};

} // namespace cel::zones
