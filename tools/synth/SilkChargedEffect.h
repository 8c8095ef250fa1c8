#pragma once

#include "SoundPiece.h"

namespace synth {

/// The silk shot ready: a rising arpeggio of small bells, 0.9 s.
class SilkChargedEffect : public SoundPiece {
public:
    std::string label() const override { return "silk-charged"; }
    AudioClip render() const override;
    float targetPeak() const override { return 0.7f; }
};

} // namespace synth
