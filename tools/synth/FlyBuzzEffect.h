#pragma once

#include "SoundPiece.h"

namespace synth {

/// A fly stuck in the web: a rough sawtooth buzz that wobbles and jerks as it struggles, about 0.7 s.
class FlyBuzzEffect : public SoundPiece {
public:
    std::string label() const override { return "fly-intro"; }
    AudioClip render() const override;
    float targetPeak() const override { return 0.7f; }
};

} // namespace synth
