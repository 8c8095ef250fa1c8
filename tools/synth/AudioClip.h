#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace synth {

/// A mono piece of sound as floating-point samples in [-1, 1] at the synthesizer's one rate.
class AudioClip {
public:
    /// Samples per second of every clip the synthesizer makes.
    static constexpr unsigned SAMPLE_RATE = 44100;

    /// A clip of the given number of silent samples.
    explicit AudioClip(std::size_t sampleCount = 0);

    /// A clip long enough to hold the given duration (seconds, rounded to the nearest sample).
    static AudioClip ofSeconds(double seconds);

    /// A clip of the given duration (seconds) whose sample at time t (seconds) is valueAt(t), called
    /// once per sample from the first to the last, so valueAt may move oscillators and filters on.
    template <typename ValueAt> static AudioClip generate(double seconds, ValueAt valueAt) {
        AudioClip clip = ofSeconds(seconds);
        for (std::size_t i = 0; i < clip.size(); ++i)
            clip[i] = static_cast<float>(valueAt(static_cast<double>(i) / SAMPLE_RATE));
        return clip;
    }

    /// Number of samples.
    std::size_t size() const { return samples.size(); }

    /// Length in seconds.
    double durationSeconds() const { return static_cast<double>(samples.size()) / SAMPLE_RATE; }

    /// Sample at an index (no bounds check).
    float& operator[](std::size_t index) { return samples[index]; }
    float operator[](std::size_t index) const { return samples[index]; }

    /// All samples, for reading.
    const std::vector<float>& data() const { return samples; }

    /// Adds other's samples starting at offset (samples). With wrap, samples past the end continue
    /// at the start, so a looping piece carries its release tails round; without it they are dropped.
    void mixIn(std::size_t offset, const std::vector<float>& other, bool wrap);

    /// Ramps the first seconds up from silence, linearly, so a clip never starts with a jump.
    void fadeIn(double seconds);

    /// Ramps the last seconds down to silence, linearly, so a clip never ends with a jump.
    void fadeOut(double seconds);

    /// Largest absolute sample value (full scale = 1).
    float peak() const;

    /// Root mean square of the samples (full scale = 1); 0 for an empty clip.
    float rms() const;

    /// Scales the clip so that its peak is targetPeak (full scale = 1). A silent clip stays silent.
    void normalise(float targetPeak);

    /// The samples as 16-bit integers (full scale 32767), rounded, clamped to the 16-bit range.
    std::vector<std::int16_t> toPcm16() const;

private:
    std::vector<float> samples;
};

} // namespace synth
