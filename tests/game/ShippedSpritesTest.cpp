// The sprite files shipped in data/Sprites: each loads cleanly with the engine's loader, and
// each has the size, frames and animation lengths the game's objects rely on.

#include "LogManager.h"
#include "ResourceManager.h"
#include "ResourceTestSupport.h"
#include "SilkCounter.h"
#include "Sprite.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// The window in cells, and the spacing of the web's intersections (8 columns over the width,
// 6 rows over the height).
constexpr float WINDOW_COLUMNS = 80.0f;
constexpr float WINDOW_ROWS = 24.0f;
constexpr float COLUMN_SPACING = WINDOW_COLUMNS / 7.0f;
constexpr float ROW_SPACING = WINDOW_ROWS / 5.0f;

// Where the screens draw the title and the game-over banner, and the first line of text below.
constexpr float BANNER_X = WINDOW_COLUMNS * 0.5f + 2.0f;
constexpr float BANNER_Y = WINDOW_ROWS * 0.5f - 4.0f;
constexpr float FIRST_TEXT_ROW = WINDOW_ROWS * 0.5f + 5.0f;

struct ShippedSprite {
    std::string label;
    std::string file;
};

// The game's sprites, by label and file, in load order.
const std::vector<ShippedSprite> SHIPPED = {
    {"player-spr", "O-spr.txt"},
    {"player-right", "spider-right.txt"},
    {"player-left", "spider-left.txt"},
    {"player-up", "spider-up.txt"},
    {"player-down", "spider-down.txt"},
    {"player-fall", "spider-fall.txt"},
    {"enemy-right", "giant-enemy-spider-right.txt"},
    {"enemy-left", "giant-enemy-spider-left.txt"},
    {"enemy-up", "giant-enemy-spider-up.txt"},
    {"enemy-down", "giant-enemy-spider-down.txt"},
    {"silk-shot-right", "silk-shot-right.txt"},
    {"silk-shot-left", "silk-shot-left.txt"},
    {"silk-shot-up", "silk-shot-up.txt"},
    {"silk-shot-down", "silk-shot-down.txt"},
    {"fly-intro", "fly-intro-spr.txt"},
    {"fly-twitch", "fly-twitch-spr.txt"},
    {"silk-counter-spr", "silk-counter.txt"},
    {"saucer", "saucer!.txt"},
    {"title-text", "title-text.txt"},
    {"game-over-text", "game-over-text.txt"},
};

// Sprites of objects that move on the web over its strings.
const std::vector<std::string> ON_THE_WEB = {
    "player-right", "player-left", "player-up", "player-down", "player-fall",
    "enemy-right", "enemy-left", "enemy-up", "enemy-down",
    "silk-shot-right", "silk-shot-left", "silk-shot-up", "silk-shot-down",
    "fly-intro", "fly-twitch", "saucer",
};

// First and one-past-last cell of a sprite drawn centred on x (columns) and on y (rows), as
// frames are drawn: width / 2 columns to the left, height / 2 rows above.
struct Extent {
    float left, right, top, bottom;
};
Extent extentAt(const bw::Sprite& sprite, float x, float y) {
    const float left = x - static_cast<float>(sprite.getWidth() / 2);
    const float top = y - static_cast<float>(sprite.getHeight()) * 0.5f;
    return {left, left + static_cast<float>(sprite.getWidth()), top, top + static_cast<float>(sprite.getHeight())};
}

// Loads every shipped sprite once, into the resource manager of this test executable, with
// the log catching everything the loader says.
class ShippedSpritesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work_dir = std::make_unique<TempWorkDir>();
        restartLogForResourceTest();
        auto& resources = bw::ResourceManager::getInstance();
        const std::filesystem::path folder = std::filesystem::path(TARNWICK_SOURCE_DIR) / "data" / "Sprites";
        for (const auto& shipped : SHIPPED) {
            load_results.push_back(resources.loadSprite((folder / shipped.file).string(), shipped.label));
        }
        load_log = resourceLogMessages();
    }
    static void TearDownTestSuite() {
        bw::LogManager::getInstance().shutDown();
        work_dir.reset();
    }

    // Null when the sprite did not load (the first test names the file).
    static const bw::Sprite* sprite(const std::string& label) {
        return bw::ResourceManager::getInstance().getSprite(label);
    }

    static inline std::unique_ptr<TempWorkDir> work_dir;
    static inline std::vector<int> load_results;
    static inline std::vector<std::string> load_log;
};

TEST_F(ShippedSpritesTest, EveryFileLoadsWithoutErrorsOrWarnings) {
    ASSERT_EQ(load_results.size(), SHIPPED.size());
    for (std::size_t i = 0; i < SHIPPED.size(); ++i) {
        EXPECT_EQ(load_results[i], 0) << SHIPPED[i].file;
        EXPECT_NE(bw::ResourceManager::getInstance().getSprite(SHIPPED[i].label), nullptr) << SHIPPED[i].label;
    }
    for (const auto& line : load_log) {
        EXPECT_NE(line.rfind("ERROR:", 0), 0u) << line;
        EXPECT_NE(line.rfind("WARNING:", 0), 0u) << line;
    }
}

TEST_F(ShippedSpritesTest, EveryDeclaredFrameIsPresentAndAdvances) {
    for (const auto& shipped : SHIPPED) {
        SCOPED_TRACE(shipped.file);
        const bw::Sprite* art = sprite(shipped.label);
        ASSERT_NE(art, nullptr);
        // A frame block not closed by "end" is dropped silently; the count shows it.
        EXPECT_EQ(art->getFrameCount(), art->getMaxFrameCount());
        for (int i = 0; i < art->getFrameCount(); ++i) {
            const bw::Frame frame = art->getFrame(i);
            EXPECT_EQ(frame.getString().size(), static_cast<std::size_t>(art->getWidth() * art->getHeight())) << i;
            // Slowdown 0 would freeze the animation on this frame for good.
            EXPECT_GT(frame.getSlowdown(), 0) << i;
            EXPECT_NE(frame.getString().find_first_not_of(' '), std::string::npos) << "frame " << i << " is blank";
            for (char ch : frame.getString()) EXPECT_TRUE(ch >= ' ' && ch <= '~') << "frame " << i << ": " << int(ch);
        }
    }
}

TEST_F(ShippedSpritesTest, WebSpritesLetTheStringsShowThroughTheirBlanks) {
    for (const auto& label : ON_THE_WEB) {
        SCOPED_TRACE(label);
        ASSERT_NE(sprite(label), nullptr);
        const char* transparency = sprite(label)->getTransparency();
        ASSERT_NE(transparency, nullptr);
        EXPECT_EQ(*transparency, ' ');
    }
}

TEST_F(ShippedSpritesTest, WebSpritesFitBetweenNeighbouringIntersections) {
    for (const auto& label : ON_THE_WEB) {
        SCOPED_TRACE(label);
        const bw::Sprite* art = sprite(label);
        ASSERT_NE(art, nullptr);
        EXPECT_LT(static_cast<float>(art->getWidth()), COLUMN_SPACING);
        EXPECT_LT(static_cast<float>(art->getHeight()), ROW_SPACING);
    }
}

TEST_F(ShippedSpritesTest, EachWalkerKeepsOneSizeInEveryDirection) {
    // A turn swaps the sprite and refits the box around the same centre.
    for (const std::string walker : {"player", "enemy", "silk-shot"}) {
        SCOPED_TRACE(walker);
        const bw::Sprite* right = sprite(walker + "-right");
        const bw::Sprite* left = sprite(walker + "-left");
        const bw::Sprite* up = sprite(walker + "-up");
        const bw::Sprite* down = sprite(walker + "-down");
        ASSERT_TRUE(right && left && up && down);
        EXPECT_EQ(left->getWidth(), right->getWidth());
        EXPECT_EQ(left->getHeight(), right->getHeight());
        EXPECT_EQ(down->getWidth(), up->getWidth());
        EXPECT_EQ(down->getHeight(), up->getHeight());
    }
    for (const auto& [one, other] : {std::pair{"player-fall", "player-up"}, std::pair{"fly-intro", "fly-twitch"}}) {
        ASSERT_TRUE(sprite(one) && sprite(other));
        EXPECT_EQ(sprite(one)->getWidth(), sprite(other)->getWidth()) << one;
        EXPECT_EQ(sprite(one)->getHeight(), sprite(other)->getHeight()) << one;
    }
}

TEST_F(ShippedSpritesTest, GiantEnemySpidersAreBiggerThanThePlayer) {
    for (const std::string direction : {"right", "left", "up", "down"}) {
        SCOPED_TRACE(direction);
        const bw::Sprite* enemy = sprite("enemy-" + direction);
        const bw::Sprite* player = sprite("player-" + direction);
        ASSERT_TRUE(enemy && player);
        EXPECT_GT(enemy->getWidth(), player->getWidth());
        EXPECT_GE(enemy->getHeight(), player->getHeight());
    }
}

TEST_F(ShippedSpritesTest, AnimationsLastWhatTheGameTimesAgainst) {
    // The fly ends its intro after one pass of "fly-intro": about 0.7 s of 30 ms steps.
    ASSERT_TRUE(sprite("fly-intro") && sprite("player-fall"));
    const int intro = sprite("fly-intro")->getTotalSlowdown();
    EXPECT_GE(intro, 21);
    EXPECT_LE(intro, 24);
    // The game-over screen comes 10 steps before the fall ends: about 1.3 s in all.
    const int fall = sprite("player-fall")->getTotalSlowdown();
    EXPECT_GE(fall, 40);
    EXPECT_LE(fall, 45);
    EXPECT_GT(sprite("player-fall")->getFrameCount(), 1);
}

TEST_F(ShippedSpritesTest, SilkCounterHasAFramePerChargeUpToAShotAtLeast) {
    const bw::Sprite* counter = sprite("silk-counter-spr");
    ASSERT_NE(counter, nullptr);
    EXPECT_GE(counter->getFrameCount(), SHOT_COST + 1);
    // Every charge shows as a different picture.
    for (int charge = 1; charge < counter->getFrameCount(); ++charge)
        EXPECT_NE(counter->getFrame(charge).getString(), counter->getFrame(charge - 1).getString()) << charge;
}

TEST_F(ShippedSpritesTest, SilkCounterStaysInTheCornerClearOfTheNearestString) {
    const bw::Sprite* counter = sprite("silk-counter-spr");
    ASSERT_NE(counter, nullptr);
    // Drawn centred on (width / 2 + 3, rows − 3).
    const Extent at = extentAt(*counter, static_cast<float>(counter->getWidth()) * 0.5f + 3.0f, WINDOW_ROWS - 3.0f);
    EXPECT_GE(at.left, 0.0f);
    EXPECT_LE(at.bottom, WINDOW_ROWS);
    // The vertical string of web column 1 must never be hidden behind the counter.
    EXPECT_LE(at.right, COLUMN_SPACING);
}

TEST_F(ShippedSpritesTest, TitleAndGameOverBannersFitAboveTheText) {
    for (const std::string label : {"title-text", "game-over-text"}) {
        SCOPED_TRACE(label);
        ASSERT_NE(sprite(label), nullptr);
        const Extent at = extentAt(*sprite(label), BANNER_X, BANNER_Y);
        EXPECT_GE(at.left, 0.0f);
        EXPECT_LE(at.right, WINDOW_COLUMNS);
        EXPECT_GE(at.top, 0.0f);
        EXPECT_LE(at.bottom, FIRST_TEXT_ROW);
    }
}

TEST_F(ShippedSpritesTest, EverySpriteFitsTheWindow) {
    for (const auto& shipped : SHIPPED) {
        SCOPED_TRACE(shipped.file);
        const bw::Sprite* art = sprite(shipped.label);
        ASSERT_NE(art, nullptr);
        EXPECT_LE(static_cast<float>(art->getWidth()), WINDOW_COLUMNS);
        EXPECT_LE(static_cast<float>(art->getHeight()), WINDOW_ROWS);
    }
}

} // namespace
