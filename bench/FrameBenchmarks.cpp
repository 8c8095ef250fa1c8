// One frame of a screen, drawn and shown: the display manager's batched drawing against the
// reference drawing of every box and character in turn. Real time, since the software renderer
// works on threads of its own.
#include "BenchmarkRegistration.h"
#include "BenchmarkSession.h"

#include "DisplayManager.h"
#include "ReferenceCellRenderer.h"
#include "ReferenceScreens.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace {

// Every cell a blank: boxes alone, to tell their share from the glyphs'. On a fresh frame the
// batched drawing leaves them out: black on black changes nothing.
void drawBlankScreen() {
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
    for (int row = 0; row < display.getVertical(); ++row)
        for (int column = 0; column < display.getHorizontal(); ++column)
            display.drawCh(bw::Vector(static_cast<float>(column), static_cast<float>(row)), ' ', bw::COLOR_WHITE);
}

void drawNothing() {}

// The same screen drawn and shown again and again. With reuse, the display manager leaves out
// the frames that equal the one on screen, as it does for a still screen in the game.
void frame(benchmark::State& state, void (*screen)(), bool batched, bool reuse = false) {
    BenchmarkSession::emptyWorld();
    ReferenceScreens::preparePlayWeb();
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
    ReferenceCellRenderer reference;
    display.setCellRenderer(batched ? nullptr : &reference);
    display.setFrameReuse(reuse);
    display.swapBuffers();
    for (auto _ : state) {
        screen();
        display.swapBuffers();
    }
    display.setFrameReuse(true);
    display.setCellRenderer(nullptr);
    BenchmarkSession::emptyWorld();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// Both drawings frame after frame, so that both meet the same load on a busy machine; the
// medians and their ratio are reported as counters.
void sideBySide(benchmark::State& state, void (*screen)()) {
    BenchmarkSession::emptyWorld();
    ReferenceScreens::preparePlayWeb();
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
    ReferenceCellRenderer reference;
    std::vector<double> batched_ms;
    std::vector<double> reference_ms;
    const auto timeFrame = [&](bw::CellRenderer* renderer, std::vector<double>& times) {
        display.setCellRenderer(renderer);
        display.swapBuffers();
        const auto start = std::chrono::steady_clock::now();
        screen();
        display.swapBuffers();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    };
    for (auto _ : state) {
        timeFrame(nullptr, batched_ms);
        timeFrame(&reference, reference_ms);
    }
    display.setCellRenderer(nullptr);
    BenchmarkSession::emptyWorld();
    state.counters["batched_ms"] = median(batched_ms);
    state.counters["per_character_ms"] = median(reference_ms);
    state.counters["speedup"] = median(reference_ms) / median(batched_ms);
}

void add(const std::string& name, void (*screen)(), bool batched) {
    benchmark::RegisterBenchmark(("frame/" + name + (batched ? "/batched" : "/per_character")).c_str(),
                                 [screen, batched](benchmark::State& state) { frame(state, screen, batched); })
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
}

} // namespace

void registerFrameBenchmarks() {
    benchmark::RegisterBenchmark("frame/empty", [](benchmark::State& state) { frame(state, drawNothing, true); })
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("frame/title/unchanged",
                                 [](benchmark::State& state) { frame(state, ReferenceScreens::drawTitleScreen, true, true); })
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    const std::pair<const char*, void (*)()> screens[] = {{"full_screen", ReferenceScreens::drawFullScreen},
                                                          {"title", ReferenceScreens::drawTitleScreen},
                                                          {"play", ReferenceScreens::drawPlayScreen},
                                                          {"blank_screen", drawBlankScreen}};
    for (const auto& [name, screen] : screens) {
        add(name, screen, true);
        add(name, screen, false);
        benchmark::RegisterBenchmark((std::string("frame/") + name + "/side_by_side").c_str(),
                                     [screen](benchmark::State& state) { sideBySide(state, screen); })
            ->Iterations(40)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
}
