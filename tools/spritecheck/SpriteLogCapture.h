#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

/// Runs the engine's log in a private temporary folder and hands back, message by message, what
/// the engine wrote since the last call. The log file is opened there and the working directory
/// is restored at once, so paths given on the command line keep their meaning and no
/// brackwen.log appears where the tool is started.
class SpriteLogCapture {
public:
    /// Starts the log manager in a fresh temporary folder with levels 0 and 1 let through (the
    /// level the game runs at). isReady() tells whether that worked.
    SpriteLogCapture();
    /// Shuts the log manager down and removes the temporary folder.
    ~SpriteLogCapture();
    SpriteLogCapture(const SpriteLogCapture&) = delete;
    SpriteLogCapture& operator=(const SpriteLogCapture&) = delete;

    /// True when the log file could be opened.
    bool isReady() const { return ready; }

    /// The messages (time stamp and " - " cut off) written since the previous call.
    std::vector<std::string> takeNewMessages();

private:
    std::filesystem::path folder;
    std::uintmax_t read_up_to = 0; // bytes of the log file already handed out
    bool ready = false;
};
