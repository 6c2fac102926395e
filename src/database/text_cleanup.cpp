#include "database/text_cleanup.h"

namespace cel::database {

namespace {

// UTF-8 forms of the removed characters.
constexpr std::string_view kCircumflexA = "\xC3\xA2"; // â
constexpr std::string_view kSharpS = "\xC3\x9F";      // ß
constexpr std::string_view kCircumflexE = "\xC3\xAA"; // ê

std::string Remove(std::string_view text, bool eventName) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '^')
            continue;
        if (c == '\xC3' && i + 1 < text.size()) {
            const std::string_view pair = text.substr(i, 2);
            if (pair == kCircumflexA || pair == kSharpS || (eventName && pair == kCircumflexE)) {
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace

std::string CleanText(std::string_view text) {
    return Remove(text, false);
}

std::string CleanEventName(std::string_view text) {
    return Remove(text, true);
}

std::string EncodeObservations(std::string_view text) {
    const std::string clean = CleanText(text);
    std::string out;
    out.reserve(clean.size());
    for (std::size_t i = 0; i < clean.size(); ++i) {
        const char c = clean[i];
        if (c == '\r' || c == '\n') {
            out += "^~";
            if (c == '\r' && i + 1 < clean.size() && clean[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string DecodeObservations(std::string_view stored, std::string_view lineBreak) {
    std::string out;
    out.reserve(stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '^') {
            out += lineBreak;
            // Skip the character after the mark ("~"), whole when it is a multi-byte one.
            if (i + 1 < stored.size()) {
                ++i;
                while (i + 1 < stored.size() && (static_cast<unsigned char>(stored[i + 1]) & 0xC0) == 0x80)
                    ++i;
            }
        } else {
            out += stored[i];
        }
    }
    return out;
}

} // namespace cel::database
