#include "database/place_import.h"

#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "common/safe_file.h"
#include "common/text_lines.h"
#include "database/coordinate_text.h"
#include "database/data_file.h"
#include "database/record_checks.h"
#include "database/text_cleanup.h"

namespace cel::database {

namespace {

constexpr char kPlaceSep = '!';

// Resolves one place (its IdPais already the database country's) against the database, asking the
// duplicate questions. An added place is moved into the database.
PlaceResolution ResolvePlace(Database &db, std::unique_ptr<TLugar_Geo> &place, Notifier &notifier) {
    PlaceResolution r{place->Nombre, PlaceOutcome::Added, -1, {}};
    const int same = db.SameDataPlace(*place, -1);
    const int named = db.PlaceWithName(-1, place->Nombre, place->IdPais);
    const auto add = [&] {
        place->Id = db.TakeId(Kind::Place);
        place->Marca = 0;
        r.id = place->Id;
        db.Places.push_back(std::move(place));
    };
    if (same < 0 && named < 0) {
        add();
    } else if (same >= 0 && named >= 0) {
        r.outcome = PlaceOutcome::AlreadyThere;
        r.id = db.Places[same]->Id;
    } else if (named >= 0) {
        const std::string question =
            std::string("Ya hay un Lugar geográfico en la base de datos con el nombre") + " \"" +
            place->Nombre + "\"" + "\r\r" + PlaceDescription(db, *db.Places[named]) + "\r\r" +
            "Desea crear un Lugar Geográfico con estos datos pero con un nuevo nombre?" + "\r\r" +
            PlaceDescription(db, *place);
        if (!notifier.Notice(NoticeKind::Question, true, true, question)) {
            r.outcome = PlaceOutcome::NameDeclined;
            return r;
        }
        // Until a valid, free name is typed; the box opens with the last text, cancelling keeps it.
        std::string text;
        for (;;) {
            std::string typed = text;
            if (notifier.InputText("Nuevo nombre Lugar Geografico", "Nombre", typed))
                text = typed;
            if (!CheckInput(text, "nombre", notifier))
                continue;
            if (!db.PlaceNameFree(-1, text, place->IdPais)) {
                text.clear();
                continue;
            }
            break;
        }
        place->Nombre = text;
        r.outcome = PlaceOutcome::AddedRenamed;
        add();
    } else {
        TLugar_Geo &stored = *db.Places[same];
        const std::string question =
            std::string("Ya existe un lugar geográfico con estos datos en el archivo") + "\r\r" +
            PlaceDescription(db, stored) + "\r\r" + "Desea asignarle a este lugar el nombre \"" +
            place->Nombre + "\" con el País \"" + NameOfId(db.Countries, place->IdPais) + "\"";
        r.id = stored.Id;
        if (notifier.Notice(NoticeKind::Question, true, true, question)) {
            stored.Nombre = place->Nombre;
            stored.IdPais = place->IdPais;
            stored.Marca = 1;
            r.outcome = PlaceOutcome::DataRenamed;
        } else {
            r.outcome = PlaceOutcome::DataKept;
        }
    }
    return r;
}

// Rewrites a reference once (unmarked, mapped) and marks it; a reference that nothing maps becomes
// `none` at the end of the pass.
class Rewrite {
public:
    void Map(std::int32_t from, std::int32_t to) { map_.emplace(from, to); }
    void Apply(std::int32_t &ref, std::uint8_t &mark) const {
        if (mark != 0)
            return;
        const auto it = map_.find(ref);
        ref = it == map_.end() ? -1 : it->second;
        mark = 1;
    }

private:
    std::unordered_map<std::int32_t, std::int32_t> map_;
};

} // namespace

PlaceFile ReadPlaceText(std::string_view bytes, Notifier &notifier, const TextFormat &format) {
    PlaceFile file;
    int lineNo = 0;
    TextLines lines(bytes);
    for (std::string_view line; lines.Next(line);) {
        ++lineNo;
        if (line.empty() || (line[0] != 'L' && line[0] != 'P'))
            continue;
        bool ok = false;
        if (line[0] == 'L') {
            auto place = std::make_unique<TLugar_Geo>();
            ok = ParsePlaceLine(line, kPlaceSep, format.decimalSeparator, *place);
            if (ok) {
                place->Nombre = CleanText(place->Nombre);
                place->Descripcion = CleanText(place->Descripcion);
                place->Marca = 0;
                file.places.push_back(std::move(place));
            }
        } else {
            TData country;
            ok = ParseNamedLine(line, kPlaceSep, country);
            if (ok) {
                country.Nombre = CleanText(country.Nombre);
                file.country = country;
                file.hasCountry = true;
            }
        }
        if (!ok) {
            file.failedLines.push_back(lineNo);
            notifier.Notice(NoticeKind::Error, false, true, kLineErrorText);
        }
    }
    for (const auto &place : file.places)
        if (auto what = PlaceProblems(*place); !what.empty())
            file.invalidPlaces.push_back({Kind::Place, place->Id, place->Nombre, std::move(what)});
    return file;
}

std::string NoCountryText(const std::string &path) {
    return "El archivo:\r\r" + FileNameOf(path) + "\r\r" +
           "no tiene la línea del país (\"P\"): sus lugares geográficos no se pueden importar";
}

std::optional<PlaceFile> OpenPlaceFile(const std::string &path, Notifier &notifier,
                                       const TextFormat &format) {
    if (!HasExtension(path, ".lug")) {
        notifier.Notice(NoticeKind::Error, false, true, InvalidFileText(path));
        return std::nullopt;
    }
    PlaceFile file = ReadPlaceText(ReadWholeFile(path), notifier, format);
    if (!file.hasCountry) {
        notifier.Notice(NoticeKind::Error, false, true, NoCountryText(path));
        return std::nullopt;
    }
    return file;
}

AddPlacesResult AddPlaces(Database &db, const TData &fileCountry, RecordList<TLugar_Geo> &filePlaces,
                          Notifier &notifier) {
    AddPlacesResult result;
    const int known = IndexOfName(db.Countries, fileCountry.Nombre);
    // Every Id the addition may need must exist before anything changes.
    const auto ticked =
        std::count_if(filePlaces.begin(), filePlaces.end(), [](const auto &p) { return p && p->Marca == 1; });
    const auto possible = std::count_if(filePlaces.begin(), filePlaces.end(), [](const auto &p) {
        return p && p->Marca == 1 && PlaceProblems(*p).empty();
    });
    // When every place chosen is refused, nothing is added: not even their country.
    const bool addCountry = known < 0 && (ticked == 0 || possible > 0);
    if (addCountry)
        db.RequireRoomFor(Kind::Country);
    db.RequireRoomFor(Kind::Place, possible);
    if (known < 0 && !addCountry) {
        // result.countryId stays -1: no place takes it
    } else if (known < 0) {
        auto country = std::make_unique<TPais>();
        country->Nombre = fileCountry.Nombre;
        country->Id = db.TakeId(Kind::Country);
        result.countryId = country->Id;
        result.countryAdded = true;
        db.Countries.push_back(std::move(country));
    } else {
        result.countryId = db.Countries[known]->Id;
    }
    for (auto &place : filePlaces) {
        if (!place || place->Marca != 1)
            continue;
        // Refused as the same values typed by hand would be.
        if (auto problems = PlaceProblems(*place); !problems.empty()) {
            result.places.push_back({place->Nombre, PlaceOutcome::Refused, -1, std::move(problems)});
            continue;
        }
        place->IdPais = result.countryId;
        result.places.push_back(ResolvePlace(db, place, notifier));
    }
    // Places moved into the database leave empty entries behind.
    std::erase_if(filePlaces, [](const auto &p) { return !p; });
    return result;
}

MergeResult MergeDataFile(Database &db, const std::string &otherPath, Notifier &notifier,
                          const TextFormat &format) {
    MergeResult result;
    std::error_code ec;
    if (otherPath == db.Path || (!db.Path.empty() && std::filesystem::equivalent(otherPath, db.Path, ec))) {
        notifier.Notice(NoticeKind::Warning, false, true, kSameFileText);
        return result;
    }
    Database other;
    result.failedLines = LoadDataFile(otherPath, other, notifier, format, true).failedLines;

    // Countries: matched by exact name, otherwise appended with an Id from 100001 on.
    db.Counter(Kind::Country) = 100000;
    Rewrite countries;
    for (auto &c : other.Countries) {
        const int known = IndexOfName(db.Countries, c->Nombre);
        if (known >= 0) {
            countries.Map(c->Id, db.Countries[known]->Id);
        } else {
            const std::int32_t id = ++db.Counter(Kind::Country);
            countries.Map(c->Id, id);
            c->Id = id;
            db.Countries.push_back(std::move(c));
            ++result.countriesAdded;
        }
    }
    for (auto &p : other.Places) {
        p->Marca = 0;
        countries.Apply(p->IdPais, p->Marca);
    }

    // Places: resolved one by one as an import would; references follow the resolution.
    Rewrite places;
    for (auto &p : other.Places) {
        const std::int32_t oldId = p->Id;
        PlaceResolution r = ResolvePlace(db, p, notifier);
        places.Map(oldId, r.id);
        result.places.push_back(std::move(r));
    }
    for (auto &p : other.Persons) {
        bool lost = false;
        const auto follow = [&](std::int32_t &ref, std::uint8_t &mark) {
            const bool had = ref >= 0;
            mark = 0;
            places.Apply(ref, mark);
            lost = lost || (had && ref < 0);
        };
        follow(p->IdLugarNac, p->Marca);
        follow(p->Residencia.IdLugarGeo, p->Residencia.Marca);
        follow(p->Trabajo.IdLugarGeo, p->Trabajo.Marca);
        for (auto &e : p->Eventos)
            follow(e.IdLugarGeo, e.Marca);
        if (lost)
            result.personsWithoutPlace.push_back(p->Nombre + " " + p->Apellidos);
    }

    // Person groups: matched by exact name, otherwise appended with an Id from 100001 on.
    db.Counter(Kind::PersonGroup) = 100000;
    Rewrite groups;
    for (auto &g : other.PersonGroups) {
        const int known = IndexOfName(db.PersonGroups, g->Nombre);
        if (known >= 0) {
            groups.Map(g->Id, db.PersonGroups[known]->Id);
        } else {
            const std::int32_t id = ++db.Counter(Kind::PersonGroup);
            groups.Map(g->Id, id);
            g->Id = id;
            db.PersonGroups.push_back(std::move(g));
            ++result.groupsAdded;
        }
    }
    auto fileGroup = std::make_unique<TData>();
    fileGroup->Id = ++db.Counter(Kind::PersonGroup);
    fileGroup->Nombre = " Archivo: " + FileNameOf(otherPath);
    fileGroup->Marca = 1;
    result.groupName = fileGroup->Nombre;
    const std::int32_t fileGroupId = fileGroup->Id;
    db.PersonGroups.push_back(std::move(fileGroup));

    // Persons: appended with the file's group.
    db.Counter(Kind::Person) = 100000;
    for (auto &p : other.Persons) {
        for (auto &g : p->Grupos) {
            g.Marca = 0;
            groups.Apply(g.Id, g.Marca);
        }
        // A group the other file does not hold means nothing here.
        std::erase_if(p->Grupos, [](const TId &g) { return g.Id < 0; });
        TId entry;
        entry.Id = fileGroupId;
        p->Grupos.push_back(entry);
        p->Id = ++db.Counter(Kind::Person);
        db.Persons.push_back(std::move(p));
        ++result.personsAdded;
    }

    db.Renumber(Kind::Country);
    db.Renumber(Kind::Place);
    db.Renumber(Kind::Person);
    db.Renumber(Kind::PersonGroup);
    result.merged = true;
    return result;
}

} // namespace cel::database
