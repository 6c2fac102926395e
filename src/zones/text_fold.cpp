#include "zones/text_fold.h"

#include "zones/latin_letters.h"

namespace cel::zones {

namespace {

// The next code point of UTF-8 text, or the byte itself when the text is not valid UTF-8 there.
char32_t NextCodePoint(std::string_view text, std::size_t &i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b = byte(i);
    const int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    if (extra == 0 || i + extra >= text.size()) {
        ++i;
        return b;
    }
    char32_t cp = b & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return b;
        }
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    i += extra + 1;
    return cp;
}

void AppendUtf8(std::string &out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::string FoldForSearch(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool blank = true; // drops leading blanks and runs of blanks
    auto put = [&](std::string_view piece) {
        for (char c : piece) {
            if (c == ' ') {
                if (!blank)
                    out += ' ';
                blank = true;
            } else {
                out += c;
                blank = false;
            }
        }
    };
    for (std::size_t i = 0; i < text.size();) {
        const char32_t cp = NextCodePoint(text, i);
        if (cp < 0x80) {
            const char c = static_cast<char>(cp);
            if (c >= 'A' && c <= 'Z')
                put(std::string(1, static_cast<char>(c - 'A' + 'a')));
            else if (c == '-' || c == '\t' || c == '_' || c == '\r' || c == '\n')
                put(" ");
            else if (c == '\'' || c == '`')
                continue;
            else
                put(std::string_view(&c, 1));
            continue;
        }
        const char *base = nullptr;
        if (cp >= 0xC0 && cp <= 0x24F)
            base = kLatinBase1[cp - 0xC0];
        else if (cp >= 0x1E00 && cp <= 0x1EFF)
            base = kLatinBase2[cp - 0x1E00];
        if (base) {
            put(base);
        } else if (cp == 0x2019 || cp == 0x2018 || cp == 0x02BC || cp == 0x02BB || cp == 0x00B4) {
            continue; // apostrophes and okinas: "Raʼs" is "ras"
        } else if (cp == 0x00A0 || cp == 0x2010 || cp == 0x2013 || cp == 0x2014) {
            put(" ");
        } else {
            std::string piece;
            AppendUtf8(piece, cp);
            put(piece);
        }
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

} // namespace cel::zones
