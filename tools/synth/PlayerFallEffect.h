#pragma once

#include "SoundPiece.h"

namespace synth {

/// Falling off the web (and a saucer crashing): a long whistle sliding down, 1.3 s.
class PlayerFallEffect : public SoundPiece {
public:
    std::string label() const override { return "player-fall"; }
    AudioClip render() const override;
    float targetPeak() const override { return 0.75f; }
};

} // namespace synth
