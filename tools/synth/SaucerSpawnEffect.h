#pragma once

#include "SoundPiece.h"

namespace synth {

/// A flying saucer arriving: the classic quavering warble, rising then settling, 1.4 s.
class SaucerSpawnEffect : public SoundPiece {
public:
    std::string label() const override { return "saucer-spawn"; }
    AudioClip render() const override;
    float targetPeak() const override { return 0.7f; }
};

} // namespace synth
