#pragma once

#include "SoundPiece.h"

namespace synth {

/// Falling off the web (and a saucer crashing): a long whistle sliding down, 1.3 s.
class PlayerFallEffect : public SoundPiece {
public:
    std::string relativePath() const override { return "Audio/SFX/playerFall.wav"; }
    AudioClip render() const override;
    float targetPeak() const override { return 0.75f; }
};

} // namespace synth
