// tarnwick-synth: makes every audio file of the game from code, so the repository holds no
// recordings and the sounds can be tuned by editing numbers. Run as
//     tarnwick-synth <run folder>
// it writes Audio/SFX/*.wav and Audio/*.wav below the run folder. The output depends on nothing
// but this program: every run gives the same bytes.

#include "SoundCatalogue.h"
#include "WavWriter.h"

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarnwick-synth <run folder>\n");
        return 2;
    }
    const std::filesystem::path runFolder = argv[1];
    int failures = 0;
    for (const auto& piece : synth::SoundCatalogue::all()) {
        const std::string name = piece->relativePath();
        for (const std::string& problem : piece->problems())
            std::fprintf(stderr, "WARNING: %s: %s\n", name.c_str(), problem.c_str());
        const synth::AudioClip clip = piece->produce();
        std::string error;
        if (!synth::WavWriter::write(runFolder / name, clip, error)) {
            std::fprintf(stderr, "ERROR: %s\n", error.c_str());
            ++failures;
            continue;
        }
        std::printf("%-28s %6.3f s  peak %.3f  rms %.3f\n", name.c_str(), clip.durationSeconds(), clip.peak(),
                    clip.rms());
    }
    return failures == 0 ? 0 : 1;
}
