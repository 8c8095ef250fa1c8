#include "AudioClip.h"

#include <algorithm>
#include <cmath>

namespace synth {

AudioClip::AudioClip(std::size_t sampleCount) : samples(sampleCount, 0.0f) {}

AudioClip AudioClip::ofSeconds(double seconds) {
    const double count = std::max(0.0, std::round(seconds * SAMPLE_RATE));
    return AudioClip(static_cast<std::size_t>(count));
}

void AudioClip::mixIn(std::size_t offset, const std::vector<float>& other, bool wrap) {
    if (samples.empty()) return;
    for (std::size_t i = 0; i < other.size(); ++i) {
        std::size_t index = offset + i;
        if (index >= samples.size()) {
            if (!wrap) break;
            index %= samples.size();
        }
        samples[index] += other[i];
    }
}

void AudioClip::fadeIn(double seconds) {
    const auto count = std::min(samples.size(), static_cast<std::size_t>(seconds * SAMPLE_RATE));
    for (std::size_t i = 0; i < count; ++i)
        samples[i] *= static_cast<float>(static_cast<double>(i) / static_cast<double>(count));
}

void AudioClip::fadeOut(double seconds) {
    const auto count = std::min(samples.size(), static_cast<std::size_t>(seconds * SAMPLE_RATE));
    const std::size_t start = samples.size() - count;
    for (std::size_t i = 0; i < count; ++i)
        samples[start + i] *=
            static_cast<float>(static_cast<double>(count - 1 - i) / static_cast<double>(count));
}

float AudioClip::peak() const {
    float largest = 0.0f;
    for (float sample : samples)
        largest = std::max(largest, std::fabs(sample));
    return largest;
}

float AudioClip::rms() const {
    if (samples.empty()) return 0.0f;
    double sum = 0.0;
    for (float sample : samples)
        sum += static_cast<double>(sample) * sample;
    return static_cast<float>(std::sqrt(sum / static_cast<double>(samples.size())));
}

void AudioClip::normalise(float targetPeak) {
    const float current = peak();
    if (current <= 0.0f) return;
    const float gain = targetPeak / current;
    for (float& sample : samples)
        sample *= gain;
}

std::vector<std::int16_t> AudioClip::toPcm16() const {
    std::vector<std::int16_t> pcm;
    pcm.reserve(samples.size());
    for (float sample : samples) {
        const float scaled = std::round(std::clamp(sample, -1.0f, 1.0f) * 32767.0f);
        pcm.push_back(static_cast<std::int16_t>(scaled));
    }
    return pcm;
}

} // namespace synth
