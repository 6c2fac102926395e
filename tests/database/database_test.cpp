#include <gtest/gtest.h>

#include "database/database.h"
#include "database/text_cleanup.h"

using namespace cel::database;

namespace {

TPais *AddCountry(Database &db, int id, const std::string &name) {
    auto r = std::make_unique<TPais>();
    r->Id = id;
    r->Nombre = name;
    db.Countries.push_back(std::move(r));
    return db.Countries.back().get();
}

TLugar_Geo *AddPlace(Database &db, int id, const std::string &name, int country, long double lat = 0,
                     long double lon = 0, long double tz = 0, int dst = 0) {
    auto r = std::make_unique<TLugar_Geo>();
    r->Id = id;
    r->Nombre = name;
    r->IdPais = country;
    r->Lat = lat;
    r->Lon = lon;
    r->TZ = tz;
    r->DST = dst;
    db.Places.push_back(std::move(r));
    return db.Places.back().get();
}

TPersona *AddPerson(Database &db, int id, int birth = -1, int home = -1, int work = -1) {
    auto r = std::make_unique<TPersona>();
    r->Id = id;
    r->IdLugarNac = birth;
    r->Residencia.IdLugarGeo = home;
    r->Trabajo.IdLugarGeo = work;
    db.Persons.push_back(std::move(r));
    return db.Persons.back().get();
}

TEvento Event(int place) {
    TEvento e;
    e.IdLugarGeo = place;
    return e;
}

} // namespace

TEST(Records, DefaultsAreTheDocumentedOnes) {
    TPersona p;
    EXPECT_EQ(p.Id, -1);
    EXPECT_EQ(p.IdLugarNac, -1);
    EXPECT_EQ(p.Sexo, -1);
    EXPECT_EQ(p.Residencia.IdLugarGeo, -1);
    EXPECT_EQ(p.Trabajo.IdLugarGeo, -1);
    TEvento e;
    EXPECT_EQ(e.IdLugarGeo, 0);
    TNegocio n;
    EXPECT_EQ(n.CIUU, -1);
    TLugar_Geo g;
    EXPECT_EQ(g.IdPais, 0);
}

TEST(Database, LookUpsByIdAndName) {
    Database db;
    AddCountry(db, 4, "Perú");
    AddCountry(db, 0, "Chile");
    AddPlace(db, 9, "Lima", 4);
    AddPlace(db, 3, "Huérfano", 77);
    EXPECT_EQ(IndexOfId(db.Countries, 0), 1);
    EXPECT_EQ(IndexOfId(db.Countries, 5), -1);
    EXPECT_EQ(IndexOfName(db.Countries, "Chile"), 1);
    EXPECT_EQ(IndexOfName(db.Countries, "chile"), -1);
    EXPECT_EQ(NameOfId(db.Countries, 4), "Perú");
    EXPECT_EQ(NameOfId(db.Countries, -1), "-");
    EXPECT_EQ(db.PlaceCaption(9), "Lima, Perú");
    EXPECT_EQ(db.PlaceCaption(3), "Huérfano, -");
    EXPECT_EQ(db.PlaceCaption(-1), "-");
}

TEST(Database, SameDataPlaceComparesCoordinatesZoneAndDaylightSaving) {
    Database db;
    AddPlace(db, 1, "Bogotá", 1, 4.60971L, 74.08175L, -5, 0);
    AddPlace(db, 2, "Madrid", 2, 40.4165L, 3.70256L, 1, 1);
    struct Case {
        long double lat, lon, tz;
        int dst;
        int exclude;
        int expected;
    };
    const Case cases[] = {
        {4.60971L, 74.08175L, -5, 0, -1, 0},                 // same data, other name and country
        {4.60971L + 5e-8L, 74.08175L - 5e-8L, -5, 0, -1, 0}, // within 1e-7 degree
        {4.60971L + 2e-7L, 74.08175L, -5, 0, -1, -1},        // too far
        {4.60971L, 74.08175L, -4.999L, 0, -1, -1},           // zone must be equal
        {4.60971L, 74.08175L, -5, 1, -1, -1},                // daylight saving must be equal
        {4.60971L, 74.08175L, -5, 0, 1, -1},                 // the excluded place itself
        {40.4165L, 3.70256L, 1, 1, 1, 1},
    };
    for (const Case &c : cases) {
        TLugar_Geo p;
        p.Lat = c.lat;
        p.Lon = c.lon;
        p.TZ = c.tz;
        p.DST = c.dst;
        p.Nombre = "Otro";
        p.IdPais = 9;
        EXPECT_EQ(db.SameDataPlace(p, c.exclude), c.expected);
    }
}

TEST(Database, PlaceNameFreeFoldsAsciiCaseOnlyWithinTheCountry) {
    Database db;
    AddPlace(db, 1, "Bogotá", 1);
    struct Case {
        const char *name;
        int country;
        int exclude;
        bool free;
    };
    const Case cases[] = {
        {"Bogotá", 1, -1, false}, {"BOGOTá", 1, -1, false}, {"bogotá", 1, -1, false}, {"BOGOTÁ", 1, -1, true},
        {"Bogota", 1, -1, true},  {"Bogotá", 2, -1, true},  {"Bogotá", 1, 1, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(db.PlaceNameFree(c.exclude, c.name, c.country), c.free);
    }
}

TEST(Database, UsageCounts) {
    Database db;
    AddCountry(db, 1, "A");
    AddCountry(db, 2, "B");
    AddPlace(db, 10, "X", 1);
    AddPlace(db, 11, "Y", 1);
    AddPlace(db, 12, "Z", 2);
    auto g = std::make_unique<TData>();
    g->Id = 5;
    db.PersonGroups.push_back(std::move(g));
    // Birth, home and work at one place count once; events at other places count each.
    TPersona *p1 = AddPerson(db, 1, 10, 10, 10);
    p1->Eventos = {Event(10), Event(11), Event(11)};
    p1->Grupos = {TId{5}, TId{5}};
    TPersona *p2 = AddPerson(db, 2, -1, 11, 12);
    p2->Eventos = {Event(11), Event(10)};
    p2->Grupos = {TId{5}};
    auto n = std::make_unique<TNegocio>();
    n->Direccion.IdLugarGeo = 12;
    n->Eventos = {Event(12), Event(10)};
    n->Grupos = {TId{3}};
    db.Businesses.push_back(std::move(n));
    auto bg = std::make_unique<TData>();
    bg->Id = 3;
    db.BusinessGroups.push_back(std::move(bg));

    db.ComputeUsage(Kind::Country);
    EXPECT_EQ(db.Countries[0]->Usos, 2);
    EXPECT_EQ(db.Countries[1]->Usos, 1);
    db.ComputeUsage(Kind::Place);
    EXPECT_EQ(db.Places[0]->Usos, 1 + 1 + 1); // p1 once, p2's event, business event
    EXPECT_EQ(db.Places[1]->Usos, 2 + 1);     // p1's two events, p2 (home)
    EXPECT_EQ(db.Places[2]->Usos, 1 + 1);     // p2 (work), business address (its event not added)
    db.ComputeUsage(Kind::PersonGroup);
    EXPECT_EQ(db.PersonGroups[0]->Usos, 3);
    db.ComputeUsage(Kind::BusinessGroup);
    EXPECT_EQ(db.BusinessGroups[0]->Usos, 1);
}

TEST(Database, RenumberingCountriesRewritesPlaces) {
    Database db;
    AddCountry(db, 9, "C");
    AddCountry(db, 2, "A");
    AddCountry(db, 5, "B");
    TLugar_Geo *a = AddPlace(db, 1, "a", 2);
    TLugar_Geo *b = AddPlace(db, 2, "b", 5);
    TLugar_Geo *c = AddPlace(db, 3, "c", 9);
    TLugar_Geo *d = AddPlace(db, 4, "d", 1); // refers to no country: a later 1 must not catch it twice
    a->Marca = 1;
    db.Renumber(Kind::Country);
    EXPECT_EQ(db.Countries[0]->Nombre, "A");
    EXPECT_EQ(db.Countries[0]->Id, 1);
    EXPECT_EQ(db.Countries[2]->Id, 3);
    EXPECT_EQ(a->IdPais, 1);
    EXPECT_EQ(b->IdPais, 2);
    EXPECT_EQ(c->IdPais, 3);
    EXPECT_EQ(d->IdPais, 1); // unchanged: no country had Id 1
    EXPECT_EQ(db.Counter(Kind::Country), 4);
    // The pass resets the marks and sets those of the rewritten places.
    EXPECT_EQ(a->Marca, 1);
    EXPECT_EQ(d->Marca, 0);
}

TEST(Database, RenumberingPlacesRewritesEveryReferenceOnce) {
    Database db;
    AddPlace(db, 3, "p3", 1);
    AddPlace(db, 1, "p1", 1); // 1 → 1
    AddPlace(db, 7, "p7", 1); // 7 → 3 after 3 → 2: a reference to 3 must become 2, not 3 → 2 → …
    TPersona *p = AddPerson(db, 1, 3, 7, 1);
    p->Eventos = {Event(7), Event(3), Event(-1)};
    auto n = std::make_unique<TNegocio>();
    n->Direccion.IdLugarGeo = 7;
    n->Eventos = {Event(3)};
    db.Businesses.push_back(std::move(n));
    db.Renumber(Kind::Place);
    EXPECT_EQ(p->IdLugarNac, 2);
    EXPECT_EQ(p->Residencia.IdLugarGeo, 3);
    EXPECT_EQ(p->Trabajo.IdLugarGeo, 1);
    EXPECT_EQ(p->Eventos[0].IdLugarGeo, 3);
    EXPECT_EQ(p->Eventos[1].IdLugarGeo, 2);
    EXPECT_EQ(p->Eventos[2].IdLugarGeo, -1);
    EXPECT_EQ(db.Businesses[0]->Direccion.IdLugarGeo, 3);
    EXPECT_EQ(db.Businesses[0]->Eventos[0].IdLugarGeo, 2);
    EXPECT_EQ(db.Counter(Kind::Place), 4);
}

TEST(Database, RenumberingGroupsAndPersons) {
    Database db;
    for (int id : {10, 4}) {
        auto g = std::make_unique<TData>();
        g->Id = id;
        db.PersonGroups.push_back(std::move(g));
    }
    TPersona *p = AddPerson(db, 50);
    p->Grupos = {TId{10}, TId{4}};
    AddPerson(db, 8);
    db.Renumber(Kind::PersonGroup);
    EXPECT_EQ(p->Grupos[0].Id, 2);
    EXPECT_EQ(p->Grupos[1].Id, 1);
    EXPECT_EQ(db.Counter(Kind::PersonGroup), 3);
    db.Renumber(Kind::Person);
    EXPECT_EQ(db.Persons[0]->Id, 1);
    EXPECT_EQ(db.Persons[1].get(), p);
    EXPECT_EQ(p->Id, 2);
    EXPECT_EQ(db.Counter(Kind::Person), 3);
    // An empty list keeps its counter.
    db.Counter(Kind::Country) = 7;
    db.Renumber(Kind::Country);
    EXPECT_EQ(db.Counter(Kind::Country), 7);
}

TEST(Database, NameOrderFoldsAsciiAndPutsAccentsAfterZ) {
    EXPECT_TRUE(NameLess("ana", "Beto"));
    EXPECT_TRUE(NameLess("Zoe", "Álvaro"));
    EXPECT_TRUE(NameLess("Zoe", "Ñandú"));
    EXPECT_TRUE(NameLess("Šimon", "Ñandú")); // Windows-1252 byte order: Š (0x8A) before Ñ (0xD1)
    EXPECT_TRUE(NameLess("Ana", "Ana María"));
    EXPECT_EQ(CompareNames("ana", "ANA"), 0);
}

TEST(TextCleanup, RemovesSeparatorsAndStoresLineBreaks) {
    EXPECT_EQ(CleanText("Pâblo ßí^x"), "Pblo íx");
    EXPECT_EQ(CleanText("Fête"), "Fête");
    EXPECT_EQ(CleanEventName("Fête"), "Fte");
    EXPECT_EQ(EncodeObservations("uno\r\ndos\nt^res\rcuatro"), "uno^~dos^~tres^~cuatro");
    EXPECT_EQ(DecodeObservations("uno^~dos"), "uno\ndos");
    EXPECT_EQ(DecodeObservations("uno^~dos", "\r\n"), "uno\r\ndos");
    EXPECT_EQ(DecodeObservations("fin^"), "fin\n");
}

TEST(Database, SortByNameIsStableAndFollowsNameOrder) {
    RecordList<TData> list;
    const char *names[] = {"ñu", "Beto", "ana", "ÿes", "Ωmega", "ANA", "Zoe", "Šimon", "ÿ"};
    for (int i = 0; i < 9; ++i) {
        auto r = std::make_unique<TData>();
        r->Id = i;
        r->Nombre = names[i];
        list.push_back(std::move(r));
    }
    SortByName(list);
    std::vector<int> ids;
    for (const auto &r : list)
        ids.push_back(r->Id);
    EXPECT_EQ(ids, (std::vector<int>{2, 5, 1, 6, 7, 0, 8, 3, 4}));
    for (std::size_t i = 1; i < list.size(); ++i)
        EXPECT_LE(CompareNames(list[i - 1]->Nombre, list[i]->Nombre), 0);
}

namespace cel::database {
namespace {

// The notice of a full Id range names each kind with its own article.
TEST(Database, IdLimitNoticeNamesTheKindInGoodSpanish) {
    const std::pair<Kind, const char *> cases[] = {
        {Kind::Person, "No se puede agregar: las personas del archivo"},
        {Kind::Country, "No se puede agregar: los países del archivo"},
        {Kind::PersonGroup, "No se puede agregar: los grupos de personas"}};
    for (const auto &[kind, start] : cases)
        EXPECT_EQ(std::string(IdLimitError(kind).what()).rfind(start, 0), 0u) << IdLimitError(kind).what();
}

} // namespace
} // namespace cel::database
