#pragma once

#include "BandTune.h"

namespace synth {

/// The title screen's music: a calm, slightly eerie tune in A minor at 100 beats a minute, a
/// music-box arpeggio under a soft lead, with bass and light drums; twelve bars, 28.8 s, looping.
class TitleTune : public BandTune {
public:
    /// Composes the piece.
    TitleTune();
};

} // namespace synth
