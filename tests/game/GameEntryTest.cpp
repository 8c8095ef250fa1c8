// The game's resources loaded from a damaged copy of the built run folder: no font, no sounds or
// music, and a folder where a sprite file belongs. Each file that cannot be used gives an error,
// everything else loads under its label, and a whole game can be played with what there is. (The
// complete run folder loads cleanly in EndToEndWindowTest.)
#include "GameResources.h"
#include "GameStart.h"
#include "ResourceManager.h"

#include "LogReader.h"
#include "ScreenSession.h"
#include "WebPlayTestSupport.h"

#include <algorithm>

namespace fs = std::filesystem;

class GameEntryTest : public WebPlayTest {};

TEST_F(GameEntryTest, WhatCannotBeUsedIsNamedTheRestLoadsUnderItsLabelAndAGameStillRuns) {
    ASSERT_TRUE(ScreenSession::copyRunFolder(".", {"Fonts", "Audio", gameFile(SPRITE, "player-spr")}));
    fs::create_directory(gameFile(SPRITE, "player-spr"));
    loadResources();

    bw::ResourceManager& resources = bw::ResourceManager::getInstance();
    std::vector<std::string> files = {GAME_FONT_FILE};
    for (const ResourceEntry& entry : GAME_RESOURCES) {
        files.push_back(entry.file);
        const bool found = entry.kind == SPRITE  ? resources.getSprite(entry.label) != nullptr
                           : entry.kind == SOUND ? resources.getSound(entry.label) != nullptr
                                                 : resources.getMusic(entry.label) != nullptr;
        // Sounds and tunes whose files failed stay, silent.
        EXPECT_EQ(found, entry.kind != SPRITE || fs::is_regular_file(entry.file)) << entry.label;
    }
    // One error each time a file that cannot be used is asked for, and no other: it names the file
    // when there is none. A folder in a file's place is named on Windows, where it cannot be
    // opened; elsewhere it opens and the sprite reader's error names the line instead.
    const std::vector<std::string> lines = readLogLines();
    const auto errors = [&](const std::string& end) {
        return std::ranges::count_if(
            lines, [&](const auto& line) { return line.starts_with("ERROR:") && line.ends_with(end); });
    };
    for (const std::string& file : files) {
        if (fs::is_directory(file)) continue;
        EXPECT_EQ(errors(" " + file), fs::exists(file) ? 0 : std::ranges::count(files, file)) << file;
    }
    EXPECT_EQ(errors(""),
              std::ranges::count_if(files, [](const auto& file) { return !fs::is_regular_file(file); }));

    // A game, the spider's fall and the game-over screen, and back to the title.
    GameStart& start = GameStart::getInstance();
    sendKey(&start, bw::KEY_W);
    for (int i = 0; i < 120; ++i) {
        if (i == 60) start.gameOver();
        stepWorld(i);
    }
    EXPECT_EQ(start.getState(), GAME_OVER);
    sendKey(&start, bw::KEY_W);
    EXPECT_EQ(start.getState(), TITLE);
}
