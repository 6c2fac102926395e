// The chart program's session: the data file, the start, the date and place entry, the header texts
// and the view choices. Persons and events are in session_persons.cpp.
#include "session/session.h"

#include <algorithm>
#include <ctime>
#include <filesystem>

#include "analysis/aspects.h"
#include "astronomy/angle_text.h"
#include "astronomy/time_scales.h"
#include "common/date_text.h"
#include "common/number_text.h"
#include "database/coordinate_text.h"
#include "database/data_file.h"
#include "database/record_checks.h"
#include "database/spanish_order.h"
#include "session/birth_time.h"
#include "session/event_place.h"

namespace cel::session {

namespace {

TDateTime UniversalNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return EncodeDateTime({utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min,
                           utc.tm_sec, static_cast<int>(ms)});
}

std::vector<NamedId> SortedByName(std::vector<NamedId> list) {
    std::stable_sort(list.begin(), list.end(), [](const NamedId &a, const NamedId &b) {
        return database::SpanishLess(a.name, b.name);
    });
    return list;
}

} // namespace

settings::RecVistaCarta FirstLookChoices() {
    settings::RecVistaCarta c;
    c.innerItem = chart::kNatalEcliptic;
    c.outerItem = chart::kEventEcliptic;
    // A first look shows the major aspects between all the points, not an empty wheel.
    for (std::size_t k = 1; k < settings::kAngleSelectionSize; ++k)
        c.angleSelection[k] = analysis::kAspectKinds[k].main;
    c.pointSelection.fill(true);
    c.pointSelection[0] = false;
    c.aspectFamilies[settings::kPointPoint] = true;
    c.autoSources.fill(true);
    return c;
}

Session::Operation::Operation(Session &session) : session_(session) {
    ++session_.pending_.depth;
}

Session::Operation::~Operation() {
    if (--session_.pending_.depth == 0)
        session_.Flush();
}

Session::Session(Notifier &notifier, TextFormat format) : clock(UniversalNow), notifier_(notifier) {
    ws.format = format;
    ws.choices = FirstLookChoices();
    manualPoints_ = ws.choices.pointSelection;
    MakeStore();
    LoadCurrentPerson();
    pending_ = {};
}

Session::~Session() = default;

void Session::MakeStore() {
    const database::GuardOwner owner = database::GuardOwner::Current();
    store_.reset();
    file_ = std::make_unique<database::DataFileSession>(guard_.get(), owner);
    // The item editor, the manager and this session open, check and save the file through this store.
    store_ = std::make_unique<DataStore>(ws.db, notifier_, ws.format, file_.get(), guard_.get(), owner,
                                         "Celestigrafo");
    store_->reloaded = [this] { FileReloaded(); };
}

std::string Session::LoadSettings(const std::string &iniPath, const std::string &defaultFolder) {
    Operation op(*this);
    const settings::Settings::LoadResult loaded = ws.settings.Load(iniPath, ws.format, defaultFolder);
    ws.ApplySettings();
    LoadCurrentPerson(); // the charts with the settings' options
    Mark(kAllChanged, Compute::Recompute);
    return loaded.error;
}

bool Session::OpenGuard(const std::string &name) {
    try {
        guard_ = name.empty() ? std::make_unique<database::SharedUseGuard>()
                              : std::make_unique<database::SharedUseGuard>(name);
    } catch (const std::exception &e) {
        notifier_.Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
    MakeStore();
    return true;
}

// ---- Computing and notifying.

void Session::Mark(Changes changes, Compute compute) {
    pending_.changes |= changes;
    pending_.compute = std::max(pending_.compute, compute);
}

void Session::Flush() {
    Changes changes = pending_.changes;
    const Compute compute = pending_.compute;
    pending_ = {};
    if (started_ && compute != Compute::None) {
        settings::RecVistaCarta &c = ws.choices;
        const bool doubleWheel = c.wheelMode == settings::kDoubleWheel;
        c.innerWheelOnly = doubleWheel && innerWheelTick_;
        c.projectInnerHouses = doubleWheel && innerHousesTick_ && !innerWheelTick_;
        c.noProjectedHouses = !c.projectInnerHouses;
        if (compute == Compute::Recompute) {
            ws.Recompute();
            changes |= kChartsChanged | kViewChanged | kLabelsChanged;
        } else {
            ws.RefreshView();
            changes |= kViewChanged;
        }
        if (c.aspectMode == settings::AspectMode::ByHouse) {
            // "Por casas": the refresh chose the points of the house; they are the points ticked now.
            for (std::size_t n = 1; n < settings::kSelectionSize; ++n)
                c.pointSelection[n] = ws.view.pointSelection[n];
            changes |= kChoicesChanged;
        }
    }
    // A place shown keeps its country chosen when the entry has no place afterwards.
    if (const int index = database::IndexOfId(ws.db.Places, Entry().placeId); index >= 0)
        chosenCountry_ = ws.db.Places[static_cast<std::size_t>(index)]->IdPais;
    if (changes != 0 && onChanged)
        onChanged(changes);
}

void Session::Start() {
    Operation op(*this);
    if (started_)
        return;
    started_ = true;
    Mark(kAllChanged, Compute::Recompute);
    ReadOnlyCheck();
}

void Session::Refresh() {
    Operation op(*this);
    Mark(kChoicesChanged, Compute::Refresh);
}

void Session::Recompute() {
    Operation op(*this);
    Mark(0, Compute::Recompute);
}

// ---- The data file.

bool Session::HasOpenFile() const {
    return file_->IsOpen();
}

const std::string &Session::FilePath() const {
    return file_->Path();
}

bool Session::OpenFileQuietly(const std::string &path) {
    try {
        if (!file_->Open(path, ws.db, notifier_, ws.format))
            return false;
    } catch (const std::exception &e) {
        notifier_.Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
    if (const auto problems = database::CheckRecords(ws.db); !problems.empty())
        notifier_.Notice(NoticeKind::Warning, false, true, database::InvalidRecordsText(path, problems));
    return true;
}

bool Session::OpenFile(const std::string &path) {
    Operation op(*this);
    if (!OpenFileQuietly(path))
        return false;
    ws.settings.data.file = path;
    currentPerson_ = personA_ = personB_ = -1;
    natalChanged_ = false; // the natal entry belonged to the file that was left
    selectedEvent_ = -1;
    LoadCurrentPerson();
    Mark(kAllChanged, Compute::Recompute);
    if (started_)
        ReadOnlyCheck();
    return true;
}

bool Session::CreateFile(const std::string &path) {
    database::Database empty;
    try {
        database::SaveDataFile(path, empty, ws.format);
    } catch (const std::exception &e) {
        notifier_.Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
    return OpenFile(path);
}

bool Session::HasDataFile() const {
    std::error_code ec;
    return std::filesystem::is_regular_file(ws.settings.data.file, ec);
}

void Session::ReloadFile() {
    Operation op(*this);
    const std::string path = ws.db.Path.empty() ? ws.settings.data.file : ws.db.Path;
    std::error_code ec;
    if (!path.empty() && std::filesystem::is_regular_file(path, ec))
        OpenFile(path);
    LoadCurrentPerson();
    Mark(kAllChanged, Compute::Recompute);
}

void Session::FileReloaded() {
    Operation op(*this);
    currentPerson_ = personA_ = personB_ = -1;
    selectedEvent_ = -1;
    LoadCurrentPerson();
    Mark(kAllChanged, Compute::Recompute);
}

void Session::ReadOnlyCheck() {
    if (!file_->IsOpen())
        return;
    if (file_->GetAccess() == database::DataFileSession::Access::NotWritable)
        store_->ReadOnly(); // its notice: the user may not write the file
    else if (guard_)
        guard_->ReadOnlyCheck(database::GuardOwner::Current(), file_->Path(), notifier_, "Celestigrafo");
}

bool Session::Writable() {
    // The store's check: a file the user may not write, or another program's, is refused with its
    // notice; when the other program has ended the file is read again and the user repeats the change.
    return file_->IsOpen() && !store_->ReadOnly();
}

bool Session::SaveFile(const std::string &unsaved) {
    (void)unsaved;
    return store_->SaveInPlace();
}

void Session::RevertToFile() {
    const std::string path = file_->Path();
    if (!path.empty() && store_->Open(path))
        FileReloaded();
}

void Session::CloseFile() {
    file_->Close();
}

std::vector<NamedId> Session::Groups() const {
    std::vector<NamedId> list;
    for (const auto &g : ws.db.PersonGroups)
        list.push_back({g->Id, g->Nombre});
    return SortedByName(std::move(list));
}

std::vector<NamedId> Session::Countries() const {
    std::vector<NamedId> list;
    for (const auto &c : ws.db.Countries)
        list.push_back({c->Id, c->Nombre});
    return SortedByName(std::move(list));
}

std::vector<NamedId> Session::Places(std::int32_t countryId) const {
    std::vector<NamedId> list;
    for (const auto &p : ws.db.Places)
        if (countryId >= 0 && p->IdPais == countryId)
            list.push_back({p->Id, p->Nombre});
    return SortedByName(std::move(list));
}

// ---- Date, time and place entry.

std::int32_t Session::EntryCountry() const {
    if (const int index = database::IndexOfId(ws.db.Places, Entry().placeId); index >= 0)
        return ws.db.Places[static_cast<std::size_t>(index)]->IdPais;
    return chosenCountry_;
}

void Session::SetSide(ChartSide side) {
    Operation op(*this);
    side_ = side;
    Mark(kEntryChanged, Compute::Recompute);
}

void Session::EntryMoved(TDateTime value) {
    ws.ComputeChart(side_, value);
    if (side_ == ChartSide::Natal)
        natalChanged_ = true;
    Mark(kEntryChanged, Compute::Recompute);
}

void Session::Enter(TDateTime value, std::int32_t placeId, bool gmt, bool deltaT) {
    Operation op(*this);
    chart::TDato &record = ws.Record(side_);
    // A place with impossible values is refused and the entry keeps its place.
    if (const int index = database::IndexOfId(ws.db.Places, placeId); index >= 0) {
        const database::TLugar_Geo &place = *ws.db.Places[static_cast<std::size_t>(index)];
        if (const auto problems = database::PlaceProblems(place); !problems.empty()) {
            notifier_.Notice(NoticeKind::Error, false, true,
                             database::RefusedChartText("Lugar \"" + place.Nombre + "\"", problems));
            Mark(kEntryChanged, Compute::None);
            return;
        }
    }
    record.placeId = placeId;
    record.gmtFlag = gmt ? 1 : 0;
    record.deltaTFlag = deltaT ? 1 : 0;
    EntryMoved(value);
}

TDateTime Session::WithTimeField(TimeField field, int value) const {
    const TDateTime entered = EntryValue();
    TimeFields fields = TimeFieldsOf(entered);
    switch (field) {
    case TimeField::Hour:
        fields.hour = value;
        break;
    case TimeField::Minute:
        fields.minute = value;
        break;
    case TimeField::Second:
        fields.second = value;
        break;
    case TimeField::Millisecond:
        fields.millisecond = value;
        break;
    }
    const CarriedTime carried = CarryTimeFields(fields);
    return ComposeDateTime(DayNumberOf(entered) + carried.days, carried.Hours());
}

void Session::SetDate(int year, int month, int day) {
    const TimeFields t = TimeFieldsOf(EntryValue());
    const double hours = t.hour + t.minute / 60.0 + t.second / 3600.0 + t.millisecond / 3600000.0;
    const chart::TDato &r = Entry();
    Enter(ComposeDateTime(DaysFromCivil(year, month, day), hours), r.placeId, r.gmtFlag == 1,
          r.deltaTFlag == 1);
}

void Session::SetTimeField(TimeField field, int value) {
    const chart::TDato &r = Entry();
    Enter(WithTimeField(field, value), r.placeId, r.gmtFlag == 1, r.deltaTFlag == 1);
}

void Session::SetHour12(int field, bool pm) {
    SetTimeField(TimeField::Hour, HourAfterEdit(TimeFieldsOf(EntryValue()).hour, field, pm));
}

void Session::SetGmtEntry(bool gmt) {
    const chart::TDato &r = Entry();
    Enter(EntryValue(), r.placeId, gmt, r.deltaTFlag == 1);
}

void Session::SetDeltaT(bool on) {
    const chart::TDato &r = Entry();
    Enter(EntryValue(), r.placeId, r.gmtFlag == 1, on);
}

void Session::SetPlace(std::int32_t placeId) {
    const chart::TDato &r = Entry();
    Enter(EntryValue(), placeId, r.gmtFlag == 1, r.deltaTFlag == 1);
}

void Session::ChooseCountry(std::int32_t countryId) {
    Operation op(*this);
    chosenCountry_ = countryId;
    const chart::TDato &r = Entry();
    Enter(EntryValue(), -1, r.gmtFlag == 1, r.deltaTFlag == 1);
    chosenCountry_ = countryId; // the entry has no place now: the country chosen stays
}

void Session::SetTwelveHour(bool on) {
    Operation op(*this);
    twelveHour_ = on;
    Mark(kEntryChanged, Compute::None);
}

void Session::SetStepUnit(StepUnit unit) {
    Operation op(*this);
    stepUnit_ = unit;
    stepCount_ = std::min(stepCount_, MaxStepCount(unit));
    Mark(kEntryChanged, Compute::None);
}

void Session::SetStepCount(int count) {
    stepCount_ = std::clamp(count, 1, MaxStepCount(stepUnit_));
}

void Session::Step(int direction) {
    Operation op(*this);
    if (synastry_)
        return; // the dates of a synastry are the persons' births
    EntryMoved(StepDateTime(EntryValue(), stepUnit_, direction * stepCount_));
}

void Session::Jump(JumpTarget target) {
    Operation op(*this);
    TDateTime value = 0;
    if (target == JumpTarget::Birth) {
        value = Entry().gmtFlag == 1 ? ws.natalRecord.gmtDateTime : ws.natalRecord.localDateTime;
    } else {
        // The clock read at the entry's place as its wall clock shows it (or as Greenwich time under
        // "GMT:"), not in the computer's zone.
        const bool gmt = Entry().gmtFlag == 1;
        const TDateTime now = clock();
        value = gmt ? now : WallClockAt(ws.db, Entry().placeId, now, atlas_, zoneChoices_);
        if (target == JumpTarget::TodayAtMidnight) {
            const CivilDateTime today = DecodeDateTime(value);
            value = EncodeDate(today.year, today.month, today.day);
        }
        // Where the zone in force differs from the place's stored one, the entry keeps the instant as
        // Greenwich time, as applying the zone offer does: the chart is of this very moment.
        if (const std::optional<ZoneOffer> offer =
                gmt || !atlas_ ? std::nullopt
                               : OfferZoneForPlace(ws.db, Entry().placeId, value, *atlas_, zoneChoices_);
            offer && offer->differs) {
            ws.Record(side_).gmtFlag = 1;
            value = offer->universal;
        }
    }
    EntryMoved(value);
}

std::optional<ZoneOffer> Session::EntryZoneOffer() const {
    const chart::TDato &record = Entry();
    if (record.gmtFlag != 0 || !atlas_)
        return std::nullopt;
    return OfferZoneForPlace(ws.db, record.placeId, record.localDateTime, *atlas_, zoneChoices_);
}

void Session::ApplyZoneOffer(TDateTime universal) {
    Operation op(*this);
    ws.Record(side_).gmtFlag = 1;
    EntryMoved(universal);
}

void Session::PlaceStored(std::int32_t placeId) {
    Operation op(*this);
    Mark(kListsChanged, Compute::None);
    SetPlace(placeId);
}

std::vector<AtlasMatch> Session::SearchPlaces(std::string_view typed) const {
    static const zones::Atlas kNoAtlas;
    return session::SearchPlaces(ws.db, EntryCountry(), atlas_ ? *atlas_ : kNoAtlas, typed);
}

void Session::ChooseAtlasCity(const zones::AtlasCity &city) {
    Operation op(*this);
    database::Database &db = ws.db;
    if (const std::int32_t known = PlaceOfCityInFile(db, city); known >= 0) {
        SetPlace(known);
        return;
    }
    if (!HasDataFile())
        return;
    const AtlasPlace made = PlaceOfCity(db, city, clock());
    database::TLugar_Geo place = PlaceRecordOf(made);
    // The same coordinates and zone: the file has the city under another name.
    if (const int same = db.SameDataPlace(place, -1); same >= 0) {
        SetPlace(db.Places[static_cast<std::size_t>(same)]->Id);
        return;
    }
    const bool newCountry = made.countryId < 0;
    const std::string country =
        newCountry ? made.countryName : database::NameOfId(db.Countries, made.countryId);
    // Another place of that name in the country, far from the city: the new one takes its region.
    if (!newCountry && !db.PlaceNameFree(-1, place.Nombre, made.countryId) && !made.region.empty())
        place.Nombre += " (" + made.region + ")";
    SilentNotifier quiet;
    const auto refuse = [this](const std::string &why) {
        notifier_.Notice(NoticeKind::Warning, false, true,
                         why + "\r\rPuede agregarlo con otro nombre con \"Nuevo lugar geográfico\" (+).");
    };
    if (!newCountry && !db.PlaceNameFree(-1, place.Nombre, made.countryId))
        return refuse("Ya existe un lugar geográfico con el nombre " + place.Nombre + " asignado al país " +
                      country + ".");
    if (!database::CheckInput(place.Nombre, "el nombre", quiet) ||
        !database::CheckInput(country, "el país", quiet))
        return refuse("El nombre \"" + place.Nombre + (newCountry ? "\" o el del país \"" + country : "") +
                      "\" tiene caracteres que el archivo de datos no admite.");
    if (!database::CheckOptionalInput(place.Descripcion, quiet))
        place.Descripcion.clear();
    if (!db.HasRoomFor(database::Kind::Place) || (newCountry && !db.HasRoomFor(database::Kind::Country))) {
        notifier_.Notice(NoticeKind::Error, false, true,
                         "El archivo de datos no admite más lugares geográficos: se alcanzó el número máximo "
                         "de registros.");
        return;
    }
    if (!Writable())
        return;
    std::string question =
        "¿Desea agregar " + place.Nombre + " al archivo de datos como lugar geográfico?\r\r" + city.name +
        " — " + (city.region.empty() ? "" : city.region + ", ") + city.countryName +
        "\rLatitud: " + database::AngleText(place.Lat, database::AngleKind::Latitude) +
        "\rLongitud: " + database::AngleText(place.Lon, database::AngleKind::Longitude) +
        "\rZona horaria: " + made.zoneId + " (TZ: " + database::TimeZoneText(place.TZ) + ")";
    if (newCountry)
        question += "\r\rEl país \"" + country + "\" no está en el archivo de datos: se agregará también.";
    if (!notifier_.Notice(NoticeKind::Question, true, true, question))
        return;

    // Added, saved, and taken back as it was when the file refuses the save.
    const std::int64_t placeCounter = db.Counter(database::Kind::Place);
    const std::int64_t countryCounter = db.Counter(database::Kind::Country);
    place.IdPais = made.countryId;
    if (newCountry) {
        auto record = std::make_unique<database::TPais>();
        record->Nombre = country;
        record->Id = db.TakeId(database::Kind::Country);
        place.IdPais = record->Id;
        db.Countries.push_back(std::move(record));
    }
    place.Id = db.TakeId(database::Kind::Place);
    place.Marca = 0;
    place.Usos = 0;
    db.Places.push_back(std::make_unique<database::TLugar_Geo>(place));
    if (!SaveFile("el lugar geográfico \"" + place.Nombre + "\"")) {
        if (const int i = database::IndexOfId(db.Places, place.Id); i >= 0)
            db.Places.erase(db.Places.begin() + i);
        if (newCountry)
            if (const int i = database::IndexOfId(db.Countries, place.IdPais); i >= 0)
                db.Countries.erase(db.Countries.begin() + i);
        db.Counter(database::Kind::Place) = placeCounter;
        db.Counter(database::Kind::Country) = countryCounter;
        Mark(kEntryChanged, Compute::None);
        return;
    }
    PlaceStored(place.Id); // the lists again (with the new country), and the place chosen
}

void Session::PlacesImported() {
    Operation op(*this);
    Mark(kListsChanged | kEntryChanged, Compute::None);
}

void Session::ShowEventAt(TDateTime universal, int item) {
    Operation op(*this);
    ws.ComputeChart(ChartSide::Event, EnteredTimeOf(ws, ChartSide::Event, universal));
    Mark(kEntryChanged, Compute::Recompute);
    const settings::RecVistaCarta &c = ws.choices;
    if (c.innerItem != item && !(c.wheelMode == settings::kDoubleWheel && c.outerItem == item)) {
        SetWheelMode(settings::kDoubleWheel);
        SetInnerItem(chart::kNatalEcliptic);
        SetOuterItem(item);
    }
}

void Session::SolarReturnApplied() {
    Operation op(*this);
    Mark(kEntryChanged, Compute::Recompute);
}

// ---- Header and information texts.

std::string Session::DateLine(const chart::TDato &record) const {
    if (showGmt_)
        return FormatDateTimeText(record.gmtDateTime, "mmm d yyyy, hh:nn:ss am/pm", ws.format) + "  GMT";
    return FormatDateTimeText(record.localDateTime, "mmm d yyyy, hh:nn:ss am/pm", ws.format) +
           "  (TZ:" + FormatFixed(static_cast<double>(record.zone), 2, ws.format.decimalSeparator, 2) + ")";
}

std::string Session::NatalDateLine() const {
    return DateLine(ws.natalRecord) + (NatalTimeUnknown(ws) ? "  " + kTimeUnknownMark : "");
}

std::string Session::EventLabel() const {
    if (synastry_) {
        const database::TPersona *b = FindPerson(personB_);
        return b ? b->Nombre + " " + b->Apellidos + ": " : "Evento: ";
    }
    if (ws.settings.main.viewEdad)
        return astronomy::FormatAge(ws.natal.instant, ws.event.instant) + ". Evento: ";
    return "Evento: ";
}

std::string Session::PlaceText() const {
    const chart::TDato &r = Entry();
    const int index = database::IndexOfId(ws.db.Places, r.placeId);
    std::string place = "[*]";
    std::string country;
    if (index >= 0) {
        const database::TLugar_Geo &p = *ws.db.Places[static_cast<std::size_t>(index)];
        place = p.Nombre;
        country = database::NameOfId(ws.db.Countries, p.IdPais);
    }
    const std::string zone =
        " (TZ:" + FormatFixed(static_cast<double>(r.zone), 2, ws.format.decimalSeparator, 2) + ")" +
        (side_ == ChartSide::Natal && NatalTimeUnknown(ws) ? ", " + kTimeUnknownMark : "");
    return place + ", " + country + "\n" +
           "Lon:" + database::AngleText(r.longitude, database::AngleKind::Longitude) +
           ", Lat:" + database::AngleText(r.latitude, database::AngleKind::Latitude) + "\n" +
           FormatDateTimeText(r.localDateTime, "dddd, mmm-d-yyyy, h:nn:ss am/pm, ", ws.format) +
           FormatDateTimeText(r.localDateTime, "h:nn:ss", ws.format) + zone;
}

std::string Session::GmtText() const {
    const chart::TDato &r = Entry();
    return FormatDateTimeText(r.gmtDateTime, "dddd, mmm-d-yyyy, h:nn:ss am/pm, ", ws.format) +
           FormatDateTimeText(r.gmtDateTime, "h:nn:ss", ws.format) + " (GMT)";
}

std::string Session::DeltaTText() const {
    const chart::TDato &r = Entry();
    const double dt = r.deltaTFlag == 1 ? static_cast<double>(astronomy::DeltaT(r.gmtDateTime)) : 0.0;
    return FormatFixed(dt, 3, ws.format.decimalSeparator);
}

std::string Session::OrbText(int mode) const {
    return astronomy::FormatAngle(30, 0, astronomy::AngleSuffix::None,
                                  astronomy::AngleLayout::DegreesMinutesSeconds,
                                  ws.settings.orbs.presets[static_cast<std::size_t>(mode)], ws.format);
}

std::string Session::EventListText(const database::TEvento &e) const {
    return FormatDateTimeText(e.Fecha, "mmm-dd-yyyy", ws.format) + " " + e.Nombre;
}

void Session::SetShowGmt(bool on) {
    Operation op(*this);
    showGmt_ = on;
    Mark(kLabelsChanged, Compute::None);
}

void Session::SetShowAge(bool on) {
    Operation op(*this);
    ws.settings.main.viewEdad = on;
    Mark(kLabelsChanged, Compute::None);
}

// ---- View choices.

void Session::ChoiceChanged() {
    Mark(kChoicesChanged, Compute::Refresh);
}

void Session::SetAspectMode(settings::AspectMode mode) {
    Operation op(*this);
    settings::RecVistaCarta &c = ws.choices;
    if (c.aspectMode == mode)
        return;
    const bool byHouse = mode == settings::AspectMode::ByHouse;
    // "Por casas" starts with no cusp and no point ticked; going back to "Manual" brings back the
    // manual ticks as they were, so the wheel shows the same aspects as before.
    if (byHouse) {
        manualCusps_ = c.cuspSelection;
        manualPoints_ = c.pointSelection;
    }
    for (std::size_t n = 1; n < settings::kSelectionSize; ++n) {
        c.cuspSelection[n] = byHouse ? false : manualCusps_[n];
        c.pointSelection[n] = byHouse ? false : manualPoints_[n];
    }
    c.aspectMode = mode;
    ChoiceChanged();
}

void Session::SetFamily(settings::AspectFamily family, bool on) {
    Operation op(*this);
    ws.choices.aspectFamilies[static_cast<std::size_t>(family)] = on;
    ChoiceChanged();
}

void Session::SetSource(settings::AutoSource source, bool on) {
    Operation op(*this);
    ws.choices.autoSources[static_cast<std::size_t>(source)] = on;
    ChoiceChanged();
}

void Session::SetPoint(int point, bool on) {
    Operation op(*this);
    ws.choices.pointSelection[static_cast<std::size_t>(point)] = on;
    ChoiceChanged();
}

void Session::SetCusp(int house, bool on) {
    Operation op(*this);
    settings::RecVistaCarta &c = ws.choices;
    c.cuspSelection[static_cast<std::size_t>(house)] = on;
    if (on && c.aspectMode == settings::AspectMode::ByHouse)
        for (std::size_t i = 1; i < settings::kSelectionSize; ++i)
            if (i != static_cast<std::size_t>(house))
                c.cuspSelection[i] = false; // one house at a time
    ChoiceChanged();
}

void Session::SetAngle(int kind, bool on) {
    Operation op(*this);
    ws.choices.angleSelection[static_cast<std::size_t>(kind)] = on;
    ChoiceChanged();
}

void Session::SetAllPoints(bool on) {
    Operation op(*this);
    for (std::size_t n = 1; n < settings::kSelectionSize; ++n)
        ws.choices.pointSelection[n] = on;
    ChoiceChanged();
}

void Session::SetAllCusps(bool on) {
    Operation op(*this);
    for (std::size_t n = 1; n < settings::kSelectionSize; ++n)
        ws.choices.cuspSelection[n] = on;
    ChoiceChanged();
}

void Session::SetAllAngles(bool on) {
    Operation op(*this);
    for (std::size_t k = 1; k < settings::kAngleSelectionSize; ++k)
        ws.choices.angleSelection[k] = on;
    ChoiceChanged();
}

void Session::SelectMainAngles() {
    Operation op(*this);
    for (std::size_t k = 1; k < settings::kAngleSelectionSize; ++k)
        ws.choices.angleSelection[k] = analysis::kAspectKinds[k].main;
    ChoiceChanged();
}

void Session::SetStrength(int percent) {
    Operation op(*this);
    ws.choices.strengthFilter = percent;
    ChoiceChanged();
}

void Session::SetGlyph(bool on) {
    Operation op(*this);
    ws.settings.rueda.glifo = on;
    ChoiceChanged();
}

void Session::SetComputeDispositors(bool on) {
    Operation op(*this);
    ws.choices.computeDispositors = on;
    ChoiceChanged();
}

void Session::SetDispositorFilter(bool on) {
    Operation op(*this);
    ws.choices.dispositorFilter = on;
    ChoiceChanged();
}

bool Session::DispositorFilterApplies() const {
    return ws.choices.wheelMode == settings::kSingleWheel && ws.choices.innerItem == chart::kNatalEcliptic;
}

void Session::SetOrbMode(int mode) {
    Operation op(*this);
    ws.orbMode = mode;
    ChoiceChanged();
}

void Session::SetOrbPreset(int mode, float orb) {
    Operation op(*this);
    ws.settings.orbs.SetPreset(mode, orb);
    Mark(kChoicesChanged, Compute::Recompute);
}

void Session::OrbMatrixEdited(bool accepted) {
    Operation op(*this);
    // The cusp tolerances are the conjunction orbs: the charts take them at once.
    ws.ApplySettings();
    if (!accepted)
        return;
    ws.ComputeChart(ChartSide::Natal, Workspace::EnteredValue(ws.natalRecord));
    ws.ComputeChart(ChartSide::Event, Workspace::EnteredValue(ws.eventRecord));
    Mark(0, Compute::Recompute);
}

void Session::SetWheelMode(settings::WheelMode mode) {
    Operation op(*this);
    ws.choices.wheelMode = mode;
    ChoiceChanged();
}

void Session::SetInnerItem(int item) {
    Operation op(*this);
    ws.choices.innerItem = static_cast<std::uint8_t>(item);
    if (ws.choices.wheelMode == settings::kSingleWheel &&
        (item == chart::kNatalEcliptic || item == chart::kNatalAscensional))
        // A single natal wheel shows its own model's orbs.
        ws.orbMode =
            item == chart::kNatalEcliptic ? analysis::kOrbModeEcliptic : analysis::kOrbModeAscensional;
    ChoiceChanged();
}

void Session::SetOuterItem(int item) {
    Operation op(*this);
    ws.choices.outerItem = static_cast<std::uint8_t>(item);
    ChoiceChanged();
}

void Session::SwapItems() {
    Operation op(*this);
    std::swap(ws.choices.innerItem, ws.choices.outerItem);
    ChoiceChanged();
}

void Session::SetInnerHouses(bool on) {
    Operation op(*this);
    innerHousesTick_ = on;
    ChoiceChanged();
}

void Session::SetInnerWheelOnly(bool on) {
    Operation op(*this);
    innerWheelTick_ = on;
    ChoiceChanged();
}

void Session::SetEqualiseBySigns(bool on) {
    Operation op(*this);
    ws.choices.equaliseBySigns = on;
    ChoiceChanged();
}

void Session::SetColour(bool on) {
    Operation op(*this);
    ws.settings.rueda.color = on;
    ChoiceChanged();
}

void Session::SetLargeImages(bool wheelPage, bool on) {
    Operation op(*this);
    (wheelPage ? ws.settings.rueda.imagenR : ws.settings.rueda.imagenT) = on;
    ChoiceChanged();
}

} // namespace cel::session
