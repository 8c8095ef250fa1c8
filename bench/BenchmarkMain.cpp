// Timings of the Brackwen engine under Google Benchmark; see the README, Performance.
#include "BenchmarkRegistration.h"
#include "BenchmarkSession.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // The one-cell-at-a-time reference makes thousands of draw calls a frame, and how fast the
    // driver serves them depends on the C library's heap settings: say which were used.
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    benchmark::AddCustomContext("GLIBC_TUNABLES", tunables != nullptr ? tunables : "(not set)");
    if (!BenchmarkSession::start()) {
        BenchmarkSession::stop();
        return 1;
    }
    registerFrameBenchmarks();
    registerWorldBenchmarks();
    registerLoopBenchmarks();
    registerLogBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    BenchmarkSession::stop();
    return 0;
}
