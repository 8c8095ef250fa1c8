#pragma once

#include "SoundPiece.h"

#include <memory>
#include <vector>

namespace synth {

/// Every audio file the game reads, in the order the game loads them: eleven effects, then the two
/// pieces of music.
class SoundCatalogue {
public:
    /// A fresh instance of each piece.
    static std::vector<std::unique_ptr<SoundPiece>> all();
};

} // namespace synth
