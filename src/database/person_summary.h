// The summary of one person as styled lines, for the manager's read-only rich-text panel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/text_format.h"
#include "database/database.h"

namespace cel::database {

// The blocks the panel's "Ver:" box shows.
struct SummaryOptions {
    bool genero = true;
    bool nacimiento = true;
    bool residencia = true;
    bool trabajo = true;
    bool grupos = true; // "Grupos, no. eventos"
    bool observaciones = true;
};

// Colours as blue × 65536 + green × 256 + red.
inline constexpr std::uint32_t kSummaryBlue = 0xFF0000;
inline constexpr std::uint32_t kSummaryBlack = 0x000000;
// The panel's tab stops, in points.
inline constexpr int kSummaryTabStops[2] = {10, 15};

struct SummaryLine {
    std::string text;
    int tabs = 0; // tab characters in front: 1 for values, 2 for group names
    bool bold = false;
    bool underline = false;
    std::uint32_t colour = kSummaryBlack;
};

// The lines for a person; none when person is null.
std::vector<SummaryLine> PersonSummary(const Database &db, const TPersona *person,
                                       const SummaryOptions &options, const TextFormat &format);

// The lines as plain text, tabs in front, one line each ended by "\n".
std::string SummaryPlainText(const std::vector<SummaryLine> &lines);

} // namespace cel::database
