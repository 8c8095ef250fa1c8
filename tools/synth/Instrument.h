#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace synth {

/// Something the NoteSequencer can play: turns one note into samples.
class Instrument {
public:
    virtual ~Instrument() = default;

    /// The samples of one note of the given frequency (Hz) held for gateSamples, at velocity
    /// (0..1), including its release tail, which must end at silence. seed makes any noise in the
    /// note differ from note to note while staying the same from run to run.
    virtual std::vector<float> renderNote(double frequency, std::size_t gateSamples, float velocity,
                                          std::uint32_t seed) const = 0;
};

} // namespace synth
