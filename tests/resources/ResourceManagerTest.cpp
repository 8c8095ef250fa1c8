// The resource manager's three tables (sprites, sounds, music): finding entries by label,
// unloading, the table limits, and failed files.
#include "ResourceManager.h"

#include "Frame.h"
#include "LogManager.h"
#include "Music.h"
#include "Sound.h"
#include "Sprite.h"

#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <functional>

using Lines = std::vector<std::string>;

namespace {

bw::ResourceManager& resources() { return bw::ResourceManager::getInstance(); }

/// A sprite file of 2 × 1 frames showing art, declaring one frame; longer art is an error at line 7.
std::string spriteText(const std::string& art, int blocks = 1) {
    std::string text = "frames 1\nwidth 2\nheight 1\ndefault_color  FFFFFF\ndefault_slowdown 1\n<BODY>\n";
    for (int i = 0; i < blocks; ++i) text += art + "\nend\n";
    return text + "</BODY>\n";
}

/// One of the manager's tables, reached the same way whatever it holds.
struct Table {
    std::string file; // a good file for it
    int limit;
    std::function<int(const std::string&, const std::string&)> load;
    std::function<int(const std::string&)> unload;
    std::function<const void*(const std::string&)> get;
    std::function<int()> count;
    std::string full_warning;
    int full_level;
    std::string unknown_warning; // on unloading "gone"
    int unknown_level;
};

const std::vector<Table>& tables() {
    using S = const std::string&;
    static const std::vector<Table> all = {
        {"aa.txt", 1000, [](S f, S l) { return resources().loadSprite(f, l); },
         [](S l) { return resources().unloadSprite(l); }, [](S l) -> const void* { return resources().getSprite(l); },
         [] { return resources().getSpriteCount(); }, "WARNING: Tried to add sprite over MAX_SPRITES, sprite discarded", 0,
         "WARNING: attempted to unload sprite that doesn't exist", 1},
        {"tone.wav", 192, [](S f, S l) { return resources().loadSound(f, l); },
         [](S l) { return resources().unloadSound(l); }, [](S l) -> const void* { return resources().getSound(l); },
         [] { return resources().getSoundCount(); }, "WARNING: Tried to load more sounds than MAX_SOUNDS, sound discarded",
         1, "WARNING: could not find sound \"gone\" to unload", 0},
        {"theme.wav", 64, [](S f, S l) { return resources().loadMusic(f, l); },
         [](S l) { return resources().unloadMusic(l); }, [](S l) -> const void* { return resources().getMusic(l); },
         [] { return resources().getMusicCount(); }, "WARNING: Tried to load more music than MAX_MUSICS, music discarded",
         1, "WARNING: could not find music \"gone\" to unload", 0}};
    return all;
}

class ResourceManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        restartLogForResourceTest();
        writeResourceFile("aa.txt", spriteText("aa"));
        ASSERT_TRUE(writeToneWav("tone.wav", 400));
        ASSERT_TRUE(writeToneWav("theme.wav", 8000));
    }
    void TearDown() override {
        // The manager outlives the test: empty its tables again.
        resources().startUp();
        for (const std::string& label : used)
            while (resources().unloadSound(label) == 0 || resources().unloadMusic(label) == 0) {}
        bw::LogManager::getInstance().shutDown();
    }
    int load(const Table& table, const std::string& file, const std::string& label) {
        used.push_back(label);
        return table.load(file, label);
    }

    TempWorkDir dir;
    std::vector<std::string> used;
};

TEST_F(ResourceManagerTest, TheFirstEntryWithTheExactLabelIsFound) {
    for (const Table& t : tables()) {
        SCOPED_TRACE(t.file);
        EXPECT_EQ(t.get("x"), nullptr);
        EXPECT_EQ(load(t, t.file, "x"), 0);
        const void* first = t.get("x");
        EXPECT_NE(first, nullptr);
        EXPECT_EQ(load(t, t.file, "x"), 0);
        EXPECT_EQ(t.count(), 2);
        EXPECT_EQ(t.get("x"), first);
        for (const char* other : {"X", "x ", ""}) EXPECT_EQ(t.get(other), nullptr) << other;
    }
    EXPECT_EQ(resourceLogMessages(), Lines{});
    EXPECT_EQ(resources().getSound("x")->getLabel(), "x");
    EXPECT_EQ(resources().getMusic("x")->getLabel(), "x");
    EXPECT_EQ(resources().getSound("x")->getSound().getBuffer().getSampleCount(), 400u);
    EXPECT_EQ(resources().getMusic("x")->getMusic().getSampleRate(), 8000u);
}

TEST_F(ResourceManagerTest, UnloadingKeepsTheOthersInOrderAndUnknownLabelsWarn) {
    for (const Table& t : tables()) {
        SCOPED_TRACE(t.file);
        restartLogForResourceTest();
        for (const char* label : {"a", "b", "c"}) load(t, t.file, label);
        const void* b = t.get("b");
        const void* c = t.get("c");
        EXPECT_EQ(t.unload("a"), 0);
        load(t, t.file, "b"); // goes behind the others
        EXPECT_EQ(t.get("a"), nullptr);
        EXPECT_EQ(t.get("b"), b);
        EXPECT_EQ(t.unload("b"), 0);
        EXPECT_NE(t.get("b"), nullptr);
        EXPECT_EQ(t.get("c"), c);
        EXPECT_EQ(t.count(), 2);
        EXPECT_EQ(t.unload("gone"), -1);
        bw::LogManager::getInstance().setLogLevel(0);
        EXPECT_EQ(t.unload("gone"), -1);
        EXPECT_EQ(resourceLogMessages(), Lines(t.unknown_level == 0 ? 2 : 1, t.unknown_warning));
    }
}

TEST_F(ResourceManagerTest, FullTablesDiscardTheNextEntryWithAWarning) {
    for (const Table& t : tables()) {
        SCOPED_TRACE(t.file);
        restartLogForResourceTest();
        for (int i = 0; i < t.limit; ++i) ASSERT_EQ(load(t, t.file, "s" + std::to_string(i)), 0) << i;
        EXPECT_EQ(load(t, t.file, "extra"), -1);
        bw::LogManager::getInstance().setLogLevel(0);
        EXPECT_EQ(load(t, t.file, "extra"), -1);
        EXPECT_EQ(resourceLogMessages(), Lines(t.full_level == 0 ? 2 : 1, t.full_warning));
        EXPECT_EQ(t.get("extra"), nullptr);
        EXPECT_EQ(t.count(), t.limit);
        const void* s1 = t.get("s1"); // a freed slot takes the next entry, at the end
        EXPECT_EQ(t.unload("s0"), 0);
        EXPECT_EQ(load(t, t.file, "s1"), 0);
        EXPECT_EQ(t.get("s1"), s1);
    }
    // A sprite file is read to its end first: a broken one is reported as broken, and a good
    // one's frame warnings come before the table's.
    restartLogForResourceTest();
    writeResourceFile("long.txt", spriteText("aaa"));
    writeResourceFile("extra.txt", spriteText("bb", 2));
    EXPECT_EQ(resources().loadSprite("long.txt", "long"), -1);
    EXPECT_EQ(resources().loadSprite("extra.txt", "extra"), -1);
    EXPECT_EQ(resourceLogMessages(), (Lines{"ERROR: Sprite file line longer than designated width, line 7",
                                            "WARNING: Attempted to add frame over maximum frame count",
                                            tables()[0].full_warning}));
}

TEST_F(ResourceManagerTest, FailedFilesAddNoSpriteButKeepSilentSoundsAndMusic) {
    EXPECT_EQ(bw::Sound().getLabel(), "UNDEFINED_SOUND");
    EXPECT_EQ(bw::Music().getLabel(), "UNDEFINED_MUSIC");
    used.push_back("ghost");
    writeResourceFile("broken.txt", "frames 1\nwidth 2\nheight 1\ndefault_color  FFFFFF\n");
    EXPECT_EQ(resources().loadSprite("missing.txt", "ghost"), -1);
    EXPECT_EQ(resources().loadSprite("broken.txt", "ghost"), -1);
    EXPECT_EQ(resources().loadSound("none.wav", "ghost"), -1);
    EXPECT_EQ(resources().loadMusic("none.wav", "ghost"), 0); // opening music never fails the load
    EXPECT_EQ(resourceLogMessages(),
              (Lines{"ERROR: Failed to open sprite file: missing.txt", "ERROR: Failed to find sprite default slowdown (line 5)",
                     "ERROR: Failed to load sound file none.wav", "ERROR: Failed to open music file none.wav"}));
    EXPECT_EQ(resources().getSpriteCount(), 0);
    bw::Sound* sound = resources().getSound("ghost");
    bw::Music* music = resources().getMusic("ghost");
    ASSERT_NE(sound, nullptr);
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(sound->getSound().getBuffer().getSampleCount(), 0u);
    sound->play(true); // plays nothing, and must not fail
    music->play(true);
}

TEST_F(ResourceManagerTest, StartUpEmptiesTheSpriteTableWithoutStarting) {
    resources().loadSprite("aa.txt", "a");
    EXPECT_EQ(resources().startUp(), 0);
    EXPECT_EQ(resources().getSpriteCount(), 0);
    EXPECT_EQ(resources().getSprite("a"), nullptr);
    EXPECT_FALSE(resources().isStarted());
    EXPECT_EQ(resourceLogMessages(), Lines{"Started up ResourceManager"});
}

} // namespace
