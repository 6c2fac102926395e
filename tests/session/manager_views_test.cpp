// What the manager's windows show from the records: the choices of the filter panel and group chooser,
// the grid's cell texts, the place import list with its ticks and counters, and the person's summary
// and internet links.
#include <gtest/gtest.h>

#include "common/scripted_notifier.h"
#include "database/coordinate_text.h"
#include "database/data_file.h"
#include "session/manager_choices.h"
#include "session/person_details.h"
#include "session/place_import_list.h"
#include "session/place_zone_entry.h"
#include "session/record_cells.h"
#include "support/temp_folder.h"

namespace cel::session {
namespace {

using database::Kind;

template <class T> T &Add(database::RecordList<T> &list, std::int32_t id, const std::string &name) {
    auto r = std::make_unique<T>();
    r->Id = id;
    r->Nombre = name;
    list.push_back(std::move(r));
    return *list.back();
}

// Names whose Spanish order differs from their byte order (accents, "ñ").
struct SmallDb {
    database::Database db;
    SmallDb() {
        Add(db.Countries, 1, "Perú");
        Add(db.Countries, 2, "Ecuador");
        Add(db.Countries, 3, "Ánimas");
        Add(db.PersonGroups, 1, "Ñandúes");
        Add(db.PersonGroups, 2, "Nubes").Marca = 1;
        Add(db.PersonGroups, 3, "Amigos");
        Add(db.BusinessGroups, 5, "Zeta");
        Add(db.BusinessGroups, 4, "Alfa");
        auto &lima = Add(db.Places, 7, "Lima");
        lima.IdPais = 1;
        lima.Descripcion = "Capital";
        lima.Usos = 3;
        Add(db.Places, 8, "Quito").IdPais = 2;
        Add(db.Places, 9, "Arequipa").IdPais = 1;
        auto &ana = Add(db.Persons, 4, "Ana");
        ana.Apellidos = "Ruiz";
        ana.Residencia.Web = "ana.example.com";
        ana.Trabajo.Email = "ana@trabajo.example.com";
    }
};

std::vector<std::string> Names(const std::vector<NamedChoice> &choices) {
    std::vector<std::string> names;
    for (const NamedChoice &c : choices)
        names.push_back(c.name);
    return names;
}

TEST(ManagerChoices, SpanishOrderForCountriesGroupsAndPlacesFileOrderForBusinessGroups) {
    SmallDb s;
    using V = std::vector<std::string>;
    EXPECT_EQ(Names(CountryChoices(s.db)), (V{"Ánimas", "Ecuador", "Perú"}));
    EXPECT_EQ(Names(PersonGroupChoices(s.db)), (V{"Amigos", "Nubes", "Ñandúes"}));
    EXPECT_EQ(Names(BusinessGroupChoices(s.db)), (V{"Zeta", "Alfa"}));
    EXPECT_EQ(Names(PlaceChoices(s.db, 1)), (V{"Arequipa", "Lima"}));
    EXPECT_EQ(Names(PlaceChoices(s.db, 2)), (V{"Quito"}));
    EXPECT_TRUE(PlaceChoices(s.db, -1).empty()); // "[*]"
    EXPECT_EQ(PlaceChoices(s.db, 1)[1].id, 7);
}

TEST(ManagerChoices, GroupTicks) {
    SmallDb s;
    const auto ticked = [&s] {
        std::vector<std::string> names;
        for (const NamedChoice &c : PersonGroupChoices(s.db))
            if (c.ticked)
                names.push_back(c.name);
        return names;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(ticked(), (V{"Nubes"}));
    ToggleGroupTick(s.db, 1);
    ToggleGroupTick(s.db, 2);
    ToggleGroupTick(s.db, 99); // no such group: nothing changes
    EXPECT_EQ(ticked(), (V{"Ñandúes"}));
    TickAllGroups(s.db, true);
    EXPECT_EQ(ticked().size(), 3u);
    TickAllGroups(s.db, false);
    EXPECT_TRUE(ticked().empty());
}

TEST(RecordCells, TextsOfEachKindsColumns) {
    SmallDb s;
    database::TData &group = *s.db.PersonGroups[0];
    group.Usos = 12;
    database::TLugar_Geo &lima = *s.db.Places[0];
    lima.DST = 1;
    database::TLugar_Geo &quito = *s.db.Places[1];
    quito.IdPais = 42; // a country that is not there
    database::TNegocio business;
    business.Id = 3;
    business.Nombre = "Taller";
    business.CIUU = 4520;
    struct Case {
        Kind kind;
        const database::TData *record;
        int column;
        const char *text;
    };
    const database::TData &ana = *s.db.Persons[0];
    for (const Case c :
         {Case{Kind::Place, &lima, 0, "7"}, Case{Kind::Place, &lima, 1, "5"}, Case{Kind::Place, &lima, 2, ""},
          Case{Kind::Place, &lima, 3, "Lima"}, Case{Kind::Place, &lima, 4, "Perú"},
          Case{Kind::Place, &lima, 5, "sí"}, Case{Kind::Place, &quito, 4, "-"},
          Case{Kind::Place, &quito, 5, "no"}, Case{Kind::Place, &lima, 9, "3"},
          Case{Kind::Place, &lima, 10, "Capital"}, Case{Kind::PersonGroup, &group, 4, "12"},
          Case{Kind::Person, &ana, 3, "Ana"}, Case{Kind::Person, &ana, 4, "Ruiz"},
          Case{Kind::Business, &business, 4, "4520"}, Case{Kind::Business, &business, 5, ""}}) {
        SCOPED_TRACE(std::string(c.text) + " column " + std::to_string(c.column));
        EXPECT_EQ(RecordCellText(s.db, c.kind, *c.record, c.column, 5), c.text);
    }
    // The coordinates as the editors write them.
    lima.Lon = 77.0;
    lima.Lat = -12.05;
    EXPECT_EQ(RecordCellText(s.db, Kind::Place, lima, 7, 1),
              database::AngleText(77.0L, database::AngleKind::Longitude));
    EXPECT_EQ(RecordCellText(s.db, Kind::Place, lima, 8, 1),
              database::AngleText(-12.05L, database::AngleKind::Latitude));
}

// A place file of four places, with "ñ" and accents in the names.
database::PlaceFile FourPlaces() {
    database::PlaceFile file;
    file.hasCountry = true;
    file.country.Id = 2;
    file.country.Nombre = "España";
    for (const char *name : {"Toledo", "Ávila", "Logroño", "Lugo"})
        Add(file.places, static_cast<std::int32_t>(file.places.size() + 1), name);
    return file;
}

std::vector<std::string> Shown(const PlaceImportList &list) {
    std::vector<std::string> names;
    for (int r = 0; r < static_cast<int>(list.Shown().size()); ++r)
        names.push_back(list.RowTexts(r)[3]);
    return names;
}

TEST(PlaceImportList, FiltersByNameAndTicksInSpanishOrder) {
    database::PlaceFile file = FourPlaces();
    PlaceImportList list(file);
    using V = std::vector<std::string>;
    EXPECT_EQ(Shown(list), (V{"Ávila", "Logroño", "Lugo", "Toledo"}));
    EXPECT_EQ(list.ShownText(), "4 de 4");
    list.SetFilter("G", false); // ASCII letters in either case
    EXPECT_EQ(Shown(list), (V{"Logroño", "Lugo"}));
    list.Toggle(1);
    list.Toggle(7); // no such row
    EXPECT_EQ(list.TickedText(), "1 de 4");
    EXPECT_TRUE(list.RowTicked(1));
    EXPECT_EQ(list.RowTexts(1)[1], "2");
    list.SetFilter("G", true);
    EXPECT_EQ(Shown(list), (V{"Lugo"}));
    EXPECT_EQ(list.ShownText(), "1 de 4");
    list.Toggle(0); // unticked: gone from the ticked-only list
    EXPECT_TRUE(list.Shown().empty());
}

// The counter and the refusal count every ticked place of the file, also those the filter hides:
// "ninguno" under a filter unticks only the shown ones, and the hidden ticks are still added.
TEST(PlaceImportList, TicksHiddenByTheFilterStillCount) {
    database::PlaceFile file = FourPlaces();
    PlaceImportList list(file);
    ScriptedNotifier notices;
    EXPECT_FALSE(list.MayAdd(notices));
    EXPECT_NE(notices.LastText().find("Debe seleccionar al menos un(1) lugar"), std::string::npos);
    list.SetFilter("to", false);
    list.TickShown(true); // Toledo
    list.SetFilter("lu", false);
    list.TickShown(true); // Lugo
    EXPECT_EQ(list.Ticked(), 2);
    list.SetFilter("to", false);
    list.TickShown(false);
    EXPECT_EQ(list.TickedText(), "1 de 4");
    notices.Clear();
    EXPECT_TRUE(list.MayAdd(notices));
    EXPECT_TRUE(notices.shown.empty());
}

// The ticked places go into the data file, saved; a file that cannot be written keeps them out of it
// and says so.
TEST(PlaceImportList, AddsTheTickedPlacesAndSaves) {
    testsupport::TempFolder folder("place-import");
    database::Database db;
    ScriptedNotifier notices;
    DataStore store(db, notices);
    const std::string path = folder.Copy("ejemplo.age");
    ASSERT_TRUE(store.Open(path));
    const std::size_t places = db.Places.size();
    auto file = ReadPlaceFile(store, testsupport::DataPath("espana.lug"));
    ASSERT_TRUE(file);
    EXPECT_FALSE(ReadPlaceFile(store, folder.File("falta.lug")));
    EXPECT_EQ(notices.shown.back().kind, NoticeKind::Error);
    PlaceImportList list(*file);
    list.SetFilter("zzz-no-existe", false);
    ASSERT_TRUE(list.Shown().empty());
    list.SetFilter("", false);
    std::string wanted;
    for (int r = 0; r < static_cast<int>(list.Shown().size()) && wanted.empty(); ++r) {
        const std::string name = list.RowTexts(r)[3];
        bool there = false;
        for (const auto &p : db.Places)
            there = there || p->Nombre == name;
        if (!there) {
            wanted = name;
            list.Toggle(r);
        }
    }
    ASSERT_FALSE(wanted.empty()) << "every place of the file is in the sample already";
    notices.answers.assign(20, false);
    EXPECT_TRUE(AddTickedPlaces(store, *file, true));
    EXPECT_EQ(db.Places.size(), places + 1);
    EXPECT_NE(notices.LastText().find("Lugares geográficos agregados: 1"), std::string::npos)
        << notices.LastText();
    database::Database read;
    ScriptedNotifier quiet;
    database::LoadDataFile(path, read, quiet, TextFormat{});
    EXPECT_EQ(read.Places.size(), places + 1);
}

TEST(ImportReport, CountsEachOutcomeAndNamesTheDeclinedAndRefused) {
    database::AddPlacesResult result;
    result.countryAdded = true;
    using database::PlaceOutcome;
    const auto resolved = [](const char *name, PlaceOutcome outcome, std::vector<std::string> problems = {}) {
        database::PlaceResolution r;
        r.name = name;
        r.outcome = outcome;
        r.problems = std::move(problems);
        return r;
    };
    result.places = {resolved("Toledo", PlaceOutcome::Added),
                     resolved("Ávila", PlaceOutcome::AddedRenamed),
                     resolved("Lugo", PlaceOutcome::DataRenamed),
                     resolved("Soria", PlaceOutcome::AlreadyThere),
                     resolved("Teruel", PlaceOutcome::NameDeclined),
                     resolved("León", PlaceOutcome::DataKept),
                     resolved("Nada", PlaceOutcome::Refused, {"latitud", "zona"})};
    EXPECT_EQ(ImportReportText(result, "España"),
              "Lugares geográficos agregados: 2\rPaís agregado: España\rLugares renombrados: 1"
              "\rYa estaban en el archivo: 1\rNo agregados: 2\rTeruel\rLeón"
              "\rRechazados por valores imposibles: 1\rNada: latitud, zona");
}

TEST(PersonDetails, LinksOfThePersonsAddresses) {
    SmallDb s;
    const auto captions = LinkCaptions(s.db, 4);
    EXPECT_EQ(captions[0], "Ir al sitio Web : ana.example.com");
    EXPECT_EQ(captions[1], "");
    EXPECT_EQ(captions[2], "");
    EXPECT_EQ(captions[3], "Enviar mail a: ana@trabajo.example.com");
    EXPECT_EQ(LinkOfPerson(s.db, 4, "WebHome"), "http://ana.example.com");
    EXPECT_EQ(LinkOfPerson(s.db, 4, "MailWork"), "mailto:\"Ana Ruiz\"<ana@trabajo.example.com>");
    for (const std::string &caption : LinkCaptions(s.db, 99))
        EXPECT_EQ(caption, "");
    EXPECT_EQ(LinkOfPerson(s.db, 99, "WebHome"), "");
    EXPECT_TRUE(SummaryOfPerson(s.db, 99, {}, {}).empty());
    EXPECT_FALSE(SummaryOfPerson(s.db, 4, {}, {}).empty());
}

// A Spanish place near Madrid, an atlas of Madrid alone and no choices yet.
struct ZoneFixture {
    database::Database db;
    zones::Atlas atlas;
    zones::PlaceZoneChoices choices;
    PlaceZoneEntry entry{[this]() -> zones::PlaceZoneChoices & { return choices; }, atlas};
    ZoneFixture() {
        Add(db.Countries, 2, "España");
        auto &getafe = Add(db.Places, 5, "Getafe");
        getafe.IdPais = 2;
        getafe.Lat = 40.3;
        getafe.Lon = 3.73;
        std::vector<zones::AtlasCity> cities(1);
        cities[0].name = "Madrid";
        cities[0].countryCode = "ES";
        cities[0].countryName = "España";
        cities[0].latitude = 40.4165;
        cities[0].longitudeWest = 3.70256;
        cities[0].population = 3255944;
        cities[0].zoneId = "Europe/Madrid";
        atlas = zones::Atlas::FromCities(std::move(cities));
    }
    database::TLugar_Geo &Place() { return *db.Places[0]; }
};

TEST(PlaceZoneEntry, SaysWhereTheShownZoneComesFrom) {
    ZoneFixture f;
    ASSERT_EQ(f.entry.ShowFor(f.db, f.Place()), "Europe/Madrid");
    struct Case {
        const char *zone;
        const char *text;
    };
    for (const Case c :
         {Case{"Europe/Madrid", "Del atlas: la ciudad más cercana es Madrid (13 km)."},
          Case{"Atlantic/Canary", "Elegida por usted (el atlas da Europe/Madrid)."},
          Case{"", "Sin zona: el atlas no tiene ciudades de ese país; elija una de la lista."},
          Case{"Europa/Nada", "\"Europa/Nada\" no es una zona de la base de datos de zonas horarias."}})
        EXPECT_EQ(f.entry.Description(c.zone), c.text);
}

// A zone other than the atlas's is kept as the user's choice and wins afterwards; storing the atlas's
// own forgets it; a renamed place takes its choice along.
TEST(PlaceZoneEntry, KeepsOnlyTheChoicesThatDifferFromTheAtlas) {
    ZoneFixture f;
    f.entry.ShowFor(f.db, f.Place());
    EXPECT_FALSE(f.entry.Record(f.db, f.Place(), std::nullopt, "Europe/Madrid"));
    EXPECT_EQ(f.choices.Size(), 0u);
    EXPECT_TRUE(f.entry.Record(f.db, f.Place(), std::nullopt, "Atlantic/Canary"));
    EXPECT_EQ(f.entry.ShowFor(f.db, f.Place()), "Atlantic/Canary");
    EXPECT_EQ(f.entry.Description("Atlantic/Canary"), "Elegida por usted (el atlas da Europe/Madrid).");
    EXPECT_FALSE(f.entry.Rederive(f.db, f.Place())); // a choice is not derived again

    const zones::PlaceKey former = zones::KeyOf(f.db, f.Place());
    f.Place().Nombre = "Getafe centro";
    EXPECT_TRUE(f.entry.Record(f.db, f.Place(), former, "Atlantic/Canary"));
    EXPECT_FALSE(f.choices.Get(former));
    EXPECT_EQ(f.choices.Get(zones::KeyOf(f.db, f.Place())), "Atlantic/Canary");

    EXPECT_TRUE(f.entry.Record(f.db, f.Place(), std::nullopt, "Europe/Madrid"));
    EXPECT_EQ(f.choices.Size(), 0u);
}

TEST(PlaceZoneEntry, DerivesAgainUntilTheUserChooses) {
    ZoneFixture f;
    f.Place().IdPais = 99; // no country the atlas knows: the nearest city of all
    EXPECT_EQ(f.entry.ShowFor(f.db, f.Place()), "Europe/Madrid");
    f.Place().IdPais = 2;
    EXPECT_EQ(f.entry.Rederive(f.db, f.Place()), "Europe/Madrid");
    f.entry.Edited();
    EXPECT_FALSE(f.entry.Rederive(f.db, f.Place()));
}

} // namespace
} // namespace cel::session
