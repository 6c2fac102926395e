#include "common/clock.h"

#include <chrono>
#include <ctime>

namespace cel {

namespace {

// The clock now, broken down by convert (localtime_r or gmtime_r), with its milliseconds.
template <class Convert> CivilDateTime Now(Convert convert) {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm tm{};
    convert(&seconds, &tm);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    return {tm.tm_year + 1900,
            tm.tm_mon + 1,
            tm.tm_mday,
            tm.tm_hour,
            tm.tm_min,
            tm.tm_sec,
            static_cast<int>(ms < 0 ? ms + 1000 : ms)};
}

} // namespace

CivilDateTime LocalNow() {
    return Now(localtime_r);
}

TDateTime UniversalNow() {
    return EncodeDateTime(Now(gmtime_r));
}

} // namespace cel
