// The chart program's window: one date step as the window runs it with a single wheel (both charts,
// progression set, aspect lists and the wheel drawn at 800 px), the same step through the window's
// action (the session's operation, its one notification and the controls written from it), and the
// start-up to the first painted window with a data file of 10,000 persons.
#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QImage>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

#include "bench_setup.h"
#include "common/scripted_notifier.h"
#include "database/data_file.h"
#include "example_workspace.h"
#include "graphics/canvas.h"
#include "graphics/wheel.h"
#include "session/date_entry.h"
#include "session/workspace.h"
#include "workspace/form_main.h"
#include "workspace/transits_page.h"

namespace {

using namespace cel;

void BM_DateStepWithWheel(benchmark::State &state) {
    bench::EnsureApplication<QApplication>("bench_workspace");
    session::Workspace w;
    bench::SetUpExampleCharts(w, EncodeDate(2024, 10, 17) + 8.0 / 24);
    const int size = static_cast<int>(state.range(0));
    QImage image(size, size, QImage::Format_RGB32);
    TDateTime value = w.eventRecord.localDateTime;
    for (auto _ : state) {
        value = session::StepDateTime(value, session::StepUnit::Day, 1);
        w.ComputeChart(session::ChartSide::Natal, w.natalRecord.localDateTime, bench::kCali);
        w.ComputeChart(session::ChartSide::Event, value, bench::kCali);
        w.Recompute();
        image.fill(Qt::white);
        graphics::Canvas canvas(image);
        const graphics::WheelInput input{w.progressions, w.view, &w.aspects,
                                         graphics::WheelColoursFrom(w.settings)};
        benchmark::DoNotOptimize(graphics::DrawWheel(
            canvas, QRect(0, 0, size, size), graphics::GlyphSet::Choose(w.view.largeImagesWheel), input));
    }
}
BENCHMARK(BM_DateStepWithWheel)->Arg(800)->Unit(benchmark::kMillisecond);

// The "Tránsitos" window filling a ten-year listing of every transiting body with every aspect kind: the
// longest time the window's event loop was kept from running (a 5 ms timer's largest gap), in ms.
void BM_TransitsWindowLongestBlock(benchmark::State &state) {
    bench::EnsureApplication<QApplication>("bench_workspace");
    session::Workspace w;
    bench::SetUpExampleCharts(w, EncodeDate(2024, 10, 17) + 8.0 / 24);
    w.Recompute();
    ScriptedNotifier notifier;
    double longest = 0, events = 0;
    for (auto _ : state) {
        workspace::TransitsPage page(notifier, w);
        page.resize(1100, 600);
        page.show();
        page.findChild<QDateEdit *>("DEDesde")->setDate(QDate(2020, 1, 1));
        page.findChild<QDateEdit *>("DEHasta")->setDate(QDate(2029, 12, 31));
        bool finished = false;
        page.onFinished = [&](bool) { finished = true; };
        QElapsedTimer clock;
        qint64 last = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            longest = std::max(longest, static_cast<double>(now - last));
            last = now;
        });
        clock.start();
        tick.start(5);
        page.Start();
        while (!finished)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        events = page.Model().rowCount();
    }
    state.counters["longest_block_ms"] = longest;
    state.counters["events"] = events;
}
BENCHMARK(BM_TransitsWindowLongestBlock)->Unit(benchmark::kMillisecond)->Iterations(1);

// A data file of 10,000 persons, written once.
std::string LargeDataFile() {
    static std::string path;
    if (!path.empty())
        return path;
    database::Database db;
    auto country = std::make_unique<database::TPais>();
    country->Id = 1;
    country->Nombre = "Colombia";
    db.Countries.push_back(std::move(country));
    auto place = std::make_unique<database::TLugar_Geo>();
    place->Id = 1;
    place->IdPais = 1;
    place->Nombre = "Cali";
    place->TZ = -5;
    place->Lat = 3.43722L;
    place->Lon = 76.5225L;
    db.Places.push_back(std::move(place));
    for (int i = 1; i <= 10000; ++i) {
        auto p = std::make_unique<database::TPersona>();
        p->Id = i;
        p->Nombre = "Persona" + std::to_string(i % 977);
        p->Apellidos = "Apellido" + std::to_string(i);
        p->IdLugarNac = 1;
        p->IsDate = 1;
        p->IsHora = 1;
        p->Fecha = 20000 + i * 1.37;
        p->Sexo = i % 3;
        db.Persons.push_back(std::move(p));
    }
    path =
        (std::filesystem::temp_directory_path() / ("bench_workspace_" + std::to_string(::getpid()) + ".age"))
            .string();
    database::SaveDataFile(path, db, TextFormat{});
    return path;
}

void BM_StartUpWith10000Persons(benchmark::State &state) {
    bench::EnsureApplication<QApplication>("bench_workspace");
    const std::string file = LargeDataFile();
    const std::string ini = file + ".ini";
    SilentNotifier notifier;
    for (auto _ : state) {
        workspace::MainWindowOptions options;
        options.iniPath = ini;
        options.dataFile = file;
        options.useGuard = false;
        workspace::TFormMain window(notifier, options);
        window.resize(1366, 768);
        window.show();
        QApplication::processEvents();
        window.grab(); // the first painted window
        benchmark::DoNotOptimize(window.LastAspectCount());
    }
    std::filesystem::remove(ini);
}
// Alt+Right in the window: the session steps the entry, recomputes once and the window shows it (the
// fields, the labels, the wheel at about 800 px, the tables), with 10,000 persons in the list.
void BM_WindowDateStep(benchmark::State &state) {
    bench::EnsureApplication<QApplication>("bench_workspace");
    const std::string file = LargeDataFile();
    const std::string ini = file + ".step.ini";
    SilentNotifier notifier;
    workspace::MainWindowOptions options;
    options.iniPath = ini;
    options.dataFile = file;
    options.useGuard = false;
    {
        workspace::TFormMain window(notifier, options);
        window.resize(1600, 1000);
        window.show();
        QApplication::processEvents();
        window.Session().ChoosePerson(1);
        QAction *step = window.Action(workspace::Command::StepForward);
        const QWidget *wheel = window.findChild<QWidget *>("PaintBox");
        const std::uint64_t before = window.Workspace().counters.recomputes;
        for (auto _ : state) {
            step->trigger();
            benchmark::DoNotOptimize(window.LastAspectCount());
        }
        state.counters["wheel_px"] = wheel ? std::min(wheel->width(), wheel->height()) : 0;
        state.counters["recomputes_per_step"] =
            benchmark::Counter(static_cast<double>(window.Workspace().counters.recomputes - before),
                               benchmark::Counter::kAvgIterations);
    }
    std::filesystem::remove(ini);
}
BENCHMARK(BM_WindowDateStep)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_StartUpWith10000Persons)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
