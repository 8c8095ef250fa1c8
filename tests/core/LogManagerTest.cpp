#include "LogManager.h"

#include "LogReader.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

using bw::LogManager;
using Lines = std::vector<std::string>;

namespace {

class LogManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.setLogLevel(-1);
        log.setEcho(false);
        ASSERT_EQ(log.startUp(), 0);
    }
    void TearDown() override { log.shutDown(); }

    TempWorkDir dir;
    LogManager& log = LogManager::getInstance();
};

TEST(LogTimeStamp, SecondsArePaddedToSixCharacters) {
    EXPECT_EQ(LogManager::formatTime(14, 5, 7.25), "14:05:007.25");
    EXPECT_EQ(LogManager::formatTime(14, 5, 7.0), "14:05:000007");
    EXPECT_EQ(LogManager::formatTime(0, 0, 0.5), "00:00:0000.5");
    EXPECT_EQ(LogManager::formatTime(23, 59, 59.999), "23:59:59.999");
    EXPECT_TRUE(std::regex_match(LogManager::getTimeString(), std::regex(R"(\d\d:\d\d:[0-9.]{6})")));
}

// Percent signs must not be taken as format directives. A second start-up keeps the open file;
// a start after a shut-down begins a new one.
TEST_F(LogManagerTest, LinesAreTimeStampSeparatorMessageAndEachStartEmptiesTheFile) {
    log.writeLog("100% of %s");
    EXPECT_EQ(log.startUp(), 0);
    const std::string stamp = R"(\d\d:\d\d:[0-9.]{6} - )";
    EXPECT_TRUE(std::regex_match(readLogText(), std::regex(stamp + "Started up LogManager\n" + stamp + "100% of %s\n")))
        << readLogText();
    log.shutDown();
    EXPECT_EQ(readLogLines(), (Lines{"Started up LogManager", "100% of %s", "Shutting down LogManager"}));
    EXPECT_EQ(log.writeLog("into the void"), -1);
    ASSERT_EQ(log.startUp(), 0);
    EXPECT_EQ(readLogLines(), Lines{"Started up LogManager"});
}

TEST_F(LogManagerTest, ThresholdDropsHigherLevelsOnlyAndNegativeLetsAllThrough) {
    log.setLogLevel(1);
    for (int level = 0; level <= 3; ++level) EXPECT_EQ(log.writeLog(level, "at " + std::to_string(level)), 0);
    EXPECT_EQ(log.writeLog("plain"), 0); // level 0
    log.setLogLevel(-1);
    log.writeLog(9, "at 9");
    EXPECT_EQ(readLogLines(), (Lines{"Started up LogManager", "at 0", "at 1", "plain", "at 9"}));
}

TEST(LogManagerFailure, UnopenableFileFailsStartUpAndEveryWrite) {
    TempWorkDir dir;
    LogManager& log = LogManager::getInstance();
    log.setLogLevel(-1);
    std::filesystem::create_directory(bw::LOGFILE_NAME); // a directory cannot be opened as a file
    EXPECT_EQ(log.startUp(), -1);
    EXPECT_FALSE(log.isStarted());
    EXPECT_EQ(log.writeLog("lost"), -1);
}

} // namespace
