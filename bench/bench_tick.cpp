// The arithmetic of one tick of the second display: read the main display and the
// rate, multiply or divide, round to ten-thousandths, write the text.
#include "exchange/conversion.h"

#include <benchmark/benchmark.h>

namespace {

void typedAmountTimesRate(benchmark::State& state) {
    for (auto _ : state) {
        auto result = devimax::exchange::convertAmount("1234,5", "6,55957", false, ",");
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(typedAmountTimesRate);

void resultDividedByRate(benchmark::State& state) {
    for (auto _ : state) {
        auto result = devimax::exchange::convertAmount("0,333333333333333", "1,95583", true, ",");
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(resultDividedByRate);

void zeroAfterReset(benchmark::State& state) {
    for (auto _ : state) {
        auto result = devimax::exchange::convertAmount("0", "6,55957", false, ",");
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(zeroAfterReset);

} // namespace

BENCHMARK_MAIN();
