#pragma once

#include "SoundPiece.h"

namespace synth {

/// A giant enemy spider arriving: an ominous low rumble that swells and rises, 1.2 s.
class EnemySpawnEffect : public SoundPiece {
public:
    std::string label() const override { return "enemy-spawn"; }
    AudioClip render() const override;
    float targetPeak() const override { return 0.85f; }
};

} // namespace synth
