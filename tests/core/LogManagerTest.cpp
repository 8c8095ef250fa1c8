#include "LogManager.h"

#include "GameManager.h"

#include "LogReader.h"
#include "RecordingObject.h"
#include "TempWorkDir.h"
#include "WindowDisplayOverride.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

using bw::LogManager;
using Lines = std::vector<std::string>;

namespace {

const std::string STAMP = R"(\d\d:\d\d:[0-9.]{6} - )";
constexpr std::uintmax_t SMALL_LIMIT = 16384;

/// brackwen.log as the operating system has it, without flushing anything first.
std::string fileOnDisk() {
    std::ostringstream text;
    text << std::ifstream(bw::LOGFILE_NAME).rdbuf();
    return text.str();
}

std::string dropWarning(long dropped) {
    return "WARNING: " + std::to_string(dropped) + (dropped == 1 ? " line" : " lines") +
           " dropped here to keep the log within " + std::to_string(SMALL_LIMIT) + " bytes";
}

/// Checks the log after lines "<prefix>0" to "<prefix><written - 1>" outgrew the size limit: it
/// is within the limit and whole lines; a warning counts exactly the lines missing; after it come
/// the newest lines without a gap. Gives the log's messages and the warning's index in them.
std::pair<Lines, std::size_t> expectBoundedLog(const std::string& prefix, long written) {
    static const std::regex whole_line(STAMP + ".*");
    const std::string text = readLogText();
    EXPECT_LE(text.size(), SMALL_LIMIT);
    EXPECT_TRUE(!text.empty() && text.back() == '\n');
    std::istringstream file_lines(text);
    for (std::string line; std::getline(file_lines, line);) EXPECT_TRUE(std::regex_match(line, whole_line)) << line;
    const Lines lines = readLogLines();
    const auto warning = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("WARNING", 0) == 0; });
    if (warning == lines.end()) return {lines, 0};
    const long before = std::count_if(lines.begin(), warning, [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    const long newest = lines.end() - warning - 1;
    EXPECT_GT(newest, 50);
    for (long i = 0; i < newest; ++i) EXPECT_EQ(warning[i + 1], prefix + std::to_string(written - newest + i));
    EXPECT_EQ(*warning, dropWarning(written - before - newest));
    return {lines, static_cast<std::size_t>(warning - lines.begin())};
}

class LogManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.setLogLevel(-1);
        ASSERT_EQ(log.startUp(), 0);
    }
    void TearDown() override {
        log.shutDown();
        log.setSizeLimit(bw::LOGFILE_SIZE_LIMIT_DEFAULT);
    }

    TempWorkDir dir;
    LogManager& log = LogManager::getInstance();
};

TEST(LogTimeStamp, SecondsArePaddedToSixCharacters) {
    EXPECT_EQ(LogManager::formatTime(14, 5, 7.25), "14:05:007.25");
    EXPECT_EQ(LogManager::formatTime(0, 0, 7.0), "00:00:000007");
    EXPECT_EQ(LogManager::formatTime(23, 59, 59.999), "23:59:59.999");
    EXPECT_TRUE(std::regex_match(LogManager::getTimeString() + " - ", std::regex(STAMP)));
}

// Percent signs are not format directives. A second start-up keeps the open file; a start after
// a shut-down begins a new one. A level above the threshold is dropped; a negative one lets all in.
TEST_F(LogManagerTest, LinesAreTimeStampSeparatorMessageFilteredByLevel) {
    log.writeLog("100% of %s");
    EXPECT_EQ(log.startUp(), 0);
    EXPECT_TRUE(std::regex_match(readLogText(), std::regex(STAMP + "Started up LogManager\n" + STAMP + "100% of %s\n")));
    log.shutDown();
    EXPECT_EQ(readLogLines(), (Lines{"Started up LogManager", "100% of %s", "Shutting down LogManager"}));
    EXPECT_EQ(log.writeLog("into the void"), -1);
    ASSERT_EQ(log.startUp(), 0);
    log.setLogLevel(1);
    for (int level = 0; level <= 3; ++level) EXPECT_EQ(log.writeLog(level, "at " + std::to_string(level)), 0);
    log.setLogLevel(0);
    log.writeLog("plain"); // level 0
    log.setLogLevel(-1);
    log.writeLog(9, "at 9");
    EXPECT_EQ(readLogLines(), (Lines{"Started up LogManager", "at 0", "at 1", "plain", "at 9"}));
}

// Echo prints exactly the line written to the file, and only when asked. Lines wait in memory
// until flushFile(), unless flushing after every line is on.
TEST_F(LogManagerTest, EchoPrintsTheFileLineAndFlushPutsEachLineOnDiskAtOnce) {
    log.flushFile();
    for (const auto& [echo, flush] : {std::pair{false, false}, {false, true}, {true, false}, {true, true}}) {
        SCOPED_TRACE(std::to_string(echo) + std::to_string(flush));
        log.setEcho(echo);
        log.setFlush(flush);
        testing::internal::CaptureStdout();
        log.writeLog("100% of %s " + std::to_string(echo) + std::to_string(flush));
        const std::string echoed = testing::internal::GetCapturedStdout(), on_disk = fileOnDisk();
        log.setEcho(false);
        log.setFlush(false);
        const std::string text = readLogText(), line = text.substr(text.rfind('\n', text.size() - 2) + 1);
        EXPECT_EQ(on_disk == text, flush) << on_disk;
        EXPECT_TRUE(std::regex_match(line, std::regex(STAMP + "100% of %s " + std::to_string(echo) + std::to_string(flush) + "\n")));
        EXPECT_EQ(echoed, echo ? line : "");
        EXPECT_EQ(fileOnDisk(), text); // flushFile() wrote everything
    }
}

TEST(LogManagerFailure, UnopenableFileFailsStartUpAndEveryWrite) {
    TempWorkDir dir;
    std::filesystem::create_directory(bw::LOGFILE_NAME); // a directory cannot be opened as a file
    EXPECT_EQ(LogManager::getInstance().startUp(), -1);
    EXPECT_FALSE(LogManager::getInstance().isStarted());
    EXPECT_EQ(LogManager::getInstance().writeLog("lost"), -1);
}

// The real loop flushes as each step begins: what was written before its first step stays at
// the top, then the drop count, then the newest lines. The file never grows past the limit.
TEST(LogSizeBoundLoop, KeepsTheStartUpPartTheDropCountAndTheNewestLines) {
    TempWorkDir dir;
    WindowDisplayOverride no_display{""};
    LogManager& log = LogManager::getInstance();
    log.setLogLevel(-1);
    log.setSizeLimit(SMALL_LIMIT);
    bw::GameManager& game = bw::GameManager::getInstance();
    game.startUp();
    log.setLogLevel(1);
    log.writeLog("resources loaded");
    long written = 0;
    (new RecordingObject("chatty"))->on_event = [&](const bw::Event*) {
        for (int i = 0; i < 40; ++i) LogManager::getInstance().writeLog("chat " + std::to_string(written++));
    };
    for (int step = 0; step < 100; ++step) {
        game.runIteration(step);
        ASSERT_LE(std::filesystem::file_size(bw::LOGFILE_NAME), SMALL_LIMIT) << "after step " << step;
    }
    const auto [lines, warning] = expectBoundedLog("chat ", written);
    game.shutDown();
    ASSERT_GE(warning, 2u);
    EXPECT_EQ(lines.front(), "Started up LogManager");
    EXPECT_EQ(lines[warning - 1], "resources loaded");
}

// A log that fills before the loop ever steps keeps its first lines all the same.
TEST_F(LogManagerTest, StartUpPartThatOutgrowsHalfTheLimitEndsThere) {
    log.setSizeLimit(SMALL_LIMIT);
    for (int i = 0; i < 2000; ++i) log.writeLog("line " + std::to_string(i));
    const auto [lines, warning] = expectBoundedLog("line ", 2000);
    ASSERT_GT(warning, 100u);
    for (std::size_t i = 1; i < warning; ++i) EXPECT_EQ(lines[i], "line " + std::to_string(i - 1));
    // It holds as many lines as fit in half the limit (a file line: 12 characters of time stamp,
    // " - ", the message, a newline).
    std::size_t start_up = 0;
    for (std::size_t i = 0; i < warning; ++i) start_up += 16 + lines[i].size();
    EXPECT_LE(start_up, SMALL_LIMIT / 2);
    EXPECT_GT(start_up + 16 + ("line " + std::to_string(warning - 1)).size(), SMALL_LIMIT / 2);
}

// Every start is a new file with its drops counted from zero; a line too long for the limit is
// dropped itself. A limit below the smallest is raised, with a warning.
TEST_F(LogManagerTest, RestartCountsDropsAfreshAndALineTooLongIsDroppedAndCounted) {
    log.setSizeLimit(100);
    EXPECT_EQ(log.getSizeLimit(), bw::BoundedLogFile::MIN_SIZE_LIMIT);
    EXPECT_TRUE(logHasLineStartingWith("WARNING: log size limit of 100 bytes is too small"));
    log.setSizeLimit(SMALL_LIMIT);
    log.flushFile();
    for (int i = 0; i < 3000; ++i) log.writeLog("line " + std::to_string(i));
    log.shutDown();
    ASSERT_EQ(log.startUp(), 0);
    log.flushFile();
    for (const std::string& line : {std::string("before"), std::string(SMALL_LIMIT, 'x'), std::string("after")})
        log.writeLog(line);
    EXPECT_EQ(readLogLines(), (Lines{"Started up LogManager", dropWarning(1), "before", "after"}));
}

} // namespace
