#pragma once

/// Registers the frame timings: each screen drawn batched and one cell at a time.
void registerFrameBenchmarks();
/// Registers the world's update and event broadcast timings.
void registerWorldBenchmarks();
/// Registers the loop's period and the play screen's iteration.
void registerLoopBenchmarks();
/// Registers the cost of one log line, written and filtered out.
void registerLogBenchmarks();
