#pragma once

#include "SoundPiece.h"

namespace synth {

/// Eating a fly: a short wet slurp gliding downwards with bubbling, 0.35 s.
class SlurpEffect : public SoundPiece {
public:
    std::string label() const override { return "player-eat"; }
    AudioClip render() const override;
    float targetPeak() const override { return 0.75f; }
};

} // namespace synth
