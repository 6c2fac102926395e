#include "timing/search.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "astronomy/earth_orientation.h"
#include "astronomy/houses.h"
#include "chart/pipeline.h"
#include "chart/progressions.h"

namespace cel::timing {

namespace {

constexpr Real kSecond = 1.0L / 86400;
constexpr Real kHalfMinute = 30 * kSecond;
// Longest walk from an exact time to the edges of its orb.
constexpr Real kLongestEpisode = 40 * 365.25L;

// Sampling steps in days: short enough that no body turns twice between two samples, and that a
// longitude never moves 90 degrees in one.
Real TransitStep(int body) {
    switch (body) {
    case 2:
        return 0.25L;
    case 3:
        return 0.5L;
    case 1:
    case 4:
    case 5:
        return 1;
    case 6:
        return 2;
    default:
        return 4;
    }
}
constexpr Real kProgressionStep = 15;

// A position as a function of time, in the cache's form for sampling and in the direct form for the
// final minute.
struct Track {
    std::function<Real(Real)> coarse;
    std::function<Real(Real)> fine;
};

// A discrete state that changes somewhere in (a, b]: the instant of the change, found by bisection with
// the coarse function to a second, then checked and finished with the fine one.
template <class C, class F> Real RefineChange(const C &coarse, const F &fine, Real a, Real b) {
    const int sa = coarse(a);
    while (b - a > kSecond) {
        const Real m = (a + b) / 2;
        if (coarse(m) == sa)
            a = m;
        else
            b = m;
    }
    const Real r = (a + b) / 2;
    Real lo = r - kHalfMinute, hi = r + kHalfMinute;
    int slo = fine(lo), shi = fine(hi);
    for (Real w = 2 * kHalfMinute; slo == shi && w < 1; w *= 2) {
        lo = r - w;
        hi = r + w;
        slo = fine(lo);
        shi = fine(hi);
    }
    if (slo == shi)
        return r;
    while (hi - lo > kSecond) {
        const Real m = (lo + hi) / 2;
        if (fine(m) == slo)
            lo = m;
        else
            hi = m;
    }
    return (lo + hi) / 2;
}

Real Deviation(Real longitude, Real target) {
    return Wrap180(longitude - target);
}

// Exact times of longitude = target in [a, b], sampled with step; the samples of the caller are reused
// where given.
struct Sample {
    Real t;
    Real longitude;
};

std::vector<Sample> SampleTrack(const Track &track, Real a, Real b, Real step,
                                const std::vector<Real> &extra) {
    std::vector<Real> times;
    for (Real t = a; t < b; t += step)
        times.push_back(t);
    times.push_back(b);
    for (Real t : extra)
        if (t > a && t < b)
            times.push_back(t);
    std::sort(times.begin(), times.end());
    std::vector<Sample> samples;
    samples.reserve(times.size());
    for (Real t : times)
        samples.push_back({t, track.coarse(t)});
    return samples;
}

std::vector<Real> ExactTimes(const Track &track, const std::vector<Sample> &samples, Real target) {
    std::vector<Real> found;
    auto sign = [&](const std::function<Real(Real)> &f) {
        return [&f, target](Real t) { return Deviation(f(t), target) < 0 ? 1 : 0; };
    };
    const auto coarse = sign(track.coarse);
    const auto fine = sign(track.fine);
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const Real d0 = Deviation(samples[i - 1].longitude, target);
        const Real d1 = Deviation(samples[i].longitude, target);
        if ((d0 < 0) != (d1 < 0) && std::fabs(d0) < 90 && std::fabs(d1) < 90)
            found.push_back(RefineChange(coarse, fine, samples[i - 1].t, samples[i].t));
    }
    return found;
}

// The edge of the orb around an exact time: walking backwards (direction -1) or forwards.
std::optional<Real> OrbEdge(const Track &track, Real exact, Real target, Real orb, Real step, int direction) {
    auto outside = [&](const std::function<Real(Real)> &f) {
        return [&f, target, orb](Real t) { return std::fabs(Deviation(f(t), target)) > orb ? 1 : 0; };
    };
    const auto coarse = outside(track.coarse);
    const auto fine = outside(track.fine);
    Real t = exact;
    for (Real walked = 0; walked < kLongestEpisode; walked += step) {
        const Real next = t + direction * step;
        if (coarse(next) == 1)
            return direction < 0 ? RefineChange(coarse, fine, next, t) : RefineChange(coarse, fine, t, next);
        t = next;
    }
    return std::nullopt;
}

struct AspectTarget {
    NatalPoint point;
    int aspect = 0;
    Real target = 0;
    Real orb = 0;
};

// Every episode in orb of one moving track and one target with an exact time in [from, to].
void AspectEpisodes(const Track &track, const std::vector<Sample> &samples, const std::vector<Real> &turns,
                    const AspectTarget &t, Real step, const TimingOptions &options, Source source, int body,
                    std::vector<TimingEvent> &out) {
    const std::vector<Real> exacts = ExactTimes(track, samples, t.target);
    std::optional<Real> coveredUntil;
    for (Real e : exacts) {
        if (coveredUntil && e <= *coveredUntil)
            continue;
        TimingEvent ev;
        ev.kind = EventKind::Aspect;
        ev.source = source;
        ev.body = body;
        ev.point = t.point;
        ev.aspect = t.aspect;
        ev.enter = OrbEdge(track, e, t.target, t.orb, step, -1);
        ev.leave = OrbEdge(track, e, t.target, t.orb, step, +1);
        const Real a = ev.enter.value_or(e - step);
        const Real b = ev.leave.value_or(e + step);
        if (a < samples.front().t || b > samples.back().t) {
            ev.exact = ExactTimes(track, SampleTrack(track, a, b, step, turns), t.target);
        } else {
            for (Real x : exacts)
                if (x >= a && x <= b)
                    ev.exact.push_back(x);
        }
        if (ev.exact.empty())
            ev.exact.push_back(e);
        coveredUntil = b;
        ev.listed = e;
        if (options.moment && *options.moment >= a && *options.moment <= b) {
            const Real m = *options.moment;
            const Real now = std::fabs(Deviation(track.fine(m), t.target));
            const Real later = std::fabs(Deviation(track.fine(m + 60 * kSecond), t.target));
            ev.applying = later < now;
        }
        out.push_back(std::move(ev));
    }
}

std::vector<AspectTarget> Targets(const chart::TDataAstro &natal, const TimingOptions &options,
                                  const std::vector<NatalPoint> &points, std::optional<Real> fixedOrb) {
    std::vector<AspectTarget> targets;
    for (const NatalPoint &p : points) {
        const Real x = NatalLongitude(natal, p);
        const bool angular = p.type != NatalPoint::Type::Cusp || p.number == 1 || p.number == 10;
        for (int k : options.aspects) {
            if (k < 1 || k > settings::kAspectKindCount)
                continue;
            const Real orb = fixedOrb ? *fixedOrb : (angular ? options.orbs.OPE[k] : options.orbs.OCE[k]);
            const Real angle = (k - 1) * 15;
            targets.push_back({p, k, Wrap360(x + angle), orb});
            if (angle != 0 && angle != 180)
                targets.push_back({p, k, Wrap360(x - angle), orb});
        }
    }
    return targets;
}

// Changes of a discrete state of a track in [from, to].
template <class C, class F>
void StateChanges(const std::vector<Sample> &samples, const C &coarse, const F &fine, Real from, Real to,
                  const std::function<void(Real, int, int)> &found) {
    int previous = coarse(samples.front().t);
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const int now = coarse(samples[i].t);
        if (now != previous) {
            const Real t = RefineChange(coarse, fine, samples[i - 1].t, samples[i].t);
            if (t >= from && t <= to)
                found(t, previous, now);
        }
        previous = now;
    }
}

int SignState(Real longitude) {
    return static_cast<int>(std::floor(Wrap360(longitude) / 30)) + 1;
}

astronomy::CuspValues Cusps(const chart::InfoCasas &cusps) {
    return chart::CuspValuesOf(cusps);
}

bool Keep(const std::function<bool(double)> &progress, double share) {
    return !progress || progress(share);
}

} // namespace

std::string PointKey(const NatalPoint &point) {
    switch (point.type) {
    case NatalPoint::Type::Ascendant:
        return "asc";
    case NatalPoint::Type::Midheaven:
        return "mc";
    case NatalPoint::Type::Cusp:
        return "cusp " + std::to_string(point.number);
    default:
        return std::to_string(point.number);
    }
}

std::optional<NatalPoint> ParsePointKey(const std::string &text) {
    if (text == "asc")
        return NatalPoint{NatalPoint::Type::Ascendant, 1};
    if (text == "mc")
        return NatalPoint{NatalPoint::Type::Midheaven, 10};
    auto number = [](const std::string &s) -> std::optional<int> {
        if (s.empty() || s.size() > 2 ||
            !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        const int n = std::stoi(s);
        if (n < 1 || n > 12)
            return std::nullopt;
        return n;
    };
    for (const char *prefix : {"cusp ", "cusp", "c"})
        if (text.rfind(prefix, 0) == 0 && text.size() > std::string(prefix).size())
            if (auto n = number(text.substr(std::string(prefix).size())))
                return NatalPoint{NatalPoint::Type::Cusp, *n};
    if (auto n = number(text))
        return NatalPoint{NatalPoint::Type::Body, *n};
    return std::nullopt;
}

Real NatalLongitude(const chart::TDataAstro &natal, const NatalPoint &point) {
    switch (point.type) {
    case NatalPoint::Type::Ascendant:
        return natal.eclipticCusps[1].cusp;
    case NatalPoint::Type::Midheaven:
        return natal.eclipticCusps[10].cusp;
    case NatalPoint::Type::Cusp:
        return natal.eclipticCusps[point.number].cusp;
    default:
        return natal.bodies[point.number].longitude;
    }
}

std::vector<NatalPoint> DefaultPoints() {
    std::vector<NatalPoint> points;
    for (int n = 1; n <= 12; ++n)
        points.push_back({NatalPoint::Type::Body, n});
    points.push_back({NatalPoint::Type::Ascendant, 1});
    points.push_back({NatalPoint::Type::Midheaven, 10});
    return points;
}

void SortEvents(std::vector<TimingEvent> &events) {
    auto pointOrder = [](const NatalPoint &p) { return static_cast<int>(p.type) * 100 + p.number; };
    std::stable_sort(events.begin(), events.end(), [&](const TimingEvent &a, const TimingEvent &b) {
        return std::make_tuple(a.Time(), static_cast<int>(a.source), a.body, static_cast<int>(a.kind),
                               pointOrder(a.point), a.aspect) <
               std::make_tuple(b.Time(), static_cast<int>(b.source), b.body, static_cast<int>(b.kind),
                               pointOrder(b.point), b.aspect);
    });
}

std::vector<TimingEvent> FindTransits(const chart::TDataAstro &natal, const TimingOptions &options,
                                      PositionCache &cache) {
    std::vector<TimingEvent> events;
    const std::vector<NatalPoint> points = options.points.empty() ? DefaultPoints() : options.points;
    const std::vector<AspectTarget> targets = Targets(natal, options, points, std::nullopt);
    const bool deltaT = options.useDeltaT;
    const astronomy::CuspValues ecliptic = Cusps(natal.eclipticCusps);
    const astronomy::CuspValues ascensional = Cusps(natal.ascensionalCusps);
    std::size_t done = 0;
    for (int body : options.bodies) {
        if (!Keep(options.progress, static_cast<double>(done++) / options.bodies.size()))
            break;
        if (body < kFirstMovingBody || body > kLastMovingBody)
            continue;
        const Real step = TransitStep(body);
        const Track track{
            [&cache, body, deltaT](Real u) { return cache.Longitude(body, EngineJulianDay(u, deltaT)); },
            [body, deltaT](Real u) { return DirectPosition(body, EngineJulianDay(u, deltaT)).longitude; }};

        // Stations first: the samples include them, so no turn hides a double crossing between samples.
        std::vector<Real> turns;
        if (body >= 3 && body <= 10) {
            const auto coarse = [&cache, body, deltaT](Real u) {
                return cache.Speed(body, EngineJulianDay(u, deltaT)) < 0 ? 1 : 0;
            };
            const auto fine = [body, deltaT](Real u) {
                constexpr Real h = 0.05L;
                const Real a = DirectPosition(body, EngineJulianDay(u - h, deltaT)).longitude;
                const Real b = DirectPosition(body, EngineJulianDay(u + h, deltaT)).longitude;
                return Wrap180(b - a) < 0 ? 1 : 0;
            };
            const Real margin = 2 * step;
            std::vector<Sample> grid;
            for (Real t = options.from - margin; t < options.to + margin; t += step)
                grid.push_back({t, 0});
            grid.push_back({options.to + margin, 0});
            StateChanges(grid, coarse, fine, options.from - margin, options.to + margin,
                         [&](Real t, int, int now) {
                             turns.push_back(t);
                             if (options.stations && t >= options.from && t <= options.to) {
                                 TimingEvent ev;
                                 ev.kind = EventKind::Station;
                                 ev.body = body;
                                 ev.exact = {t};
                                 ev.retrograde = now == 1;
                                 events.push_back(ev);
                             }
                         });
        }
        const std::vector<Sample> samples = SampleTrack(track, options.from, options.to, step, turns);

        if (options.aspectsWanted)
            for (const AspectTarget &t : targets)
                AspectEpisodes(track, samples, turns, t, step, options, Source::Transit, body, events);

        const auto moving = [&](Real u, bool fine) { return fine ? track.fine(u) : track.coarse(u); };
        auto ingress = [&](EventKind kind, HouseModel model, const std::function<int(Real, bool)> &state) {
            StateChanges(
                samples, [&](Real u) { return state(u, false); }, [&](Real u) { return state(u, true); },
                options.from, options.to,
                [&](Real t, int, int now) {
                    TimingEvent ev;
                    ev.kind = kind;
                    ev.body = body;
                    ev.model = model;
                    ev.exact = {t};
                    (kind == EventKind::SignIngress ? ev.sign : ev.house) = now;
                    ev.retrograde = Wrap180(track.fine(t + kHalfMinute) - track.fine(t - kHalfMinute)) < 0;
                    events.push_back(ev);
                });
        };
        if (options.signIngresses)
            ingress(EventKind::SignIngress, HouseModel::Ecliptic,
                    [&](Real u, bool fine) { return SignState(moving(u, fine)); });
        if (options.houseIngresses)
            for (HouseModel model : options.houseModels) {
                if (model == HouseModel::Ecliptic) {
                    ingress(EventKind::HouseIngress, model, [&](Real u, bool fine) {
                        return static_cast<int>(chart::HouseOf(natal.eclipticCusps, moving(u, fine)));
                    });
                } else {
                    ingress(EventKind::HouseIngress, model, [&](Real u, bool fine) {
                        const Real jd = EngineJulianDay(u, deltaT);
                        const EclipticPoint p = fine ? DirectPosition(body, jd) : cache.Position(body, jd);
                        const astronomy::Equatorial eq =
                            astronomy::EclipticToEquatorial(natal.obliquity, p.latitude, p.longitude);
                        const astronomy::MundaneFields m =
                            astronomy::MundanePosition({p.longitude, eq.rightAscension, eq.declination},
                                                       ecliptic, ascensional, natal.latitude);
                        return static_cast<int>(chart::HouseOf(natal.ascensionalCusps, m.aoDo));
                    });
                }
            }
    }
    SortEvents(events);
    return events;
}

std::vector<TimingEvent> FindProgressions(const chart::TDataAstro &natal, const std::vector<Source> &sources,
                                          const TimingOptions &options, PositionCache &cache) {
    std::vector<TimingEvent> events;
    const std::vector<NatalPoint> points = options.points.empty() ? DefaultPoints() : options.points;
    const std::vector<AspectTarget> targets = Targets(natal, options, points, options.progressionOrb);
    const bool deltaT = options.useDeltaT;
    const Real natalJd = natal.julianDay;
    // The progressed ephemeris instant of an event instant: a day after birth for each year of age.
    const auto progressedJd = [natalJd, deltaT](Real u) {
        return natalJd + (EngineJulianDay(u, deltaT) - natalJd) / chart::kTropicalYear;
    };
    const auto age = [natalJd, deltaT](Real u) { return EngineJulianDay(u, deltaT) - natalJd; };
    const auto body = [&cache, progressedJd](int n, Real u, bool fine) {
        const Real jd = progressedJd(u);
        return fine ? DirectPosition(n, jd) : cache.Position(n, jd);
    };
    const Real natalSun = natal.bodies[1].longitude;

    std::vector<int> moving = options.bodies;
    moving.push_back(kMovingAscendant);
    moving.push_back(kMovingMidheaven);

    // Longitude of moving body n of a source at u.
    const auto longitude = [&](Source source, int n, Real u, bool fine) -> Real {
        switch (source) {
        case Source::Secondary: {
            if (n <= kLastMovingBody)
                return body(n, u, fine).longitude;
            const EclipticPoint sun = body(1, u, fine);
            const astronomy::Equatorial eq =
                astronomy::EclipticToEquatorial(natal.obliquity, sun.latitude, sun.longitude);
            Real a = std::fabs(natal.bodies[1].rightAscension - eq.rightAscension);
            if (a > 180)
                a = 360 - a;
            const Real armc = Wrap360(natal.armc + a);
            const astronomy::TopocentricResult cusps =
                astronomy::TopocentricCusps(armc, natal.obliquity, natal.latitude);
            return cusps.ecliptic[n == kMovingAscendant ? 1 : 10];
        }
        case Source::SolarArc: {
            const Real sun = body(1, u, fine).longitude;
            const Real arc = sun > natalSun ? sun - natalSun : 360 - natalSun + sun;
            const Real natalX = n <= kLastMovingBody
                                    ? natal.bodies[n].longitude
                                    : natal.eclipticCusps[n == kMovingAscendant ? 1 : 10].cusp;
            return Wrap360(natalX + arc);
        }
        default: {
            const Real arc = age(u) * chart::kPrimaryArcPerDay * (source == Source::PrimaryDirect ? 1 : -1);
            const chart::DirectedResult d = chart::DirectedChart(natal, arc);
            return n <= kLastMovingBody ? d.bodies[n].longitude
                                        : d.cusps[n == kMovingAscendant ? 1 : 10].cusp;
        }
        }
    };

    const std::size_t total = sources.size() * moving.size();
    std::size_t done = 0;
    for (Source source : sources) {
        for (int n : moving) {
            if (!Keep(options.progress, static_cast<double>(done++) / total))
                return SortEvents(events), events;
            if (n != kMovingAscendant && n != kMovingMidheaven && (n < 1 || n > kLastMovingBody))
                continue;
            const Track track{[&, source, n](Real u) { return longitude(source, n, u, false); },
                              [&, source, n](Real u) { return longitude(source, n, u, true); }};
            const std::vector<Sample> samples =
                SampleTrack(track, options.from, options.to, kProgressionStep, {});
            if (options.aspectsWanted)
                for (const AspectTarget &t : targets)
                    AspectEpisodes(track, samples, {}, t, kProgressionStep, options, source, n, events);
            auto ingress = [&](EventKind kind, const std::function<int(Real, bool)> &state) {
                StateChanges(
                    samples, [&](Real u) { return state(u, false); }, [&](Real u) { return state(u, true); },
                    options.from, options.to,
                    [&](Real t, int, int now) {
                        TimingEvent ev;
                        ev.kind = kind;
                        ev.source = source;
                        ev.body = n;
                        ev.exact = {t};
                        (kind == EventKind::SignIngress ? ev.sign : ev.house) = now;
                        ev.retrograde = Wrap180(track.fine(t + 1) - track.fine(t - 1)) < 0;
                        events.push_back(ev);
                    });
            };
            if (options.signIngresses)
                ingress(EventKind::SignIngress,
                        [&](Real u, bool fine) { return SignState(longitude(source, n, u, fine)); });
            if (options.houseIngresses && n <= kLastMovingBody)
                ingress(EventKind::HouseIngress, [&](Real u, bool fine) {
                    return static_cast<int>(
                        chart::HouseOf(natal.eclipticCusps, longitude(source, n, u, fine)));
                });
        }
        if (source == Source::Secondary && options.moonPhases) {
            const auto phase = [&](Real u, bool fine) {
                const Real d = Wrap360(body(2, u, fine).longitude - body(1, u, fine).longitude);
                return static_cast<int>(std::floor(d / 45));
            };
            std::vector<Sample> grid;
            for (Real t = options.from; t < options.to; t += kProgressionStep)
                grid.push_back({t, 0});
            grid.push_back({options.to, 0});
            StateChanges(
                grid, [&](Real u) { return phase(u, false); }, [&](Real u) { return phase(u, true); },
                options.from, options.to,
                [&](Real t, int, int now) {
                    TimingEvent ev;
                    ev.kind = EventKind::MoonPhase;
                    ev.source = source;
                    ev.body = 2;
                    ev.point = {NatalPoint::Type::Body, 1};
                    ev.phase = now;
                    ev.exact = {t};
                    events.push_back(ev);
                });
        }
    }
    SortEvents(events);
    return events;
}

} // namespace cel::timing
