#include "SoundPiece.h"

namespace synth {

AudioClip SoundPiece::produce() const {
    AudioClip clip = render();
    if (!loops()) {
        // A millisecond or two is too short to blunt an attack but removes any step at the ends.
        clip.fadeIn(0.001);
        clip.fadeOut(0.005);
    }
    clip.normalise(targetPeak());
    return clip;
}

} // namespace synth
