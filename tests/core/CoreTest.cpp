// The core: vectors, boxes and colours (the value types every subsystem shares), the log manager
// and its size-bounded file, and the game manager's start-up, loop and shut-down.
#include "Box.h"
#include "Color.h"
#include "DisplayManager.h"
#include "EventStep.h"
#include "GameManager.h"
#include "InputManager.h"
#include "LogManager.h"
#include "WorldManager.h"

#include "LogReader.h"
#include "RecordingObject.h"
#include "ResourceTestSupport.h"
#include "TempWorkDir.h"
#include "WindowDisplayOverride.h"

#include <SFML/Graphics/Color.hpp>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>
#include <tuple>

using bw::Box;
using bw::Color;
using bw::GameManager;
using bw::LogManager;
using bw::Vector;
using Lines = std::vector<std::string>;

namespace {

// Asked for before any other manager, as a program does: the managers its destructor shuts down
// at exit must still be there then. (The journal outlives the objects the world destroys.)
GameManager& game = (RecordingObject::journal(), GameManager::getInstance());

TEST(Vector, ArithmeticLengthAndFormatting) {
    const Vector v(3, 4), w(1, -2);
    EXPECT_EQ(std::tuple(v.getMagnitude(), v + w, v - w, w.distance(Vector(4, 2)), w.distanceSquared(Vector(4, 2))),
              std::tuple(5.0f, Vector(4, 2), Vector(2, 6), 5.0f, 25.0f));
    Vector u = v, unit = v, zero;
    (u += w) -= Vector(4, 0);
    u.scale(-0.5f);
    unit.normalize();
    zero.normalize(); // stays zero, no division by its length
    EXPECT_EQ(std::tuple(u, unit, zero), std::tuple(Vector(0, -1), Vector(0.6f, 0.8f), Vector(0, 0)));
    EXPECT_FALSE(Vector(1, 2) == Vector(1, 2.0001f) || Vector(1, 2) == Vector(2, 1)); // exact, both coordinates
    EXPECT_EQ(Vector(-0.25f, 100).toString(), "(-0.250000, 100.000000)");
}

TEST(Box, TouchingEdgesAndCornersOverlap) {
    const Box a(Vector(0, 0), 3, 1), point(Vector(2, 2), 0, 0);
    for (const auto& [first, second, overlap] : {
             std::tuple{a, Box(Vector(3, 0), 3, 1), true}, {a, Box(Vector(3.01f, 0), 3, 1), false}, // edge x = 3
             {a, Box(Vector(3, 1), 1, 1), true}, {a, Box(Vector(0, 1.5f), 3, 1), false},            // corner, below
             {point, Box(Vector(0, 0), 4, 4), true}, {point, Box(Vector(2.5f, 0), 4, 4), false},
             {Box(Vector(0, 0), 2, 2), point, true}, {Box(Vector(-1, 2.5f), 4, 4), point, false}}) {
        EXPECT_EQ(bw::boxIntersectsBox(first, second), overlap) << second.getCorner().toString();
        EXPECT_EQ(bw::boxIntersectsBox(second, first), overlap) << "either order";
    }
}

// Packed values are alpha, blue, green, red. In codes the first two characters are never examined.
TEST(Color, ConversionsAndCodesWhereBadOnesWarnAndGiveOpaqueWhite) {
    EXPECT_EQ(Color(), Color(255, 255, 255, 1.0f));
    EXPECT_EQ(Color(0x80332211u), Color(0x11, 0x22, 0x33, 128 / 255.0f));
    EXPECT_EQ(Color(255, 255, 255, 1.0f).toString(), "(255, 255, 255, 1.000000)");
    EXPECT_EQ(Color(227, 99, 151, 0.5f).toHexString(), "0xe36397");
    EXPECT_EQ(Color(300, 20, 30, 0.999f).toDisplayColor(), sf::Color(300 & 0xFF, 20, 30, 254));
    const TempWorkDir dir;
    restartLogForResourceTest();
    for (const char* code : {"0xF24236", "F24236"}) EXPECT_EQ(Color(code, 1.0f), Color(242, 66, 54, 1.0f));
    EXPECT_EQ(Color("##e36397", 0.5f), Color(227, 99, 151, 0.5f));
    for (const char* bad : {"#F24236", " 0xF24236", "0xGG0000"}) EXPECT_EQ(Color(bad, 0.25f), bw::COLOR_WHITE) << bad;
    const std::string improper = "WARNING: provided improper length hex code: ";
    EXPECT_EQ(resourceLogMessages(), (Lines{improper + "#F24236", improper + " 0xF24236",
                                            "WARNING: provided hex code with non-hexadecimal digits: 0xGG0000"}));
    bw::LogManager::getInstance().shutDown();
}

/// The text with the time stamp and separator taken off each line: "HH:MM:", six characters of
/// seconds, " - ". A line without them is kept whole after "NO STAMP: ". (Not std::regex: gcc 12
/// warns inside it at -O2.)
std::string withoutStamps(const std::string& text) {
    const std::string shape = "00:00:...... - "; // 0: a digit, .: a digit or a point
    const auto fits = [](char s, char c) {
        return s == '0' || s == '.' ? std::isdigit(static_cast<unsigned char>(c)) || c == s : c == s;
    };
    std::istringstream lines(text);
    std::string out;
    for (std::string line; std::getline(lines, line); out += '\n') {
        const bool stamped = std::ranges::equal(shape, line.substr(0, shape.size()), fits);
        out += stamped ? line.substr(shape.size()) : "NO STAMP: " + line;
    }
    return out;
}
constexpr std::uintmax_t SMALL_LIMIT = 16384;

std::string numbered(std::string prefix, long number) { return prefix.append(std::to_string(number)); }

std::string dropWarning(long dropped) {
    return numbered("WARNING: ", dropped).append(dropped == 1 ? " line" : " lines")
        .append(numbered(" dropped here to keep the log within ", SMALL_LIMIT)).append(" bytes");
}

/// Checks the log after lines "<prefix>0" to "<prefix><written - 1>" outgrew the size limit: it
/// is within the limit and whole lines; a warning counts exactly the lines missing; after it come
/// the newest lines without a gap. Gives the log's messages and the warning's index in them.
std::pair<Lines, std::size_t> expectBoundedLog(const std::string& prefix, long written) {
    const std::string text = readLogText();
    EXPECT_LE(text.size(), SMALL_LIMIT);
    EXPECT_TRUE(!text.empty() && text.back() == '\n');
    EXPECT_EQ(withoutStamps(text).find("NO STAMP"), std::string::npos) << text;
    const Lines lines = readLogLines();
    const auto warning = std::ranges::find_if(lines, [](const std::string& l) { return l.starts_with("WARNING"); });
    if (warning == lines.end()) return {lines, 0};
    const long before = std::count_if(lines.begin(), warning, [&](const std::string& l) { return l.starts_with(prefix); });
    const long newest = lines.end() - warning - 1;
    EXPECT_GT(newest, 50);
    for (long i = 0; i < newest; ++i) EXPECT_EQ(warning[i + 1], numbered(prefix, written - newest + i));
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

// Seconds in a time stamp are padded to six characters. Percent signs are not format directives.
// A second start-up keeps the open file; a start after a shut-down begins a new one. A level above
// the threshold is dropped; a negative one lets all in. A file that cannot be opened fails start-up.
TEST_F(LogManagerTest, LinesAreTimeStampSeparatorMessageFilteredByLevel) {
    EXPECT_EQ(LogManager::formatTime(14, 5, 7.25), "14:05:007.25");
    EXPECT_EQ(LogManager::formatTime(0, 0, 7.0), "00:00:000007");
    EXPECT_EQ(LogManager::formatTime(23, 59, 59.999), "23:59:59.999");
    EXPECT_EQ(withoutStamps(LogManager::getTimeString() + " - x"), "x\n");
    log.writeLog("100% of %s");
    EXPECT_EQ(log.startUp(), 0);
    EXPECT_EQ(withoutStamps(readLogText()), "Started up LogManager\n100% of %s\n");
    log.shutDown();
    EXPECT_EQ(readLogLines(), (Lines{"Started up LogManager", "100% of %s", "Shutting down LogManager"}));
    EXPECT_EQ(log.writeLog("into the void"), -1);
    ASSERT_EQ(log.startUp(), 0);
    log.setLogLevel(1);
    for (int level = 0; level <= 3; ++level) EXPECT_EQ(log.writeLog(level, numbered("at ", level)), 0);
    log.setLogLevel(0);
    log.writeLog("plain"); // level 0
    log.setLogLevel(-1);
    log.writeLog(9, "at 9");
    EXPECT_EQ(readLogLines(), (Lines{"Started up LogManager", "at 0", "at 1", "plain", "at 9"}));
    log.shutDown();
    std::filesystem::remove(bw::LOGFILE_NAME);
    std::filesystem::create_directory(bw::LOGFILE_NAME); // a directory cannot be opened as a file
    EXPECT_EQ(log.startUp(), -1);
    EXPECT_FALSE(log.isStarted());
}

// Echo prints exactly the line written to the file, and only when asked. Lines wait in memory
// until flushFile(), unless flushing after every line is on.
TEST_F(LogManagerTest, EchoPrintsTheFileLineAndFlushPutsEachLineOnDiskAtOnce) {
    log.flushFile();
    for (const auto& [echo, flush] : {std::pair{false, false}, {false, true}, {true, false}, {true, true}}) {
        const std::string message = numbered("100% of %s ", echo * 2 + flush);
        SCOPED_TRACE(message);
        log.setEcho(echo);
        log.setFlush(flush);
        testing::internal::CaptureStdout();
        log.writeLog(message);
        const std::string echoed = testing::internal::GetCapturedStdout();
        std::ostringstream on_disk; // read without flushing anything first
        on_disk << std::ifstream(bw::LOGFILE_NAME).rdbuf();
        log.setEcho(false);
        log.setFlush(false);
        const std::string text = readLogText(), line = text.substr(text.rfind('\n', text.size() - 2) + 1);
        EXPECT_EQ(on_disk.str() == text, flush) << on_disk.str();
        EXPECT_EQ(withoutStamps(line), message + "\n");
        EXPECT_EQ(echoed, echo ? line : "");
    }
}

// The real loop flushes as each step begins: what was written before its first step stays at
// the top, then the drop count, then the newest lines.
TEST_F(LogManagerTest, LoopKeepsTheStartUpPartTheDropCountAndTheNewestLines) {
    const WindowDisplayOverride no_display{""};
    log.setSizeLimit(SMALL_LIMIT);
    game.startUp();
    log.setLogLevel(1);
    log.writeLog("resources loaded");
    long written = 0;
    (new RecordingObject("chatty"))->on_event = [&](const bw::Event* event) {
        for (int i = 0; event->getType() == bw::EVENT_TYPE_STEP && i < 40; ++i) log.writeLog(numbered("chat ", written++));
    };
    for (int step = 0; step < 100; ++step) game.runIteration(step);
    const auto [lines, warning] = expectBoundedLog("chat ", written);
    game.shutDown();
    ASSERT_GE(warning, 2u);
    EXPECT_EQ(lines.front(), "Started up LogManager");
    EXPECT_EQ(lines[warning - 1], "resources loaded");
}

// A log that fills before the loop ever steps keeps its first lines all the same: as many as fit
// in half the limit (a file line: 12 characters of time stamp, " - ", the message, a newline).
// Every start is a new file with its drops counted from zero; a line too long for the limit is
// dropped itself. A limit below the smallest is raised, with a warning.
TEST_F(LogManagerTest, StartUpPartEndsAtHalfTheLimitAndARestartCountsDropsAfresh) {
    log.setSizeLimit(SMALL_LIMIT);
    for (int i = 0; i < 2000; ++i) log.writeLog(numbered("line ", i));
    const auto [lines, warning] = expectBoundedLog("line ", 2000);
    ASSERT_GT(warning, 100u);
    std::size_t start_up = 0;
    for (std::size_t i = 0; i < warning; ++i) start_up += 16 + lines[i].size();
    for (std::size_t i = 1; i < warning; ++i) EXPECT_EQ(lines[i], numbered("line ", static_cast<long>(i) - 1));
    EXPECT_LE(start_up, SMALL_LIMIT / 2);
    EXPECT_GT(start_up + 16 + numbered("line ", static_cast<long>(warning) - 1).size(), SMALL_LIMIT / 2);
    log.shutDown();
    ASSERT_EQ(log.startUp(), 0);
    log.setSizeLimit(100);
    EXPECT_EQ(log.getSizeLimit(), bw::BoundedLogFile::MIN_SIZE_LIMIT);
    EXPECT_TRUE(logHasLineStartingWith("WARNING: log size limit of 100 bytes is too small")); // ends the start-up part
    log.setSizeLimit(SMALL_LIMIT);
    for (const std::string& line : {std::string("before"), std::string(SMALL_LIMIT, 'x'), std::string("after")})
        log.writeLog(line);
    const Lines restarted = readLogLines();
    EXPECT_EQ(Lines(restarted.begin() + 2, restarted.end()), (Lines{dropWarning(1), "before", "after"}));
    // Filled to exactly its limit, the log drops nothing; the next line does.
    log.shutDown();
    ASSERT_EQ(log.startUp(), 0);
    for (std::size_t size = readLogText().size(), line; size < SMALL_LIMIT; size += line) {
        line = std::min<std::size_t>(100, SMALL_LIMIT - size); // 16 bytes of it besides the message
        log.writeLog(std::string(line - 16, 'f'));
    }
    EXPECT_EQ(std::tuple(readLogText().size(), logHasLineStartingWith("WARNING")), std::tuple(SMALL_LIMIT, false));
    log.writeLog("over");
    EXPECT_TRUE(logHasLineStartingWith("WARNING: "));
}

/// The log's messages that are among wanted, in the order of the log.
Lines logLinesAmong(const Lines& wanted, const Lines& messages = readLogLines()) {
    Lines found;
    for (const std::string& line : messages)
        if (std::find(wanted.begin(), wanted.end(), line) != wanted.end()) found.push_back(line);
    return found;
}

// The loop is tested without a window: the display and input managers then stay unstarted,
// which the loop must survive.
class GameManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        LogManager::getInstance().setLogLevel(-1);
        RecordingObject::journal().clear();
    }
    void TearDown() override { game.shutDown(); }

    TempWorkDir dir;
    WindowDisplayOverride no_display{""};
};

// Run on a stopped manager starts it first, with a warning.
TEST_F(GameManagerTest, StartsUpInOrderOnceShutsDownInReverseAndRunStartsAStoppedOne) {
    EXPECT_EQ(game.startUp(), 0);
    EXPECT_TRUE(game.isStarted() && LogManager::getInstance().isStarted() && bw::WorldManager::getInstance().isStarted());
    EXPECT_EQ(LogManager::getInstance().getLogLevel(), 2);
    // Without a window system (Windows always has one) nothing can be drawn or read, which the
    // display and input managers say.
    const bool windowless = !bw::DisplayManager::getInstance().isStarted();
    EXPECT_EQ(bw::InputManager::getInstance().isStarted(), !windowless);
    Lines started{"Started up LogManager", "Starting up WorldManager", "Managers have started up"};
    if (windowless)
        started.insert(started.begin() + 2, {"ERROR: Unable to allocate RenderWindow",
                                             "ERROR: InputManager started before DisplayManager"});
    EXPECT_EQ(logLinesAmong(started), started);
    EXPECT_EQ(game.startUp(), 1);

    new RecordingObject("A"); // the world's shut-down destroys it
    game.shutDown();
    EXPECT_EQ(RecordingObject::journal(), Lines{"A deleted"});
    EXPECT_FALSE(game.isStarted() || LogManager::getInstance().isStarted() || bw::WorldManager::getInstance().isStarted());
    const Lines stopped{"Managers are shutting down", "Shutting down WorldManager", "Shutting down LogManager"};
    EXPECT_EQ(logLinesAmong(stopped), stopped);
    game.setGameOver(); // not running: changes nothing
    // run() starts the managers itself, which empties the world, so the loop is ended from
    // outside as soon as it runs.
    std::thread stopper([] {
        while (!game.isRunning()) std::this_thread::yield();
        game.setGameOver();
    });
    game.run();
    stopper.join();
    EXPECT_TRUE(game.isStarted());
    const Lines order{"Managers have started up", "WARNING: run was called before starting manager"};
    EXPECT_EQ(logLinesAmong(order), order);
}

// The iteration in which the game ends is completed: the object after the one that ends it gets
// the step, and the world is drawn. An object made during a step hears the next one (L is made in
// step 0). Per-iteration lines are level 3. How long the loop takes is measured by the loop
// benchmarks; here only that it sleeps at all: no iteration ends before TARGET_TIME has passed.
TEST_F(GameManagerTest, StepsCountFromZeroGameOverEndsAfterTheWholeIterationAndSleepsTheRest) {
    game.startUp();
    LogManager::getInstance().setLogLevel(3);
    std::vector<int> steps;
    (new RecordingObject("S"))->on_event = [&steps](const bw::Event* event) {
        if (event->getType() != bw::EVENT_TYPE_STEP) return; // a window may send input first
        steps.push_back(static_cast<const bw::EventStep*>(event)->getStepCount());
        if (steps.back() == 0) new RecordingObject("L");
        if (steps.back() == 2) game.setGameOver();
    };
    const auto start = std::chrono::steady_clock::now();
    game.run();
    const auto taken = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(taken >= std::chrono::milliseconds(3 * bw::TARGET_TIME) && taken < std::chrono::seconds(20))
        << std::chrono::duration<double>(taken).count() << " s";
    EXPECT_EQ(steps, (std::vector<int>{0, 1, 2}));
    const Lines& journal = RecordingObject::journal();
    for (const auto& [entry, count] : {std::pair{"L step", 2}, {"S draw", 3}, {"L draw", 3}})
        EXPECT_EQ(std::count(journal.begin(), journal.end(), entry), count) << entry;
    EXPECT_EQ(logLinesAmong({"Sending step# 0", "Sending step# 2", "Sending step# 3"}),
              (Lines{"Sending step# 0", "Sending step# 2"}));
    LogManager::getInstance().setLogLevel(2);
    game.runIteration(7);
    EXPECT_FALSE(logHasLineStartingWith("Sending step# 7"));
    // The sleep is the rest of the target time to the microsecond, none after an overrun. Sleeps
    // are logged at level 3, overruns at level 2 (where the game runs).
    using us = std::chrono::microseconds;
    const std::pair<us, us> cases[] = {{us(30000), us(0)}, {us(12000), us(18000)}, {us(18250), us(11750)},
                                       {us(29999), us(1)}, {us(45000), us(0)},     {us(30250), us(0)}};
    const Lines overruns{"Took to long - 15msec slower than TARGET_TIME", "Took to long - 0.25msec slower than TARGET_TIME"};
    const Lines all{"Sleeping for 0", "Sleeping for 18", "Sleeping for 11.75", "Sleeping for 0.001", overruns[0], overruns[1]};
    for (const int level : {3, 2}) {
        LogManager::getInstance().setLogLevel(level);
        const auto before = static_cast<long>(readLogLines().size());
        for (const auto& [elapsed, idle] : cases) EXPECT_EQ(GameManager::idleTimeAfter(elapsed), idle) << elapsed.count();
        const Lines lines = readLogLines();
        EXPECT_EQ(Lines(lines.begin() + before, lines.end()), level == 3 ? all : overruns);
    }
}

// A program that exits from inside the loop (or merely started) leaves the game manager to shut
// everything down as it is destroyed. The log is echoed to the child's error stream, which the
// death test reads, so this works however the child process is made (forked, or started anew on
// Windows, where the display also starts and logs lines of its own among these).
TEST_F(GameManagerTest, DestroyedWhileRunningWarnsAndShutsTheManagersDown) {
    const auto exitFrom = [](bool running) {
        std::cout.rdbuf(std::cerr.rdbuf());
        LogManager::getInstance().setEcho(true);
        game.startUp();
        (new RecordingObject("X"))->on_event = [](const bw::Event*) { std::exit(0); };
        if (running) game.run();
        std::exit(0);
    };
    const Lines all{"Managers have started up", "WARNING: Game Manager killed before game ended",
                    "Managers are shutting down", "Shutting down WorldManager", "Shutting down LogManager"};
    const auto echoes = [&all](const Lines& expected) -> ::testing::Matcher<const std::string&> {
        return ::testing::Truly([=](const std::string& echoed) { return logLinesAmong(all, logMessages(echoed)) == expected; });
    };
    EXPECT_EXIT(exitFrom(true), ::testing::ExitedWithCode(0), echoes(all));
    EXPECT_EXIT(exitFrom(false), ::testing::ExitedWithCode(0), echoes({all[0], all[2], all[3], all[4]}));
}

} // namespace
