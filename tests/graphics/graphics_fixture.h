// Shared set-up of the graphics tests: charts to draw and ways to look at what was drawn.
#pragma once

#include <QGuiApplication>
#include <QImage>

#include <cmath>
#include <cstdlib>
#include <string>

#include "analysis/aspects.h"
#include "chart/chart.h"
#include "settings/settings.h"
#include "settings/view_record.h"

namespace cel::graphics::testing {

// The test program's main makes the application object that fonts need; the fixtures check it is there.
inline void EnsureApp() {
    if (QGuiApplication::instance() == nullptr)
        std::abort();
}

// How much of `colour` a pixel shows over `background` (0..1), or -1 when the pixel is no blend of the
// two: anti-aliased edges are blends, so shapes are checked by coverage instead of exact pixels.
inline double Coverage(QRgb pixel, const QColor &colour, const QColor &background = Qt::white) {
    const int p[3] = {qRed(pixel), qGreen(pixel), qBlue(pixel)};
    const int c[3] = {colour.red(), colour.green(), colour.blue()};
    const int b[3] = {background.red(), background.green(), background.blue()};
    double cover = -1;
    for (int i = 0; i < 3; ++i) {
        if (std::abs(c[i] - b[i]) < 40) {
            if (std::abs(p[i] - b[i]) > 12)
                return -1;
            continue;
        }
        const double a = static_cast<double>(p[i] - b[i]) / (c[i] - b[i]);
        if (a < -0.05 || a > 1.05 || (cover >= 0 && std::fabs(a - cover) > 0.1))
            return -1;
        cover = cover < 0 ? a : (cover + a) / 2;
    }
    return cover < 0 ? 0 : cover;
}

// Pixels of an area that show at least half of a colour over a background.
inline int TintedIn(const QImage &image, const QRect &area, const QColor &colour,
                    const QColor &background = Qt::white) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.valid(x, y) && Coverage(image.pixel(x, y), colour, background) >= 0.5)
                ++n;
    return n;
}

// Saves a picture for a look by eye when CEL_SHOTS_DIR names a folder.
inline void Shot(const QImage &image, const std::string &name) {
    if (const char *dir = std::getenv("CEL_SHOTS_DIR"))
        image.save(QString::fromStdString(std::string(dir) + "/" + name + ".png"));
}

// A natal chart (1979-10-17 12:30 at 74.08 W, 4.6 N) and an event some years later, with their
// progression set and aspect lists.
struct Charts {
    chart::ChartContext context;
    chart::TDato natalRecord, eventRecord;
    chart::TDataAstro natal, event;
    chart::TDataProg prog;
    settings::Settings settings;
    analysis::AspectLists aspects;

    Charts() {
        settings.InstallFirstRunValues();
        context.options = chart::ChartOptionsFrom(settings);
        const chart::PlacePosition place{-5, 74.0833L, 4.6L};
        natalRecord.placeId = 1;
        eventRecord.placeId = 1;
        chart::ComputeChartFor(context, natalRecord, place, natal, EncodeDate(1979, 10, 17) + 12.5 / 24);
        chart::ComputeChartFor(context, eventRecord, place, event, EncodeDate(2024, 3, 5) + 9.0 / 24);
        chart::ComputeProgressions(natal, event, prog, context.options);
    }

    // Rebuilds the aspect lists for the view's items.
    void BuildAspects(const settings::RecVistaCarta &view, bool cross) {
        analysis::BuildNatalAspects(aspects, prog.items[1], prog.items[2], view.computeDispositors,
                                    settings.orbs, settings.dignity);
        analysis::BuildPairAspects(aspects, prog.items[view.innerItem], prog.items[view.outerItem],
                                   analysis::kOrbModeEcliptic, cross, settings.orbs);
    }
};

// A progression set with round positions: cusps every 30 degrees from an Ascendant at 100 degrees, and
// body i at 100 + 25 i degrees (no two bodies near each other, none near a cusp), in every item.
inline chart::TDataProg SyntheticProgressions() {
    chart::TDataProg prog;
    for (int item = 1; item <= chart::kItemCount; ++item) {
        chart::RecDataProg &rec = prog.items[static_cast<std::size_t>(item)];
        for (int n = 1; n <= 12; ++n) {
            const float cusp = static_cast<float>(std::fmod(100.0 + 30.0 * (n - 1), 360.0));
            rec.cusps[static_cast<std::size_t>(n)] = {cusp, static_cast<std::uint8_t>(cusp / 30 + 1), 0};
            const long double position = std::fmod(113.0L + 25.0L * n, 360.0L);
            auto &body = rec.bodies[static_cast<std::size_t>(n)];
            body.position = position;
            body.wheelPosition = position;
            body.sign = static_cast<std::uint8_t>(position / 30) + 1;
            body.house = static_cast<std::uint8_t>((static_cast<int>(position - 100 + 360) % 360) / 30 + 1);
        }
        rec.rotation = std::fmod(540.0L - rec.cusps[1].cusp, 360.0L);
    }
    return prog;
}

// A view that shows every aspect of every body and cusp.
inline settings::RecVistaCarta ShowAllView() {
    settings::RecVistaCarta view;
    view.aspectFamilies.fill(true);
    view.pointSelection.fill(true);
    view.cuspSelection.fill(true);
    view.angleSelection.fill(true);
    return view;
}

} // namespace cel::graphics::testing
