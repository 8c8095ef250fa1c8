#include "LogManager.h"

#include "GameManager.h"

#include "LogReader.h"
#include "RecordingObject.h"
#include "TempWorkDir.h"
#include "WindowDisplayOverride.h"

#include <gtest/gtest.h>

#include <algorithm>
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

/// True when text is whole log lines: each a time stamp, " - ", a message and a newline.
bool isWholeLines(const std::string& text) {
    static const std::regex whole_line(STAMP + ".*");
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (!std::regex_match(line, whole_line)) return false;
    return text.empty() || text.back() == '\n';
}

std::string dropWarning(long dropped) {
    return "WARNING: " + std::to_string(dropped) + (dropped == 1 ? " line" : " lines") +
           " dropped here to keep the log within " + std::to_string(SMALL_LIMIT) + " bytes";
}

/// How many of lines[from...] are "<prefix><n>" numbered without a gap up to last; -1 otherwise.
long countRunEndingAt(const Lines& lines, std::size_t from, const std::string& prefix, long last) {
    const long first = last - static_cast<long>(lines.size() - from) + 1;
    for (std::size_t i = from; i < lines.size(); ++i)
        if (lines[i] != prefix + std::to_string(first + static_cast<long>(i - from))) return -1;
    return from < lines.size() ? static_cast<long>(lines.size() - from) : -1;
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
    log.setLogLevel(-1);
    log.writeLog(9, "at 9");
    EXPECT_EQ(readLogLines(), (Lines{"Started up LogManager", "at 0", "at 1", "at 9"}));
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
    const std::string text = readLogText();
    const Lines lines = readLogLines();
    game.shutDown();
    EXPECT_LE(text.size(), SMALL_LIMIT);
    EXPECT_TRUE(isWholeLines(text));
    const auto start_up_end = std::find(lines.begin(), lines.end(), "resources loaded") + 1;
    ASSERT_LT(start_up_end, lines.end());
    EXPECT_EQ(lines.front(), "Started up LogManager");
    const auto warning = static_cast<std::size_t>(start_up_end - lines.begin());
    const long kept = countRunEndingAt(lines, warning + 1, "chat ", written - 1);
    EXPECT_GT(kept, 50);
    EXPECT_EQ(lines[warning], dropWarning(written - kept));
}

// A log that fills before the loop ever steps keeps its first lines all the same.
TEST_F(LogManagerTest, StartUpPartThatOutgrowsHalfTheLimitEndsThere) {
    log.setSizeLimit(SMALL_LIMIT);
    constexpr int WRITTEN = 2000;
    for (int i = 0; i < WRITTEN; ++i) log.writeLog("line " + std::to_string(i));
    const std::string text = readLogText();
    EXPECT_LE(text.size(), SMALL_LIMIT);
    EXPECT_TRUE(isWholeLines(text));
    const Lines lines = readLogLines();
    const auto warning = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("WARNING", 0) == 0; });
    ASSERT_NE(warning, lines.end());
    const Lines first(lines.begin() + 1, warning); // after "Started up LogManager"
    ASSERT_GT(first.size(), 100u);
    EXPECT_EQ(countRunEndingAt(first, 0, "line ", static_cast<long>(first.size()) - 1), static_cast<long>(first.size()));
    const long kept = countRunEndingAt(lines, static_cast<std::size_t>(warning - lines.begin()) + 1, "line ", WRITTEN - 1);
    ASSERT_GT(kept, 0);
    EXPECT_EQ(*warning, dropWarning(WRITTEN - static_cast<long>(first.size()) - kept));
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
    EXPECT_TRUE(isWholeLines(readLogText()));
}

} // namespace
