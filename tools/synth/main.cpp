// tarnwick-synth: makes every audio file of the game from code, so the repository holds no
// recordings and the sounds can be tuned by editing numbers. Run as
//     tarnwick-synth <run folder>
// it writes each sound and piece of music below the run folder, under the file name the game's
// resource list gives its label. The output depends on nothing but this program: every run
// gives the same bytes.

#include "ResourceEntry.h"
#include "SoundCatalogue.h"
#include "WavWriter.h"

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

namespace {

/// The file the game loads a sound or piece of music from, by its label; null when it has none.
const char* fileOf(const std::string& label) {
    for (const ResourceEntry& entry : GAME_RESOURCES)
        if (entry.kind != SPRITE && label == entry.label) return entry.file;
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarnwick-synth <run folder>\n");
        return 2;
    }
    const std::filesystem::path runFolder = argv[1];
    int failures = 0;
    std::set<std::string> written;
    for (const auto& piece : synth::SoundCatalogue::all()) {
        const std::string label = piece->label();
        const char* file = fileOf(label);
        if (file == nullptr) {
            std::fprintf(stderr, "ERROR: the game loads no sound or music labelled \"%s\"\n", label.c_str());
            ++failures;
            continue;
        }
        for (const std::string& problem : piece->problems())
            std::fprintf(stderr, "WARNING: %s: %s\n", label.c_str(), problem.c_str());
        const synth::AudioClip clip = piece->produce();
        std::string error;
        if (!synth::WavWriter::write(runFolder / file, clip, error)) {
            std::fprintf(stderr, "ERROR: %s\n", error.c_str());
            ++failures;
            continue;
        }
        written.insert(file);
        std::printf("%-14s %-28s %6.3f s  peak %.3f  rms %.3f\n", label.c_str(), file, clip.durationSeconds(),
                    clip.peak(), clip.rms());
    }
    // Labels may share a file ("saucer-crash" plays the fall sound), but every file must be made.
    for (const ResourceEntry& entry : GAME_RESOURCES) {
        if (entry.kind == SPRITE || written.count(entry.file) != 0) continue;
        std::fprintf(stderr, "ERROR: nothing makes %s, the file of \"%s\"\n", entry.file, entry.label);
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
