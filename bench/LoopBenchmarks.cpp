// The game loop: one iteration's work without the sleep (input, step, update, draw, swap), with
// an empty world and on the busy play screen, and the period of the running loop over 300
// iterations, idle and on the busy play screen. Two counters say whether the loop keeps its rate:
// a hundred iterations take three seconds and a little (hundred_s, the first hundred periods as
// measured), and no run of a hundred consecutive periods is shorter (short_hundreds, which must
// be 0).
#include "BenchmarkRegistration.h"
#include "BenchmarkSession.h"

#include "DisplayManager.h"
#include "EventStep.h"
#include "GameManager.h"
#include "Object.h"
#include "ReferenceScreens.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <numeric>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int PERIODS = 300;
// Steps left out before the periods are taken: the first frames of a screen lay out its glyphs.
constexpr int WARM_UP_STEPS = 5;
// A step arrives after the iteration's input, whose time varies with the X server's answers: one
// period may look short by that much, which the next makes up for. A run of periods is short by
// at most the difference at its two ends.
constexpr double INPUT_JITTER_MS = 5.0;

/// Notes when each step arrives (after the warm-up) and ends the loop once it has seen enough.
/// A step arrives just after the iteration's input, so the X server's answers to the input
/// manager's questions add their jitter to these periods.
class PeriodRecorder : public bw::Object {
public:
    explicit PeriodRecorder(int periods) : wanted(periods) {
        setSolidness(bw::INTANGIBLE);
        starts.reserve(static_cast<std::size_t>(periods) + 1);
    }
    int eventHandler(const bw::Event* event) override {
        if (event->getType() != bw::EVENT_TYPE_STEP) return 0;
        if (++steps <= WARM_UP_STEPS) return 1;
        starts.push_back(Clock::now());
        if (static_cast<int>(starts.size()) > wanted) bw::GameManager::getInstance().setGameOver();
        return 1;
    }
    /// Milliseconds between consecutive step starts.
    std::vector<double> periods() const {
        std::vector<double> result;
        for (std::size_t i = 1; i < starts.size(); ++i)
            result.push_back(std::chrono::duration<double, std::milli>(starts[i] - starts[i - 1]).count());
        return result;
    }

private:
    int wanted;
    int steps = 0;
    std::vector<Clock::time_point> starts;
};

/// A sprite of the play screen that moves to and fro along its string.
class PlayActor : public bw::Object {
public:
    PlayActor(const ReferenceScreens::Actor& actor, int index) {
        setSprite(actor.sprite);
        setFrameIndex(actor.frame);
        setPosition(actor.position);
        setAltitude(1 + index % 3);
        setSolidness(bw::PASSABLE);
        turn = index % 8;
    }
    int eventHandler(const bw::Event* event) override {
        if (event->getType() != bw::EVENT_TYPE_STEP) return 0;
        if (++turn % 8 == 0) setVelocity(bw::Vector(turn % 16 == 0 ? 0.125f : -0.125f, 0.0f));
        return 1;
    }

private:
    int turn = 0;
};

/// A string of the play screen (the score, a pop-up).
class PlayLabel : public bw::Object {
public:
    explicit PlayLabel(const ReferenceScreens::Label& label) : label(label) {
        setSolidness(bw::INTANGIBLE);
        setAltitude(4);
        setPosition(label.position);
    }
    int draw() override {
        return bw::DisplayManager::getInstance().drawString(getPosition(), label.text, label.color,
                                                            label.justification);
    }

private:
    ReferenceScreens::Label label;
};

/// Fills the world with the busy play screen: the web, its sprites and its strings.
void buildPlayWorld() {
    BenchmarkSession::emptyWorld();
    ReferenceScreens::preparePlayWeb();
    int index = 0;
    for (const ReferenceScreens::Actor& actor : ReferenceScreens::playActors()) new PlayActor(actor, index++);
    for (const ReferenceScreens::Label& label : ReferenceScreens::playLabels()) new PlayLabel(label);
}

void period(benchmark::State& state, bool play_screen) {
    for (auto _ : state) {
        state.PauseTiming();
        if (play_screen) {
            buildPlayWorld();
        } else {
            BenchmarkSession::emptyWorld();
        }
        auto* recorder = new PeriodRecorder(PERIODS);
        state.ResumeTiming();
        bw::GameManager::getInstance().run();

        std::vector<double> periods = recorder->periods();
        state.counters["hundred_s"] = std::accumulate(periods.begin(), periods.begin() + 100, 0.0) / 1000.0;
        int short_hundreds = 0;
        for (std::size_t i = 0; i + 100 <= periods.size(); ++i)
            if (std::accumulate(periods.begin() + static_cast<long>(i), periods.begin() + static_cast<long>(i) + 100, 0.0) <
                100.0 * bw::TARGET_TIME - INPUT_JITTER_MS)
                ++short_hundreds;
        state.counters["short_hundreds"] = short_hundreds;
        std::sort(periods.begin(), periods.end());
        const double mean = std::accumulate(periods.begin(), periods.end(), 0.0) / static_cast<double>(periods.size());
        const auto p99 = periods[static_cast<std::size_t>(0.99 * static_cast<double>(periods.size() - 1))];
        state.counters["periods"] = static_cast<double>(periods.size());
        state.counters["mean_ms"] = mean;
        state.counters["p99_ms"] = p99;
        state.counters["max_ms"] = periods.back();
        state.counters["min_ms"] = periods.front();
    }
    BenchmarkSession::emptyWorld();
}

void iteration(benchmark::State& state, bool play_screen) {
    if (play_screen) {
        buildPlayWorld();
    } else {
        BenchmarkSession::emptyWorld();
    }
    bw::GameManager& game = bw::GameManager::getInstance();
    int step = 0;
    // The CPU column is the main thread's; the software renderer works on threads of its own,
    // which the process's CPU time includes.
    const std::clock_t cpu_start = std::clock();
    for (auto _ : state) game.runIteration(step++);
    const double process_cpu_ms = 1000.0 * static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
    state.counters["process_cpu_ms"] = process_cpu_ms / static_cast<double>(state.iterations());
    BenchmarkSession::emptyWorld();
    bw::DisplayManager::getInstance().swapBuffers();
}

} // namespace

void registerLoopBenchmarks() {
    benchmark::RegisterBenchmark("loop/iteration/idle", [](benchmark::State& state) { iteration(state, false); })
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("loop/iteration/play", [](benchmark::State& state) { iteration(state, true); })
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("loop/period/idle", [](benchmark::State& state) { period(state, false); })
        ->Iterations(1)
        ->Repetitions(1)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("loop/period/play", [](benchmark::State& state) { period(state, true); })
        ->Iterations(1)
        ->Repetitions(1)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
}
