#include "session/birth_time.h"

namespace cel::session {

bool NatalTimeUnknown(const Workspace &w) {
    const chart::TDato &record = w.natalRecord;
    if (record.ownerId < 0)
        return false;
    const int i = database::IndexOfId(w.db.Persons, record.ownerId);
    if (i < 0)
        return false;
    const database::TPersona &person = *w.db.Persons[static_cast<std::size_t>(i)];
    if (person.IsDate != 1 || person.IsHora != 0)
        return false;
    // A time set since (a rectified or guessed hour) is the chart's time, no longer the stand-in.
    const CivilDateTime entered = DecodeDateTime(Workspace::EnteredValue(record));
    return entered.hour == 0 && entered.minute == 0 && entered.second == 0 && entered.millisecond == 0;
}

} // namespace cel::session
