// Every input kept from fuzzing the sprite loader (fuzz/regressions: each one crashed, hung or
// tripped a sanitizer before its fix) and every seed of the fuzzing corpus (fuzz/corpus: damaged
// and borderline sprite files), loaded through the resource manager as the game loads its files.
// Each must give either a usable sprite and no error, or one error line naming a line and an
// unchanged sprite table. Under the sanitizer build this also catches any memory fault or
// undefined behaviour that an input brings back.
#include "Frame.h"
#include "ResourceManager.h"
#include "Sprite.h"

#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> filesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.is_regular_file() && entry.path().filename().string().front() != '.')
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Loads file under a fresh label and checks the outcome; the sprite is unloaded again. True when
// the file was accepted.
bool checkLoad(const fs::path& file) {
    SCOPED_TRACE(file.string());
    bw::ResourceManager& resources = bw::ResourceManager::getInstance();
    restartLogForResourceTest();
    const int before = resources.getSpriteCount();
    const int result = resources.loadSprite(file.string(), "fuzzed");
    std::vector<std::string> errors;
    for (const std::string& message : resourceLogMessages())
        if (message.rfind("ERROR:", 0) == 0) errors.push_back(message);

    if (result != 0) {
        EXPECT_EQ(resources.getSpriteCount(), before);
        EXPECT_EQ(resources.getSprite("fuzzed"), nullptr);
        EXPECT_EQ(errors.size(), 1u) << ::testing::PrintToString(errors);
        if (!errors.empty()) {
            EXPECT_NE(errors.front().find("line "), std::string::npos) << errors.front();
        }
        return false;
    }
    EXPECT_EQ(errors, std::vector<std::string>{});
    const bw::Sprite* sprite = resources.getSprite("fuzzed");
    EXPECT_NE(sprite, nullptr);
    if (sprite == nullptr) return true;
    EXPECT_GT(sprite->getWidth(), 0);
    EXPECT_GT(sprite->getHeight(), 0);
    EXPECT_LE(sprite->getFrameCount(), sprite->getMaxFrameCount());
    const auto cells =
        static_cast<std::size_t>(sprite->getWidth()) * static_cast<std::size_t>(sprite->getHeight());
    for (int i = 0; i < sprite->getFrameCount(); ++i) {
        const bw::Frame frame = sprite->getFrame(i);
        EXPECT_EQ(frame.getWidth(), sprite->getWidth());
        EXPECT_EQ(frame.getString().size(), cells);
    }
    resources.unloadSprite("fuzzed");
    return true;
}

TEST(SpriteFuzzRegressionTest, KeptInputsAndDamagedSeedsLoadOrFailCleanly) {
    TempWorkDir dir;
    const fs::path fuzz = fs::path(TARNWICK_SOURCE_DIR) / "fuzz";
    std::vector<fs::path> files = filesIn(fuzz / "regressions");
    const std::vector<fs::path> seeds = filesIn(fuzz / "corpus");
    ASSERT_GE(seeds.size(), 15u) << "the seed corpus in fuzz/corpus is missing";
    files.insert(files.end(), seeds.begin(), seeds.end());
    int rejected = 0;
    for (const fs::path& file : files)
        if (!checkLoad(file)) ++rejected;
    // Most seeds are broken on purpose; a loader that took them all would have lost its checks.
    EXPECT_GE(rejected, 12);
}

} // namespace
