// Access engine: opening and reading the rate record, and saving it (with flushes).
#include "platform/access/access_file.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <unistd.h>

using namespace devimax::access;

namespace {

std::string writeFixture(const std::string& name, const TableSpec& design) {
    char dir[] = "/tmp/devimax-bench-XXXXXX";
    if (!::mkdtemp(dir))
        throw std::runtime_error("mkdtemp");
    const std::string path = std::string(dir) + "/" + name;
    Error error;
    if (!replaceFileAtomically(path, createDatabase(JetVersion::Jet4, design), error))
        throw std::runtime_error(error.message);
    return path;
}

void removeFixture(const std::string& path) {
    std::remove(path.c_str());
    ::rmdir(path.substr(0, path.rfind('/')).c_str());
}

TableSpec defaultRates() {
    TableSpec design;
    design.name = "Parametres";
    for (const char* name : {"FFR", "USD", "DEM"})
        design.columns.push_back({name, ColumnType::Double, 50});
    design.rows.push_back(
        {Value::fromDouble(6.55957), Value::fromDouble(1.1), Value::fromDouble(1.95583)});
    return design;
}

// About 1 MB: 10,000 records of a text and two numbers.
TableSpec largeTable() {
    TableSpec design;
    design.name = "Parametres";
    design.columns = {{"Nom", ColumnType::Text, 100},
                      {"FFR", ColumnType::Double, 0},
                      {"Prix", ColumnType::Currency, 0}};
    for (int i = 0; i < 10000; ++i)
        design.rows.push_back(
            {Value::fromText("Enregistrement " + std::to_string(i) + std::string(60, '.')),
             Value::fromDouble(i * 0.5), Value::fromCurrency(i)});
    return design;
}

void openAndRead(benchmark::State& state, const TableSpec& design) {
    const std::string path = writeFixture("buro.mdb", design);
    for (auto _ : state) {
        Error error;
        auto db = Database::open(path, error);
        auto table = db ? db->readTable("Parametres", error) : std::nullopt;
        if (!table || table->rows.empty())
            state.SkipWithError(error.message.c_str());
        benchmark::DoNotOptimize(table->rows[0][0].number);
    }
    removeFixture(path);
}

void save(benchmark::State& state, const TableSpec& design) {
    const std::string path = writeFixture("buro.mdb", design);
    int i = 0;
    for (auto _ : state) {
        Error error;
        const std::string value = std::to_string(++i) + ",25";
        if (!updateRecord(path, "Parametres", 0, {{"FFR", value}}, ",", error))
            state.SkipWithError(error.message.c_str());
    }
    removeFixture(path);
}

void BM_OpenReadDefault(benchmark::State& state) {
    openAndRead(state, defaultRates());
}
void BM_SaveDefault(benchmark::State& state) {
    save(state, defaultRates());
}
void BM_OpenReadLarge(benchmark::State& state) {
    openAndRead(state, largeTable());
}
void BM_SaveLarge(benchmark::State& state) {
    save(state, largeTable());
}

} // namespace

BENCHMARK(BM_OpenReadDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveDefault)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenReadLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveLarge)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
