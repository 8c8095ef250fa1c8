#pragma once

#include <optional>
#include <string_view>

namespace synth {

/// Note names and their frequencies in equal temperament, with A4 = 440 Hz (MIDI note 69).
class Pitch {
public:
    /// The MIDI note number of a name such as "A4", "C#5" or "Bb3"; empty for a malformed name.
    static std::optional<int> parse(std::string_view name);

    /// The frequency (Hz) of a MIDI note number.
    static double frequency(int midiNote);
};

} // namespace synth
