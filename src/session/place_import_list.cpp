#include "session/place_import_list.h"

#include <algorithm>

#include "common/safe_file.h"
#include "database/spanish_order.h"
#include "session/record_cells.h"

namespace cel::session {

using namespace cel::database;

namespace {

std::string OfText(int part, int whole) {
    return std::to_string(part) + " de " + std::to_string(whole);
}

} // namespace

void PlaceImportList::SetFilter(const std::string &text, bool onlyTicked) {
    filter_ = AsciiUpper(text);
    onlyTicked_ = onlyTicked;
    Refilter();
}

void PlaceImportList::Refilter() {
    shown_.clear();
    for (const auto &p : file_.places)
        if ((filter_.empty() || AsciiUpper(p->Nombre).find(filter_) != std::string::npos) &&
            (!onlyTicked_ || p->Marca != 0))
            shown_.push_back(p.get());
    std::stable_sort(shown_.begin(), shown_.end(), [](const TLugar_Geo *a, const TLugar_Geo *b) {
        return SpanishLess(a->Nombre, b->Nombre);
    });
}

std::array<std::string, 8> PlaceImportList::RowTexts(int row) const {
    return ImportPlaceRow(*shown_.at(static_cast<std::size_t>(row)), row + 1);
}

bool PlaceImportList::RowTicked(int row) const {
    return shown_.at(static_cast<std::size_t>(row))->Marca != 0;
}

void PlaceImportList::Toggle(int row) {
    if (row < 0 || row >= static_cast<int>(shown_.size()))
        return;
    TLugar_Geo &p = *shown_[static_cast<std::size_t>(row)];
    p.Marca = p.Marca ? 0 : 1;
    Refilter();
}

void PlaceImportList::TickShown(bool on) {
    for (TLugar_Geo *p : shown_)
        p->Marca = on ? 1 : 0;
    Refilter();
}

int PlaceImportList::Ticked() const {
    return static_cast<int>(
        std::count_if(file_.places.begin(), file_.places.end(), [](const auto &p) { return p->Marca != 0; }));
}

std::string PlaceImportList::TickedText() const {
    return OfText(Ticked(), static_cast<int>(file_.places.size()));
}

std::string PlaceImportList::ShownText() const {
    return OfText(static_cast<int>(shown_.size()), static_cast<int>(file_.places.size()));
}

bool PlaceImportList::MayAdd(Notifier &notices) const {
    if (Ticked() > 0)
        return true;
    notices.Notice(
        NoticeKind::Warning, false, true,
        "Debe seleccionar al menos un(1) lugar geográfico\r\r(ENTER, Doble click o barra espaciadora)");
    return false;
}

std::optional<PlaceFile> ReadPlaceFile(DataStore &store, const std::string &path) {
    try {
        return OpenPlaceFile(path, store.Notices(), store.Format());
    } catch (const FileError &e) {
        store.Notices().Notice(NoticeKind::Error, false, true, e.what());
        return std::nullopt;
    }
}

bool AddTickedPlaces(DataStore &store, PlaceFile &file, bool clearMarks) {
    Notifier &n = store.Notices();
    Database &db = store.Db();
    if (clearMarks)
        for (auto &p : db.Places)
            p->Marca = 0;
    AddPlacesResult result;
    try {
        result = AddPlaces(db, file.country, file.places, n);
    } catch (const IdLimitError &e) {
        n.Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
    if (!store.Save("los lugares importados"))
        return true; // not saved, its notice shown: what is shown is refreshed
    n.Notice(NoticeKind::Information, false, false, ImportReportText(result, file.country.Nombre));
    return std::any_of(result.places.begin(), result.places.end(),
                       [](const PlaceResolution &r) {
                           return r.outcome == PlaceOutcome::Added ||
                                  r.outcome == PlaceOutcome::AddedRenamed ||
                                  r.outcome == PlaceOutcome::DataRenamed;
                       }) ||
           result.countryAdded;
}

std::string ImportReportText(const AddPlacesResult &result, const std::string &countryName) {
    int added = 0, renamed = 0, there = 0, declined = 0, refused = 0;
    std::string declinedNames, refusedNames;
    for (const PlaceResolution &r : result.places) {
        switch (r.outcome) {
        case PlaceOutcome::Added:
        case PlaceOutcome::AddedRenamed:
            ++added;
            break;
        case PlaceOutcome::DataRenamed:
            ++renamed;
            break;
        case PlaceOutcome::AlreadyThere:
            ++there;
            break;
        case PlaceOutcome::NameDeclined:
        case PlaceOutcome::DataKept:
            ++declined;
            declinedNames += "\r" + r.name;
            break;
        case PlaceOutcome::Refused:
            ++refused;
            refusedNames += "\r" + r.name + ":";
            for (std::size_t i = 0; i < r.problems.size(); ++i)
                refusedNames += (i ? ", " : " ") + r.problems[i];
            break;
        }
    }
    std::string text = "Lugares geográficos agregados: " + std::to_string(added);
    if (result.countryAdded)
        text += "\rPaís agregado: " + countryName;
    text += "\rLugares renombrados: " + std::to_string(renamed);
    text += "\rYa estaban en el archivo: " + std::to_string(there);
    text += "\rNo agregados: " + std::to_string(declined) + declinedNames;
    if (refused > 0)
        text += "\rRechazados por valores imposibles: " + std::to_string(refused) + refusedNames;
    return text;
}

} // namespace cel::session
