#include "Pitch.h"

#include <cmath>

namespace synth {

std::optional<int> Pitch::parse(std::string_view name) {
    if (name.size() < 2) return std::nullopt;
    // Semitones above C of each letter A..G.
    static constexpr int LETTER_OFFSETS[] = {9, 11, 0, 2, 4, 5, 7};
    const char letter = name[0];
    if (letter < 'A' || letter > 'G') return std::nullopt;
    int semitone = LETTER_OFFSETS[letter - 'A'];
    std::size_t position = 1;
    if (name[position] == '#') {
        ++semitone;
        ++position;
    } else if (name[position] == 'b') {
        --semitone;
        ++position;
    }
    if (position >= name.size()) return std::nullopt;
    int octave = 0;
    for (; position < name.size(); ++position) {
        const char digit = name[position];
        if (digit < '0' || digit > '9') return std::nullopt;
        octave = octave * 10 + (digit - '0');
        if (octave > 9) return std::nullopt;
    }
    return (octave + 1) * 12 + semitone;
}

double Pitch::frequency(int midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

} // namespace synth
