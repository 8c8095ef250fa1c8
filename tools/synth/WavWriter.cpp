#include "WavWriter.h"

#include <SFML/Audio/OutputSoundFile.hpp>
#include <SFML/Audio/SoundChannel.hpp>

#include <system_error>

namespace synth {

bool WavWriter::write(const std::filesystem::path& path, const AudioClip& clip, std::string& error) {
    std::error_code ignored;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ignored);

    sf::OutputSoundFile file;
    if (!file.openFromFile(path, AudioClip::SAMPLE_RATE, 1, {sf::SoundChannel::Mono})) {
        error = "cannot open " + path.string() + " for writing";
        return false;
    }
    const auto pcm = clip.toPcm16();
    file.write(pcm.data(), pcm.size());
    file.close();
    return true;
}

} // namespace synth
