#pragma once

#include "SoundPiece.h"

namespace synth {

/// Points scored: a bright two-note blip, the second a fourth above the first, 0.25 s.
class PointsGainedEffect : public SoundPiece {
public:
    std::string label() const override { return "points-gained"; }
    AudioClip render() const override;
    float targetPeak() const override { return 0.6f; }
};

} // namespace synth
