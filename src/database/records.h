// The database records: countries, places, groups, persons with their addresses and events, and
// businesses. Text fields hold UTF-8; the files hold Windows-1252 (converted when read and written).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/date_time.h"

namespace cel::database {

// Base of every listed record.
struct TId {
    std::int32_t Id = -1;   // unique within its list; -1 = none or not yet assigned
    std::uint8_t Marca = 0; // tick shown to the user, reused as a per-pass flag by renumbering and merging
    std::int32_t Usos = 0;  // usage count, recomputed when a list is built
};

// Named record; plain TData objects are person groups and business groups.
struct TData : TId {
    std::string Nombre;
};

// A country.
struct TPais : TData {
    std::int32_t Extra = 0; // kept for the record layout; neither read nor stored in files
};

// A geographic place.
struct TLugar_Geo : TData {
    std::int32_t IdPais = 0;
    std::int32_t DST = 0; // daylight saving: 1 yes, 0 no
    long double TZ = 0;   // hours, east positive
    long double Lat = 0;  // degrees, north positive
    long double Lon = 0;  // degrees, west positive
    std::string Descripcion;
};

// An address, owned by the person or business that holds it.
struct TLugar {
    std::int32_t IdLugarGeo = -1;
    std::uint8_t Marca = 0;
    std::string Dir;
    std::string Tel;
    std::string Cel;
    std::string Fax;
    std::string Web;
    std::string Email;
    std::uint8_t EmailValido = 0; // index of "no", "sí", "sc", "na"
};

// A dated event; its Id is its 1-based position in the owner's list when it was read or added.
struct TEvento : TData {
    std::int32_t IdLugarGeo = 0;
    std::uint8_t IsDate = 0;
    std::uint8_t IsHora = 0;
    TDateTime Fecha = 0;
    std::int32_t HoraUT = 0; // 1 universal time, 0 local time of the place
};

// A record with group references (only each entry's Id is used).
struct TDataItem : TData {
    std::vector<TId> Grupos;
};

// A person.
struct TPersona : TDataItem {
    std::string Apellidos;
    std::int32_t IdLugarNac = -1;
    std::uint8_t IsDate = 0;
    std::uint8_t IsHora = 0;
    TDateTime Fecha = 0;
    std::int32_t HoraUT = 0; // 1 universal time, 0 local time; -1 when there is no birth date
    std::int32_t Sexo = -1;  // 0 female, 1 male, 2 other, -1 not given
    TLugar Residencia;
    TLugar Trabajo;
    std::vector<TEvento> Eventos; // latest first
    std::string Observaciones;    // line breaks held as "^~"
};

// A business (stored and counted, not edited by any window).
struct TNegocio : TDataItem {
    std::int32_t CIUU = -1;
    std::uint8_t Indicador = 0;
    TDateTime Fecha = 0;
    TLugar Direccion;
    std::vector<TId> Referencias;
    std::vector<TEvento> Eventos;
    std::vector<std::string> Textos;
};

// Each list owns its records.
template <class T> using RecordList = std::vector<std::unique_ptr<T>>;

} // namespace cel::database
