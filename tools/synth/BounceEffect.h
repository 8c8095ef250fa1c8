#pragma once

#include "SoundPiece.h"

namespace synth {

/// Bouncing off the web's border: a boing that leaps up in pitch, then sinks with a wobble, 0.45 s.
class BounceEffect : public SoundPiece {
public:
    std::string label() const override { return "player-bounce"; }
    AudioClip render() const override;
    float targetPeak() const override { return 0.7f; }
};

} // namespace synth
