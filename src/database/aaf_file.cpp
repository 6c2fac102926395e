#include "database/aaf_file.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>

#include "common/safe_file.h"
#include "common/text_lines.h"
#include "common/windows1252.h"
#include "database/text_cleanup.h"

namespace cel::database {
namespace {

// Days from 1899-12-30 00:00 to the Julian day 0 epoch: a Julian day is this plus the day count.
constexpr long double kJulianDayOfEpoch = 2415018.5L;
constexpr long double kHalfArcSecond = 1.0L / 7200.0L;

struct CountryCode {
    const char *code;
    const char *name;
};

// International vehicle codes, as AAF files write them, then the two-letter codes that do not
// clash with them. The first code of a name is the one written.
constexpr CountryCode kCountryCodes[] = {
    {"RA", "Argentina"},
    {"BOL", "Bolivia"},
    {"BR", "Brasil"},
    {"RCH", "Chile"},
    {"CO", "Colombia"},
    {"CR", "Costa Rica"},
    {"C", "Cuba"},
    {"EC", "Ecuador"},
    {"ES", "El Salvador"},
    {"E", "España"},
    {"USA", "Estados Unidos"},
    {"GCA", "Guatemala"},
    {"HN", "Honduras"},
    {"MEX", "México"},
    {"NIC", "Nicaragua"},
    {"PA", "Panamá"},
    {"PY", "Paraguay"},
    {"PE", "Perú"},
    {"PR", "Puerto Rico"},
    {"DOM", "República Dominicana"},
    {"ROU", "Uruguay"},
    {"YV", "Venezuela"},
    {"D", "Alemania"},
    {"A", "Austria"},
    {"B", "Bélgica"},
    {"CDN", "Canadá"},
    {"DK", "Dinamarca"},
    {"F", "Francia"},
    {"GB", "Reino Unido"},
    {"GR", "Grecia"},
    {"NL", "Países Bajos"},
    {"I", "Italia"},
    {"IRL", "Irlanda"},
    {"L", "Luxemburgo"},
    {"N", "Noruega"},
    {"P", "Portugal"},
    {"PL", "Polonia"},
    {"S", "Suecia"},
    {"CH", "Suiza"},
    {"FIN", "Finlandia"},
    {"H", "Hungría"},
    {"CZ", "Chequia"},
    {"RUS", "Rusia"},
    {"TR", "Turquía"},
    {"IL", "Israel"},
    {"IND", "India"},
    {"J", "Japón"},
    {"AUS", "Australia"},
    {"NZ", "Nueva Zelanda"},
    {"ZA", "Sudáfrica"},
    {"AR", "Argentina"},
    {"BO", "Bolivia"},
    {"CL", "Chile"},
    {"CU", "Cuba"},
    {"DO", "República Dominicana"},
    {"GT", "Guatemala"},
    {"MX", "México"},
    {"NI", "Nicaragua"},
    {"SV", "El Salvador"},
    {"US", "Estados Unidos"},
    {"UY", "Uruguay"},
    {"VE", "Venezuela"},
    {"DE", "Alemania"},
    {"AT", "Austria"},
    {"FR", "Francia"},
    {"IT", "Italia"},
    {"UK", "Reino Unido"},
    {"CA", "Canadá"},
    {"JP", "Japón"},
};

std::string Trim(std::string_view s) {
    std::size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t'))
        ++a;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t'))
        --b;
    return std::string(s.substr(a, b - a));
}

std::vector<std::string> SplitFields(std::string_view s) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = s.find(',', start);
        out.push_back(
            Trim(s.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
        if (comma == std::string_view::npos)
            return out;
        start = comma + 1;
    }
}

bool IsUnknown(const std::string &field) {
    return field.empty() || field == "*";
}

// Reads a whole unsigned number of at most maxDigits digits at s[i] (advanced past it).
bool ReadNumber(const std::string &s, std::size_t &i, int &value, int maxDigits = 6) {
    const std::size_t start = i;
    value = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && i - start < 7) {
        value = value * 10 + (s[i] - '0');
        ++i;
    }
    return i > start && static_cast<int>(i - start) <= maxDigits;
}

// Julian day number at noon of a date, in either calendar.
long long DayNumber(int y, int m, int d, bool julian) {
    const long long a = (14 - m) / 12;
    const long long yy = y + 4800 - a;
    const long long mm = m + 12 * a - 3;
    long long n = d + (153 * mm + 2) / 5 + 365 * yy + yy / 4;
    return julian ? n - 32083 : n - yy / 100 + yy / 400 - 32045;
}

int JulianDaysInMonth(int year, int month) {
    if (month == 2)
        return year % 4 == 0 ? 29 : 28;
    return DaysInMonth(2001, month);
}

// "9.5.1949", optionally followed by "j" (Julian calendar) or "g" (Gregorian).
bool ParseDate(std::string text, AafRecord &r, std::string &why) {
    if (!text.empty()) {
        const char mark = static_cast<char>(std::tolower(static_cast<unsigned char>(text.back())));
        if (mark == 'j' || mark == 'g') {
            r.julianCalendar = mark == 'j';
            text = Trim(text.substr(0, text.size() - 1));
        }
    }
    std::size_t i = 0;
    int d = 0, m = 0, y = 0;
    if (!ReadNumber(text, i, d, 2) || i >= text.size() || text[i++] != '.' || !ReadNumber(text, i, m, 2) ||
        i >= text.size() || text[i++] != '.' || !ReadNumber(text, i, y, 4) || i != text.size()) {
        why = "fecha ilegible \"" + text + "\"";
        return false;
    }
    const int days = r.julianCalendar ? JulianDaysInMonth(y, m) : (m >= 1 && m <= 12 ? DaysInMonth(y, m) : 0);
    if (y < 1 || m < 1 || m > 12 || d < 1 || d > days) {
        why = "fecha imposible \"" + text + "\"";
        return false;
    }
    if (r.julianCalendar) {
        // Stored dates are proleptic Gregorian: the same day, counted in the other calendar.
        CivilFromDays(DayNumber(y, m, d, true) - DayNumber(1899, 12, 30, false), y, m, d);
        if (y < 1) {
            why = "fecha fuera del intervalo \"" + text + "\"";
            return false;
        }
    }
    r.hasDate = true;
    r.year = y;
    r.month = m;
    r.day = d;
    return true;
}

bool ParseTime(const std::string &text, AafRecord &r, std::string &why) {
    std::size_t i = 0;
    int h = 0, m = 0, s = 0;
    bool ok = ReadNumber(text, i, h, 2) && i < text.size() && text[i++] == ':' && ReadNumber(text, i, m, 2);
    if (ok && i < text.size())
        ok = text[i++] == ':' && ReadNumber(text, i, s, 2) && i == text.size();
    if (!ok || h > 23 || m > 59 || s > 59) {
        why = "hora ilegible \"" + text + "\"";
        return false;
    }
    r.hasTime = true;
    r.hour = h;
    r.minute = m;
    r.second = s;
    return true;
}

// "51n41", "7e49", "33s52:30": degrees, the hemisphere letter, minutes and optional seconds.
bool ParseCoordinate(const std::string &text, const char *letters, int maxDegrees, long double &value) {
    std::size_t i = 0;
    int d = 0, m = 0, s = 0;
    if (!ReadNumber(text, i, d, 3) || i >= text.size())
        return false;
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i++])));
    if (letter != letters[0] && letter != letters[1])
        return false;
    if (!ReadNumber(text, i, m, 2))
        return false;
    if (i < text.size() && !(text[i++] == ':' && ReadNumber(text, i, s, 2)))
        return false;
    if (i != text.size() || m > 59 || s > 59)
        return false;
    value = d + m / 60.0L + s / 3600.0L;
    if (value > maxDegrees)
        return false;
    if (letter == letters[1])
        value = -value;
    return true;
}

// "1he", "5hw30", "5h30w": hours, "h", east or west, and optional minutes.
bool ParseOffset(const std::string &text, long double &hours) {
    std::size_t i = 0;
    int h = 0, m = 0;
    if (!ReadNumber(text, i, h, 2) || i >= text.size() ||
        std::tolower(static_cast<unsigned char>(text[i++])) != 'h')
        return false;
    if (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && !ReadNumber(text, i, m, 2))
        return false;
    if (i >= text.size())
        return false;
    const char side = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i++])));
    if (side != 'e' && side != 'w')
        return false;
    if (i < text.size() && (m != 0 || !ReadNumber(text, i, m, 2)))
        return false;
    if (i != text.size() || m > 59 || h > 15)
        return false;
    hours = (h + m / 60.0L) * (side == 'w' ? -1 : 1);
    return true;
}

bool ParseA93(const std::string &body, AafRecord &r, std::string &why) {
    const std::vector<std::string> f = SplitFields(body);
    if (f.size() != 7) {
        why = "#A93 con " + std::to_string(f.size()) + " campos en lugar de 7";
        return false;
    }
    r.lastName = IsUnknown(f[0]) ? std::string() : f[0];
    r.firstName = IsUnknown(f[1]) ? std::string() : f[1];
    if (r.lastName.empty() && r.firstName.empty()) {
        why = "registro sin nombre";
        return false;
    }
    r.type = f[2].empty() ? '*' : static_cast<char>(std::tolower(static_cast<unsigned char>(f[2][0])));
    if (!IsUnknown(f[3]) && !ParseDate(f[3], r, why))
        return false;
    if (!IsUnknown(f[4]) && !ParseTime(f[4], r, why))
        return false;
    r.place = IsUnknown(f[5]) ? std::string() : f[5];
    r.countryCode = IsUnknown(f[6]) ? std::string() : f[6];
    return true;
}

bool ParseB93(const std::string &body, AafRecord &r, std::string &why) {
    const std::vector<std::string> f = SplitFields(body);
    if (f.size() < 5) {
        why = "#B93 con " + std::to_string(f.size()) + " campos en lugar de 5";
        return false;
    }
    if (!IsUnknown(f[0])) {
        char *end = nullptr;
        const long double jd = std::strtold(f[0].c_str(), &end);
        // Julian days of the years 1 to 9999.
        if (end == f[0].c_str() || *end != '\0' || !(jd >= 1721423.5L && jd < 5373484.5L)) {
            why = "día juliano ilegible \"" + f[0] + "\"";
            return false;
        }
        r.julianDay = jd;
    }
    if (IsUnknown(f[1]) != IsUnknown(f[2])) {
        why = "coordenadas incompletas";
        return false;
    }
    if (!IsUnknown(f[1])) {
        if (!ParseCoordinate(f[1], "ns", 90, r.latitude)) {
            why = "latitud ilegible \"" + f[1] + "\"";
            return false;
        }
        if (!ParseCoordinate(f[2], "ew", 180, r.longitude)) {
            why = "longitud ilegible \"" + f[2] + "\"";
            return false;
        }
        r.hasCoordinates = true;
    }
    if (!IsUnknown(f[3])) {
        long double hours = 0;
        if (!ParseOffset(f[3], hours)) {
            why = "zona horaria ilegible \"" + f[3] + "\"";
            return false;
        }
        r.standardOffset = hours;
    }
    const std::string type = f[4].empty() ? std::string("*") : f[4];
    const char t = static_cast<char>(std::tolower(static_cast<unsigned char>(type[0])));
    if (type.size() != 1 || std::string_view("012hlm*").find(t) == std::string_view::npos) {
        why = "tipo de hora desconocido \"" + type + "\"";
        return false;
    }
    r.timeType = t;
    return true;
}

// Text the data file can hold: its separators and the characters Windows-1252 lacks are replaced
// ("ß" by "ss", "â" by "a", others by "?"); changed is set when anything was.
std::string StorableText(std::string_view text, bool &changed) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = NextUtf8Char(text, i);
        if (c == U'ß') {
            out += "ss";
            changed = true;
        } else if (c == U'â') {
            out += "a";
            changed = true;
        } else if (c == U'^' || c == U'ê') {
            out += c == U'ê' ? "e" : "";
            changed = true;
        } else if (Windows1252Byte(c) < 0 || c < 0x20) {
            out += '?';
            changed = true;
        } else {
            out += Utf8Char(c);
        }
    }
    return CleanText(out);
}

std::string FullName(const std::string &first, const std::string &last) {
    return last.empty() ? first : first.empty() ? last : first + " " + last;
}

// The universal-time instant of a stored birth as serial days, or nothing without date and time.
std::optional<long double> StoredUniversal(const Database &db, const TPersona &p) {
    if (!p.IsDate || !p.IsHora || p.HoraUT < 0)
        return std::nullopt;
    long double serial = ContinuousDays(p.Fecha);
    if (p.HoraUT == 0) {
        const int place = IndexOfId(db.Places, p.IdLugarNac);
        if (place >= 0)
            serial -= db.Places[static_cast<std::size_t>(place)]->TZ / 24.0L;
    }
    return serial;
}

std::string TextOf(long double v, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Lf", decimals, v);
    return buffer;
}

std::string CoordinateText(long double degrees, const char *letters) {
    const long long total = std::llround(std::fabs(degrees) * 3600.0L);
    char text[32];
    const long long minutes = total / 60 % 60, seconds = total % 60;
    if (seconds != 0)
        std::snprintf(text, sizeof text, "%lld%c%02lld:%02lld", total / 3600, letters[degrees < 0 ? 1 : 0],
                      minutes, seconds);
    else
        std::snprintf(text, sizeof text, "%lld%c%02lld", total / 3600, letters[degrees < 0 ? 1 : 0], minutes);
    return text;
}

std::string OffsetText(long double hours) {
    const long long minutes = std::llround(std::fabs(hours) * 60.0L);
    char text[32];
    if (minutes % 60 != 0)
        std::snprintf(text, sizeof text, "%lldh%c%02lld", minutes / 60, hours < 0 ? 'w' : 'e', minutes % 60);
    else
        std::snprintf(text, sizeof text, "%lldh%c", minutes / 60, hours < 0 ? 'w' : 'e');
    return text;
}

std::string Two(int v) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", v);
    return text;
}

std::string NoCommas(std::string text) {
    std::replace(text.begin(), text.end(), ',', ';');
    return text.empty() ? std::string("*") : text;
}

} // namespace

std::optional<long double> AafRecord::UniversalDays() const {
    if (julianDay)
        return *julianDay - kJulianDayOfEpoch;
    if (!hasDate || !hasTime)
        return std::nullopt;
    const long double local = static_cast<long double>(DaysFromCivil(year, month, day)) +
                              (hour * 3600.0L + minute * 60.0L + second) / 86400.0L;
    long double zone = 0;
    switch (timeType) {
    case 'l': // local mean time of the place's own longitude
        if (!hasCoordinates)
            return std::nullopt;
        zone = longitude / 15.0L;
        break;
    case '1':
    case '2':
    case 'h':
        if (!standardOffset)
            return std::nullopt;
        zone = *standardOffset + (timeType == '1' ? 1.0L : timeType == '2' ? 2.0L : 0.5L);
        break;
    default: // standard time ('0'), or not said
        if (!standardOffset)
            return std::nullopt;
        zone = *standardOffset;
        break;
    }
    return local - zone / 24.0L;
}

AafFile ReadAafText(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    const std::string text = IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
    AafFile file;
    std::optional<AafRecord> pending; // read "#A93:", waiting for its "#B93:"
    bool skipping = false;            // the last "#A93:" was broken: its "#B93:" goes with it
    const auto incomplete = [&] {
        if (pending)
            file.problems.push_back({pending->line, "registro incompleto: falta la línea #B93"});
        pending.reset();
    };
    int lineNumber = 0;
    TextLines lines(text);
    for (std::string_view view; lines.Next(view);) {
        const std::string line(view);
        ++lineNumber;
        const std::string tag =
            AsciiUpper(line.substr(0, line.find(':') == std::string::npos ? 0 : line.find(':') + 1));
        const std::string body = line.substr(tag.size());
        std::string why;
        if (tag == "#A93:") {
            incomplete();
            AafRecord r;
            r.line = lineNumber;
            skipping = !ParseA93(body, r, why);
            if (skipping)
                file.problems.push_back({lineNumber, why});
            else
                pending = std::move(r);
        } else if (tag == "#B93:") {
            if (!pending) {
                if (!skipping)
                    file.problems.push_back({lineNumber, "línea #B93 sin su línea #A93"});
                skipping = false;
                continue;
            }
            if (ParseB93(body, *pending, why))
                file.records.push_back(std::move(*pending));
            else
                file.problems.push_back({lineNumber, why});
            pending.reset();
        } else if (tag == "#ZNAM:") {
            if (!file.records.empty() && !pending)
                file.records.back().zoneName = Trim(body);
        }
        // Comments ("#:") and other tags are skipped.
    }
    incomplete();
    return file;
}

AafFile ReadAafFile(const std::string &path) {
    return ReadAafText(ReadWholeFile(path));
}

AafImportResult ImportAaf(Database &db, const AafFile &file, bool replace) {
    AafImportResult result;
    db.RequireRoomFor(Kind::Person, static_cast<std::int64_t>(file.records.size()));
    db.RequireRoomFor(Kind::Place, static_cast<std::int64_t>(file.records.size()));
    db.RequireRoomFor(Kind::Country, static_cast<std::int64_t>(file.records.size()));

    // Existing persons by full name, for the duplicate check.
    std::unordered_map<std::string, std::vector<TPersona *>> byName;
    for (auto &p : db.Persons)
        byName[FullName(p->Nombre, p->Apellidos)].push_back(p.get());
    // Places by the arc-second cell of their coordinates, and the names taken in each country.
    const auto cell = [](long double lat, long double lon) {
        return std::llround(lat * 3600.0L) * 4000000LL + std::llround(lon * 3600.0L);
    };
    std::unordered_map<long long, std::vector<std::size_t>> byCell;
    std::unordered_map<std::string, int> namesTaken;
    const auto nameKey = [](std::int32_t country, const std::string &name) {
        return std::to_string(country) + "|" + AsciiUpper(name);
    };
    for (std::size_t i = 0; i < db.Places.size(); ++i) {
        byCell[cell(db.Places[i]->Lat, db.Places[i]->Lon)].push_back(i);
        ++namesTaken[nameKey(db.Places[i]->IdPais, db.Places[i]->Nombre)];
    }
    const auto samePlace = [&](long double lat, long double lon) {
        const long long la = std::llround(lat * 3600.0L), lo = std::llround(lon * 3600.0L);
        for (long long dla = -1; dla <= 1; ++dla)
            for (long long dlo = -1; dlo <= 1; ++dlo) {
                const auto it = byCell.find((la + dla) * 4000000LL + lo + dlo);
                if (it == byCell.end())
                    continue;
                for (std::size_t i : it->second)
                    if (std::fabs(db.Places[i]->Lat - lat) < kHalfArcSecond &&
                        std::fabs(db.Places[i]->Lon - lon) < kHalfArcSecond)
                        return static_cast<int>(i);
            }
        return -1;
    };

    for (const AafRecord &r : file.records) {
        bool changed = false;
        TPersona person;
        person.Nombre = StorableText(r.firstName, changed);
        person.Apellidos = StorableText(r.lastName, changed);
        if (changed)
            result.notes.push_back(
                {r.line, "caracteres que el archivo de datos no puede guardar se cambiaron en " +
                             FullName(person.Nombre, person.Apellidos)});
        person.Sexo = r.type == 'm' ? 1 : r.type == 'f' ? 0 : -1;

        // The place: the same coordinates, else a new one in the country of the code.
        if (r.hasCoordinates) {
            const long double lon = -r.longitude; // stored west positive
            const int found = samePlace(r.latitude, lon);
            if (found >= 0) {
                person.IdLugarNac = db.Places[static_cast<std::size_t>(found)]->Id;
            } else {
                std::string countryName = AafCountryName(r.countryCode);
                if (countryName.empty())
                    countryName = r.countryCode.empty() ? std::string("Sin país")
                                                        : StorableText(r.countryCode, changed);
                std::int32_t countryId = -1;
                for (const auto &c : db.Countries)
                    if (SameIgnoringAsciiCase(c->Nombre, countryName))
                        countryId = c->Id;
                if (countryId < 0) {
                    auto country = std::make_unique<TPais>();
                    country->Id = db.TakeId(Kind::Country);
                    country->Nombre = countryName;
                    countryId = country->Id;
                    db.Countries.push_back(std::move(country));
                    ++result.countriesAdded;
                }
                auto place = std::make_unique<TLugar_Geo>();
                place->Id = db.TakeId(Kind::Place);
                std::string name = StorableText(r.place, changed);
                if (name.empty())
                    name =
                        "Lugar " + CoordinateText(r.latitude, "ns") + " " + CoordinateText(r.longitude, "ew");
                std::string unique = name;
                for (int n = 2; namesTaken.count(nameKey(countryId, unique)); ++n)
                    unique = name + " (" + std::to_string(n) + ")";
                ++namesTaken[nameKey(countryId, unique)];
                place->Nombre = unique;
                place->IdPais = countryId;
                place->Lat = r.latitude;
                place->Lon = lon;
                place->TZ = r.standardOffset    ? *r.standardOffset
                            : r.timeType == 'l' ? r.longitude / 15.0L
                                                : 0.0L;
                place->DST = r.timeType == '1' || r.timeType == '2' || r.timeType == 'h' ? 1 : 0;
                person.IdLugarNac = place->Id;
                byCell[cell(place->Lat, place->Lon)].push_back(db.Places.size());
                db.Places.push_back(std::move(place));
                ++result.placesAdded;
            }
        }

        // The birth: universal time whenever the instant is known.
        const std::optional<long double> universal = r.hasTime ? r.UniversalDays() : std::nullopt;
        if (!r.hasDate) {
            person.HoraUT = -1;
        } else if (universal) {
            person.IsDate = 1;
            person.IsHora = 1;
            person.HoraUT = 1;
            person.Fecha = ShiftDateTime(0, *universal);
        } else {
            person.IsDate = 1;
            person.IsHora = r.hasTime ? 1 : 0;
            person.HoraUT = 0;
            person.Fecha = EncodeDateTime({r.year, r.month, r.day, r.hour, r.minute, r.second, 0});
            if (r.hasTime)
                result.notes.push_back({r.line, "sin zona horaria: la hora se guardó como hora local de " +
                                                    FullName(person.Nombre, person.Apellidos)});
        }

        // The same person (name and birth instant within a minute) already there.
        TPersona *same = nullptr;
        const std::string key = FullName(person.Nombre, person.Apellidos);
        if (const auto it = byName.find(key); it != byName.end()) {
            const std::optional<long double> mine = StoredUniversal(db, person);
            for (TPersona *other : it->second) {
                const std::optional<long double> theirs = StoredUniversal(db, *other);
                const bool sameBirth = mine && theirs ? std::fabs(*mine - *theirs) < 1.0L / 1440.0L
                                                      : !mine && !theirs && other->IsDate == person.IsDate &&
                                                            std::fabs(other->Fecha - person.Fecha) < 1.0;
                if (sameBirth) {
                    same = other;
                    break;
                }
            }
        }
        if (same && !replace) {
            result.skipped.push_back({r.line, "ya existe: " + key});
            continue;
        }
        if (same) {
            same->IdLugarNac = person.IdLugarNac;
            same->IsDate = person.IsDate;
            same->IsHora = person.IsHora;
            same->HoraUT = person.HoraUT;
            same->Fecha = person.Fecha;
            same->Sexo = person.Sexo;
            ++result.replaced;
            continue;
        }
        auto added = std::make_unique<TPersona>(std::move(person));
        added->Id = db.TakeId(Kind::Person);
        byName[key].push_back(added.get());
        db.Persons.push_back(std::move(added));
        ++result.added;
    }
    return result;
}

std::string WriteAafText(const Database &db, const std::vector<const TPersona *> &persons,
                         AafEncoding encoding, const std::function<std::string(const TLugar_Geo &)> &zoneOf) {
    std::string out = "#: Celestigrafo\r\n";
    for (const TPersona *p : persons) {
        const int placeIndex = IndexOfId(db.Places, p->IdLugarNac);
        const TLugar_Geo *place =
            placeIndex < 0 ? nullptr : db.Places[static_cast<std::size_t>(placeIndex)].get();
        const std::optional<long double> universal = StoredUniversal(db, *p);
        // The local clock time of the record: universal time plus the place's offset and daylight hour.
        const long double zone = place ? place->TZ + (place->DST ? 1.0L : 0.0L) : 0.0L;
        std::string date = "*", time = "*";
        if (p->IsDate && p->HoraUT >= 0) {
            const CivilDateTime c =
                DecodeDateTime(universal ? ShiftDateTime(0, *universal + zone / 24.0L) : p->Fecha);
            date = std::to_string(c.day) + "." + std::to_string(c.month) + "." + std::to_string(c.year);
            if (p->IsHora)
                time = Two(c.hour) + ":" + Two(c.minute) + (c.second ? ":" + Two(c.second) : std::string());
        }
        std::string country = "*";
        if (place) {
            const std::string countryName = NameOfId(db.Countries, place->IdPais);
            country = AafCountryCode(countryName);
            if (country.empty())
                country = countryName == "-" ? std::string("*") : countryName;
        }
        out += "#A93:" + NoCommas(p->Apellidos) + "," + NoCommas(p->Nombre) + "," +
               (p->Sexo == 1   ? "m"
                : p->Sexo == 0 ? "f"
                               : "*") +
               "," + date + "," + time + "," + (place ? NoCommas(place->Nombre) : std::string("*")) + "," +
               NoCommas(country) + "\r\n";
        out += "#B93:" + (universal ? TextOf(*universal + kJulianDayOfEpoch, 6) : std::string("*")) + ",";
        if (place)
            out += CoordinateText(place->Lat, "ns") + "," + CoordinateText(-place->Lon, "ew") + "," +
                   OffsetText(place->TZ) + "," + (place->DST ? "1" : "0");
        else
            out += "*,*,*,*";
        out += "\r\n";
        if (place && zoneOf)
            if (const std::string zone = zoneOf(*place); !zone.empty())
                out += "#ZNAM:" + zone + "\r\n";
    }
    return encoding == AafEncoding::Windows1252 ? Utf8ToWindows1252(out) : out;
}

std::string AafCountryName(std::string_view code) {
    const std::string upper = AsciiUpper(Trim(code));
    for (const CountryCode &c : kCountryCodes)
        if (upper == c.code)
            return c.name;
    return {};
}

std::string AafCountryCode(std::string_view countryName) {
    for (const CountryCode &c : kCountryCodes)
        if (SameIgnoringAsciiCase(countryName, c.name))
            return c.code;
    return {};
}

} // namespace cel::database
