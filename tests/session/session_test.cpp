// The chart program's session without windows: loading persons into the chart sides, persons A and B
// and synastry, stepping and jumping the entry, saving natal data, deleting persons, events, and one
// computation and one change notification for every operation.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <unistd.h>

#include "common/scripted_notifier.h"
#include "database/data_file.h"
#include "session/session.h"
#include "zones/atlas.h"

namespace cel::session {
namespace {

constexpr std::int32_t kAna = 1, kJulian = 2, kRosa = 5, kEsteban = 8, kAriel = 9;

struct SessionFixture : ::testing::Test {
    ScriptedNotifier notifier;
    std::filesystem::path dir;
    std::string dataFile;
    std::unique_ptr<Session> s;
    int notifications = 0;

    void SetUp() override {
        static int counter = 0;
        dir = std::filesystem::temp_directory_path() /
              ("celestigrafo_session_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
        std::filesystem::create_directories(dir);
        dataFile = (dir / "ejemplo.age").string();
        std::filesystem::copy_file(std::string(CEL_TEST_DATA_DIR) + "/ejemplo.age", dataFile);
        notifier.onUnexpected = [](const std::string &text) {
            ADD_FAILURE() << "unexpected question: " << text;
        };
        s = std::make_unique<Session>(notifier);
        s->clock = [] { return EncodeDateTime({2024, 10, 17, 13, 30, 15, 250}); }; // universal time
        s->ws.settings.InstallFirstRunValues();
        s->ws.ApplySettings();
        ASSERT_TRUE(s->OpenFile(dataFile));
        s->Start();
        s->onChanged = [this](Changes) { ++notifications; };
    }
    void TearDown() override {
        s.reset();
        std::filesystem::remove_all(dir);
    }
    database::Database Saved() {
        database::Database saved;
        SilentNotifier silent;
        database::LoadDataFile(dataFile, saved, silent, s->ws.format);
        return saved;
    }
    static const database::TPersona &Person(const database::Database &db, std::int32_t id) {
        return *db.Persons[static_cast<std::size_t>(database::IndexOfId(db.Persons, id))];
    }
    // Another program changes the file behind this one's back: the next save is refused.
    void ChangeFileOnDisk() {
        std::filesystem::last_write_time(dataFile, std::filesystem::last_write_time(dataFile) +
                                                       std::chrono::seconds(5));
    }
};

TEST_F(SessionFixture, LoadsPersonsIntoEitherSide) {
    struct Case {
        ChartSide side;
        std::int32_t id;
        PersonLoad::Result result;
        bool hasTime;
    };
    for (const Case &c : {Case{ChartSide::Natal, kAna, PersonLoad::Result::Loaded, true},
                          Case{ChartSide::Event, kJulian, PersonLoad::Result::Loaded, true},
                          Case{ChartSide::Natal, kEsteban, PersonLoad::Result::Loaded, false},
                          Case{ChartSide::Natal, kAriel, PersonLoad::Result::NoBirthDate, true},
                          Case{ChartSide::Event, 999, PersonLoad::Result::UnknownPerson, true}}) {
        SCOPED_TRACE(c.id);
        const chart::TDato before = s->ws.Record(c.side);
        const PersonLoad load = s->LoadPerson(c.side, c.id);
        EXPECT_EQ(load.result, c.result);
        const chart::TDato &record = s->ws.Record(c.side);
        if (c.result != PersonLoad::Result::Loaded) {
            EXPECT_EQ(record.ownerId, before.ownerId); // the side stays as it was
            continue;
        }
        EXPECT_EQ(load.hasTime, c.hasTime);
        EXPECT_EQ(record.ownerId, c.id);
        EXPECT_DOUBLE_EQ(Workspace::EnteredValue(record),
                         c.hasTime ? Person(s->ws.db, c.id).Fecha : std::floor(Person(s->ws.db, c.id).Fecha));
        if (c.side == ChartSide::Natal) {
            EXPECT_EQ(s->CurrentPerson(), c.id);
        }
    }
    // A birth place with impossible values is refused with what is wrong with it.
    s->ws.db.Places[static_cast<std::size_t>(database::IndexOfId(s->ws.db.Places, 2))]->Lat = 1e300;
    const PersonLoad refused = s->ws.LoadPerson(ChartSide::Natal, Person(s->ws.db, kAna), true);
    EXPECT_EQ(refused.result, PersonLoad::Result::Impossible);
    EXPECT_FALSE(refused.problems.empty());
}

TEST_F(SessionFixture, PersonsAAndBAndSynastry) {
    s->SetSynastry(true); // nobody chosen yet
    EXPECT_FALSE(s->Synastry());
    EXPECT_EQ(notifier.LastText(), "Debe seleccionar las dos personas.");

    s->ChoosePerson(kAna);
    EXPECT_EQ(s->Person(PersonSlot::A), kAna);
    s->ChooseSlot(PersonSlot::B);
    s->ChoosePerson(kAriel); // no birth date: refused with its notice
    EXPECT_EQ(s->Person(PersonSlot::B), -1);
    EXPECT_NE(notifier.LastText().find("No tiene fecha natal asignada."), std::string::npos);
    s->SetSynastry(true);
    EXPECT_FALSE(s->Synastry());

    s->ChoosePerson(kJulian);
    EXPECT_EQ(s->Person(PersonSlot::B), kJulian);
    EXPECT_EQ(s->CurrentPerson(), kJulian);
    s->SetSynastry(true);
    ASSERT_TRUE(s->Synastry());
    EXPECT_EQ(s->ws.natalRecord.ownerId, kAna);
    EXPECT_EQ(s->ws.eventRecord.ownerId, kJulian);
    EXPECT_EQ(s->ws.view.wheelMode, settings::kDoubleWheel);
    EXPECT_EQ(s->EventLabel(), "Julián Andrés Ospina Cárdenas: ");
    // The dates of a synastry are the births: no step moves them.
    const TDateTime natal = s->ws.natalRecord.localDateTime;
    s->Step(+1);
    EXPECT_EQ(s->ws.natalRecord.localDateTime, natal);
    EXPECT_FALSE(s->NatalChanged());

    s->SetSynastry(false);
    EXPECT_EQ(s->ws.view.wheelMode, settings::kSingleWheel);
    EXPECT_EQ(s->CurrentPerson(), kAna);
    EXPECT_TRUE(s->EventLabel().ends_with(". Evento: ")) << s->EventLabel(); // the age shown again
}

TEST_F(SessionFixture, StepsAndJumpsTheEntry) {
    s->ChoosePerson(kAna);
    const TDateTime birth = s->EntryValue();
    struct Case {
        StepUnit unit;
        int count, direction;
        double days; // the change of the entry
    };
    TDateTime expected = birth;
    for (const Case &c : {Case{StepUnit::Day, 1, +1, 1.0}, Case{StepUnit::Hour, 3, -1, -3.0 / 24},
                          Case{StepUnit::Minute, 45, +1, 45.0 / 1440}, Case{StepUnit::Year, 2, +1, 731.0}}) {
        s->SetStepUnit(c.unit);
        s->SetStepCount(c.count);
        s->Step(c.direction);
        expected += c.days;
        EXPECT_NEAR(s->EntryValue(), expected, 1e-8) << StepUnitName(c.unit);
    }
    EXPECT_TRUE(s->NatalChanged());
    // A count above a unit's maximum is lowered to it.
    s->SetStepUnit(StepUnit::Minute);
    s->SetStepCount(45);
    s->SetStepUnit(StepUnit::Month);
    EXPECT_EQ(s->StepCount(), 12);

    s->SetSide(ChartSide::Event);
    s->Jump(JumpTarget::TodayAtMidnight);
    EXPECT_DOUBLE_EQ(s->EntryValue(), EncodeDate(2024, 10, 17));
    s->Jump(JumpTarget::Now); // read at the event's place, Medellín (UTC-5), the person's birth place
    EXPECT_NEAR(s->EntryValue(), EncodeDateTime({2024, 10, 17, 8, 30, 15, 250}), 1e-8);
    s->Jump(JumpTarget::Birth);
    EXPECT_DOUBLE_EQ(s->ws.eventRecord.localDateTime, s->ws.natalRecord.localDateTime);
}

// "Ahora" at Madrid on 17 October 2024, still summer time there: the zone history's UTC+2, where the
// place's stored zone says +1.
TEST_F(SessionFixture, NowIsTheWallClockOfTheEntrysPlace) {
    std::vector<zones::AtlasCity> cities(1);
    cities[0].name = "Madrid";
    cities[0].countryCode = "ES";
    cities[0].countryName = "España";
    cities[0].latitude = 40.4165;
    cities[0].longitudeWest = 3.70256;
    cities[0].zoneId = "Europe/Madrid";
    const zones::Atlas atlas = zones::Atlas::FromCities(std::move(cities));
    const std::int32_t madrid = 8;
    s->ChoosePerson(kAna);
    s->SetSide(ChartSide::Event);
    s->SetPlace(madrid);
    ASSERT_EQ(s->Entry().placeId, madrid);
    s->Jump(JumpTarget::Now);
    EXPECT_NEAR(s->EntryValue(), EncodeDateTime({2024, 10, 17, 14, 30, 15, 250}), 1e-8); // stored zone
    s->SetZoneSources(&atlas, nullptr);
    s->Jump(JumpTarget::Now); // the zone offer taken at once: the instant kept as Greenwich time
    EXPECT_EQ(s->Entry().gmtFlag, 1);
    EXPECT_NEAR(s->ws.eventRecord.gmtDateTime, EncodeDateTime({2024, 10, 17, 13, 30, 15, 250}), 1e-8);
    s->Jump(JumpTarget::TodayAtMidnight); // under "GMT: sí", Greenwich midnight
    EXPECT_NEAR(s->ws.eventRecord.gmtDateTime, EncodeDate(2024, 10, 17), 1e-8);
    s->SetGmtEntry(false);
    s->Jump(JumpTarget::TodayAtMidnight); // midnight on Madrid's wall clock, UTC+2
    EXPECT_EQ(s->Entry().gmtFlag, 1);
    EXPECT_NEAR(s->ws.eventRecord.gmtDateTime, EncodeDateTime({2024, 10, 16, 22, 0, 0, 0}), 1e-8);
}

TEST_F(SessionFixture, TypedFieldsCarryIntoTheDate) {
    s->ChoosePerson(kAna); // 1978-03-15 09:35
    const TDateTime birth = s->EntryValue();
    s->SetTimeField(TimeField::Minute, -1); // borrows from the hour
    EXPECT_EQ(TimeFieldsOf(s->EntryValue()).minute, 59);
    EXPECT_NEAR(s->EntryValue(), birth - 36.0 / 1440, 1e-8);
    s->SetHour12(11, true); // 11 pm
    EXPECT_EQ(TimeFieldsOf(s->EntryValue()).hour, 23);
    s->SetHour12(12, true); // stepped past 11 pm: 0 h of the next day
    EXPECT_EQ(TimeFieldsOf(s->EntryValue()).hour, 0);
    EXPECT_EQ(DayNumberOf(s->EntryValue()), DayNumberOf(birth) + 1);
    s->SetDate(2000, 2, 29);
    EXPECT_EQ(DayNumberOf(s->EntryValue()), DaysFromCivil(2000, 2, 29));
    EXPECT_EQ(TimeFieldsOf(s->EntryValue()).minute, 59);
}

TEST_F(SessionFixture, SavesNatalChangesAndKeepsThemWhenTheFileRefuses) {
    s->ChoosePerson(kAna);
    const TDateTime birth = Person(s->ws.db, kAna).Fecha;
    s->Step(+1);
    ASSERT_TRUE(s->NatalChanged());

    ChangeFileOnDisk();
    s->SaveNatal();
    EXPECT_EQ(notifier.shown.back().kind, NoticeKind::Error);
    EXPECT_TRUE(s->NatalChanged()); // kept, to try again
    EXPECT_DOUBLE_EQ(Person(s->ws.db, kAna).Fecha, birth);

    // Read again, the entry changed once more and saved.
    ASSERT_TRUE(s->OpenFile(dataFile));
    s->ChoosePerson(kAna);
    s->Step(+1);
    s->SaveNatal();
    EXPECT_FALSE(s->NatalChanged());
    EXPECT_NEAR(Person(Saved(), kAna).Fecha, birth + 1, 1e-8);

    // Leaving unsaved changes asks first; "No" drops them.
    s->Step(+1);
    notifier.choices.push_back(Answer::No);
    EXPECT_TRUE(s->MayLeaveFile());
    EXPECT_FALSE(s->NatalChanged());
    EXPECT_NEAR(Person(Saved(), kAna).Fecha, birth + 1, 1e-8);
}

TEST_F(SessionFixture, SavingABirthOfUnknownTimeKeepsItUnknownUntilATimeIsSet) {
    s->ChoosePerson(kEsteban); // a date without a time, opened at 0:00
    ASSERT_EQ(Person(s->ws.db, kEsteban).IsHora, 0);
    const TDateTime date = s->EntryValue();
    s->Step(+1); // the date corrected by one day
    s->SaveNatal();
    EXPECT_EQ(Person(Saved(), kEsteban).IsHora, 0);
    EXPECT_NEAR(Person(Saved(), kEsteban).Fecha, date + 1, 1e-8);

    s->SetTimeField(TimeField::Hour, 14); // now the time is known
    s->SaveNatal();
    EXPECT_EQ(Person(Saved(), kEsteban).IsHora, 1);
    EXPECT_EQ(TimeFieldsOf(Person(Saved(), kEsteban).Fecha).hour, 14);
}

TEST_F(SessionFixture, DeletingAPersonRenumbersTheOthers) {
    s->ChoosePerson(kJulian);
    const std::size_t persons = s->ws.db.Persons.size();
    notifier.choices.push_back(Answer::No);
    s->DeletePerson(kAna);
    EXPECT_TRUE(notifier.shown.back().style.noByDefault);
    EXPECT_EQ(s->ws.db.Persons.size(), persons);

    notifier.choices.push_back(Answer::Yes);
    s->DeletePerson(kAna);
    const database::Database saved = Saved();
    ASSERT_EQ(saved.Persons.size(), persons - 1);
    for (std::size_t i = 0; i < saved.Persons.size(); ++i)
        EXPECT_EQ(saved.Persons[i]->Id, static_cast<std::int32_t>(i + 1));
    EXPECT_EQ(Person(saved, 1).Nombre, "Julián Andrés"); // the next person took the first number
    EXPECT_EQ(s->CurrentPerson(), -1);
    EXPECT_EQ(s->Person(PersonSlot::A), -1);
}

TEST_F(SessionFixture, EventsAreAddedOverwrittenAndDeleted) {
    s->ChoosePerson(kRosa);
    const std::size_t events = s->Events()->size();
    ASSERT_GE(events, 1u);
    s->SetSide(ChartSide::Event);
    s->Jump(JumpTarget::TodayAtMidnight);

    notifier.inputs.push_back(std::string("Viaje a Lima"));
    s->NewEvent();
    ASSERT_EQ(Person(Saved(), kRosa).Eventos.size(), events + 1);
    const int row = s->SelectedEvent();
    ASSERT_GE(row, 0);
    const database::TEvento &added = (*s->Events())[static_cast<std::size_t>(row)];
    EXPECT_EQ(added.Nombre, "Viaje a Lima");
    EXPECT_EQ(added.Id, static_cast<std::int32_t>(events + 1));
    EXPECT_DOUBLE_EQ(added.Fecha, EncodeDate(2024, 10, 17));

    s->Step(+1);
    notifier.answers.push_back(true);
    notifier.inputs.push_back(std::nullopt); // the name stays
    s->OverwriteEvent(row);
    bool moved = false;
    const database::Database saved = Saved(); // kept alive for the loop over its events
    for (const database::TEvento &e : Person(saved, kRosa).Eventos)
        moved |= e.Nombre == "Viaje a Lima" && std::abs(e.Fecha - (EncodeDate(2024, 10, 17) + 1)) < 1e-9;
    EXPECT_TRUE(moved);

    // A refused save puts the events back as the file holds them.
    ChangeFileOnDisk();
    notifier.choices.push_back(Answer::Yes);
    s->DeleteEvent(s->SelectedEvent());
    EXPECT_EQ(s->Events()->size(), events + 1);
    ASSERT_TRUE(s->OpenFile(dataFile));
    s->ChoosePerson(kRosa);
    notifier.choices.push_back(Answer::Yes);
    s->DeleteEvent(0);
    EXPECT_EQ(Person(Saved(), kRosa).Eventos.size(), events);

    // Choosing an event makes it the event chart.
    s->ChooseEvent(0);
    EXPECT_EQ(s->Side(), ChartSide::Event);
    EXPECT_DOUBLE_EQ(Workspace::EnteredValue(s->ws.eventRecord), (*s->Events())[0].Fecha);
}

// Every operation ends in exactly one view refresh (a recomputation refreshes once too) and one
// notification; an operation that changes no chart and no choice computes nothing.
TEST_F(SessionFixture, EachOperationComputesAndNotifiesOnce) {
    s->ChoosePerson(kAna);
    s->ChooseSlot(PersonSlot::B);
    s->ChoosePerson(kJulian);
    s->ChooseSlot(PersonSlot::A);
    struct Case {
        const char *name;
        std::function<void()> run;
        int recomputes, refreshes;
    };
    const Case cases[] = {
        {"choose person", [&] { s->ChoosePerson(kAna); }, 1, 1},
        {"step", [&] { s->Step(+1); }, 1, 1},
        {"typed minute", [&] { s->SetTimeField(TimeField::Minute, 61); }, 1, 1},
        {"jump", [&] { s->Jump(JumpTarget::Now); }, 1, 1},
        {"undo natal", [&] { s->UndoNatal(); }, 1, 1},
        {"event side", [&] { s->SetSide(ChartSide::Event); }, 1, 1},
        {"family", [&] { s->SetFamily(settings::kPointCusp, true); }, 0, 1},
        {"all angles", [&] { s->SetAllAngles(true); }, 0, 1},
        {"by house", [&] { s->SetAspectMode(settings::AspectMode::ByHouse); }, 0, 1},
        {"cusp", [&] { s->SetCusp(4, true); }, 0, 1},
        {"double wheel", [&] { s->SetWheelMode(settings::kDoubleWheel); }, 0, 1},
        {"swap items", [&] { s->SwapItems(); }, 0, 1},
        {"orb preset", [&] { s->SetOrbPreset(3, 2.5f); }, 1, 1},
        {"synastry", [&] { s->SetSynastry(true); }, 1, 1},
        {"synastry off", [&] { s->SetSynastry(false); }, 1, 1},
        {"person filter", [&] { s->SetFilter({}); }, 0, 0},
        {"step unit", [&] { s->SetStepUnit(StepUnit::Hour); }, 0, 0},
    };
    for (const Case &c : cases) {
        const auto recomputes = s->ws.counters.recomputes, refreshes = s->ws.counters.refreshes;
        notifications = 0;
        c.run();
        EXPECT_EQ(s->ws.counters.recomputes - recomputes, static_cast<std::uint64_t>(c.recomputes)) << c.name;
        EXPECT_EQ(s->ws.counters.refreshes - refreshes, static_cast<std::uint64_t>(c.refreshes)) << c.name;
        EXPECT_EQ(notifications, 1) << c.name;
    }
    // Before the start nothing is computed, whatever the operations.
    Session idle(notifier);
    idle.ws.settings.InstallFirstRunValues();
    idle.Step(+1);
    idle.SetFamily(settings::kCuspCusp, true);
    EXPECT_EQ(idle.ws.counters.refreshes, 0u);
}

} // namespace
} // namespace cel::session
