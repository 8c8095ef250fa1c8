#pragma once

#include "SoundPiece.h"

namespace synth {

/// Eating a fly: a short wet slurp gliding downwards with bubbling, 0.35 s.
class SlurpEffect : public SoundPiece {
public:
    std::string relativePath() const override { return "Audio/SFX/slurp.wav"; }
    AudioClip render() const override;
    float targetPeak() const override { return 0.75f; }
};

} // namespace synth
