#include "session/workspace.h"

#include "analysis/dignities.h"
#include "database/record_checks.h"

namespace cel::session {

std::optional<chart::PlacePosition> FindPlace(const database::Database &db, std::int32_t placeId) {
    if (placeId < 0)
        return std::nullopt;
    const int index = database::IndexOfId(db.Places, placeId);
    if (index < 0)
        return std::nullopt;
    const database::TLugar_Geo &place = *db.Places[static_cast<std::size_t>(index)];
    return chart::PlacePosition{place.TZ, place.Lon, place.Lat};
}

std::optional<PersonBirth> BirthOf(const database::TPersona &person) {
    if (person.IsDate == 0 || person.HoraUT < 0)
        return std::nullopt;
    PersonBirth birth;
    birth.record.text = person.Nombre + (person.Apellidos.empty() ? "" : " " + person.Apellidos);
    birth.record.ownerId = person.Id;
    birth.record.placeId = person.IdLugarNac;
    birth.record.gmtFlag = person.HoraUT == 1 ? 1 : 0;
    birth.value = person.Fecha;
    birth.hasTime = person.IsHora != 0;
    if (!birth.hasTime) {
        // The date at 0:00: the whole part of the value, its time of day dropped.
        const CivilDateTime dt = DecodeDateTime(person.Fecha);
        birth.value = EncodeDate(dt.year, dt.month, dt.day);
    }
    return birth;
}

Workspace::Workspace() {
    ApplySettings();
}

void Workspace::ApplySettings() {
    context.options = chart::ChartOptionsFrom(settings);
}

chart::PlacePosition Workspace::PlaceFor(std::int32_t placeId) const {
    return FindPlace(db, placeId).value_or(chart::PlacePosition{});
}

void Workspace::ComputeChart(ChartSide side, TDateTime value) {
    ComputeChart(side, value, PlaceFor(Record(side).placeId));
}

void Workspace::ComputeChart(ChartSide side, TDateTime value, const chart::PlacePosition &place) {
    chart::ComputeChartFor(context, Record(side), place, Chart(side), value);
}

PersonLoad Workspace::LoadPerson(ChartSide side, std::int32_t personId, bool deltaT) {
    const int index = database::IndexOfId(db.Persons, personId);
    if (index < 0)
        return {};
    return LoadPerson(side, *db.Persons[static_cast<std::size_t>(index)], deltaT);
}

PersonLoad Workspace::LoadPerson(ChartSide side, const database::TPersona &person, bool deltaT) {
    PersonLoad load;
    load.problems = database::BirthProblems(db, person);
    if (!load.problems.empty()) {
        load.result = PersonLoad::Result::Impossible;
        return load;
    }
    const std::optional<PersonBirth> birth = BirthOf(person);
    if (!birth) {
        load.result = PersonLoad::Result::NoBirthDate;
        return load;
    }
    chart::TDato &record = Record(side);
    record = birth->record;
    record.deltaTFlag = deltaT ? 1 : 0;
    ComputeChart(side, birth->value);
    load.result = PersonLoad::Result::Loaded;
    load.hasTime = birth->hasTime;
    return load;
}

void Workspace::Recompute() {
    ++counters.recomputes;
    chart::ComputeProgressions(natal, event, progressions, context.options);
    RefreshView();
}

void Workspace::RefreshView() {
    ++counters.refreshes;
    view = choices;
    settings::CopySettingsToView(settings, view);
    const auto &items = progressions.items;
    const auto inner = static_cast<std::size_t>(std::clamp<int>(view.innerItem, 1, chart::kLastWheelItem));
    const auto outer = static_cast<std::size_t>(std::clamp<int>(view.outerItem, 1, chart::kLastWheelItem));
    currentHouse = 0;
    if (view.aspectMode == settings::AspectMode::ByHouse) {
        view.aspectFamilies = {true, true, false, false};
        currentHouse = analysis::ApplyHouseSelection(view, items[inner], settings.dignity);
    }
    if (view.wheelMode != settings::kSingleWheel || inner != chart::kNatalEcliptic)
        view.dispositorFilter = false;

    analysis::BuildNatalAspects(aspects, items[chart::kNatalEcliptic], items[chart::kNatalAscensional],
                                view.computeDispositors, settings.orbs, settings.dignity);
    if (view.wheelMode == settings::kDoubleWheel) {
        analysis::BuildPairAspects(aspects, items[inner], items[outer], orbMode, true, settings.orbs);
    } else if (chart::NeedsEventChart(inner)) {
        analysis::BuildPairAspects(aspects, items[inner], items[inner], orbMode, false, settings.orbs);
    } else {
        aspects.pairBodies.clear();
        aspects.pairBodyCusp.clear();
        aspects.pairCuspBody.clear();
        aspects.pairCusps.clear();
    }
}

} // namespace cel::session
