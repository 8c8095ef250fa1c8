#pragma once

#include "SoundPiece.h"

namespace synth {

/// A silk shot mending strings: a zip whose teeth speed up as its pitch sweeps upwards, 0.6 s.
class RepairRopeEffect : public SoundPiece {
public:
    std::string label() const override { return "rope-repair"; }
    AudioClip render() const override;
    float targetPeak() const override { return 0.75f; }
};

} // namespace synth
