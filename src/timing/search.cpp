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
constexpr Real kProgressionStep = 30;

// A position as a function of time, in the cache's form for sampling and in the direct form for the
// final minute.
struct Track {
    std::function<Real(Real)> coarse;
    std::function<Real(Real)> fine;
    bool coarseIsExact = false; // the coarse form is the engine's own (directions)
};

// Above this speed (degrees a day) the cache's 0.01" moves a crossing by less than 20 seconds, so the
// cache's time stands; slower crossings are finished on the direct engine.
constexpr Real kSafeSpeed = 0.012L;

// A discrete state that changes somewhere in (a, b]: the instant of the change, found by bisection with
// the coarse function to a second, then checked and finished with the fine one.
template <class C, class F> Real RefineChange(const C &coarse, const F &fine, Real a, Real b) {
    // Halves [lo, hi] to a second around the change of state's value from the one it has at lo.
    const auto bisect = [](const auto &state, Real lo, Real hi, int atLo) {
        while (hi - lo > kSecond) {
            const Real m = (lo + hi) / 2;
            if (state(m) == atLo)
                lo = m;
            else
                hi = m;
        }
        return (lo + hi) / 2;
    };
    const Real r = bisect(coarse, a, b, coarse(a));
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
    return bisect(fine, lo, hi, slo);
}

Real Deviation(Real longitude, Real target) {
    return Wrap180(longitude - target);
}

// The instant in [a, b] at which the track crosses target (the deviation changes sign there and stays
// under 90 degrees): Illinois steps on the cache, then the direct engine where the track is slow.
Real SolveCrossing(const Track &track, Real target, Real a, Real b) {
    const auto g = [&](Real t) { return Deviation(track.coarse(t), target); };
    const Real a0 = a, b0 = b;
    Real fa = g(a), fb = g(b);
    Real r = a;
    int side = 0;
    for (int i = 0; i < 100; ++i) {
        r = fb != fa ? (a * fb - b * fa) / (fb - fa) : (a + b) / 2;
        if (!(r > a && r < b))
            r = (a + b) / 2;
        const Real fr = g(r);
        if (std::fabs(fr) < 1e-10L || b - a < kSecond / 8)
            break;
        if ((fr < 0) == (fb < 0)) {
            b = r;
            fb = fr;
            if (side == -1)
                fa /= 2;
            side = -1;
        } else {
            a = r;
            fa = fr;
            if (side == 1)
                fb /= 2;
            side = 1;
        }
    }
    if (track.coarseIsExact)
        return r;
    constexpr Real h = 0.01L;
    const Real speed = (g(r + h) - g(r - h)) / (2 * h);
    if (std::fabs(speed) >= kSafeSpeed)
        return r;
    if (std::fabs(speed) > 1e-4L) {
        // Newton steps on the direct engine with the cache's speed: the cache is off by a few
        // hundredths of a second of arc, so one step usually lands within a second.
        for (int i = 0; i < 4; ++i) {
            const Real step = Deviation(track.fine(r), target) / speed;
            r -= step;
            if (std::fabs(step) < kSecond / 2)
                return std::clamp(r, a0, b0);
        }
    }
    const auto coarse = [&](Real t) { return g(t) < 0 ? 1 : 0; };
    const auto fine = [&](Real t) { return Deviation(track.fine(t), target) < 0 ? 1 : 0; };
    return std::clamp(RefineChange(coarse, fine, std::max(a0, r - kSecond), std::min(b0, r + kSecond)), a0,
                      b0);
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
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const Real d0 = Deviation(samples[i - 1].longitude, target);
        const Real d1 = Deviation(samples[i].longitude, target);
        if ((d0 < 0) != (d1 < 0) && std::fabs(d0) < 90 && std::fabs(d1) < 90)
            found.push_back(SolveCrossing(track, target, samples[i - 1].t, samples[i].t));
    }
    return found;
}

// The edge of the orb around an exact time: walking backwards (direction -1) or forwards, over the
// samples while they last, then with fresh positions.
std::optional<Real> OrbEdge(const Track &track, const std::vector<Sample> &samples, Real exact, Real target,
                            Real orb, Real step, int direction) {
    const auto edgeBetween = [&](Real inner, Real outer, Real d) {
        // The edge is the crossing of target +- orb on the side the track left by.
        const Real edge = Wrap360(target + (d < 0 ? -orb : orb));
        return direction < 0 ? SolveCrossing(track, edge, outer, inner)
                             : SolveCrossing(track, edge, inner, outer);
    };
    Real t = exact;
    if (!samples.empty() && exact >= samples.front().t && exact <= samples.back().t) {
        auto it = std::lower_bound(samples.begin(), samples.end(), exact,
                                   [](const Sample &s, Real x) { return s.t < x; });
        std::ptrdiff_t j = direction < 0 ? (it - samples.begin()) - 1 : it - samples.begin();
        if (direction > 0 && j < static_cast<std::ptrdiff_t>(samples.size()) && samples[j].t == exact)
            ++j;
        for (; j >= 0 && j < static_cast<std::ptrdiff_t>(samples.size()); j += direction) {
            const Real d = Deviation(samples[j].longitude, target);
            if (std::fabs(d) > orb)
                return edgeBetween(t, samples[j].t, d);
            t = samples[j].t;
        }
    }
    for (Real walked = std::fabs(t - exact); walked < kLongestEpisode; walked += step) {
        const Real next = t + direction * step;
        const Real d = Deviation(track.coarse(next), target);
        if (std::fabs(d) > orb)
            return edgeBetween(t, next, d);
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

// For each target, the sample intervals i (from sample i - 1 to i) in which the track crosses it: the
// targets sorted round the circle, each interval's short arc looked up in them.
std::vector<std::vector<std::size_t>> CrossingIntervals(const std::vector<Sample> &samples,
                                                        const std::vector<AspectTarget> &targets) {
    std::vector<std::pair<Real, std::size_t>> sorted;
    for (std::size_t k = 0; k < targets.size(); ++k)
        sorted.push_back({Wrap360(targets[k].target), k});
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::vector<std::size_t>> crossings(targets.size());
    // Targets c with lo < c <= hi on the circle, lo in [0, 360).
    const auto collect = [&](Real lo, Real hi, bool forward, std::size_t interval) {
        const auto add = [&](Real a, Real b) {
            auto first =
                forward ? std::upper_bound(sorted.begin(), sorted.end(), std::make_pair(a, targets.size()))
                        : std::lower_bound(sorted.begin(), sorted.end(), std::make_pair(a, std::size_t{0}));
            for (auto it = first; it != sorted.end(); ++it) {
                if (forward ? it->first > b : it->first >= b)
                    break;
                crossings[it->second].push_back(interval);
            }
        };
        if (hi < 360) {
            add(lo, hi);
        } else {
            add(lo, 360);
            if (forward)
                add(-1, hi - 360);
            else
                add(0, hi - 360);
        }
    };
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const Real l0 = Wrap360(samples[i - 1].longitude);
        const Real delta = Wrap180(samples[i].longitude - samples[i - 1].longitude);
        // Forwards the deviation passes from below 0 to 0 or above for targets in (l0, l1]; backwards
        // from 0 or above to below 0 for targets in (l1, l0].
        if (delta > 0)
            collect(l0, l0 + delta, true, i);
        else if (delta < 0)
            collect(Wrap360(l0 + delta), Wrap360(l0 + delta) - delta, true, i);
    }
    return crossings;
}

// Every episode in orb of one moving track and one target with an exact time in [from, to].
void AspectEpisodes(const Track &track, const std::vector<Sample> &samples,
                    const std::vector<std::size_t> &intervals, const std::vector<Real> &turns,
                    const AspectTarget &t, Real step, const TimingOptions &options, Source source, int body,
                    std::vector<TimingEvent> &out) {
    if (intervals.empty())
        return;
    std::vector<Real> exacts;
    for (std::size_t i : intervals)
        exacts.push_back(SolveCrossing(track, t.target, samples[i - 1].t, samples[i].t));
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
        ev.enter = OrbEdge(track, samples, e, t.target, t.orb, step, -1);
        ev.leave = OrbEdge(track, samples, e, t.target, t.orb, step, +1);
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

// Changes of a discrete state between the samples, each timed by refine(a, b, before, after); those in
// [from, to] are reported.
template <class State, class Refine, class Found>
void StateChanges(const std::vector<Sample> &samples, const State &state, const Refine &refine, Real from,
                  Real to, const Found &found) {
    int previous = state(samples.front());
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const int now = state(samples[i]);
        if (now != previous) {
            const Real t = refine(samples[i - 1].t, samples[i].t, previous, now);
            if (t >= from && t <= to)
                found(t, previous, now);
        }
        previous = now;
    }
}

// The boundary between two neighbouring states 1..12 of a circle cut at boundaries[1..12] (state s runs
// from boundary s to boundary s + 1); nothing when the states are not neighbours.
std::optional<Real> Boundary(const std::array<Real, kListSize> &boundaries, int before, int after) {
    if (after == before % 12 + 1)
        return boundaries[after];
    if (before == after % 12 + 1)
        return boundaries[before];
    return std::nullopt;
}

// A station in [a, b], where the cache's speed changes sign: its zero on the cache, then the vertex
// of the direct engine's longitudes about it.
Real SolveStation(PositionCache &cache, int body, bool deltaT, Real a, Real b) {
    const auto speed = [&](Real u) { return cache.Speed(body, EngineJulianDay(u, deltaT)); };
    Real fa = speed(a), fb = speed(b);
    Real r = (a + b) / 2;
    for (int i = 0; i < 60 && b - a > kSecond; ++i) {
        r = fb != fa ? (a * fb - b * fa) / (fb - fa) : (a + b) / 2;
        if (!(r > a && r < b))
            r = (a + b) / 2;
        const Real fr = speed(r);
        if (fr == 0)
            break;
        if ((fr < 0) == (fb < 0)) {
            b = r;
            fb = fr;
            fa /= 2;
        } else {
            a = r;
            fa = fr;
            fb /= 2;
        }
    }
    const auto longitude = [&](Real u) { return DirectPosition(body, EngineJulianDay(u, deltaT)).longitude; };
    for (Real h : {0.25L, 0.02L}) {
        const Real l0 = longitude(r);
        const Real lm = Wrap180(longitude(r - h) - l0);
        const Real lp = Wrap180(longitude(r + h) - l0);
        const Real curvature = lm + lp;
        if (curvature == 0)
            break;
        r += h * (lm - lp) / (2 * curvature);
    }
    return r;
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

// Sign ingresses (kind SignIngress) or natal ecliptic house ingresses of a track in the period.
template <class Found>
void IngressesOf(const Track &track, const std::vector<Sample> &samples, const chart::TDataAstro &natal,
                 const TimingOptions &options, EventKind kind, const Found &found) {
    std::array<Real, kListSize> boundaries{};
    for (int i = 1; i <= 12; ++i)
        boundaries[i] = kind == EventKind::SignIngress ? (i - 1) * 30 : natal.eclipticCusps[i].cusp;
    const auto state = [&](Real longitude) {
        return kind == EventKind::SignIngress
                   ? SignState(longitude)
                   : static_cast<int>(chart::HouseOf(natal.eclipticCusps, longitude));
    };
    StateChanges(
        samples, [&](const Sample &s) { return state(s.longitude); },
        [&](Real a, Real b, int before, int after) {
            if (const std::optional<Real> boundary = Boundary(boundaries, before, after))
                return SolveCrossing(track, *boundary, a, b);
            return RefineChange([&](Real u) { return state(track.coarse(u)); },
                                [&](Real u) { return state(track.fine(u)); }, a, b);
        },
        options.from, options.to, found);
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
            const Real margin = 2 * step;
            std::vector<Sample> grid;
            for (Real t = options.from - margin; t < options.to + margin; t += step)
                grid.push_back({t, 0});
            grid.push_back({options.to + margin, 0});
            StateChanges(
                grid,
                [&](const Sample &s) { return cache.Speed(body, EngineJulianDay(s.t, deltaT)) < 0 ? 1 : 0; },
                [&](Real a, Real b, int, int) { return SolveStation(cache, body, deltaT, a, b); },
                options.from - margin, options.to + margin,
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

        if (options.aspectsWanted) {
            const std::vector<std::vector<std::size_t>> crossings = CrossingIntervals(samples, targets);
            for (std::size_t k = 0; k < targets.size(); ++k)
                AspectEpisodes(track, samples, crossings[k], turns, targets[k], step, options,
                               Source::Transit, body, events);
        }

        const auto report = [&](EventKind kind, HouseModel model) {
            return [&, kind, model](Real t, int, int now) {
                TimingEvent ev;
                ev.kind = kind;
                ev.body = body;
                ev.model = model;
                ev.exact = {t};
                (kind == EventKind::SignIngress ? ev.sign : ev.house) = now;
                ev.retrograde = Wrap180(track.coarse(t + kHalfMinute) - track.coarse(t - kHalfMinute)) < 0;
                events.push_back(ev);
            };
        };
        if (options.signIngresses)
            IngressesOf(track, samples, natal, options, EventKind::SignIngress,
                        report(EventKind::SignIngress, HouseModel::Ecliptic));
        if (options.houseIngresses)
            for (HouseModel model : options.houseModels) {
                if (model == HouseModel::Ecliptic) {
                    IngressesOf(track, samples, natal, options, EventKind::HouseIngress,
                                report(EventKind::HouseIngress, model));
                    continue;
                }
                const auto house = [&](Real u, bool fine) {
                    const Real jd = EngineJulianDay(u, deltaT);
                    const EclipticPoint p = fine ? DirectPosition(body, jd) : cache.Position(body, jd);
                    const astronomy::Equatorial eq =
                        astronomy::EclipticToEquatorial(natal.obliquity, p.latitude, p.longitude);
                    const astronomy::MundaneFields m =
                        astronomy::MundanePosition({p.longitude, eq.rightAscension, eq.declination}, ecliptic,
                                                   ascensional, natal.latitude);
                    return static_cast<int>(chart::HouseOf(natal.ascensionalCusps, m.aoDo));
                };
                StateChanges(
                    samples, [&](const Sample &s) { return house(s.t, false); },
                    [&](Real a, Real b, int, int) {
                        return RefineChange([&](Real u) { return house(u, false); },
                                            [&](Real u) { return house(u, true); }, a, b);
                    },
                    options.from, options.to, report(EventKind::HouseIngress, model));
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
            return n <= kLastMovingBody ? chart::DirectedBodyLongitude(natal, n, arc)
                                        : chart::DirectedCusp(natal, n == kMovingAscendant ? 1 : 10, arc);
        }
        }
    };

    // All moving positions of a source at once (one directed chart, one progressed Sun for the angles).
    const auto frame = [&](Source source, Real u) {
        std::array<Real, kMovingMidheaven + 1> lon{};
        if (source == Source::PrimaryDirect || source == Source::PrimaryConverse) {
            const Real arc = age(u) * chart::kPrimaryArcPerDay * (source == Source::PrimaryDirect ? 1 : -1);
            const chart::DirectedResult d = chart::DirectedChart(natal, arc);
            for (int n = 1; n <= kLastMovingBody; ++n)
                lon[n] = d.bodies[n].longitude;
            lon[kMovingAscendant] = d.cusps[1].cusp;
            lon[kMovingMidheaven] = d.cusps[10].cusp;
            return lon;
        }
        for (int n : moving)
            if (n <= kLastMovingBody || source != Source::Secondary)
                lon[n] = longitude(source, n, u, false);
        if (source == Source::Secondary) {
            const EclipticPoint sun = body(1, u, false);
            const astronomy::Equatorial eq =
                astronomy::EclipticToEquatorial(natal.obliquity, sun.latitude, sun.longitude);
            Real a = std::fabs(natal.bodies[1].rightAscension - eq.rightAscension);
            if (a > 180)
                a = 360 - a;
            const astronomy::TopocentricResult cusps =
                astronomy::TopocentricCusps(Wrap360(natal.armc + a), natal.obliquity, natal.latitude);
            lon[kMovingAscendant] = cusps.ecliptic[1];
            lon[kMovingMidheaven] = cusps.ecliptic[10];
        }
        return lon;
    };
    std::vector<Real> times;
    for (Real t = options.from; t < options.to; t += kProgressionStep)
        times.push_back(t);
    times.push_back(options.to);

    const std::size_t total = sources.size() * moving.size();
    std::size_t done = 0;
    for (Source source : sources) {
        std::vector<std::array<Real, kMovingMidheaven + 1>> frames;
        frames.reserve(times.size());
        for (Real t : times)
            frames.push_back(frame(source, t));
        for (int n : moving) {
            if (!Keep(options.progress, static_cast<double>(done++) / total))
                return SortEvents(events), events;
            if (n != kMovingAscendant && n != kMovingMidheaven && (n < 1 || n > kLastMovingBody))
                continue;
            Track track{[&, source, n](Real u) { return longitude(source, n, u, false); },
                        [&, source, n](Real u) { return longitude(source, n, u, true); }};
            track.coarseIsExact = source == Source::PrimaryDirect || source == Source::PrimaryConverse;
            std::vector<Sample> samples(times.size());
            for (std::size_t i = 0; i < times.size(); ++i)
                samples[i] = {times[i], frames[i][n]};
            if (options.aspectsWanted) {
                const std::vector<std::vector<std::size_t>> crossings = CrossingIntervals(samples, targets);
                for (std::size_t k = 0; k < targets.size(); ++k)
                    AspectEpisodes(track, samples, crossings[k], {}, targets[k], kProgressionStep, options,
                                   source, n, events);
            }
            const auto report = [&, source, n](EventKind kind) {
                return [&, kind, source, n](Real t, int, int now) {
                    TimingEvent ev;
                    ev.kind = kind;
                    ev.source = source;
                    ev.body = n;
                    ev.exact = {t};
                    (kind == EventKind::SignIngress ? ev.sign : ev.house) = now;
                    ev.retrograde = Wrap180(track.coarse(t + 1) - track.coarse(t - 1)) < 0;
                    events.push_back(ev);
                };
            };
            if (options.signIngresses)
                IngressesOf(track, samples, natal, options, EventKind::SignIngress,
                            report(EventKind::SignIngress));
            if (options.houseIngresses && n <= kLastMovingBody)
                IngressesOf(track, samples, natal, options, EventKind::HouseIngress,
                            report(EventKind::HouseIngress));
        }
        if (source == Source::Secondary && options.moonPhases) {
            // The progressed Moon's elongation from the progressed Sun, in eight phases of 45 degrees.
            const Track elongation{
                [&](Real u) { return Wrap360(body(2, u, false).longitude - body(1, u, false).longitude); },
                [&](Real u) { return Wrap360(body(2, u, true).longitude - body(1, u, true).longitude); }};
            const std::vector<Sample> samples =
                SampleTrack(elongation, options.from, options.to, kProgressionStep, {});
            StateChanges(
                samples, [](const Sample &s) { return static_cast<int>(std::floor(s.longitude / 45)) % 8; },
                [&](Real a, Real b, int, int after) { return SolveCrossing(elongation, after * 45, a, b); },
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
