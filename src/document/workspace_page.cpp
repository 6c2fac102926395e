#include "document/workspace_page.h"

#include "database/coordinate_text.h"
#include "database/database.h"
#include "session/birth_time.h"

namespace cel::document {

HeadingNames NamesFromDatabase(const session::Workspace &w, HeadingNames names, bool eventIsPerson) {
    const auto personName = [&w](const chart::TDato &record, const std::string &given) {
        if (!given.empty() || record.ownerId < 0)
            return given;
        const int i = database::IndexOfId(w.db.Persons, record.ownerId);
        if (i < 0)
            return given;
        const database::TPersona &p = *w.db.Persons[static_cast<std::size_t>(i)];
        return p.Nombre + " " + p.Apellidos;
    };
    names.natalName = personName(w.natalRecord, names.natalName);
    if (eventIsPerson)
        names.eventName = personName(w.eventRecord, names.eventName);
    if (names.place.empty() && names.country.empty() && w.natalRecord.placeId >= 0) {
        const int i = database::IndexOfId(w.db.Places, w.natalRecord.placeId);
        if (i >= 0) {
            const database::TLugar_Geo &place = *w.db.Places[static_cast<std::size_t>(i)];
            names.place = place.Nombre;
            names.country = database::NameOfId(w.db.Countries, place.IdPais);
        }
    }
    return names;
}

PageHeading MakeHeading(const session::Workspace &w, const HeadingNames &names) {
    const TextFormat &format = w.format;
    const chart::TDato &natal = w.natalRecord;
    PageHeading heading;
    heading.natalName = names.natalName;
    heading.natalLabel = "Natal: " + (names.natalName.empty() ? std::string("<>: ") : names.natalName + "  ");
    if (!names.eventName.empty())
        heading.eventLabel = names.eventName + ": ";
    const auto dateLine = [&format](const chart::TDato &r) {
        return DateLine(r.gmtFlag == 1 ? r.gmtDateTime : r.localDateTime, r.gmtFlag == 1,
                        static_cast<double>(r.zone), format);
    };
    heading.natalTimeUnknown = session::NatalTimeUnknown(w);
    heading.natalDateLine =
        dateLine(natal) + (heading.natalTimeUnknown ? "  " + session::kTimeUnknownMark : "");
    heading.eventDateLine = dateLine(w.eventRecord);
    heading.synastry = names.synastry;
    heading.place = names.place;
    heading.country = names.country;
    heading.longitudeText = database::AngleText(natal.longitude, database::AngleKind::Longitude);
    heading.latitudeText = database::AngleText(natal.latitude, database::AngleKind::Latitude);
    heading.natalLocal = natal.localDateTime;
    heading.zone = static_cast<double>(natal.zone);
    heading.progressionLines = ProgressionLines(w.natal, w.event, w.progressions, format);
    return heading;
}

ChartState StateOf(const session::Workspace &w) {
    return ChartState{w.settings, w.view, w.natal, w.event, w.progressions, w.aspects, w.format};
}

} // namespace cel::document
