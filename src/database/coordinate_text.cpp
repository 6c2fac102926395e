#include "database/coordinate_text.h"

#include <cmath>
#include <cstdio>

#include "common/windows1252.h"

namespace cel::database {

std::string TimeZoneText(long double h) {
    const long double whole = std::trunc(h);
    const long long hours = std::llabs(static_cast<long long>(whole));
    const long long minutes = static_cast<long long>(std::trunc(std::fabs((h - whole) * 60)));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%c%lld:%2.2lld", h > 0 ? '+' : '-', hours, minutes);
    return buf;
}

std::string AngleText(long double x, AngleKind kind) {
    const bool negative = x < 0;
    const long double a = std::fabs(x);
    long double d = std::trunc(a);
    const long double m = std::trunc((a - d) * 60);
    const long double s = ((a - d) * 60 - m) * 60;
    d = std::fmod(d, 360.0L);
    char buf[96];
    // Seconds rounded half away from zero, as the display pattern does.
    std::snprintf(buf, sizeof buf, "%.0Lf\u00B0 %.0Lf' %.0Lf\"", d, m, std::round(s));
    std::string text = buf;
    switch (kind) {
    case AngleKind::Signed:
        return (negative ? "-" : "+") + text;
    case AngleKind::Longitude:
        return text + (negative ? " E" : " W");
    case AngleKind::Latitude:
        return text + (negative ? " S" : " N");
    default:
        return text;
    }
}

DmsParts SplitDegrees(long double x) {
    DmsParts p;
    p.negative = x < 0;
    const long double a = std::fabs(x);
    const long double d = std::trunc(a);
    const long double m = std::trunc((a - d) * 60);
    const long double s = ((a - d) * 60 - m) * 60;
    p.degrees = static_cast<int>(d);
    p.minutes = static_cast<int>(m);
    if (std::fabs(s - 60) < 1e-5L) {
        p.minutes += 1;
    } else {
        p.seconds = static_cast<int>(std::trunc(s));
        p.milliseconds = static_cast<int>(std::lround((s - std::trunc(s)) * 1000 + 1e-4L));
    }
    if (p.milliseconds >= 1000) {
        p.milliseconds -= 1000;
        p.seconds += 1;
    }
    if (p.seconds >= 60) {
        p.seconds -= 60;
        p.minutes += 1;
    }
    if (p.minutes >= 60) {
        p.minutes -= 60;
        p.degrees += 1;
    }
    return p;
}

long double ComposeDegrees(const DmsParts &p) {
    const long double v = p.degrees + p.minutes / 60.0L + p.seconds / 3600.0L + p.milliseconds / 3600000.0L;
    return p.negative ? -v : v;
}

std::string PlaceDescription(const Database &db, const TLugar_Geo &place) {
    return place.Nombre + "\rPaís: " + NameOfId(db.Countries, place.IdPais) +
           "\rLon: " + AngleText(place.Lon, AngleKind::Longitude) +
           "\rLat: " + AngleText(place.Lat, AngleKind::Latitude) + "\rTZ: " + TimeZoneText(place.TZ) +
           "\rDST: " + (place.DST == 1 ? "sí" : "no");
}

namespace {

// Refuses the first character the data file cannot hold in this field, with its message.
bool CheckCharacters(const std::string &text, bool eventName, Notifier &notifier) {
    const auto refuse = [&notifier](const std::string &character) {
        notifier.Notice(NoticeKind::Warning, false, true,
                        std::string("El caracter") + " \"" + character + "\" " + "no es permitido");
        return false;
    };
    for (const char *forbidden : {"\xC3\xA2", "\xC3\x9F", "^"})
        if (text.find(forbidden) != std::string::npos)
            return refuse(forbidden);
    if (eventName && text.find("\xC3\xAA") != std::string::npos) // "ê" parts the events in the file
        return refuse("\xC3\xAA");
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const char32_t c = NextUtf8Char(text, i);
        if (Windows1252Byte(c) < 0)
            return refuse(c > 0x10FFFF ? text.substr(start, i - start) : Utf8Char(c));
    }
    return true;
}

} // namespace

bool CheckInput(const std::string &text, const std::string &what, Notifier &notifier) {
    if (text.empty()) {
        notifier.Notice(NoticeKind::Warning, false, true, "Debe digitar " + what + " !");
        return false;
    }
    return CheckCharacters(text, false, notifier);
}

bool CheckOptionalInput(const std::string &text, Notifier &notifier) {
    return CheckCharacters(text, false, notifier);
}

bool CheckEventName(const std::string &text, Notifier &notifier) {
    if (text.empty()) {
        notifier.Notice(NoticeKind::Warning, false, true, "Debe digitar el nombre del evento !");
        return false;
    }
    return CheckCharacters(text, true, notifier);
}

bool AskEventName(Notifier &notifier, const std::string &title, const std::string &prompt,
                  std::string &name) {
    std::string typed = name;
    do {
        if (!notifier.InputText(title, prompt, typed))
            return false;
    } while (!CheckEventName(typed, notifier));
    name = typed;
    return true;
}

} // namespace cel::database
