// The session module: the workspace the chart program's main window owns and the command line uses
// too. It holds the settings, the open database, the natal and event birth-data records with their
// charts, the progression set, the aspect lists and the view record, and runs the two chains every
// action ends in: Recompute (progression set, then the view) and RefreshView (aspect lists for what
// the view shows). Plain C++, no Qt.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/aspects.h"
#include "chart/pipeline.h"
#include "chart/progressions.h"
#include "chart/records.h"
#include "common/text_format.h"
#include "database/database.h"
#include "settings/settings.h"
#include "settings/view_record.h"

namespace cel::session {

enum class ChartSide { Natal, Event };

// The zone and coordinates of a geographic place of the database; nothing for -1 or an unknown id.
std::optional<chart::PlacePosition> FindPlace(const database::Database &db, std::int32_t placeId);

// A person's birth as birth data: owner, place, date-time and its GMT flag (Delta T left on).
struct PersonBirth {
    chart::TDato record;
    TDateTime value = 0; // local or Greenwich time as record.gmtFlag says
    bool hasTime = true; // a birth without a known time is loaded at 0:00
};
// Nothing when the person has no birth date.
std::optional<PersonBirth> BirthOf(const database::TPersona &person);

// What loading a person's birth into a chart side found.
struct PersonLoad {
    enum class Result { Loaded, UnknownPerson, Impossible, NoBirthDate };
    Result result = Result::UnknownPerson;
    std::vector<std::string> problems; // Impossible: what is wrong with the birth date or place
    bool hasTime = true;               // Loaded: false when the birth is loaded at 0:00
};

class Workspace {
public:
    settings::Settings settings;
    database::Database db;
    TextFormat format;
    chart::ChartContext context; // the pipeline's options (from the settings) and counters

    chart::TDato natalRecord, eventRecord;
    chart::TDataAstro natal, event;
    chart::TDataProg progressions;
    analysis::AspectLists aspects;

    // What the controls choose: items, wheel mode, families, selections, strength, "calc", "disp." ...
    // The settings fields of a view record are taken from the settings at every refresh.
    settings::RecVistaCarta choices;
    // The view record as the last refresh made it from the choices: what the wheel and tables read.
    settings::RecVistaCarta view;
    int orbMode = analysis::kOrbModeEcliptic; // of the current item pair: 1..8 presets, 9, 10
    int currentHouse = 0;                     // "Por casas": the house of the last refresh, 0 none

    struct Counters {
        std::uint64_t recomputes = 0;
        std::uint64_t refreshes = 0;
    } counters;

    Workspace();

    // Takes the chart options from the settings; call after loading or changing them.
    void ApplySettings();

    chart::TDato &Record(ChartSide side) { return side == ChartSide::Natal ? natalRecord : eventRecord; }
    chart::TDataAstro &Chart(ChartSide side) { return side == ChartSide::Natal ? natal : event; }

    // The place of a place id in the open database; zeros when there is none.
    chart::PlacePosition PlaceFor(std::int32_t placeId) const;
    // Computes one side's chart for value (local or GMT as its record's flag says), with the place of
    // the record's place id, or with a place given directly.
    void ComputeChart(ChartSide side, TDateTime value);
    void ComputeChart(ChartSide side, TDateTime value, const chart::PlacePosition &place);
    // Makes a person's birth the record and chart of a side, with Delta T on or off. An unknown
    // person, a birth with impossible values (the date or the place) and a person without a birth
    // date leave the side as it was. The person may be given by record when Ids are not unique.
    PersonLoad LoadPerson(ChartSide side, std::int32_t personId, bool deltaT);
    PersonLoad LoadPerson(ChartSide side, const database::TPersona &person, bool deltaT);

    // The value the record's date-times give for its own GMT flag.
    static TDateTime EnteredValue(const chart::TDato &record) {
        return record.gmtFlag == 1 ? record.gmtDateTime : record.localDateTime;
    }

    // Recompute all: the progression set from both charts, then RefreshView.
    void Recompute();
    // Refresh the view: the view record from the choices and the settings ("Por casas" picks the
    // points of the chosen house from the inner item; "disp." only for a single wheel showing
    // "Natal Eclíptica"), then the natal lists (with the dispositor lists under "calc"), then the pair
    // lists: inner with itself for a single wheel showing items 3..9 (none for items 1 and 2, whose
    // natal lists are shown), inner and outer with both orders kept for a double wheel.
    void RefreshView();
};

} // namespace cel::session
