#pragma once

#include "SoundPiece.h"

namespace synth {

/// A string cut: a sharp snap, a burst of noise and the twang of the loose string, 0.45 s.
class CutWebEffect : public SoundPiece {
public:
    std::string label() const override { return "enemy-sever"; }
    AudioClip render() const override;
    float targetPeak() const override { return 0.8f; }
};

} // namespace synth
