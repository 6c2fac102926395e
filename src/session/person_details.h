// What the manager shows beside its person list: the summary of the selected person as styled lines
// (the blocks the user chose), and the web and mail links of the person's internet menu.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/text_format.h"
#include "database/database.h"
#include "database/person_summary.h"

namespace cel::session {

using database::kSummaryTabStops;
using database::SummaryLine;
using database::SummaryOptions;

// The summary of the person with this Id; no lines when there is none.
std::vector<SummaryLine> SummaryOfPerson(const database::Database &db, std::int32_t id,
                                         const SummaryOptions &options, const TextFormat &format);

// The entries of the internet menu, in its order.
inline constexpr std::array<const char *, 4> kLinkEntries = {"WebHome", "WebWork", "MailHome", "MailWork"};

// The address an entry opens for a person: the web address (with "http://" unless it names its own
// scheme) or a "mailto:" with the person's full name.
std::string PersonLink(const database::TPersona &person, const std::string &entry);
// The captions of the four entries for the person with this Id, each empty when the person has no
// such address (or there is no such person).
std::array<std::string, 4> LinkCaptions(const database::Database &db, std::int32_t id);
// The address of an entry for the person with this Id; empty when there is no such person.
std::string LinkOfPerson(const database::Database &db, std::int32_t id, const std::string &entry);

} // namespace cel::session
