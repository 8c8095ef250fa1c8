#include "LogManager.h"

#include "LogReader.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

using bw::LogManager;

namespace {

class LogManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.setLogLevel(-1);
        log.setEcho(false);
        log.setFlush(false);
        ASSERT_EQ(log.startUp(), 0);
    }
    void TearDown() override { log.shutDown(); }

    TempWorkDir dir;
    LogManager& log = LogManager::getInstance();
};

TEST_F(LogManagerTest, LineIsTimeStampSeparatorMessage) {
    log.writeLog("hello there");
    const std::string text = readLogText();
    EXPECT_TRUE(std::regex_search(text, std::regex(R"(^\d\d:\d\d:[0-9.]{6} - Started up LogManager\n)")))
        << text;
    EXPECT_TRUE(std::regex_search(text, std::regex(R"(\n\d\d:\d\d:[0-9.]{6} - hello there\n$)"))) << text;
}

TEST(LogTimeStamp, SecondsArePaddedToSixCharacters) {
    EXPECT_EQ(LogManager::formatTime(14, 5, 7.25), "14:05:007.25");
    EXPECT_EQ(LogManager::formatTime(14, 5, 7.0), "14:05:000007");
    EXPECT_EQ(LogManager::formatTime(0, 0, 0.5), "00:00:0000.5");
    EXPECT_EQ(LogManager::formatTime(23, 59, 59.999), "23:59:59.999");
    EXPECT_EQ(LogManager::formatTime(9, 30, 12.3), "09:30:0012.3");
}

TEST(LogTimeStamp, CurrentTimeHasTheSameShape) {
    EXPECT_TRUE(std::regex_match(LogManager::getTimeString(), std::regex(R"(\d\d:\d\d:[0-9.]{6})")))
        << LogManager::getTimeString();
}

TEST_F(LogManagerTest, ThresholdDropsHigherLevelsOnly) {
    log.setLogLevel(1);
    EXPECT_EQ(log.writeLog(2, "level two"), 0);
    EXPECT_EQ(log.writeLog(1, "level one"), 0);
    EXPECT_EQ(log.writeLog("level zero"), 0);
    EXPECT_EQ(countLogLines("level two"), 0);
    EXPECT_EQ(countLogLines("level one"), 1);
    EXPECT_EQ(countLogLines("level zero"), 1);
}

TEST_F(LogManagerTest, NegativeThresholdLetsEveryLevelThrough) {
    for (int level = 0; level <= 5; ++level) log.writeLog(level, "line " + std::to_string(level));
    for (int level = 0; level <= 5; ++level) EXPECT_EQ(countLogLines("line " + std::to_string(level)), 1);
}

TEST_F(LogManagerTest, PercentSignsAreWrittenUnchangedToFileAndEcho) {
    log.setEcho(true);
    testing::internal::CaptureStdout();
    log.writeLog("100% of %s and %d");
    const std::string echoed = testing::internal::GetCapturedStdout();
    log.setEcho(false);
    EXPECT_EQ(countLogLines("100% of %s and %d"), 1);
    EXPECT_NE(echoed.find(" - 100% of %s and %d\n"), std::string::npos) << echoed;
}

TEST_F(LogManagerTest, SecondStartUpKeepsTheOpenFile) {
    log.writeLog("before");
    EXPECT_EQ(log.startUp(), 0);
    log.writeLog("after");
    EXPECT_EQ(countLogLines("before"), 1);
    EXPECT_EQ(countLogLines("after"), 1);
    EXPECT_EQ(countLogLines("Started up LogManager"), 1);
}

TEST_F(LogManagerTest, EveryStartBeginsWithAnEmptyFile) {
    log.writeLog("from the first run");
    log.shutDown();
    EXPECT_EQ(countLogLines("Shutting down LogManager"), 1);
    ASSERT_EQ(log.startUp(), 0);
    EXPECT_EQ(countLogLines("from the first run"), 0);
    EXPECT_EQ(readLogLines().size(), 1u);
}

TEST_F(LogManagerTest, WritingAfterShutDownFails) {
    log.shutDown();
    EXPECT_EQ(log.writeLog("into the void"), -1);
    EXPECT_EQ(countLogLines("into the void"), 0);
}

TEST(LogManagerFailure, UnopenableFileFailsStartUpAndEveryWrite) {
    TempWorkDir dir;
    LogManager& log = LogManager::getInstance();
    log.setLogLevel(-1);
    std::filesystem::create_directory(bw::LOGFILE_NAME); // a directory cannot be opened as a file
    EXPECT_EQ(log.startUp(), -1);
    EXPECT_FALSE(log.isStarted());
    EXPECT_EQ(log.writeLog("lost"), -1);
    log.setLogLevel(0);
    EXPECT_EQ(log.writeLog(3, "filtered"), 0);
}

} // namespace
