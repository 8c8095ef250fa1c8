// The log: one line as the title screen writes them (drawString logs the whole string once per
// character, some hundreds of lines an iteration, and the loop flushes the file once per
// iteration), one line dropped by the level threshold, and the line that finds the log full and
// drops the oldest lines (what the loop feels once per three quarters of a size limit written).
#include "BenchmarkRegistration.h"

#include "LogManager.h"

#include <benchmark/benchmark.h>

#include <filesystem>
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

void lineThatDropsOldLines(benchmark::State& state) {
    bw::LogManager& log = bw::LogManager::getInstance();
    // Every line here is as long: time stamp (12 characters), " - ", the text, the newline.
    const std::uintmax_t line_bytes = 12 + 3 + TITLE_LINE.size() + 1;
    for (auto _ : state) {
        state.PauseTiming();
        log.flushFile();
        // Fill the log up to the last line that still fits.
        for (auto size = std::filesystem::file_size(bw::LOGFILE_NAME); size + line_bytes <= log.getSizeLimit();
             size += line_bytes)
            log.writeLog(0, TITLE_LINE);
        log.flushFile();
        state.ResumeTiming();
        log.writeLog(0, TITLE_LINE);
    }
    state.counters["limit_MB"] = static_cast<double>(log.getSizeLimit()) / 1e6;
}

} // namespace

void registerLogBenchmarks() {
    benchmark::RegisterBenchmark("log/line", line)->Unit(benchmark::kNanosecond);
    benchmark::RegisterBenchmark("log/line/filtered", filteredLine)->Unit(benchmark::kNanosecond);
    benchmark::RegisterBenchmark("log/line/dropping-old-lines", lineThatDropsOldLines)
        ->Iterations(10)
        ->Unit(benchmark::kMillisecond);
}
