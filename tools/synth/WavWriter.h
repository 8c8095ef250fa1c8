#pragma once

#include "AudioClip.h"

#include <filesystem>
#include <string>

namespace synth {

/// Writes clips as 16-bit mono WAV files through SFML.
class WavWriter {
public:
    /// Writes clip to path, creating missing folders. On failure returns false and says why in error.
    static bool write(const std::filesystem::path& path, const AudioClip& clip, std::string& error);
};

} // namespace synth
