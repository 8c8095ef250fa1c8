#include "LogManager.h"

#include "EventStep.h"
#include "GameManager.h"
#include "Object.h"

#include "LogReader.h"
#include "TempWorkDir.h"
#include "WindowDisplayOverride.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

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

// Echo prints exactly the characters written to the file, percent signs included; with flush
// on, a line is in the file as soon as writeLog returns.
TEST_F(LogManagerTest, EchoPrintsTheFileLineAndFlushPutsEachLineInTheFileAtOnce) {
    log.setEcho(true);
    testing::internal::CaptureStdout();
    log.writeLog("100% of %s");
    const std::string echoed = testing::internal::GetCapturedStdout();
    log.setEcho(false);
    const std::string text = readLogText();
    EXPECT_EQ(text.substr(text.find('\n') + 1), echoed);

    log.setFlush(true);
    log.writeLog("on disk now");
    log.setFlush(false);
    std::ifstream file(bw::LOGFILE_NAME); // read directly: readLogText would flush first
    std::ostringstream on_disk;
    on_disk << file.rdbuf();
    EXPECT_NE(on_disk.str().find(" - on disk now\n"), std::string::npos) << on_disk.str();
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

// --- The size bound --------------------------------------------------------------------------

constexpr std::uintmax_t SMALL_LIMIT = 16384;

/// True when text is whole log lines: each a time stamp, " - ", a message and a newline.
bool isWholeLines(const std::string& text) {
    static const std::regex line(R"(\d\d:\d\d:[0-9.]{6} - [^\n]*\n)");
    std::istringstream lines(text);
    std::string one;
    while (std::getline(lines, one))
        if (!std::regex_match(one + "\n", line)) return false;
    return text.empty() || text.back() == '\n';
}

std::string dropWarning(long dropped) {
    return "WARNING: " + std::to_string(dropped) + (dropped == 1 ? " line" : " lines") +
           " dropped here to keep the log within " + std::to_string(SMALL_LIMIT) + " bytes";
}

/// The log's messages, each longer than 80 characters shown as its length alone.
Lines readShortLogLines() {
    Lines lines = readLogLines();
    for (std::string& line : lines)
        if (line.size() > 80) line = "<" + std::to_string(line.size()) + " characters>";
    return lines;
}

/// Where the numbers "<prefix><n>" of lines[from...] run without a gap up to last: how many lines
/// that is, or -1 when they do not.
long countRunEndingAt(const Lines& lines, std::size_t from, const std::string& prefix, long last) {
    if (from >= lines.size()) return -1;
    const long first = last - static_cast<long>(lines.size() - from) + 1;
    for (std::size_t i = from; i < lines.size(); ++i)
        if (lines[i] != prefix + std::to_string(first + static_cast<long>(i - from))) return -1;
    return static_cast<long>(lines.size() - from);
}

class LogSizeBoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.setLogLevel(-1);
        log.setEcho(false);
        log.setSizeLimit(SMALL_LIMIT);
        ASSERT_EQ(log.startUp(), 0);
    }
    void TearDown() override {
        log.shutDown();
        log.setSizeLimit(bw::LOGFILE_SIZE_LIMIT_DEFAULT);
    }
    /// Writes "line 0" to "line <count - 1>". With flushes, flushes as the loop does every few
    /// lines and checks the size of the file each time.
    void writeNumberedLines(int count, bool flushes = true) {
        for (int i = 0; i < count; ++i) {
            log.writeLog("line " + std::to_string(i));
            if (flushes && i % 25 == 24) {
                log.flushFile();
                ASSERT_LE(std::filesystem::file_size(bw::LOGFILE_NAME), SMALL_LIMIT) << "after line " << i;
            }
        }
    }

    TempWorkDir dir;
    LogManager& log = LogManager::getInstance();
};

TEST_F(LogSizeBoundTest, LongRunStaysUnderTheLimitAndKeepsStartUpNewestLinesAndTheDropCount) {
    log.writeLog("loading the game");
    log.flushFile(); // the loop's first step: the start-up part ends here
    constexpr int WRITTEN = 4000; // about six times the limit
    writeNumberedLines(WRITTEN);

    const std::string text = readLogText();
    EXPECT_LE(text.size(), SMALL_LIMIT);
    EXPECT_TRUE(isWholeLines(text));
    const Lines lines = readLogLines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Started up LogManager");
    EXPECT_EQ(lines[1], "loading the game");
    const long kept = countRunEndingAt(lines, 3, "line ", WRITTEN - 1);
    EXPECT_GT(kept, 50) << "the newest lines, without a gap, up to the last one";
    EXPECT_EQ(lines[2], dropWarning(WRITTEN - kept));
}

// A log that fills before the loop ever steps keeps its first lines all the same.
TEST_F(LogSizeBoundTest, StartUpPartThatOutgrowsHalfTheLimitEndsThere) {
    constexpr int WRITTEN = 2000;
    writeNumberedLines(WRITTEN, false);

    const std::string text = readLogText();
    EXPECT_LE(text.size(), SMALL_LIMIT);
    EXPECT_TRUE(isWholeLines(text));
    const Lines lines = readLogLines();
    const auto warning = std::find_if(lines.begin(), lines.end(),
                                      [](const std::string& line) { return line.rfind("WARNING: ", 0) == 0; });
    ASSERT_NE(warning, lines.end());
    const auto at = static_cast<std::size_t>(warning - lines.begin());
    const Lines first(lines.begin() + 1, warning); // after "Started up LogManager"
    ASSERT_GT(first.size(), 100u);
    EXPECT_EQ(countRunEndingAt(first, 0, "line ", static_cast<long>(first.size()) - 1),
              static_cast<long>(first.size()));
    const long kept = countRunEndingAt(lines, at + 1, "line ", WRITTEN - 1);
    ASSERT_GT(kept, 0);
    EXPECT_EQ(*warning, dropWarning(WRITTEN - static_cast<long>(first.size()) - kept));
}

TEST_F(LogSizeBoundTest, LineTooLongForTheLimitIsDroppedAndCounted) {
    log.flushFile();
    log.writeLog("before");
    log.writeLog(std::string(SMALL_LIMIT, 'x'));
    log.writeLog("after");
    EXPECT_EQ(readShortLogLines(), (Lines{"Started up LogManager", dropWarning(1), "before", "after"}));
    EXPECT_TRUE(isWholeLines(readLogText()));
}

// Every start is a new file: nothing of the last run, and its drops counted from zero.
TEST_F(LogSizeBoundTest, RestartEmptiesTheFileAndCountsDropsAfresh) {
    log.flushFile();
    writeNumberedLines(3000);
    log.shutDown();
    ASSERT_EQ(log.startUp(), 0);
    EXPECT_EQ(readLogLines(), Lines{"Started up LogManager"});
    log.flushFile();
    log.writeLog("a");
    log.writeLog(std::string(SMALL_LIMIT, 'x'));
    EXPECT_EQ(readShortLogLines(), (Lines{"Started up LogManager", dropWarning(1), "a"}));
}

TEST_F(LogSizeBoundTest, LimitBelowTheSmallestIsRaisedWithAWarning) {
    log.setSizeLimit(100);
    EXPECT_EQ(log.getSizeLimit(), bw::BoundedLogFile::MIN_SIZE_LIMIT);
    EXPECT_TRUE(logHasLineStartingWith("WARNING: log size limit of 100 bytes is too small"));
}

/// Writes lines_per_step lines "chat <n>" on every step, numbered on through all steps.
class ChattyObject : public bw::Object {
public:
    explicit ChattyObject(int lines_per_step) : per_step(lines_per_step) { setSolidness(bw::INTANGIBLE); }
    int eventHandler(const bw::Event* event) override {
        if (event->getType() != bw::EVENT_TYPE_STEP) return 0;
        for (int i = 0; i < per_step; ++i) bw::LogManager::getInstance().writeLog("chat " + std::to_string(written++));
        return 1;
    }
    long written = 0;

private:
    int per_step;
};

// The real loop: what is written before its first step stays at the top of the log.
TEST(LogSizeBoundLoop, StartUpPartIsEverythingBeforeTheLoopsFirstStep) {
    TempWorkDir dir;
    WindowDisplayOverride no_display{""};
    LogManager& log = LogManager::getInstance();
    log.setLogLevel(-1);
    log.setSizeLimit(SMALL_LIMIT);
    bw::GameManager& game = bw::GameManager::getInstance();
    game.startUp();
    log.setLogLevel(1);
    log.writeLog("resources loaded");
    auto* chatty = new ChattyObject(40);
    for (int step = 0; step < 100; ++step) game.runIteration(step);
    const long written = chatty->written;
    const std::string text = readLogText();
    const Lines lines = readLogLines();
    game.shutDown();
    log.setSizeLimit(bw::LOGFILE_SIZE_LIMIT_DEFAULT);

    EXPECT_LE(text.size(), SMALL_LIMIT);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Started up LogManager");
    const auto start_up_end = std::find(lines.begin(), lines.end(), "resources loaded") + 1;
    ASSERT_LT(start_up_end, lines.end());
    const auto warning = static_cast<std::size_t>(start_up_end - lines.begin());
    const long kept = countRunEndingAt(lines, warning + 1, "chat ", written - 1);
    EXPECT_GT(kept, 0);
    EXPECT_EQ(lines[warning], dropWarning(written - kept));
}

} // namespace
