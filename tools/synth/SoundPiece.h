#pragma once

#include "AudioClip.h"

#include <string>
#include <vector>

namespace synth {

/// One audio file of the game: knows which of the game's sounds or music it is and how to make
/// its sound. Where the file goes is the game's resource list's business.
class SoundPiece {
public:
    virtual ~SoundPiece() = default;

    /// The label the game loads the file under ("player-bounce", "title-song").
    virtual std::string label() const = 0;

    /// The raw sound, at whatever level the synthesis happened to give.
    virtual AudioClip render() const = 0;

    /// Peak level (0..1 of full scale) the finished file is scaled to; sets loudness against the
    /// other files.
    virtual float targetPeak() const { return 0.8f; }

    /// True for music that repeats: its ends must meet without a click and are left untouched.
    virtual bool loops() const { return false; }

    /// Mistakes found while composing (bad note names, misplaced bar lines); empty when all is well.
    virtual std::vector<std::string> problems() const { return {}; }

    /// The finished sound: rendered, edges of one-shot effects softened, scaled to targetPeak().
    AudioClip produce() const;
};

} // namespace synth
