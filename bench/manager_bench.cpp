// The manager window on a file of 100 000 persons: opening it (file read, list built, grid filled)
// under 1 s; one keystroke in the name filter (list rebuilt, counters, grid) under 50 ms; a page
// change under 10 ms. Runs the real window on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>

#include <filesystem>
#include <random>
#include <unistd.h>

#include "common/scripted_notifier.h"
#include "database/data_file.h"
#include "manager/data_store.h"
#include "manager/manager_window.h"

namespace {

using namespace cel;
using namespace cel::database;
using namespace cel::manager;

const TextFormat kComma{','};

std::string Pick(std::mt19937 &rng, std::initializer_list<const char *> words) {
    return *(words.begin() + rng() % words.size());
}

// 100 000 persons with their addresses, groups and events; 2 000 places in 20 countries.
const std::string &LargeFile() {
    static const std::string path = [] {
        std::mt19937 rng(2026);
        Database db;
        for (int i = 1; i <= 20; ++i) {
            auto c = std::make_unique<TPais>();
            c->Id = i;
            c->Nombre = "País " + std::to_string(i);
            db.Countries.push_back(std::move(c));
        }
        for (int i = 1; i <= 8; ++i) {
            auto g = std::make_unique<TData>();
            g->Id = i;
            g->Nombre = "Grupo " + std::to_string(i);
            db.PersonGroups.push_back(std::move(g));
        }
        for (int i = 1; i <= 2000; ++i) {
            auto p = std::make_unique<TLugar_Geo>();
            p->Id = i;
            p->Nombre = Pick(rng, {"San ", "Santa ", "Villa ", "Puerto "}) +
                        Pick(rng, {"José", "María", "Cruz", "Rosario", "Ángel"}) + " " + std::to_string(i);
            p->IdPais = static_cast<int>(rng() % 20) + 1;
            p->TZ = static_cast<int>(rng() % 25) - 12;
            p->Lat = static_cast<int>(rng() % 120) - 55 + 0.5;
            p->Lon = static_cast<int>(rng() % 360) - 180 + 0.25;
            db.Places.push_back(std::move(p));
        }
        for (int i = 1; i <= 100000; ++i) {
            auto p = std::make_unique<TPersona>();
            p->Id = i;
            p->Nombre = Pick(rng, {"Ana Lucía", "Julián", "María del Carmen", "Tomás", "Rosa", "Ignacio",
                                   "Valentina", "Esteban", "Leonor", "Bartolomé"});
            p->Apellidos = Pick(rng, {"Restrepo", "Ospina", "Vidal", "Echeverría", "Quispe", "Herrera"}) +
                           std::string(" ") + Pick(rng, {"Gaviria", "Cárdenas", "Ferrer", "Lagos", "Soto"});
            p->IdLugarNac = static_cast<int>(rng() % 2000) + 1;
            p->IsDate = 1;
            p->IsHora = 1;
            p->Fecha = static_cast<double>(rng() % 40000) + 0.5;
            p->Sexo = static_cast<int>(rng() % 3);
            p->Residencia.IdLugarGeo = static_cast<int>(rng() % 2000) + 1;
            p->Residencia.Dir = "Calle " + std::to_string(rng() % 200);
            p->Residencia.Email = "persona" + std::to_string(i) + "@example.com";
            TId g;
            g.Id = static_cast<int>(rng() % 8) + 1;
            p->Grupos.push_back(g);
            if (rng() % 3 == 0) {
                TEvento e;
                e.Id = 1;
                e.Nombre = "Boda";
                e.IdLugarGeo = p->IdLugarNac;
                e.IsDate = 1;
                e.Fecha = p->Fecha + 9000;
                p->Eventos.push_back(e);
            }
            p->Observaciones = "Primera línea^~segunda línea";
            db.Persons.push_back(std::move(p));
        }
        const std::string file =
            (std::filesystem::temp_directory_path() / ("celmgr-bench-" + std::to_string(getpid()) + ".age"))
                .string();
        SaveDataFile(file, db, kComma);
        return file;
    }();
    return path;
}

struct OpenManager {
    Database db;
    ScriptedNotifier notices;
    DataStore store{db, notices, kComma};
    TFormMainTarjaro window{store, ManagerMode::InChartProgram};
    OpenManager() {
        window.resize(1100, 640);
        window.OpenFile(LargeFile());
        window.FirstActivation();
    }
};

void BM_OpenManager(benchmark::State &state) {
    LargeFile();
    for (auto _ : state) {
        OpenManager m;
        benchmark::DoNotOptimize(m.window.DisplayList().size());
    }
}
BENCHMARK(BM_OpenManager)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_NameFilterKeystroke(benchmark::State &state) {
    OpenManager m;
    auto *name = m.window.findChild<QLineEdit *>("EDNombre");
    int i = 0;
    for (auto _ : state) {
        name->setText(++i % 2 ? "ma" : "m"); // one letter typed, then taken back
        benchmark::DoNotOptimize(m.window.DisplayList().size());
    }
}
BENCHMARK(BM_NameFilterKeystroke)->Unit(benchmark::kMillisecond);

void BM_PageChange(benchmark::State &state) {
    OpenManager m;
    m.window.findChild<QCheckBox *>("CBTodos")->setChecked(false);
    int i = 0;
    for (auto _ : state) {
        m.window.GoToPage(++i % 2 ? 500 : 501);
        benchmark::DoNotOptimize(m.window.Page());
    }
}
BENCHMARK(BM_PageChange)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(LargeFile());
    return 0;
}
