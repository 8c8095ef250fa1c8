#pragma once

#include "BandTune.h"

namespace synth {

/// The music during play: a driving tune in D minor at about 122 beats a minute, a square-wave
/// lead over an octave-bouncing bass and a full drum beat; sixteen bars, about 31 s, looping.
class ThemeTune : public BandTune {
public:
    /// Composes the piece.
    ThemeTune();
};

} // namespace synth
