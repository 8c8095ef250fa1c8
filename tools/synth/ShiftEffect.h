#pragma once

#include "SoundPiece.h"

namespace synth {

/// A turn at an intersection: a tiny click with a breath of air, 0.12 s.
class ShiftEffect : public SoundPiece {
public:
    std::string label() const override { return "player-shift"; }
    AudioClip render() const override;
    float targetPeak() const override { return 0.5f; }
};

} // namespace synth
