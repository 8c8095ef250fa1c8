#pragma once

#include <filesystem>

/// The engine as the benchmarks run it: the managers started as the game starts them, in a
/// temporary working folder that receives the log, at the game's log level, with the game's
/// sprites and font loaded.
class BenchmarkSession {
public:
    /// Starts everything. False, with the reason on standard error, when there is no window or
    /// the game's files are missing.
    static bool start();
    /// Shuts the managers down and removes the temporary folder.
    static void stop();
    /// Deletes every object of the world (the web and the screens' objects too).
    static void emptyWorld();

private:
    static std::filesystem::path work_dir;
    static std::filesystem::path previous_dir;
};
