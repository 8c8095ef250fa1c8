// The log: one line as the title screen writes them (drawString logs the whole string once per
// character, some hundreds of lines an iteration, and the loop flushes the file once per
// iteration), and one line dropped by the level threshold.
#include "BenchmarkRegistration.h"

#include "LogManager.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// The longest line of the title screen's instructions.
const std::string TITLE_LINE = "Silk shot repairs broken strings and kills enemies.";
// Lines between two flushes of the loop: about what one title screen iteration writes.
constexpr int LINES_PER_ITERATION = 512;

void line(benchmark::State& state) {
    bw::LogManager& log = bw::LogManager::getInstance();
    int lines = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(log.writeLog(0, TITLE_LINE));
        if (++lines % LINES_PER_ITERATION == 0) log.flushFile();
    }
    log.flushFile();
    state.SetItemsProcessed(state.iterations());
}

void filteredLine(benchmark::State& state) {
    bw::LogManager& log = bw::LogManager::getInstance();
    for (auto _ : state) benchmark::DoNotOptimize(log.writeLog(3, TITLE_LINE));
}

} // namespace

void registerLogBenchmarks() {
    benchmark::RegisterBenchmark("log/line", line)->Unit(benchmark::kNanosecond);
    benchmark::RegisterBenchmark("log/line/filtered", filteredLine)->Unit(benchmark::kNanosecond);
}
