#include "session/record_cells.h"

#include "common/date_text.h"
#include "database/coordinate_text.h"

namespace cel::session {

using namespace cel::database;

namespace {

std::string DstText(int dst) {
    return dst == 1 ? "sí" : "no";
}

} // namespace

std::string RecordCellText(const Database &db, Kind kind, const TData &r, int column, int number) {
    switch (column) {
    case 0:
        return std::to_string(r.Id);
    case 1:
        return std::to_string(number);
    case 2:
        return {};
    case 3:
        return r.Nombre;
    default:
        break;
    }
    switch (kind) {
    case Kind::Country:
    case Kind::PersonGroup:
    case Kind::BusinessGroup:
        return std::to_string(r.Usos);
    case Kind::Place: {
        const auto &p = static_cast<const TLugar_Geo &>(r);
        switch (column) {
        case 4:
            return NameOfId(db.Countries, p.IdPais);
        case 5:
            return DstText(p.DST);
        case 6:
            return TimeZoneText(p.TZ);
        case 7:
            return AngleText(p.Lon, AngleKind::Longitude);
        case 8:
            return AngleText(p.Lat, AngleKind::Latitude);
        case 9:
            return std::to_string(p.Usos);
        default:
            return p.Descripcion;
        }
    }
    case Kind::Person:
        return static_cast<const TPersona &>(r).Apellidos;
    case Kind::Business: {
        const auto &b = static_cast<const TNegocio &>(r);
        const TextFormat format;
        switch (column) {
        case 4:
            return std::to_string(b.CIUU);
        case 5:
            return {};
        case 6:
            return FormatDateTimeText(b.Fecha, "mmm-d-yyyy", format);
        default:
            return FormatDateTimeText(b.Fecha, "hh:nn am/pm", format);
        }
    }
    }
    return {};
}

std::array<std::string, 8> ImportPlaceRow(const TLugar_Geo &p, int number) {
    return {std::to_string(p.Id),
            std::to_string(number),
            std::string(),
            p.Nombre,
            DstText(p.DST),
            TimeZoneText(p.TZ),
            AngleText(p.Lon, AngleKind::Longitude),
            AngleText(p.Lat, AngleKind::Latitude)};
}

} // namespace cel::session
