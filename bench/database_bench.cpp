// Load and save of a large data file: 100 000 persons (0 to 3 events each), 20 000 places and
// 30 countries. Targets: each under 250 ms, peak memory under 150 MB (reported as peak_rss_MB).
// Importing 10 000 AAF records into that file (read, import, save): under 2 s.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <sys/resource.h>
#include <unistd.h>

#include "common/notifier.h"
#include "database/aaf_file.h"
#include "database/data_file.h"

namespace {

using namespace cel;
using namespace cel::database;

const TextFormat kComma{','};

std::string Pick(std::mt19937 &rng, std::initializer_list<const char *> words) {
    return *(words.begin() + rng() % words.size());
}

Database Generate() {
    std::mt19937 rng(2026);
    Database db;
    for (int i = 1; i <= 30; ++i) {
        auto c = std::make_unique<TPais>();
        c->Id = i;
        c->Nombre = "País " + std::to_string(i);
        db.Countries.push_back(std::move(c));
    }
    for (int i = 1; i <= 10; ++i) {
        auto g = std::make_unique<TData>();
        g->Id = i;
        g->Nombre = "Grupo " + std::to_string(i);
        db.PersonGroups.push_back(std::move(g));
    }
    std::uniform_real_distribution<double> lat(-55, 60), lon(-180, 180);
    for (int i = 1; i <= 20000; ++i) {
        auto p = std::make_unique<TLugar_Geo>();
        p->Id = i;
        p->Nombre = Pick(rng, {"San ", "Santa ", "Villa ", "Puerto ", ""}) +
                    Pick(rng, {"José", "María", "Cruz", "Rosario", "Ángel", "Tomás"}) + " " +
                    std::to_string(i);
        p->IdPais = static_cast<int>(rng() % 30) + 1;
        p->DST = static_cast<int>(rng() % 2);
        p->TZ = static_cast<int>(rng() % 25) - 12;
        p->Lat = std::round(lat(rng) * 100000) / 100000;
        p->Lon = std::round(lon(rng) * 100000) / 100000;
        p->Descripcion = Pick(rng, {"Antioquia", "Región Metropolitana", "Estado de México", "Buenos Aires"});
        db.Places.push_back(std::move(p));
    }
    std::uniform_real_distribution<double> date(-20000, 46000);
    for (int i = 1; i <= 100000; ++i) {
        auto p = std::make_unique<TPersona>();
        p->Id = i;
        p->Nombre =
            Pick(rng, {"Ana Lucía", "Julián", "María del Carmen", "Tomás", "Rosa", "Ignacio", "Valentina"});
        p->Apellidos = Pick(rng, {"Restrepo", "Ospina", "Vidal", "Echeverría", "Quispe"}) + std::string(" ") +
                       Pick(rng, {"Gaviria", "Cárdenas", "Ferrer", "Lagos", "Mamani"});
        p->IdLugarNac = static_cast<int>(rng() % 20000) + 1;
        p->IsDate = 1;
        p->IsHora = rng() % 4 != 0;
        p->Fecha = std::round(date(rng) * 1440) / 1440;
        p->Sexo = static_cast<int>(rng() % 3);
        p->Residencia.IdLugarGeo = static_cast<int>(rng() % 20000) + 1;
        p->Residencia.Dir =
            "Calle " + std::to_string(rng() % 200) + " # " + std::to_string(rng() % 99) + "-12";
        p->Residencia.Tel = "+57 604 555 " + std::to_string(1000 + rng() % 9000);
        p->Residencia.Email = "persona" + std::to_string(i) + "@example.com";
        p->Residencia.EmailValido = 1;
        if (rng() % 3 == 0) {
            p->Trabajo.IdLugarGeo = static_cast<int>(rng() % 20000) + 1;
            p->Trabajo.Dir = "Carrera 7 # 71-21, oficina " + std::to_string(rng() % 900);
        }
        for (unsigned g = rng() % 3; g > 0; --g)
            p->Grupos.push_back(TId{static_cast<int>(rng() % 10) + 1});
        for (unsigned e = rng() % 4; e > 0; --e) {
            TEvento ev;
            ev.Id = static_cast<int>(p->Eventos.size()) + 1;
            ev.Nombre = Pick(rng, {"Boda", "Mudanza", "Graduación", "Nacimiento hijo"});
            ev.IdLugarGeo = static_cast<int>(rng() % 20000) + 1;
            ev.IsDate = 1;
            ev.Fecha = std::round(date(rng) * 1440) / 1440;
            p->Eventos.push_back(std::move(ev));
        }
        if (rng() % 3 == 0)
            p->Observaciones = "Hora tomada del registro civil.^~Consulta pendiente.";
        db.Persons.push_back(std::move(p));
    }
    return db;
}

// The generated file, written once.
const std::string &LargeFile() {
    static const std::string path = [] {
        const std::string p = (std::filesystem::temp_directory_path() /
                               ("celestigrafo_bench_" + std::to_string(getpid()) + ".age"))
                                  .string();
        Database db = Generate();
        SaveDataFile(p, db, kComma);
        return p;
    }();
    return path;
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_LoadLargeFile(benchmark::State &state) {
    const std::string &path = LargeFile();
    SilentNotifier quiet;
    for (auto _ : state) {
        auto db = std::make_unique<Database>();
        const LoadReport report = LoadDataFile(path, *db, quiet, kComma);
        benchmark::DoNotOptimize(report);
        if (db->Persons.size() != 100000 || !report.failedLines.empty())
            state.SkipWithError("unexpected content");
        // Freeing the records is not part of loading.
        state.PauseTiming();
        db.reset();
        state.ResumeTiming();
    }
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    state.counters["peak_rss_MB"] = PeakMegabytes();
}
BENCHMARK(BM_LoadLargeFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_SaveLargeFile(benchmark::State &state) {
    const std::string &path = LargeFile();
    SilentNotifier quiet;
    Database db;
    LoadDataFile(path, db, quiet, kComma);
    const std::string out = path + ".saved.age";
    for (auto _ : state)
        SaveDataFile(out, db, kComma);
    state.counters["peak_rss_MB"] = PeakMegabytes();
    std::filesystem::remove(out);
}
BENCHMARK(BM_SaveLargeFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// 10 000 births at scattered places (most of them new places), read, imported and saved.
void BM_ImportAafIntoLargeFile(benchmark::State &state) {
    const std::string &path = LargeFile();
    std::mt19937 rng(7);
    std::string aaf;
    for (int i = 0; i < 10000; ++i) {
        aaf += "#A93:Apellido" + std::to_string(i) + ",Nombre,m," + std::to_string(1 + i % 28) + "." +
               std::to_string(1 + i % 12) + "." + std::to_string(1900 + i % 120) + ",12:30,Lugar " +
               std::to_string(i % 3000) + ",CO\r\n";
        aaf += "#B93:*," + std::to_string(rng() % 60) + "n" + std::to_string(10 + rng() % 50) + "," +
               std::to_string(rng() % 170) + "w" + std::to_string(10 + rng() % 50) + ",5hw,0\r\n";
    }
    SilentNotifier quiet;
    const std::string out = path + ".aaf.age";
    for (auto _ : state) {
        Database db;
        LoadDataFile(path, db, quiet, kComma);
        const AafImportResult result = ImportAaf(db, ReadAafText(aaf), false);
        if (result.added != 10000)
            state.SkipWithError("unexpected import");
        SaveDataFile(out, db, kComma);
    }
    std::filesystem::remove(out);
}
BENCHMARK(BM_ImportAafIntoLargeFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
