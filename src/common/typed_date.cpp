#include "common/typed_date.h"

#include <date/julian.h>

#include <array>
#include <cctype>
#include <vector>

#include "common/date_time.h"

namespace cel {

namespace {

constexpr std::array<const char *, 12> kMonthNames = {"enero",      "febrero", "marzo",     "abril",
                                                      "mayo",       "junio",   "julio",     "agosto",
                                                      "septiembre", "octubre", "noviembre", "diciembre"};
constexpr std::array<const char *, 12> kMonthShort = {"ene", "feb", "mar", "abr", "may", "jun",
                                                      "jul", "ago", "sep", "oct", "nov", "dic"};

struct MonthWord {
    const char *word;
    int month;
};
// Spanish names and abbreviations (with the variants that calendars print), and the English ones a
// pasted date may carry.
constexpr MonthWord kMonthWords[] = {
    {"enero", 1}, {"ene", 1},        {"febrero", 2},  {"feb", 2},       {"marzo", 3},      {"mar", 3},
    {"abril", 4}, {"abr", 4},        {"mayo", 5},     {"may", 5},       {"junio", 6},      {"jun", 6},
    {"julio", 7}, {"jul", 7},        {"agosto", 8},   {"ago", 8},       {"septiembre", 9}, {"setiembre", 9},
    {"sep", 9},   {"sept", 9},       {"set", 9},      {"octubre", 10},  {"oct", 10},       {"noviembre", 11},
    {"nov", 11},  {"diciembre", 12}, {"dic", 12},     {"january", 1},   {"jan", 1},        {"february", 2},
    {"march", 3}, {"april", 4},      {"apr", 4},      {"june", 6},      {"july", 7},       {"august", 8},
    {"aug", 8},   {"september", 9},  {"october", 10}, {"november", 11}, {"december", 12},  {"dec", 12},
};
constexpr const char *kWeekdays[] = {"lunes",   "martes", "miercoles", "jueves", "viernes", "sabado",
                                     "domingo", "lun",    "mie",       "jue",    "vie",     "sab",
                                     "dom",     "mi",     "ju",        "vi",     "sa",      "do"};
constexpr const char *kFillers[] = {"de", "del", "el", "ano", "dia", "dc", "calendario"};
constexpr const char *kJulianMarks[] = {"j", "juliano", "juliana"};
constexpr const char *kGregorianMarks[] = {"g", "gregoriano", "gregoriana"};

const std::string kExamples = " Escríbala como 25/12/1990, 25 dic 1990 o 1990-12-25.";

template <class List> bool Contains(const List &list, const std::string &w) {
    for (const char *item : list)
        if (w == item)
            return true;
    return false;
}

int MonthOfWord(const std::string &w) {
    for (const MonthWord &m : kMonthWords)
        if (w == m.word)
            return m.month;
    return 0;
}

// Lower-cases and drops the accents of the Spanish letters; false for any other non-ASCII text.
bool Fold(std::string_view text, std::string &out) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(std::tolower(c));
            continue;
        }
        if (c == 0xC2 && i + 1 < text.size()) {
            const auto n = static_cast<unsigned char>(text[i + 1]);
            if (n == 0xA0 || n == 0xBA || n == 0xAA) { // no-break space, ordinal marks
                out += ' ';
                ++i;
                continue;
            }
        }
        if (c != 0xC3 || i + 1 >= text.size())
            return false;
        const auto n = static_cast<unsigned char>(text[++i]) | 0x20; // upper to lower case
        switch (n) {
        case 0xA1:
            out += 'a';
            break;
        case 0xA9:
            out += 'e';
            break;
        case 0xAD:
            out += 'i';
            break;
        case 0xB3:
            out += 'o';
            break;
        case 0xBA:
        case 0xBC:
            out += 'u';
            break;
        case 0xB1:
            out += 'n';
            break;
        default:
            return false;
        }
    }
    return true;
}

struct Token {
    bool number = false;
    std::string text;
};

TypedDateResult Fail(std::string message) {
    return {std::nullopt, std::move(message)};
}

std::string MonthYear(int month, int year) {
    return std::string(kMonthNames[static_cast<std::size_t>(month - 1)]) + " de " + std::to_string(year);
}

} // namespace

bool IsJulianLeapYear(int year) {
    return year % 4 == 0;
}

std::int64_t DaysFromJulian(const CalendarDate &j) {
    const date::sys_days days =
        julian::year_month_day{julian::year{j.year}, julian::month{static_cast<unsigned>(j.month)},
                               julian::day{static_cast<unsigned>(j.day)}};
    return days.time_since_epoch().count() + DaysFromCivil(1970, 1, 1);
}

CalendarDate JulianFromDays(std::int64_t days) {
    const julian::year_month_day j{
        date::sys_days{date::days{static_cast<int>(days - DaysFromCivil(1970, 1, 1))}}};
    return {static_cast<int>(j.year()), static_cast<int>(static_cast<unsigned>(j.month())),
            static_cast<int>(static_cast<unsigned>(j.day()))};
}

CalendarDate JulianOf(const CalendarDate &g) {
    return JulianFromDays(DaysFromCivil(g.year, g.month, g.day));
}

bool IsBeforeReform(const CalendarDate &g) {
    return DaysFromCivil(g.year, g.month, g.day) <
           DaysFromCivil(kGregorianReform.year, kGregorianReform.month, kGregorianReform.day);
}

std::string ShortDateText(const CalendarDate &d) {
    std::string year = std::to_string(d.year);
    if (year.size() < 4)
        year.insert(0, 4 - year.size(), '0');
    return std::to_string(d.day) + " " + kMonthShort[static_cast<std::size_t>(d.month - 1)] + " " + year;
}

std::string CalendarReadingsText(const TypedDate &d) {
    if (!d.typedJulian && !IsBeforeReform(d.gregorian))
        return {};
    return "gregoriano " + ShortDateText(d.gregorian) + " = juliano " + ShortDateText(d.julian);
}

TypedDateResult ParseTypedDate(std::string_view text) {
    std::string folded;
    if (!Fold(text, folded))
        return Fail("La fecha \"" + std::string(text) + "\" tiene caracteres que no son de una fecha." +
                    kExamples);

    // Numbers and words; separators between them.
    std::vector<Token> tokens;
    for (std::size_t i = 0; i < folded.size();) {
        const char c = folded[i];
        if (std::isdigit(static_cast<unsigned char>(c)) || std::isalpha(static_cast<unsigned char>(c))) {
            const bool digit = std::isdigit(static_cast<unsigned char>(c)) != 0;
            std::size_t j = i;
            while (j < folded.size() && (digit ? std::isdigit(static_cast<unsigned char>(folded[j]))
                                               : std::isalpha(static_cast<unsigned char>(folded[j]))))
                ++j;
            tokens.push_back({digit, folded.substr(i, j - i)});
            i = j;
        } else if (c == ':') {
            return Fail("Escriba solo la fecha: la hora va en sus propios campos.");
        } else if (c == '/' || c == '-' || c == '.' || c == ',' || c == ' ' || c == '\t' || c == '(' ||
                   c == ')' || c == '\'') {
            ++i;
        } else {
            return Fail("La fecha \"" + std::string(text) + "\" tiene caracteres que no son de una fecha." +
                        kExamples);
        }
    }
    if (tokens.empty())
        return Fail("Escriba una fecha." + kExamples);

    std::vector<const Token *> numbers;
    std::vector<std::string> monthWords;
    bool julianMark = false, gregorianMark = false;
    for (const Token &t : tokens) {
        if (t.number) {
            numbers.push_back(&t);
        } else if (Contains(kFillers, t.text)) {
        } else if (Contains(kJulianMarks, t.text)) {
            julianMark = true;
        } else if (Contains(kGregorianMarks, t.text)) {
            gregorianMark = true;
        } else if (t.text == "ac") {
            return Fail("El programa cuenta los años desde el año 1 de nuestra era; no admite años antes de "
                        "Cristo.");
        } else if (MonthOfWord(t.text) != 0 || Contains(kWeekdays, t.text)) {
            if (MonthOfWord(t.text) != 0)
                monthWords.push_back(t.text);
        } else {
            return Fail("No se reconoce \"" + t.text + "\" en la fecha \"" + std::string(text) + "\"." +
                        kExamples);
        }
    }
    if (julianMark && gregorianMark)
        return Fail("La fecha no puede ser a la vez del calendario juliano y del gregoriano.");
    // "mar" is March or Tuesday ("dic-25-1990,mar"): a weekday when another month name is there.
    if (monthWords.size() > 1) {
        std::vector<std::string> others = monthWords;
        std::erase(others, std::string("mar"));
        monthWords = others.empty() ? std::vector<std::string>{"mar"} : others;
    }
    if (monthWords.size() > 1)
        return Fail("La fecha \"" + std::string(text) + "\" nombra más de un mes.");

    int day = 0, month = 0, year = 0;
    const Token *yearToken = nullptr;
    std::vector<const Token *> small; // day, and month when it is a number
    if (!monthWords.empty()) {
        if (numbers.size() != 2)
            return Fail("Falta el día o el año en la fecha \"" + std::string(text) + "\"." + kExamples);
        month = MonthOfWord(monthWords.front());
        const bool yearFirst = numbers[0]->text.size() >= 3;
        yearToken = yearFirst ? numbers[0] : numbers[1];
        small = {yearFirst ? numbers[1] : numbers[0]};
    } else {
        if (numbers.size() != 3)
            return Fail("La fecha \"" + std::string(text) + "\" necesita día, mes y año." + kExamples);
        const bool yearFirst = numbers[0]->text.size() >= 3;
        yearToken = yearFirst ? numbers[0] : numbers[2];
        small = yearFirst ? std::vector<const Token *>{numbers[2], numbers[1]}
                          : std::vector<const Token *>{numbers[0], numbers[1]};
    }
    for (const Token *t : small)
        if (t->text.size() > 2)
            return Fail("No se reconoce la fecha \"" + std::string(text) + "\"." + kExamples);
    if (yearToken->text.size() > 4)
        return Fail("El año " + yearToken->text + " está fuera del intervalo: escriba un año del 1 al 9999.");
    day = std::stoi(small[0]->text);
    if (small.size() > 1)
        month = std::stoi(small[1]->text);
    year = std::stoi(yearToken->text);
    if (yearToken->text.size() == 2)
        year += year < 30 ? 2000 : 1900;

    if (year < 1 || year > 9999)
        return Fail("El año " + std::to_string(year) +
                    " está fuera del intervalo: escriba un año del 1 al 9999.");
    if (month < 1 || month > 12)
        return Fail("El mes " + std::to_string(month) + " no existe: escriba un mes del 1 al 12.");
    const int length = julianMark
                           ? (month == 2 ? (IsJulianLeapYear(year) ? 29 : 28) : DaysInMonth(2001, month))
                           : DaysInMonth(year, month);
    if (day < 1 || day > length) {
        std::string message =
            "El día " + std::to_string(day) + " de " + MonthYear(month, year) + " no existe";
        message += julianMark ? " en el calendario juliano" : "";
        message += ": " + MonthYear(month, year) + " tiene " + std::to_string(length) + " días.";
        if (!julianMark && month == 2 && day == 29 && IsJulianLeapYear(year) && year < 1583)
            message += " En el calendario juliano sí existe: escriba \"j\" después de la fecha.";
        return Fail(message);
    }

    TypedDate result;
    result.typedJulian = julianMark;
    result.namedGregorian = gregorianMark;
    if (julianMark) {
        result.julian = {year, month, day};
        const std::int64_t days = DaysFromJulian(result.julian);
        CivilFromDays(days, result.gregorian.year, result.gregorian.month, result.gregorian.day);
        if (result.gregorian.year < 1 || result.gregorian.year > 9999)
            return Fail("El " + std::to_string(day) + " de " + MonthYear(month, year) +
                        " del calendario juliano cae fuera de los años 1 a 9999 del calendario gregoriano.");
    } else {
        result.gregorian = {year, month, day};
        result.julian = JulianOf(result.gregorian);
    }
    return {result, {}};
}

} // namespace cel
