#include "ResourceManager.h"

#include "Frame.h"
#include "LogManager.h"
#include "Sprite.h"

#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using bw::ResourceManager;
using bw::Sprite;
using Lines = std::vector<std::string>;

namespace {

const std::string FULL_TABLE = "WARNING: Tried to add sprite over MAX_SPRITES, sprite discarded";

// One 2 × 1 frame whose art is the given text.
std::string spriteText(const std::string& art) {
    return "frames 1\nwidth 2\nheight 1\ndefault_color  FFFFFF\ndefault_slowdown 1\n<BODY>\n" + art + "\nend\n</BODY>\n";
}

class ResourceManagerSpriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        restartLogForResourceTest();
        resources.startUp();
        restartLogForResourceTest();
        writeResourceFile("Sprites/aa.txt", spriteText("aa"));
        writeResourceFile("Sprites/bb.txt", spriteText("bb"));
        writeResourceFile("Sprites/cc.txt", spriteText("cc"));
    }
    void TearDown() override {
        resources.startUp();
        bw::LogManager::getInstance().shutDown();
    }

    std::string artOf(const std::string& label) const {
        const Sprite* sprite = resources.getSprite(label);
        return sprite ? sprite->getFrame(0).getString() : "<none>";
    }

    TempWorkDir dir;
    ResourceManager& resources = ResourceManager::getInstance();
};

TEST_F(ResourceManagerSpriteTest, LoadedSpriteIsFoundByItsExactLabel) {
    EXPECT_EQ(resources.loadSprite("Sprites/aa.txt", "player"), 0);
    EXPECT_EQ(resources.getSpriteCount(), 1);
    const Sprite* sprite = resources.getSprite("player");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getLabel(), "player");
    EXPECT_EQ(sprite->getFrame(0).getString(), "aa");
    EXPECT_EQ(resources.getSprite("Player"), nullptr);
    EXPECT_EQ(resources.getSprite("player "), nullptr);
    EXPECT_EQ(resourceLogMessages(), Lines{});
}

TEST_F(ResourceManagerSpriteTest, UnknownLabelGivesNullWithoutALogLine) {
    EXPECT_EQ(resources.getSprite("never-loaded"), nullptr);
    resources.loadSprite("Sprites/aa.txt", "fly");
    EXPECT_EQ(resources.getSprite("never-loaded"), nullptr);
    EXPECT_EQ(resources.getSprite(""), nullptr);
    EXPECT_EQ(resourceLogMessages(), Lines{});
}

TEST_F(ResourceManagerSpriteTest, MissingFileLogsTheOpenErrorWithItsName) {
    EXPECT_EQ(resources.loadSprite("Sprites/missing.txt", "ghost"), -1);
    EXPECT_EQ(resources.getSpriteCount(), 0);
    EXPECT_EQ(resources.getSprite("ghost"), nullptr);
    EXPECT_EQ(resourceLogMessages(), Lines{"ERROR: Failed to open sprite file: Sprites/missing.txt"});
}

TEST_F(ResourceManagerSpriteTest, BrokenFileLeavesTheTableUnchanged) {
    resources.loadSprite("Sprites/aa.txt", "first");
    writeResourceFile("Sprites/broken.txt", "frames 1\nwidth 2\nheight 1\ndefault_color  FFFFFF\n");
    EXPECT_EQ(resources.loadSprite("Sprites/broken.txt", "broken"), -1);
    EXPECT_EQ(resources.getSpriteCount(), 1);
    EXPECT_EQ(resources.getSprite("broken"), nullptr);
    EXPECT_EQ(artOf("first"), "aa");
    EXPECT_EQ(resourceLogMessages(), Lines{"ERROR: Failed to find sprite default slowdown (line 5)"});
}

TEST_F(ResourceManagerSpriteTest, WindowsLineEndingsOnDiskAreRead) {
    writeResourceFile("Sprites/crlf.txt", "frames 1\r\nwidth 2\r\nheight 2\r\ndefault_color  FF0000\r\n"
                                          "default_slowdown 3\r\n<BODY>\r\nab\r\nc\r\nend\r\n</BODY>\r\n");
    EXPECT_EQ(resources.loadSprite("Sprites/crlf.txt", "crlf"), 0);
    const Sprite* sprite = resources.getSprite("crlf");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getFrame(0).getString(), "abc ");
    EXPECT_EQ(sprite->getColor(), bw::Color(255, 0, 0, 1.0f));
    EXPECT_EQ(sprite->getTotalSlowdown(), 3);
}

TEST_F(ResourceManagerSpriteTest, FirstOfTwoEqualLabelsIsFound) {
    resources.loadSprite("Sprites/aa.txt", "same");
    resources.loadSprite("Sprites/bb.txt", "same");
    EXPECT_EQ(resources.getSpriteCount(), 2);
    EXPECT_EQ(artOf("same"), "aa");
    EXPECT_EQ(resources.unloadSprite("same"), 0);
    EXPECT_EQ(artOf("same"), "bb");
}

TEST_F(ResourceManagerSpriteTest, UnloadingTheFirstOfThreeKeepsTheOthersInOrder) {
    resources.loadSprite("Sprites/aa.txt", "a");
    resources.loadSprite("Sprites/bb.txt", "b");
    resources.loadSprite("Sprites/cc.txt", "c");
    resources.loadSprite("Sprites/cc.txt", "b"); // a later "b" that must stay behind the first
    EXPECT_EQ(resources.unloadSprite("a"), 0);
    EXPECT_EQ(resources.getSpriteCount(), 3);
    EXPECT_EQ(resources.getSprite("a"), nullptr);
    EXPECT_EQ(artOf("b"), "bb");
    EXPECT_EQ(artOf("c"), "cc");
    EXPECT_EQ(resources.unloadSprite("b"), 0);
    EXPECT_EQ(artOf("b"), "cc");
    EXPECT_EQ(resources.unloadSprite("c"), 0);
    EXPECT_EQ(artOf("b"), "cc");
    EXPECT_EQ(resources.getSpriteCount(), 1);
    EXPECT_EQ(resourceLogMessages(), Lines{});
}

TEST_F(ResourceManagerSpriteTest, UnloadingAnUnknownLabelWarnsAtLevelOne) {
    resources.loadSprite("Sprites/aa.txt", "a");
    EXPECT_EQ(resources.unloadSprite("z"), -1);
    EXPECT_EQ(resources.getSpriteCount(), 1);
    EXPECT_EQ(resourceLogMessages(), Lines{"WARNING: attempted to unload sprite that doesn't exist"});
    bw::LogManager::getInstance().setLogLevel(0);
    EXPECT_EQ(resources.unloadSprite("z"), -1);
    EXPECT_EQ(resourceLogMessages().size(), 1u);
}

TEST_F(ResourceManagerSpriteTest, FullTableReadsTheWholeFileBeforeDiscarding) {
    for (int i = 0; i < bw::MAX_SPRITES; ++i)
        ASSERT_EQ(resources.loadSprite("Sprites/aa.txt", "s" + std::to_string(i)), 0) << i;
    ASSERT_EQ(resources.getSpriteCount(), bw::MAX_SPRITES);
    EXPECT_EQ(resourceLogMessages(), Lines{});

    // A broken file is still reported as broken: the table is checked only after reading.
    writeResourceFile("Sprites/long.txt", spriteText("aaa"));
    EXPECT_EQ(resources.loadSprite("Sprites/long.txt", "long"), -1);
    EXPECT_EQ(resourceLogMessages(), Lines{"ERROR: Sprite file line longer than designated width, line 7"});

    // A good file is read to its end (its frame warning comes first), then discarded.
    restartLogForResourceTest();
    writeResourceFile("Sprites/extra.txt", "frames 1\nwidth 2\nheight 1\ndefault_color  FFFFFF\n"
                                           "default_slowdown 1\n<BODY>\naa\nend\nbb\nend\n</BODY>\n");
    EXPECT_EQ(resources.loadSprite("Sprites/extra.txt", "extra"), -1);
    EXPECT_EQ(resourceLogMessages(), (Lines{"WARNING: Attempted to add frame over maximum frame count", FULL_TABLE}));
    EXPECT_EQ(resources.getSpriteCount(), bw::MAX_SPRITES);
    EXPECT_EQ(resources.getSprite("extra"), nullptr);

    // The table warning is written at level 0.
    restartLogForResourceTest();
    bw::LogManager::getInstance().setLogLevel(0);
    EXPECT_EQ(resources.loadSprite("Sprites/bb.txt", "more"), -1);
    EXPECT_EQ(resourceLogMessages(), Lines{FULL_TABLE});

    // A freed slot takes the next sprite, at the end of the table.
    EXPECT_EQ(resources.unloadSprite("s0"), 0);
    EXPECT_EQ(resources.loadSprite("Sprites/bb.txt", "s1"), 0);
    EXPECT_EQ(resources.getSpriteCount(), bw::MAX_SPRITES);
    EXPECT_EQ(artOf("s1"), "aa");
    EXPECT_EQ(artOf("s999"), "aa");
}

TEST_F(ResourceManagerSpriteTest, StartUpEmptiesTheSpriteTable) {
    resources.loadSprite("Sprites/aa.txt", "a");
    resources.loadSprite("Sprites/bb.txt", "b");
    EXPECT_EQ(resources.startUp(), 0);
    EXPECT_EQ(resources.getSpriteCount(), 0);
    EXPECT_EQ(resources.getSprite("a"), nullptr);
    EXPECT_FALSE(resources.isStarted());
    EXPECT_EQ(resourceLogMessages(), Lines{"Started up ResourceManager"});
    resources.shutDown();
    EXPECT_EQ(resources.loadSprite("Sprites/cc.txt", "c"), 0);
    EXPECT_EQ(artOf("c"), "cc");
}

} // namespace
