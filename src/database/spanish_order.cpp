#include "database/spanish_order.h"

#include <cstdint>

#include "common/windows1252.h"

namespace cel::database {

namespace {

// One character's three levels: the base letter, the accent on it, its case.
struct Weights {
    std::uint32_t primary;
    std::uint8_t accent =
        0; // 0 none, 1 acute, 2 grave, 3 circumflex, 4 diaeresis, 5 tilde, 6 ring, 7 cedilla, 8 stroke
    std::uint8_t upper = 0;
};

constexpr std::uint32_t kPunctuation = 0x10;
constexpr std::uint32_t kDigits = 0x200;
constexpr std::uint32_t kLetters = 0x300;
constexpr std::uint32_t kOthers = 0x1000;

std::uint32_t LetterWeight(char lower) {
    // Two steps per letter leave room for ñ right after n.
    return kLetters + 2u * static_cast<std::uint32_t>(lower - 'a');
}

// The accented Latin letters (Latin-1 and Latin Extended-A): base letter, accent, upper case.
struct Accented {
    char32_t code;
    char base;
    std::uint8_t accent;
    bool upper;
};
constexpr Accented kAccented[] = {
    {0x00C0, 'a', 2, true},  {0x00C1, 'a', 1, true},  {0x00C2, 'a', 3, true},  {0x00C3, 'a', 5, true},
    {0x00C4, 'a', 4, true},  {0x00C5, 'a', 6, true},  {0x00C7, 'c', 7, true},  {0x00C8, 'e', 2, true},
    {0x00C9, 'e', 1, true},  {0x00CA, 'e', 3, true},  {0x00CB, 'e', 4, true},  {0x00CC, 'i', 2, true},
    {0x00CD, 'i', 1, true},  {0x00CE, 'i', 3, true},  {0x00CF, 'i', 4, true},  {0x00D2, 'o', 2, true},
    {0x00D3, 'o', 1, true},  {0x00D4, 'o', 3, true},  {0x00D5, 'o', 5, true},  {0x00D6, 'o', 4, true},
    {0x00D8, 'o', 8, true},  {0x00D9, 'u', 2, true},  {0x00DA, 'u', 1, true},  {0x00DB, 'u', 3, true},
    {0x00DC, 'u', 4, true},  {0x00DD, 'y', 1, true},  {0x00E0, 'a', 2, false}, {0x00E1, 'a', 1, false},
    {0x00E2, 'a', 3, false}, {0x00E3, 'a', 5, false}, {0x00E4, 'a', 4, false}, {0x00E5, 'a', 6, false},
    {0x00E7, 'c', 7, false}, {0x00E8, 'e', 2, false}, {0x00E9, 'e', 1, false}, {0x00EA, 'e', 3, false},
    {0x00EB, 'e', 4, false}, {0x00EC, 'i', 2, false}, {0x00ED, 'i', 1, false}, {0x00EE, 'i', 3, false},
    {0x00EF, 'i', 4, false}, {0x00F2, 'o', 2, false}, {0x00F3, 'o', 1, false}, {0x00F4, 'o', 3, false},
    {0x00F5, 'o', 5, false}, {0x00F6, 'o', 4, false}, {0x00F8, 'o', 8, false}, {0x00F9, 'u', 2, false},
    {0x00FA, 'u', 1, false}, {0x00FB, 'u', 3, false}, {0x00FC, 'u', 4, false}, {0x00FD, 'y', 1, false},
    {0x00FF, 'y', 4, false}, {0x0106, 'c', 1, true},  {0x0107, 'c', 1, false}, {0x0108, 'c', 3, true},
    {0x0109, 'c', 3, false}, {0x0110, 'd', 8, true},  {0x0111, 'd', 8, false}, {0x011C, 'g', 3, true},
    {0x011D, 'g', 3, false}, {0x0122, 'g', 7, true},  {0x0123, 'g', 7, false}, {0x0124, 'h', 3, true},
    {0x0125, 'h', 3, false}, {0x0126, 'h', 8, true},  {0x0127, 'h', 8, false}, {0x0128, 'i', 5, true},
    {0x0129, 'i', 5, false}, {0x0134, 'j', 3, true},  {0x0135, 'j', 3, false}, {0x0136, 'k', 7, true},
    {0x0137, 'k', 7, false}, {0x0139, 'l', 1, true},  {0x013A, 'l', 1, false}, {0x013B, 'l', 7, true},
    {0x013C, 'l', 7, false}, {0x0141, 'l', 8, true},  {0x0142, 'l', 8, false}, {0x0143, 'n', 1, true},
    {0x0144, 'n', 1, false}, {0x0145, 'n', 7, true},  {0x0146, 'n', 7, false}, {0x0154, 'r', 1, true},
    {0x0155, 'r', 1, false}, {0x0156, 'r', 7, true},  {0x0157, 'r', 7, false}, {0x015A, 's', 1, true},
    {0x015B, 's', 1, false}, {0x015C, 's', 3, true},  {0x015D, 's', 3, false}, {0x015E, 's', 7, true},
    {0x015F, 's', 7, false}, {0x0162, 't', 7, true},  {0x0163, 't', 7, false}, {0x0166, 't', 8, true},
    {0x0167, 't', 8, false}, {0x0168, 'u', 5, true},  {0x0169, 'u', 5, false}, {0x016E, 'u', 6, true},
    {0x016F, 'u', 6, false}, {0x0174, 'w', 3, true},  {0x0175, 'w', 3, false}, {0x0176, 'y', 3, true},
    {0x0177, 'y', 3, false}, {0x0178, 'y', 4, true},  {0x0179, 'z', 1, true},  {0x017A, 'z', 1, false},
};

bool FoldAccented(char32_t c, char &base, std::uint8_t &accent, bool &upper) {
    for (const Accented &a : kAccented)
        if (a.code == c) {
            base = a.base;
            accent = a.accent;
            upper = a.upper;
            return true;
        }
    return false;
}

Weights WeightsOf(char32_t c) {
    if (c < 0x80) {
        const char ch = static_cast<char>(c);
        if (ch >= 'a' && ch <= 'z')
            return {LetterWeight(ch)};
        if (ch >= 'A' && ch <= 'Z')
            return {LetterWeight(static_cast<char>(ch - 'A' + 'a')), 0, 1};
        if (ch >= '0' && ch <= '9')
            return {kDigits + static_cast<std::uint32_t>(ch - '0')};
        return {kPunctuation + static_cast<std::uint32_t>(c)};
    }
    if (c == U'ñ' || c == U'Ñ')
        return {LetterWeight('n') + 1, 0, static_cast<std::uint8_t>(c == U'Ñ')};
    char base = 0;
    std::uint8_t accent = 0;
    bool upper = false;
    if (FoldAccented(c, base, accent, upper))
        return {LetterWeight(base), accent, static_cast<std::uint8_t>(upper)};
    if (c == 0xA0) // no-break space: a space
        return {kPunctuation + ' '};
    if (c < 0xC0) // Latin-1 signs: punctuation, after the ASCII ones
        return {kPunctuation + 0x80 + static_cast<std::uint32_t>(c - 0x80)};
    return {kOthers + static_cast<std::uint32_t>(c)};
}

// Three bytes, the first never zero: zero parts the levels of a key.
void Put(std::string &key, std::uint32_t value) {
    key += static_cast<char>(((value >> 16) & 0xFF) + 1);
    key += static_cast<char>((value >> 8) & 0xFF);
    key += static_cast<char>(value & 0xFF);
}

} // namespace

std::string SpanishSortKey(std::string_view utf8) {
    std::string primary, accents, cases;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = NextUtf8Char(utf8, i);
        if (c == U'ß' || c == U'ẞ') { // sorts as "ss"
            for (int twice = 0; twice < 2; ++twice) {
                Put(primary, LetterWeight('s'));
                accents += '\x01';
                cases += static_cast<char>(c == U'ẞ' ? 2 : 1);
            }
            continue;
        }
        const Weights w = WeightsOf(c);
        Put(primary, w.primary);
        accents += static_cast<char>(w.accent + 1);
        cases += static_cast<char>(w.upper + 1);
    }
    // Levels apart by a zero byte, which no level uses, so a shorter name sorts first at each level.
    return primary + '\0' + accents + '\0' + cases;
}

int CompareSpanish(std::string_view a, std::string_view b) {
    const std::string ka = SpanishSortKey(a), kb = SpanishSortKey(b);
    if (ka != kb)
        return ka < kb ? -1 : 1;
    return a < b ? -1 : a > b ? 1 : 0;
}

} // namespace cel::database
