// The world without drawing: one update (deletions, movement, collisions, out events) with many
// moving objects, and one event delivered to every object.
#include "BenchmarkRegistration.h"
#include "BenchmarkSession.h"

#include "Box.h"
#include "EventKeyboard.h"
#include "EventOut.h"
#include "Object.h"
#include "WorldManager.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

/// A one-cell object that drifts sideways and turns back when it leaves the window.
class Drifter : public bw::Object {
public:
    explicit Drifter(int index) {
        // Spread over the window without a pattern (golden-ratio steps), every other one drifting left.
        const float x = std::fmod(static_cast<float>(index) * 0.618034f, 1.0f) * 80.0f;
        const float y = std::fmod(static_cast<float>(index) * 0.754878f, 1.0f) * 24.0f;
        setPosition(bw::Vector(x, y));
        setBox(bw::Box(bw::Vector(-0.5f, -0.5f), 1.0f, 1.0f));
        setSolidness(bw::PASSABLE);
        setVelocity(bw::Vector(index % 2 == 0 ? 0.25f : -0.25f, 0.0f));
    }
    int eventHandler(const bw::Event* event) override {
        if (event->getType() == bw::EVENT_TYPE_OUT) {
            setVelocity(bw::Vector(-getVelocity().getX(), 0.0f));
            return 1;
        }
        ++events;
        return 0;
    }
    long events = 0;
};

void update(benchmark::State& state) {
    BenchmarkSession::emptyWorld();
    for (int i = 0; i < state.range(0); ++i) new Drifter(i);
    bw::WorldManager& world = bw::WorldManager::getInstance();
    for (auto _ : state) world.update();
    state.counters["objects"] = static_cast<double>(world.getAllObjects().getCount());
    BenchmarkSession::emptyWorld();
}

void broadcast(benchmark::State& state) {
    BenchmarkSession::emptyWorld();
    for (int i = 0; i < state.range(0); ++i) new Drifter(i);
    bw::WorldManager& world = bw::WorldManager::getInstance();
    const bw::EventKeyboard key(bw::KEY_W, bw::KEY_PRESSED);
    for (auto _ : state) world.onEvent(&key);
    state.counters["objects"] = static_cast<double>(world.getAllObjects().getCount());
    BenchmarkSession::emptyWorld();
}

} // namespace

void registerWorldBenchmarks() {
    benchmark::RegisterBenchmark("world/update", update)->Arg(50)->Arg(500)->Arg(5000)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("world/broadcast", broadcast)->Arg(5000)->Unit(benchmark::kMicrosecond);
}
