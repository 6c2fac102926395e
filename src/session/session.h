// The chart program's state and operations, without the windows: the data file and its one store,
// the current person, persons A and B and synastry, the chart side being edited and whether the natal
// data were changed, the person filter and the events, the stepping panel, the view choices, and the
// operations on them. Each operation ends in at most one recomputation or view refresh, decided here,
// and then one change notification that says what to show again. Plain C++, no Qt.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/notifier.h"
#include "session/atlas_place.h"
#include "session/data_store.h"
#include "session/date_entry.h"
#include "session/person_filter.h"
#include "session/workspace.h"
#include "session/zone_offer.h"

namespace cel::session {

// Person A or person B of the pair ("A", "B").
enum class PersonSlot { A, B };

// The jumps of the stepping panel: "Hoy a las cero horas", "Ahora", "Nacimiento".
enum class JumpTarget { TodayAtMidnight, Now, Birth };

// One field of the time entry.
enum class TimeField { Hour, Minute, Second, Millisecond };

// What an operation changed; the window shows those parts again.
enum Change : unsigned {
    kFileChanged = 1u << 0,    // another file, or the file read again: title, groups, countries
    kPersonsChanged = 1u << 1, // the person list: filter, marks, persons A and B, the persons themselves
    kEventsChanged = 1u << 2,  // the current person's events
    kEntryChanged = 1u << 3,   // chart side, records, date-time and place fields, "natal changed", A/B
    kListsChanged = 1u << 4,   // groups, countries and places
    kChoicesChanged = 1u << 5, // the view choices (aspect selection, orbs, wheel options)
    kChartsChanged = 1u << 6,  // recomputed: progression set, aspect lists, view
    kViewChanged = 1u << 7,    // refreshed: aspect lists and view
    kLabelsChanged = 1u << 8,  // the date lines of the header ("GMT", "edad")
    kAllChanged = (1u << 9) - 1,
};
using Changes = unsigned;

// An entry of a list of names in Spanish order: countries, places, groups.
struct NamedId {
    std::int32_t id = -1;
    std::string name;
};

// The colours of the persons A and B in the person list, as stored colour values (0xBBGGRR).
inline constexpr std::uint32_t kPersonAColour = 14283263;
inline constexpr std::uint32_t kPersonBColour = 14417870;

// The choices a first look starts with: the major aspects between all the points on a single wheel
// of "Natal Eclíptica" (outer "Evento Eclíptica"), point-to-point aspects, every "Por casas" source.
settings::RecVistaCarta FirstLookChoices();

class Session {
public:
    // Without a shared-use table until OpenGuard; format is the locale's text choices.
    explicit Session(Notifier &notifier, TextFormat format = {});
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    Workspace ws;

    // Called once at the end of every operation with what it changed.
    std::function<void(Changes)> onChanged;
    // The computer's clock as a universal date-time: "Ahora" and "Hoy" read it at the entry's place,
    // the first look without a person as Greenwich time (tests pin it).
    std::function<TDateTime()> clock;

    // Where the zones of places come from: the world atlas and the user's zone choices. Without them
    // (the command line, tests) "Ahora" reads the place's stored zone.
    void SetZoneSources(const zones::Atlas *atlas, const zones::PlaceZoneChoices *choices) {
        atlas_ = atlas;
        zoneChoices_ = choices;
    }

    // ---- Settings and the shared-use table.
    // Loads the settings file; the error text when it could not be read (the first-run settings stay).
    std::string LoadSettings(const std::string &iniPath, const std::string &defaultFolder);
    // Opens the shared-use table (the family's when name is empty); false after its notice when it
    // cannot be opened (files are then opened without registration).
    bool OpenGuard(const std::string &name);

    // ---- The data file.
    DataStore &Store() { return *store_; }
    bool HasOpenFile() const;
    const std::string &FilePath() const;
    // Opens a data file as the current one: registered, read, no person current; recomputes once
    // started. False after its notice when the file cannot be opened.
    bool OpenFile(const std::string &path);
    // Writes an empty data file at path and opens it; false after its notice.
    bool CreateFile(const std::string &path);
    // Reads the current (or the settings') file again, as after the manager closes.
    void ReloadFile();
    // Whether a data file is there to store persons and places in.
    bool HasDataFile() const;
    // The read-only notice of the open file (the user may not write it, or another program has it).
    void ReadOnlyCheck();
    // Whether a change may be saved now; false after its notice (see DataStore::ReadOnly).
    bool Writable();
    // Releases the file (the program ends).
    void CloseFile();

    // ---- Start: the first recomputation once the window is shown.
    void Start();
    bool Started() const { return started_; }

    // ---- Persons.
    std::int32_t CurrentPerson() const { return currentPerson_; }
    std::int32_t Person(PersonSlot slot) const { return slot == PersonSlot::A ? personA_ : personB_; }
    PersonSlot Slot() const { return slot_; }
    bool Synastry() const { return synastry_; }
    bool NatalChanged() const { return natalChanged_; }
    const PersonFilter &Filter() const { return filter_; }
    PersonList ListedPersons() const;
    const database::TPersona *FindPerson(std::int32_t id) const;
    // The groups and the countries in Spanish order, the places of a country in that order.
    std::vector<NamedId> Groups() const;
    std::vector<NamedId> Countries() const;
    std::vector<NamedId> Places(std::int32_t countryId) const;

    // Whether a chart may be computed from the person's birth; says why not (no date, impossible
    // values) and warns when the birth has no time.
    bool MayChartPerson(std::int32_t personId);
    // The person chosen in the list (Enter, double click): asks about unsaved natal data, makes the
    // person the one of the chosen slot and the current one, and shows the natal chart.
    void ChoosePerson(std::int32_t personId);
    // Loads a person into a chart side (the natal side makes the person the current one).
    PersonLoad LoadPerson(ChartSide side, std::int32_t personId);
    // "... como persona A/B": the person goes into the slot, which becomes the chosen one; in
    // synastry both charts are made again.
    void PutPersonInSlot(PersonSlot slot, std::int32_t personId);
    // The slot chosen with "A"/"B": its person becomes the current one.
    void ChooseSlot(PersonSlot slot);
    // "Sinastría": person A's chart inside, person B's outside on a double wheel; refused with its
    // notice unless both persons have a birth.
    void SetSynastry(bool on);
    // Asks whether to save changed natal data and saves on "Sí"; mayCancel offers "Cancelar" (the
    // answer then keeps the user working, also when the save was refused).
    Answer AskUnsavedNatal(bool mayCancel = false);
    // False when the user keeps working on the current file: unsaved natal data was neither saved
    // nor discarded.
    bool MayLeaveFile();
    // "Guardar": the natal entry into the current person's record, saved; on a refused save the
    // record keeps what the file holds and the entry stays changed.
    void SaveNatal();
    // "Deshacer": the natal entry back to the current person's record.
    void UndoNatal();
    // Deletes the person after asking ("No" the default): persons renumbered, none current; a refused
    // save reads the file again.
    void DeletePerson(std::int32_t personId);
    // After the item editor stored a person or a place: lists again, the natal entry unchanged.
    void PersonsEdited();
    // "Seleccionados": the person's mark, and the marks of every listed person.
    void SetMark(std::int32_t personId, bool marked);
    void MarkListed(bool marked);
    void SetFilter(const PersonFilter &filter);

    // ---- Events of the current person.
    const std::vector<database::TEvento> *Events() const;
    // The event row the list shows chosen (-1 none); no notification, the list shows it already.
    int SelectedEvent() const { return selectedEvent_; }
    void SelectEvent(int index) { selectedEvent_ = index; }
    // The event becomes the event chart (refused with its notice when it has impossible values).
    void ChooseEvent(int index);
    // "Nuevo evento": asks its name and stores the event entry as a new event of the current person.
    void NewEvent();
    // "Guardar cambios en evento", "Eliminar evento": after asking.
    void OverwriteEvent(int index);
    void DeleteEvent(int index);

    // ---- Date, time and place entry of the chart side being edited.
    ChartSide Side() const { return side_; }
    void SetSide(ChartSide side);
    const chart::TDato &Entry() const { return side_ == ChartSide::Natal ? ws.natalRecord : ws.eventRecord; }
    // The value the entry's fields show (local or Greenwich time as its flag says).
    TDateTime EntryValue() const { return Workspace::EnteredValue(Entry()); }
    // The country whose places are listed: the entry's place's country, or the one chosen last.
    std::int32_t EntryCountry() const;
    // A date typed (the entry keeps its time of day).
    void SetDate(int year, int month, int day);
    // A time field typed, possibly out of range (carried into the others and the date); the hour in
    // 24-hour form, or as the 12-hour field shows it (see HourAfterEdit).
    void SetTimeField(TimeField field, int value);
    void SetHour12(int field, bool pm);
    // "GMT:" and "Delta T:" of the entry.
    void SetGmtEntry(bool gmt);
    void SetDeltaT(bool on);
    // A place chosen: a place with impossible values is refused with its notice and the entry keeps
    // its place.
    void SetPlace(std::int32_t placeId);
    // A country chosen in the list: no place, its places listed.
    void ChooseCountry(std::int32_t countryId);
    // The hour field in 12-hour form with am/pm ("12 h"), or in 24-hour form.
    bool TwelveHour() const { return twelveHour_; }
    void SetTwelveHour(bool on);
    StepUnit StepUnitChosen() const { return stepUnit_; }
    int StepCount() const { return stepCount_; }
    void SetStepUnit(StepUnit unit); // a count above the unit's maximum is lowered to it
    void SetStepCount(int count);
    // The entry stepped by the count of units, forwards (+1) or backwards (-1); not in synastry.
    void Step(int direction);
    // "Ahora" and "Hoy a las cero horas" read the clock as the wall clock at the entry's place, from
    // its zone history (Greenwich time under "GMT:").
    void Jump(JumpTarget target);
    // The zone history's offer for the entry's local time at its place (nothing for an entry in
    // Greenwich time or without zone sources), and the offer applied: the entry keeps that instant as
    // Greenwich time.
    std::optional<ZoneOffer> EntryZoneOffer() const;
    void ApplyZoneOffer(TDateTime universal);
    // What typing a place's name lists: the places of the entry's country whose names match, then the
    // atlas's cities (see SearchPlaces in session/atlas_place.h).
    std::vector<AtlasMatch> SearchPlaces(std::string_view typed) const;
    // An atlas city chosen in that list: the data file's place that is the city becomes the entry's
    // place at once; a city the file does not have is added as a place (with its country, when the
    // file has none) once the user confirms its name, coordinates and zone, saved, and chosen. A
    // refused or failed save leaves the records and the entry as they were.
    void ChooseAtlasCity(const zones::AtlasCity &city);
    // After a place was added or edited (it becomes the entry's place), or places were imported.
    void PlaceStored(std::int32_t placeId);
    void PlacesImported();
    // A listing's instant (universal time) becomes the event chart and shows on the wheel: when
    // neither ring shows the listing's chart item, a double wheel with natal inside and the item
    // outside.
    void ShowEventAt(TDateTime universal, int item);
    // The solar return window made its instant the event chart.
    void SolarReturnApplied();

    // ---- Header and information texts.
    // "Nombre Apellidos  " of the natal chart, or "<>: " without a person.
    std::string NatalLabel() const;
    // "Evento: ", with the age in front when "edad" is on; person B's name in synastry.
    std::string EventLabel() const;
    // A record's date line: local with its zone, or Greenwich time when "GMT" is on.
    std::string DateLine(const chart::TDato &record) const;
    // The natal date line, marked when the birth's time is not known.
    std::string NatalDateLine() const;
    // The entry's place with its coordinates and local time, and its Greenwich time (the information
    // lines under the fields), and its Delta T in seconds.
    std::string PlaceText() const;
    std::string GmtText() const;
    std::string DeltaTText() const;
    // The caption of an orb preset (1..8).
    std::string OrbText(int mode) const;
    // An event's line in the event list.
    std::string EventListText(const database::TEvento &event) const;
    bool ShowGmt() const { return showGmt_; }
    void SetShowGmt(bool on);
    void SetShowAge(bool on);

    // ---- View choices.
    const settings::RecVistaCarta &Choices() const { return ws.choices; }
    int OrbMode() const { return ws.orbMode; }
    void SetAspectMode(settings::AspectMode mode);
    void SetFamily(settings::AspectFamily family, bool on);
    void SetSource(settings::AutoSource source, bool on);
    void SetPoint(int point, bool on);
    // A cusp ticked under "Por casas" unticks every other one: one house is chosen at a time.
    void SetCusp(int house, bool on);
    void SetAngle(int kind, bool on);
    void SetAllPoints(bool on);
    void SetAllCusps(bool on);
    void SetAllAngles(bool on);
    void SelectMainAngles();
    void SetStrength(int percent);
    void SetGlyph(bool on);
    void SetComputeDispositors(bool on);
    void SetDispositorFilter(bool on);
    // Whether "disp." applies: a single wheel showing "Natal Eclíptica".
    bool DispositorFilterApplies() const;
    void SetOrbMode(int mode);
    // After an orb preset was edited: its new value, then one recomputation.
    void SetOrbPreset(int mode, float orb);
    // After the orb matrix dialog closed: the cusp tolerances reach the charts; accepted recomputes.
    void OrbMatrixEdited(bool accepted);
    void SetWheelMode(settings::WheelMode mode);
    // The inner item: a single natal wheel shows its own model's orbs.
    void SetInnerItem(int item);
    void SetOuterItem(int item);
    void SwapItems();
    bool InnerHousesTicked() const { return innerHousesTick_; }
    bool InnerWheelTicked() const { return innerWheelTick_; }
    void SetInnerHouses(bool on);    // "1 Casas"
    void SetInnerWheelOnly(bool on); // "1 Rueda"
    void SetEqualiseBySigns(bool on);
    void SetColour(bool on);
    // "Imagen y letra grande" for the wheel page or the table pages.
    void SetLargeImages(bool wheelPage, bool on);
    // Something else changed the choices or the settings the view reads: one refresh.
    void Refresh();
    // The settings the charts read changed: one recomputation.
    void Recompute();

private:
    enum class Compute { None, Refresh, Recompute };
    // Every operation holds one while it runs; operations called inside others add to the outer one,
    // and when the outermost ends its computation runs once (only once started) and one notification
    // says what changed.
    class Operation {
    public:
        explicit Operation(Session &session);
        ~Operation();
        Operation(const Operation &) = delete;
        Operation &operator=(const Operation &) = delete;

    private:
        Session &session_;
    };
    struct Pending {
        Changes changes = 0;
        Compute compute = Compute::None;
        int depth = 0;
    };
    void Mark(Changes changes, Compute compute);
    void Flush();
    void ChoiceChanged();
    void MakeStore();
    void FileReloaded();
    bool OpenFileQuietly(const std::string &path);
    // The natal entry from the current person's birth, or the clock's now without a person.
    void LoadCurrentPerson();
    bool DeltaTChosen() const { return Entry().deltaTFlag == 1; }
    // The entry's fields typed: refused with its notice when the place has impossible values.
    void Enter(TDateTime value, std::int32_t placeId, bool gmt, bool deltaT);
    // The entry's date-time changed to value: its chart, and "natal changed" on the natal side.
    void EntryMoved(TDateTime value);
    // The entry's value with one time field replaced, carried.
    TDateTime WithTimeField(TimeField field, int value) const;
    bool SaveFile(const std::string &unsaved = {});
    void RevertToFile();
    database::TPersona *FindPersonRecord(std::int32_t id);
    void RestoreEvents(const std::vector<database::TEvento> &events);
    bool SynastryCharts();

    Notifier &notifier_;
    const zones::Atlas *atlas_ = nullptr;
    const zones::PlaceZoneChoices *zoneChoices_ = nullptr;
    std::unique_ptr<database::SharedUseGuard> guard_;
    std::unique_ptr<database::DataFileSession> file_;
    std::unique_ptr<DataStore> store_;
    bool started_ = false;
    Pending pending_;

    std::int32_t currentPerson_ = -1, personA_ = -1, personB_ = -1;
    PersonSlot slot_ = PersonSlot::A;
    bool synastry_ = false;
    bool natalChanged_ = false;
    PersonFilter filter_;
    int selectedEvent_ = -1;

    ChartSide side_ = ChartSide::Natal;
    std::int32_t chosenCountry_ = -1;
    StepUnit stepUnit_ = StepUnit::Day;
    int stepCount_ = 1;
    bool showGmt_ = false;
    bool twelveHour_ = true;
    // The manual ticks kept while "Por casas" is on.
    std::array<bool, settings::kSelectionSize> manualCusps_{}, manualPoints_{};
    bool innerHousesTick_ = false, innerWheelTick_ = false;
};

} // namespace cel::session
