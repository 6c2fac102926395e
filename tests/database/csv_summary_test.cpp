#include <gtest/gtest.h>

#include "common/date_text.h"
#include "common/safe_file.h"
#include "database/csv_export.h"
#include "database/data_file.h"
#include "database/person_summary.h"
#include "scripted_notifier.h"
#include "test_util.h"

using namespace cel;
using namespace cel::database;
using cel::dbtest::DataPath;

namespace {

const TextFormat kComma{','};

Database Sample() {
    Database db;
    SilentNotifier quiet;
    LoadDataFile(DataPath("ejemplo.age"), db, quiet, kComma);
    return db;
}

const TPersona *Person(const Database &db, int id) {
    return db.Persons[IndexOfId(db.Persons, id)].get();
}

std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every line ends in CR LF";
    return lines;
}

} // namespace

TEST(DateText, Patterns) {
    const TDateTime v = EncodeDateTime({1978, 3, 14, 9, 35, 0, 0});
    EXPECT_EQ(FormatDateTimeText(v, "mmm-dd-yyyy", kComma), "mar-14-1978");
    EXPECT_EQ(FormatDateTimeText(v, "hh:nn am/pm", kComma), "09:35 am");
    EXPECT_EQ(
        FormatDateTimeText(EncodeDateTime({2006, 5, 2, 17, 0, 0, 0}), "mmm-d-yyyy, h:nn:ss am/pm, ", kComma),
        "may-2-2006, 5:00:00 pm, ");
    EXPECT_EQ(FormatDateTimeText(EncodeDateTime({2006, 5, 2, 0, 5, 9, 0}), "h:nn:ss am/pm h:nn:ss", kComma),
              "12:05:09 am 12:05:09"); // "am/pm" sets the whole pattern to 12 hours
    EXPECT_EQ(FormatDateTimeText(-1.75, "mmm-dd-yyyy hh:nn", kComma), "dic-29-1899 18:00");
}

TEST(Csv, CountriesGroupsAndPlaces) {
    Database db = Sample();
    const auto countries = Lines(CountriesCsv(InNameOrder(db.Countries)));
    ASSERT_EQ(countries.size(), 13u);
    EXPECT_EQ(countries[0], "No;País");
    EXPECT_EQ(countries[1], "1;Argentina");
    EXPECT_EQ(countries[12], "12;Venezuela");
    EXPECT_EQ(Lines(PersonGroupsCsv(InNameOrder(db.PersonGroups))),
              (std::vector<std::string>{"No;Grupo", "1;Amigos", "2;Clientes", "3;Familia"}));
    // A place whose country does not exist shows "-".
    db.Places[IndexOfId(db.Places, 2)]->IdPais = 99;
    const std::vector<const TLugar_Geo *> rows = {db.Places[IndexOfId(db.Places, 1)].get(),
                                                  db.Places[IndexOfId(db.Places, 2)].get(),
                                                  db.Places[IndexOfId(db.Places, 21)].get()};
    EXPECT_EQ(Lines(PlacesCsv(db, rows)),
              (std::vector<std::string>{"No;Nombre;País;TZ;Lon;Lat;Descripción",
                                        "1;Bogotá;Colombia;-5:00;74° 4' 54\" W;4° 36' 35\" N;Bogotá D. C.;",
                                        "2;Medellín;-;-5:00;75° 33' 49\" W;6° 15' 7\" N;Antioquia;",
                                        "3;Córdoba;Argentina;-3:00;64° 10' 52\" W;31° 24' 49\" S;Córdoba;"}));
}

TEST(Csv, PersonsWithTheOptionalBlocks) {
    Database db = Sample();
    const std::vector<const TPersona *> rows = {Person(db, 1), Person(db, 8), Person(db, 9)};
    EXPECT_EQ(Lines(PersonsCsv(db, rows, {}, kComma)),
              (std::vector<std::string>{"No;Nombre;Apellido;Sexo;", "1;Ana Lucía;Restrepo Gaviria;f;",
                                        "2;Esteban;Gorostiaga Duarte;m;", "3;Ariel;Ferreyra Núñez;-;"}));
    PersonCsvOptions all{true, true, true, true, true};
    const auto lines = Lines(PersonsCsv(db, rows, all, kComma));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0],
              "No;Nombre;Apellido;Sexo;"
              "País Res.;Lugar Res.;Dir. Res.;Tel. Res.;Cel. Res.;Fax Res.;Web Res.;Email Res.;"
              "País Trab.;Lugar Trab.;Dir. Trab.;Tel. Trab.;Cel. Trab.;Fax Trab.;Web Trab.;Email Trab.;"
              "Grupos;País Nac.;Lugar Nac.;Fecha;Hora;GMT;Observaciones;");
    EXPECT_EQ(lines[1], "1;Ana Lucía;Restrepo Gaviria;f;"
                        "Colombia;Medellín;Calle 10 # 43-25, apto. 802;+57 604 555 0142;+57 300 555 0198;;;"
                        "ana.restrepo@example.com;"
                        "Colombia;Bogotá;Carrera 7 # 71-21, oficina 502;+57 601 555 0177;;+57 601 555 0178;"
                        "https://www.example.com/estudio;;"
                        "Familia;" // the groups by name
                        "Colombia;Medellín;mar-14-1978;09:35 am;no;"
                        "Hora tomada del registro civil.^~Esposa de Julián Andrés.;");
    // A date without time: no time and no GMT; no date: all three empty; no work place: empty names.
    EXPECT_NE(lines[2].find(";Argentina;Rosario;abr-09-1961;;;Sin hora"), std::string::npos);
    EXPECT_NE(lines[3].find(";;;;;;;;;Clientes;Argentina;Córdoba;;;;No conoce"), std::string::npos)
        << lines[3];
    // Several groups are joined in the person's order; a reference to a missing group is left out.
    TPersona *ariel = db.Persons[IndexOfId(db.Persons, 9)].get();
    TId amigos, missing;
    amigos.Id = db.PersonGroups[IndexOfName(db.PersonGroups, "Amigos")]->Id;
    missing.Id = 77;
    ariel->Grupos.push_back(missing);
    ariel->Grupos.push_back(amigos);
    PersonCsvOptions groups;
    groups.grupos = true;
    EXPECT_EQ(Lines(PersonsCsv(db, {ariel}, groups, kComma)),
              (std::vector<std::string>{"No;Nombre;Apellido;Sexo;Grupos;",
                                        "1;Ariel;Ferreyra Núñez;-;Clientes, Amigos;"}));
}

TEST(Csv, BirthBlockAloneForAPersonWithoutPlaceOrTime) {
    Database db;
    auto p = std::make_unique<TPersona>();
    p->Nombre = "Luz";
    p->Apellidos = "Mar";
    p->Sexo = 2;
    p->IsDate = 1;
    p->Fecha = EncodeDate(2001, 1, 5);
    p->HoraUT = 1;
    db.Persons.push_back(std::move(p));
    PersonCsvOptions birth;
    birth.nacimiento = true;
    EXPECT_EQ(Lines(PersonsCsv(db, InNameOrder(db.Persons), birth, kComma)),
              (std::vector<std::string>{"No;Nombre;Apellido;Sexo;País Nac.;Lugar Nac.;Fecha;Hora;GMT;",
                                        "1;Luz;Mar;o;;;ene-05-2001;;;"}));
}

TEST(Csv, MailListNumbersLines) {
    Database db = Sample();
    Person(db, 8); // Esteban: work e-mail only
    TPersona *ana = db.Persons[IndexOfId(db.Persons, 1)].get();
    ana->Trabajo.Email = "ana@example.org";
    const std::vector<const TPersona *> rows = {ana, Person(db, 5), Person(db, 8)};
    const auto lines = Lines(MailListCsv(rows));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "No;Nombre;Apellidos;mail;dupli;");
    EXPECT_EQ(lines[1], "1;Ana Lucía;Restrepo Gaviria;ana.restrepo@example.com;x");
    EXPECT_EQ(lines[2], "2;Ana Lucía;Restrepo Gaviria;ana@example.org;x");
    EXPECT_EQ(lines.back(),
              std::to_string(lines.size() - 1) + ";Esteban;Gorostiaga Duarte;egorostiaga@example.net;");
    EXPECT_EQ(Lines(MailListCsv({})), std::vector<std::string>{"No;Nombre;Apellidos;mail;dupli;"});
}

TEST(Csv, FileIsWindows1252AndTheNoticeNamesIt) {
    dbtest::TempFolder dir;
    Database db = Sample();
    WriteCsvFile(dir.File("paises.csv"), CountriesCsv(InNameOrder(db.Countries)));
    const std::string bytes = ReadWholeFile(dir.File("paises.csv"));
    EXPECT_EQ(bytes.substr(0, 9), "No;Pa\xEDs\r\n");
    EXPECT_EQ(CsvCreatedText(dir.File("paises.csv")), "Archivo \"paises.csv\"\r\rcreado correctamente");
    EXPECT_THROW(WriteCsvFile(dir.File("no/hay/x.csv"), "x"), FileError);
}

TEST(PersonSummary, LinesAndStyles) {
    Database db = Sample();
    const auto lines = PersonSummary(db, Person(db, 1), {}, kComma);
    EXPECT_EQ(SummaryPlainText(lines), "Ana Lucía Restrepo Gaviria\n"
                                       "\t\n"
                                       "Genero: \n"
                                       "\tFemenino\n" // the person's sex
                                       "\t\n"
                                       "Nacimiento: \n"
                                       "\tMedellín, Colombia\n"
                                       "\t-5:00: mar-14-1978, 9:35:00 am, 9:35:00\n"
                                       "\tGMT: mar-14-1978, 2:35:00 pm, 14:35:00\n"
                                       "\t\n"
                                       "Residencia\n"
                                       "\tMedellín, Colombia\n"
                                       "\tDir: Calle 10 # 43-25, apto. 802\n"
                                       "\tTel: +57 604 555 0142\n"
                                       "\tCel: +57 300 555 0198\n"
                                       "\tMail: ana.restrepo@example.com\n"
                                       "\t\n"
                                       "Trabajo\n"
                                       "\tBogotá, Colombia\n"
                                       "\tDir: Carrera 7 # 71-21, oficina 502\n"
                                       "\tTel: +57 601 555 0177\n"
                                       "\tFax: +57 601 555 0178\n"
                                       "\tWeb: https://www.example.com/estudio\n"
                                       "\t\n"
                                       "Otros:\n"
                                       "\tEventos: 3\n"
                                       "\tGrupos asignados: 1\n"
                                       "\t\t.- Familia\n"
                                       "\t\n"
                                       "Observaciones:\n"
                                       "\tHora tomada del registro civil.\n"
                                       "\tEsposa de Julián Andrés.\n");
    EXPECT_TRUE(lines[0].bold);
    EXPECT_EQ(lines[0].colour, kSummaryBlue);
    EXPECT_TRUE(lines[2].underline);
    EXPECT_EQ(lines[2].colour, kSummaryBlue);
    EXPECT_EQ(lines[1].colour, kSummaryBlack);
    EXPECT_TRUE(PersonSummary(db, nullptr, {}, kComma).empty());
    SummaryOptions genderOnly{true, false, false, false, false, false};
    EXPECT_EQ(SummaryPlainText(PersonSummary(db, Person(db, 4), genderOnly, kComma)),
              "Tomás Echeverría Lagos\n\t\nGenero: \n\tMasculino\n\t\n");
}

TEST(PersonSummary, UniversalTimeNegativeDatesAndChosenBlocks) {
    Database db = Sample();
    SummaryOptions birthOnly{false, true, false, false, false, false};
    // Born at 14:20 universal time in Santiago (zone -4).
    EXPECT_EQ(SummaryPlainText(PersonSummary(db, Person(db, 4), birthOnly, kComma)),
              "Tomás Echeverría Lagos\n\t\nNacimiento: \n\tSantiago, Chile\n"
              "\t-4:00: dic-8-1968, 10:20:00 am, 10:20:00\n\tGMT: dic-8-1968, 2:20:00 pm, 14:20:00\n\t\n");
    // The day before 1899-12-30, at 18:00 local time in Quito (zone -5).
    const std::string leonor = SummaryPlainText(PersonSummary(db, Person(db, 11), birthOnly, kComma));
    EXPECT_NE(leonor.find(
                  "\t-5:00: dic-29-1899, 6:00:00 pm, 18:00:00\n\tGMT: dic-29-1899, 11:00:00 pm, 23:00:00\n"),
              std::string::npos);
    // No birth date: the heading and an empty line only; no sex given: no "Genero" block.
    SummaryOptions all;
    const std::string ariel = SummaryPlainText(PersonSummary(db, Person(db, 9), all, kComma));
    EXPECT_EQ(ariel.find("Genero"), std::string::npos);
    EXPECT_NE(ariel.find("Nacimiento: \n\t\nResidencia\n"), std::string::npos);
}
