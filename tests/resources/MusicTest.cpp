// A piece of music: playing sets its looping first, also when its file never opened (it then
// stays silent, and playing must not bring SFML's stream down).
#include "Music.h"

#include "LogReader.h"
#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <SFML/Audio/SoundSource.hpp>

namespace {

class MusicTest : public ::testing::Test {
protected:
    void SetUp() override { restartLogForResourceTest(); }

    TempWorkDir dir;
};

TEST_F(MusicTest, PlaySetsLoopingEvenWhenTheFileFailedToOpen) {
    ASSERT_TRUE(writeToneWav("tone.wav", 8000));
    bw::Music opened;
    opened.loadMusic("tone.wav");
    opened.play(true);
    // Without an audio device SFML keeps no looping state at all: nothing to observe then.
    if (!opened.getMusic().isLooping()) GTEST_SKIP() << "looping cannot be observed without an audio device";
    opened.stop();

    bw::Music ghost;
    EXPECT_EQ(ghost.loadMusic("missing.wav"), 0);
    EXPECT_EQ(countLogLines("ERROR: Failed to open music file missing.wav"), 1);
    for (const bool loop : {true, false, true}) {
        ghost.play(loop);
        EXPECT_EQ(ghost.getMusic().isLooping(), loop);
        EXPECT_EQ(ghost.getMusic().getStatus(), sf::SoundSource::Status::Stopped) << "it has nothing to play";
    }
    ghost.stop();
}

} // namespace
