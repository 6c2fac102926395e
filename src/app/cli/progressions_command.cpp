// "progressions": the eleven chart items of a natal chart at an event.
#include <cstdio>
#include <sstream>

#include "astronomy/angle_text.h"

#include "chart_cli.h"
#include "common/number_text.h"
#include "text_columns.h"

namespace cel::cli {

namespace {

using astronomy::AngleLayout;
using astronomy::AngleSuffix;
using astronomy::FormatAngle;
using astronomy::FormatSignPosition;
using chart::Real;

struct ProgressionsOptions {
    ChartCommandOptions chart;
    BirthOptions event;
};

nlohmann::json ProgressionsJson(const chart::TDataProg &p) {
    nlohmann::json items = nlohmann::json::array();
    for (int i = 1; i <= chart::kItemCount; ++i) {
        const chart::RecDataProg &item = p.items[i];
        nlohmann::json bodies = nlohmann::json::array();
        for (int n = 1; n <= chart::kBodyCount; ++n) {
            const chart::RecPlanetaSimple &b = item.bodies[n];
            bodies.push_back({{"position", b.position},
                              {"wheel_position", b.wheelPosition},
                              {"house", b.house},
                              {"sign", b.sign},
                              {"ruled_houses", b.ruledHouses},
                              {"retrograde", b.retrograde}});
        }
        nlohmann::json cusps = nlohmann::json::array();
        for (int h = 1; h <= chart::kHouseCount; ++h)
            cusps.push_back({{"house", h},
                             {"cusp", item.cusps[h].cusp},
                             {"sign", item.cusps[h].sign},
                             {"next_sign", item.cusps[h].nextSign}});
        items.push_back({{"item", i},
                         {"column", chart::kItemColumns[i]},
                         {"rotation", item.rotation},
                         {"bodies", bodies},
                         {"cusps", cusps}});
    }
    return {
        {"age_days", p.age},       {"primary_arc", p.primaryArc}, {"progressed_instant", p.progressedInstant},
        {"solar_arc", p.solarArc}, {"proluna_arc", p.proLunaArc}, {"progressed_armc", p.progressedArmc},
        {"items", items}};
}

std::string Cell(Real position, std::uint8_t sign, bool dmo, bool retrograde, const TextFormat &format) {
    std::string text;
    if (dmo) {
        text = FormatAngle(360, 0, AngleSuffix::None, AngleLayout::DegreesMinutes, position, format) + " Q" +
               std::to_string(sign);
    } else {
        const Real inSign = position - 30 * (chart::SignOf(position) - 1);
        text =
            FormatSignPosition(0, AngleLayout::DegreesMinutes, inSign >= 30 ? inSign - 30 : inSign, format) +
            " " + chart::kSignNames[chart::SignOf(position)];
    }
    if (retrograde)
        text += " R";
    return text;
}

std::string ProgressionsText(const chart::TDataAstro &natal, const chart::TDataAstro &event,
                             const chart::TDataProg &p, const TextFormat &format) {
    std::ostringstream out;
    auto angle = [&](Real x) {
        return FormatAngle(360, 0, AngleSuffix::None, AngleLayout::DegreesMinutesSeconds, x, format);
    };
    const std::string days = FormatFixed(static_cast<double>(p.age), 4, format.decimalSeparator);
    out << "Natal (TT):  " << DateTimeText(natal.instant) << "\n";
    out << "Evento (TT): " << DateTimeText(event.instant) << "\n";
    out << "Edad: " << astronomy::FormatAge(natal.instant, event.instant) << " (" << days << " días)\n";
    out << "Arco primario: " << angle(p.primaryArc) << "   Arco solar: " << angle(p.solarArc)
        << "   Arco ProLuna: " << angle(p.proLunaArc) << "\n";
    out << "Dir. secundaria (TT): " << DateTimeText(p.progressedInstant)
        << "   ARMC: " << angle(p.progressedArmc) << "\n\n";
    constexpr std::size_t kWidth = 14;
    out << Padded("", 5);
    for (int i = 1; i <= chart::kItemCount; ++i)
        out << Padded(chart::kItemColumns[i], kWidth);
    out << "\n";
    for (int n = 1; n <= chart::kBodyCount; ++n) {
        out << Padded(chart::kBodyNames[n], 5);
        for (int i = 1; i <= chart::kItemCount; ++i) {
            const chart::RecPlanetaSimple &b = p.items[i].bodies[n];
            const bool dmo = i >= chart::kNatalDmo;
            out << Padded(Cell(b.position, b.sign, dmo, !dmo && b.retrograde != 0, format), kWidth);
        }
        out << "\n";
    }
    for (int h = 1; h <= chart::kHouseCount; ++h) {
        out << Padded("C" + std::to_string(h), 5);
        for (int i = 1; i <= chart::kItemCount; ++i) {
            const chart::CuspEntry &c = p.items[i].cusps[h];
            out << Padded(Cell(c.cusp, c.sign, i >= chart::kNatalDmo, false, format), kWidth);
        }
        out << "\n";
    }
    return out.str();
}

void AddProgressions(CLI::App &app, RunContext &ctx) {
    auto *sub = app.add_subcommand(
        "progressions", "Compute the eleven chart items of a natal chart at an event: the natal and "
                        "event charts, primary and secondary directions, solar arc, ProLuna, DMO");
    auto options = std::make_shared<ProgressionsOptions>();
    AddChartOptions(*sub, options->chart);
    AddBirthOptions(*sub, options->event, "event-", DateOptions::Required);
    AddPersonOption(*sub, options->event, "event-");
    sub->footer("The event place and zone default to the natal ones; --no-delta-t applies to both charts.\n"
                "With --db FILE, --person and --event-person take a person's birth from the data file.\n"
                "Example:\n"
                "  celestigrafo-cli progressions --date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225W "
                "--lat 3.43722N --event-date 2024-10-17\n");
    sub->callback([options, &ctx] {
        if (!HasBirth(options->chart.natal))
            UsageError(
                "--date is required: expected YYYY-MM-DD (e.g. 1979-10-17), or --db FILE --person NAME");
        if (!HasBirth(options->event))
            UsageError(
                "--event-date is required: expected YYYY-MM-DD (e.g. 2024-10-17), or --event-person NAME");
        ChartSession session = MakeSession(options->chart, ctx);
        session::Workspace &w = session.workspace;
        const bool noDeltaT = options->chart.noDeltaT;
        SetUpBirth(session, options->chart.natal, nullptr, noDeltaT, session::ChartSide::Natal);
        SetUpBirth(session, options->event, &w.natalRecord, noDeltaT, session::ChartSide::Event);
        w.Recompute();
        if (WantsJson(ctx, options->chart.format)) {
            nlohmann::json j = ProgressionsJson(w.progressions);
            // The zones of --zone and --place, each read at its own date.
            if (session.natalZone)
                j["natal_zone"] = ZoneJson(*session.natalZone);
            if (session.eventZone)
                j["event_zone"] = ZoneJson(*session.eventZone);
            WriteJson(ctx, j);
        } else
            ctx.out << ProgressionsText(w.natal, w.event, w.progressions, session.format);
    });
}

const bool registered = RegisterCommand("progressions", AddProgressions);

} // namespace
} // namespace cel::cli
