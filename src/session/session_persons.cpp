// The chart program's session: the current person, persons A and B, synastry, the natal entry and its
// save, the person list with its filter and marks, and the current person's events.
#include <algorithm>

#include "common/date_text.h"
#include "database/coordinate_text.h"
#include "database/record_checks.h"
#include "session/event_place.h"
#include "session/session.h"

namespace cel::session {

namespace {

std::string FullName(const database::TPersona &p) {
    return p.Nombre + " " + p.Apellidos;
}

// The line naming an event in the questions about it: its name, and its date with the seconds.
std::string EventLine(const database::TEvento &e, const TextFormat &format) {
    return e.Nombre + "\r" + FormatDateTimeText(e.Fecha, "dddd, mmm dd yyyy, hh:nn:ss am/pm", format);
}

// Events are listed newest first.
void SortEvents(std::vector<database::TEvento> &events) {
    std::stable_sort(
        events.begin(), events.end(),
        [](const database::TEvento &a, const database::TEvento &b) { return a.Fecha > b.Fecha; });
}

int IndexOfEvent(const std::vector<database::TEvento> &events, std::int32_t id) {
    for (std::size_t i = 0; i < events.size(); ++i)
        if (events[i].Id == id)
            return static_cast<int>(i);
    return -1;
}

} // namespace

const database::TPersona *Session::FindPerson(std::int32_t id) const {
    const int i = database::IndexOfId(ws.db.Persons, id);
    return i < 0 ? nullptr : ws.db.Persons[static_cast<std::size_t>(i)].get();
}

database::TPersona *Session::FindPersonRecord(std::int32_t id) {
    const int i = database::IndexOfId(ws.db.Persons, id);
    return i < 0 ? nullptr : ws.db.Persons[static_cast<std::size_t>(i)].get();
}

PersonList Session::ListedPersons() const {
    return FilterPersons(ws.db, filter_);
}

std::string Session::NatalLabel() const {
    const database::TPersona *p = FindPerson(currentPerson_);
    return p ? FullName(*p) + "  " : "<>: ";
}

bool Session::MayChartPerson(std::int32_t personId) {
    const database::TPersona *p = FindPerson(personId);
    if (!p)
        return false;
    const std::string nameLine = FullName(*p);
    if (p->IsDate == 0) {
        notifier_.Notice(NoticeKind::Warning, false, true, nameLine + "\r\rNo tiene fecha natal asignada.");
        return false;
    }
    if (const auto problems = database::BirthProblems(ws.db, *p); !problems.empty()) {
        notifier_.Notice(NoticeKind::Error, false, true, database::RefusedChartText(nameLine, problems));
        return false;
    }
    if (p->IsHora == 0)
        notifier_.Notice(NoticeKind::Warning, false, true,
                         nameLine + "\r\rNo tiene hora natal asignada. Se abrirá con las cero horas.");
    return true;
}

PersonLoad Session::LoadPerson(ChartSide side, std::int32_t personId) {
    Operation op(*this);
    const PersonLoad load = ws.LoadPerson(side, personId, DeltaTChosen());
    if (load.result == PersonLoad::Result::Loaded) {
        if (side == ChartSide::Natal) {
            currentPerson_ = personId;
            natalChanged_ = false;
            Mark(kEventsChanged, Compute::None);
        }
        Mark(kEntryChanged | kPersonsChanged, Compute::Recompute);
    }
    return load;
}

void Session::LoadCurrentPerson() {
    if (ws.LoadPerson(ChartSide::Natal, currentPerson_, DeltaTChosen()).result ==
        PersonLoad::Result::Loaded) {
        // An event still without a place stands at the person's place, at the same instant.
        if (database::IndexOfId(ws.db.Places, ws.eventRecord.placeId) < 0)
            if (const std::int32_t place = NewEventPlace(ws.db, *FindPerson(currentPerson_)); place >= 0)
                MoveEventTo(ws, place);
    } else {
        // No person: both charts show the clock's now, read as Greenwich time (the zone of no place).
        currentPerson_ = -1;
        chart::TDato now;
        now.deltaTFlag = 1;
        now.gmtFlag = 0;
        now.placeId = -1;
        ws.eventRecord = now;
        ws.ComputeChart(ChartSide::Event, clock());
        ws.natalRecord = ws.eventRecord;
        ws.natal = ws.event;
    }
    const std::vector<database::TEvento> *events = Events();
    if (!events || selectedEvent_ >= static_cast<int>(events->size()))
        selectedEvent_ = -1;
    Mark(kEntryChanged | kEventsChanged | kLabelsChanged, Compute::None);
}

void Session::ChoosePerson(std::int32_t personId) {
    Operation op(*this);
    if (!MayChartPerson(personId))
        return;
    AskUnsavedNatal();
    (slot_ == PersonSlot::A ? personA_ : personB_) = personId;
    currentPerson_ = personId;
    side_ = ChartSide::Natal;
    LoadCurrentPerson();
    natalChanged_ = false;
    Mark(kPersonsChanged, Compute::Recompute);
}

void Session::PutPersonInSlot(PersonSlot slot, std::int32_t personId) {
    Operation op(*this);
    if (!MayChartPerson(personId))
        return;
    AskUnsavedNatal();
    (slot == PersonSlot::A ? personA_ : personB_) = personId;
    slot_ = slot;
    Mark(kPersonsChanged | kEntryChanged, Compute::Recompute);
    if (synastry_) {
        SynastryCharts();
        return;
    }
    currentPerson_ = personId;
    side_ = ChartSide::Natal;
    LoadCurrentPerson();
    natalChanged_ = false;
}

void Session::ChooseSlot(PersonSlot slot) {
    Operation op(*this);
    AskUnsavedNatal();
    slot_ = slot;
    currentPerson_ = Person(slot);
    LoadCurrentPerson();
    natalChanged_ = false;
    Mark(kPersonsChanged, Compute::Recompute);
}

bool Session::SynastryCharts() {
    const bool deltaT = DeltaTChosen();
    const database::TPersona *a = FindPerson(personA_);
    const database::TPersona *b = FindPerson(personB_);
    if (!a || !b || !BirthOf(*a) || !BirthOf(*b))
        return false;
    currentPerson_ = personA_;
    ws.LoadPerson(ChartSide::Natal, *a, deltaT);
    ws.LoadPerson(ChartSide::Event, *b, deltaT);
    settings::RecVistaCarta &c = ws.choices;
    c.innerItem = chart::kNatalEcliptic;
    c.outerItem = chart::kEventEcliptic;
    c.wheelMode = settings::kDoubleWheel;
    Mark(kEntryChanged | kEventsChanged | kChoicesChanged | kLabelsChanged, Compute::Recompute);
    return true;
}

void Session::SetSynastry(bool on) {
    Operation op(*this);
    if (on == synastry_)
        return;
    if (on) {
        synastry_ = true;
        if (!SynastryCharts()) {
            synastry_ = false;
            Mark(kEntryChanged, Compute::None);
            notifier_.Notice(NoticeKind::Warning, false, true, "Debe seleccionar las dos personas.");
        }
        return;
    }
    synastry_ = false;
    currentPerson_ = personA_;
    LoadCurrentPerson();
    ws.choices.innerItem = chart::kNatalEcliptic;
    ws.choices.wheelMode = settings::kSingleWheel;
    Mark(kChoicesChanged | kLabelsChanged, Compute::Recompute);
}

Answer Session::AskUnsavedNatal(bool mayCancel) {
    Operation op(*this);
    if (!natalChanged_ || currentPerson_ < 0)
        return Answer::No;
    const std::string text =
        "Han sido cambiados los datos natales de:\r\r" + NatalLabel() + "\r\rDesea guardar los cambios ?";
    const Answer answer = notifier_.Ask(text, QuestionStyle{false, mayCancel});
    if (answer == Answer::Yes) {
        SaveNatal();
        if (natalChanged_ && mayCancel)
            return Answer::Cancel; // the file refused the save: the user keeps the changes
    } else if (answer == Answer::No) {
        natalChanged_ = false;
        Mark(kEntryChanged, Compute::None);
    }
    return answer;
}

bool Session::MayLeaveFile() {
    if (!natalChanged_)
        return true;
    return AskUnsavedNatal(true) != Answer::Cancel && !natalChanged_;
}

void Session::SaveNatal() {
    Operation op(*this);
    database::TPersona *p = FindPersonRecord(currentPerson_);
    if (!p || !Writable())
        return;
    side_ = ChartSide::Natal;
    Mark(kEntryChanged, Compute::None);
    const chart::TDato &r = ws.natalRecord;
    const database::TPersona before = *p;
    p->IdLugarNac = r.placeId;
    p->IsDate = 1;
    p->HoraUT = r.gmtFlag;
    p->Fecha = Workspace::EnteredValue(r);
    // A birth of unknown time was loaded at 0:00; it keeps that mark unless the user set a time of day.
    const TimeFields time = TimeFieldsOf(p->Fecha);
    if (before.IsHora != 0 || time.hour != 0 || time.minute != 0 || time.second != 0 || time.millisecond != 0)
        p->IsHora = 1;
    if (!SaveFile()) {
        // The record keeps what the file holds; the entry stays changed, with "Guardar" to try again.
        if (database::TPersona *again = FindPersonRecord(currentPerson_))
            *again = before;
        return;
    }
    natalChanged_ = false;
    Mark(kPersonsChanged, Compute::None);
}

void Session::UndoNatal() {
    Operation op(*this);
    natalChanged_ = false;
    LoadCurrentPerson();
    Mark(0, Compute::Recompute);
}

void Session::DeletePerson(std::int32_t personId) {
    Operation op(*this);
    if (!Writable())
        return;
    const database::TPersona *p = FindPerson(personId);
    if (!p)
        return;
    if (notifier_.Ask("Desea borrar de la lista a:\r\r" + FullName(*p), QuestionStyle{true, false}) !=
        Answer::Yes)
        return; // "No" is the default: Enter keeps the person
    const int index = database::IndexOfId(ws.db.Persons, personId);
    ws.db.Persons.erase(ws.db.Persons.begin() + index);
    ws.db.Renumber(database::Kind::Person);
    currentPerson_ = personA_ = personB_ = -1;
    natalChanged_ = false;
    if (!SaveFile()) {
        RevertToFile(); // the person is back in the list, as in the file
        return;
    }
    LoadCurrentPerson();
    Mark(kPersonsChanged, Compute::Recompute);
}

void Session::PersonsEdited() {
    Operation op(*this);
    natalChanged_ = false;
    Mark(kListsChanged | kPersonsChanged | kEntryChanged, Compute::None);
}

void Session::SetMark(std::int32_t personId, bool marked) {
    if (database::TPersona *p = FindPersonRecord(personId))
        p->Marca = marked ? 1 : 0;
}

void Session::MarkListed(bool marked) {
    Operation op(*this);
    for (const database::TPersona *listed : ListedPersons().persons)
        if (database::TPersona *p = FindPersonRecord(listed->Id))
            p->Marca = marked ? 1 : 0;
    Mark(kPersonsChanged, Compute::None);
}

void Session::SetFilter(const PersonFilter &filter) {
    Operation op(*this);
    filter_ = filter; // the same filter lists again: records may have been added meanwhile
    Mark(kPersonsChanged, Compute::None);
}

// ---- Events.

const std::vector<database::TEvento> *Session::Events() const {
    const database::TPersona *p = FindPerson(currentPerson_);
    return p ? &p->Eventos : nullptr;
}

void Session::ChooseEvent(int index) {
    Operation op(*this);
    database::TPersona *p = FindPersonRecord(currentPerson_);
    if (!p || index < 0 || index >= static_cast<int>(p->Eventos.size()))
        return;
    const database::TEvento &e = p->Eventos[static_cast<std::size_t>(index)];
    if (const auto problems = database::EventProblems(ws.db, e); !problems.empty()) {
        notifier_.Notice(NoticeKind::Error, false, true,
                         database::RefusedChartText("Evento \"" + e.Nombre + "\"", problems));
        return;
    }
    chart::TDato &r = ws.eventRecord;
    r.deltaTFlag = DeltaTChosen() ? 1 : 0;
    r.placeId = e.IdLugarGeo;
    r.ownerId = e.Id;
    r.gmtFlag = e.HoraUT == 1 ? 1 : 0;
    ws.ComputeChart(ChartSide::Event, e.Fecha);
    side_ = ChartSide::Event;
    Mark(kEntryChanged, Compute::Recompute);
}

void Session::RestoreEvents(const std::vector<database::TEvento> &events) {
    if (database::TPersona *p = FindPersonRecord(currentPerson_))
        p->Eventos = events;
    Mark(kEventsChanged, Compute::None);
}

namespace {

// The event entry as an event record: the entry's place, the event chart's date-time and flag.
void TakeEventEntry(database::TEvento &e, std::int32_t placeId, const chart::TDato &event) {
    e.IdLugarGeo = placeId;
    e.HoraUT = event.gmtFlag;
    e.IsDate = 1;
    e.IsHora = 1;
    e.Fecha = Workspace::EnteredValue(event);
}

} // namespace

void Session::NewEvent() {
    Operation op(*this);
    database::TPersona *p = FindPersonRecord(currentPerson_);
    if (!p || !Writable())
        return;
    std::string name;
    if (!database::AskEventName(notifier_, "Evento nuevo para " + NatalLabel(), "Nombre evento:", name))
        return;
    database::TEvento e;
    e.Id = static_cast<std::int32_t>(p->Eventos.size()) + 1;
    e.Nombre = name;
    TakeEventEntry(e, Entry().placeId, ws.eventRecord);
    const std::vector<database::TEvento> before = p->Eventos;
    p->Eventos.push_back(e);
    SortEvents(p->Eventos);
    const int row = IndexOfEvent(p->Eventos, e.Id);
    if (!SaveFile()) {
        RestoreEvents(before);
        return;
    }
    selectedEvent_ = row;
    Mark(kEventsChanged, Compute::None);
}

void Session::OverwriteEvent(int index) {
    Operation op(*this);
    database::TPersona *p = FindPersonRecord(currentPerson_);
    if (!p || index < 0 || index >= static_cast<int>(p->Eventos.size()) || !Writable())
        return;
    const std::vector<database::TEvento> before = p->Eventos;
    database::TEvento &e = p->Eventos[static_cast<std::size_t>(index)];
    if (!notifier_.Notice(NoticeKind::Question, true, true,
                          "Desea sobreescribir el evento ?\r\r" + EventLine(e, ws.format)))
        return;
    std::string name = e.Nombre;
    if (database::AskEventName(notifier_, "Editar evento", "Nuevo nombre:", name))
        e.Nombre = name;
    TakeEventEntry(e, Entry().placeId, ws.eventRecord);
    const std::int32_t id = e.Id;
    SortEvents(p->Eventos);
    if (!SaveFile()) {
        RestoreEvents(before);
        return;
    }
    if (const database::TPersona *again = FindPerson(currentPerson_))
        selectedEvent_ = IndexOfEvent(again->Eventos, id);
    Mark(kEventsChanged, Compute::None);
}

void Session::DeleteEvent(int index) {
    Operation op(*this);
    database::TPersona *p = FindPersonRecord(currentPerson_);
    if (!p || index < 0 || index >= static_cast<int>(p->Eventos.size()) || !Writable())
        return;
    const database::TEvento &e = p->Eventos[static_cast<std::size_t>(index)];
    if (notifier_.Ask("Desea eliminar el evento ?\r\r" + EventLine(e, ws.format),
                      QuestionStyle{true, false}) != Answer::Yes)
        return;
    const std::vector<database::TEvento> before = p->Eventos;
    p->Eventos.erase(p->Eventos.begin() + index);
    if (!SaveFile()) {
        RestoreEvents(before);
        return;
    }
    selectedEvent_ = -1;
    Mark(kEventsChanged, Compute::None);
}

} // namespace cel::session
