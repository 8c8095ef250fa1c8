// The sprite file format: what a file gives, every error and warning it can cause; and the check
// a frame makes of its text, which the reader relies on.
#include "Frame.h"
#include "Sprite.h"
#include "SpriteFileReader.h"

#include "Color.h"
#include "LogManager.h"

#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <new>
#include <sstream>
#include <tuple>

// Every allocation of this test program passes here, so that a test can see the largest one
// that reading a file made, and can play a machine with less memory (a request above the
// ceiling fails as it would there).
namespace {
std::atomic<std::size_t> largest_allocation{0};
std::atomic<std::size_t> allocation_ceiling{SIZE_MAX};
}

void* operator new(std::size_t size) {
    if (size > allocation_ceiling.load()) throw std::bad_alloc();
    std::size_t seen = largest_allocation.load();
    while (size > seen && !largest_allocation.compare_exchange_weak(seen, size)) {}
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
// Not inlined: GCC would otherwise see free() meet a pointer from new and warn of a mismatch.
[[gnu::noinline]] void operator delete(void* memory) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

using bw::Color;
using bw::Frame;
using bw::Vector;
using Lines = std::vector<std::string>;

namespace {

// Two frames 3 wide and 2 high, the header ending at line 5.
const std::string HEADER = "frames 2\nwidth 3\nheight 2\ndefault_color  00FF00\ndefault_slowdown 4\n";

/// text count times over.
std::string repeated(const std::string& text, int count) {
    std::string result;
    for (int i = 0; i < count; ++i) result += text;
    return result;
}

/// A header with a white default colour and a default slowdown of 1.
std::string header(const std::string& frames, int width, int height) {
    return "frames " + frames + "\nwidth " + std::to_string(width) + "\nheight " + std::to_string(height) +
           "\ndefault_color  FFFFFF\ndefault_slowdown 1\n";
}

class SpriteTest : public ::testing::Test {
protected:
    void SetUp() override { restartLogForResourceTest(); }
    void TearDown() override { bw::LogManager::getInstance().shutDown(); }

    std::unique_ptr<bw::Sprite> read(const std::string& text, const std::string& label = "bug") {
        std::istringstream in(text);
        bw::SpriteFileReader reader(in);
        auto sprite = reader.read(label);
        last_line = reader.getLineNumber();
        return sprite;
    }
    static Lines framesOf(const bw::Sprite& sprite) {
        Lines frames;
        for (int i = 0; i < sprite.getFrameCount(); ++i) frames.push_back(sprite.getFrame(i).getString());
        return frames;
    }

    TempWorkDir dir;
    int last_line = 0;
};

TEST_F(SpriteTest, ReadsHeaderAndFramesWhichInheritColourAndSlowdownSeparately) {
    const auto sprite = read("frames 3\nwidth 3\nheight 2\ndefault_color #1A2B3C\ndefault_slowdown 5\n"
                             "transparency #\n<BODY>\n"
                             "abc\ndef\nend\n"
                             "frame_color  C0FFEE\nghi\njkl\nend\n"
                             "mno\npqr\nframe_slowdown 2\nend\n"
                             "</BODY>\n",
                             "saucer");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getLabel(), "saucer");
    EXPECT_EQ(sprite->getWidth(), 3);
    EXPECT_EQ(sprite->getHeight(), 2);
    ASSERT_NE(sprite->getTransparency(), nullptr);
    EXPECT_EQ(*sprite->getTransparency(), '#');
    EXPECT_EQ(framesOf(*sprite), (Lines{"abcdef", "ghijkl", "mnopqr"}));
    const Color given(0x1A, 0x2B, 0x3C, 1.0f), own(0xC0, 0xFF, 0xEE, 1.0f);
    EXPECT_EQ(sprite->getColor(), given);
    for (const auto& [index, color, slowdown] : {std::tuple{0, given, 5}, {1, own, 5}, {2, given, 2}}) {
        EXPECT_EQ(sprite->getFrame(index).getColor(), color) << index;
        EXPECT_EQ(sprite->getFrame(index).getSlowdown(), slowdown) << index;
    }
    EXPECT_EQ(last_line, 19);
    EXPECT_EQ(resourceLogMessages(), Lines{});
}

TEST_F(SpriteTest, AcceptedFilesGiveTheirFramesAndWarnings) {
    const std::string extra = "WARNING: Attempted to add frame over maximum frame count";
    const struct {
        const char* what;
        std::string text;
        Lines frames;
        int total_slowdown;
        Lines log;
    } cases[] = {
        {"short lines padded", header("1", 4, 3) + "<BODY>\nab\n\nabcd\nend\n</BODY>\n", {"ab      abcd"}, 1, {}},
        {"a warning per extra block", HEADER + "<BODY>\n111\n111\nend\n222\n222\nend\n333\n333\nend\n4\n4\nend\n</BODY>\n",
         {"111111", "222222"}, 8, {extra, extra}},
        {"fewer blocks than declared", header("3", 1, 1) + "<BODY>\na\nend\nb\nend\n</BODY>\n", {"a", "b"}, 2, {}},
        // "xyz" stands where "end" belongs: that frame goes, and "xyz" does not start the next block.
        {"blocks not closed by end", header("3", 3, 1) + "<BODY>\naaa\nxyz\nbbb\nend\nccc\nframe_slowdown 3\nEND\n</BODY>\n",
         {"bbb"}, 1, {}},
        {"no keywords inside art", header("1", 8, 2) + "<BODY>\n</BODY> \nend\nend\n</BODY>\n", {"</BODY> end     "}, 1, {}},
        {"carriage returns", "frames 1\r\nwidth 3\r\nheight 2\r\ndefault_color  FF0000\r\ndefault_slowdown 2\r\n<BODY>\r\n"
                             "ab\r\na\rc\r\nend\r\n</BODY>\r\n",
         {"ab a\rc"}, 2, {}},
        {"no final line feed", HEADER + "<BODY>\nabc\nabc\nend\n</BODY>", {"abcabc"}, 4, {}},
        {"no final line feed after CR", HEADER + "<BODY>\r\nabc\r\nabc\r\nend\r\n</BODY>\r", {"abcabc"}, 4, {}},
        {"numbers read as a conversion does", "frames2\nwidth  \t 3 cells\nheight +1\ndefault_color  FFFFFF\n"
                                              "default_slowdown-2\n<BODY>\nabc\nframe_slowdown 007x\nend\ndef\nend\n</BODY>\n",
         {"abc", "def"}, 5, {}},
        {"largest int", header("2147483647", 1, 1) + "<BODY>\na\nframe_slowdown 2147483647\nend\n</BODY>\n", {"a"}, INT_MAX, {}},
        {"wide", header("1", 4000, 1) + "<BODY>\nx\nend\n</BODY>\n", {"x" + std::string(3999, ' ')}, 1, {}},
        {"tall", header("1", 1, 1500) + "<BODY>\n" + repeated("y\n", 1500) + "end\n</BODY>\n", {std::string(1500, 'y')},
         1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        restartLogForResourceTest();
        const auto sprite = read(c.text);
        ASSERT_NE(sprite, nullptr);
        EXPECT_EQ(framesOf(*sprite), c.frames);
        EXPECT_EQ(sprite->getTotalSlowdown(), c.total_slowdown);
        EXPECT_EQ(resourceLogMessages(), c.log);
    }
    read(header("1", 1, 1) + "<BODY>\na\nend\n</BODY>\nanything after the end is not read\n");
    EXPECT_EQ(last_line, 9);
}

TEST_F(SpriteTest, ColourCodeIsTheWholeRestOfTheLine) {
    // " 0x00FF00" is nine characters and " FF0000" seven: improper lengths, so white. In
    // " *FF0000" the first two characters are ignored.
    const auto sprite = read("frames 2\nwidth 1\nheight 1\ndefault_color 0x00FF00\ndefault_slowdown 1\n<BODY>\n"
                             "frame_color FF0000\na\nend\nframe_color *FF0000\nb\nend\n</BODY>\n");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getColor(), bw::COLOR_WHITE);
    EXPECT_EQ(sprite->getFrame(0).getColor(), bw::COLOR_WHITE);
    EXPECT_EQ(sprite->getFrame(1).getColor(), bw::COLOR_RED);
    EXPECT_EQ(resourceLogMessages(), (Lines{"WARNING: provided improper length hex code:  0x00FF00",
                                            "WARNING: provided improper length hex code:  FF0000"}));
}

TEST_F(SpriteTest, TransparencyIsTheCharacterAfterTheSeparator) {
    const std::string body = "<BODY>\nabc\nabc\nend\n</BODY>\n";
    for (const auto& [line, expected] : {std::pair{"transparency .\n", '.'}, {"transparency_@xyz\n", '@'},
                                         {"transparency  \n", ' '}}) {
        const auto sprite = read(HEADER + line + body);
        ASSERT_TRUE(sprite && sprite->getTransparency()) << line;
        EXPECT_EQ(*sprite->getTransparency(), expected);
    }
    EXPECT_EQ(read(HEADER + body)->getTransparency(), nullptr);
}

TEST_F(SpriteTest, RejectedFilesLogOneErrorNamingTheLine) {
    const std::string colour = "default_color  FFFFFF\n";
    const std::string ended = "Sprite file ended before </BODY> (line ";
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"", "Failed to find sprite frame count (line 1)"},
        {" frames 2\n", "Failed to find sprite frame count (line 1)"},
        {"frames 2\nheight 3\n", "Failed to find sprite width (line 2)"},
        {"frames 2\nwidth 3\nwidth 3\n", "Failed to find sprite height (line 3)"},
        {"frames 2\nwidth 3\nheight 2\ncolor FF0000\n", "Failed to find sprite default color (line 4)"},
        {"frames 2\nwidth 3\nheight 2\n" + colour + "slowdown 1\n", "Failed to find sprite default slowdown (line 5)"},
        {HEADER + "BODY\nabc\nabc\nend\n</BODY>\n", "Failed to find sprite <BODY> (line 6)"},
        {HEADER + "transparency #\nBODY\n", "Failed to find sprite <BODY> (line 7)"},
        {HEADER + "<BODY>\nabcd\nabc\nend\n</BODY>\n", "Sprite file line longer than designated width, line 7"},
        {HEADER + "transparency  \n<BODY>\nabc\nabc\nend\nframe_color  FFFFFF\nabc\nabc \nend\n</BODY>\n",
         "Sprite file line longer than designated width, line 13"},
        // Cases the format leaves open, rejected here: no number, out of range, sizes that
        // cannot be drawn, a transparency line without a character, a file ending early.
        {"frames\nwidth 1\n", "Sprite frame count is not a number (line 1)"},
        {"frames 1\nwidth x3\n", "Sprite width is not a number (line 2)"},
        {"frames 1\nwidth 3\nheight +-2\n", "Sprite height is not a number (line 3)"},
        {"frames 1\nwidth 3\nheight 1\n" + colour + "default_slowdown -\n", "Sprite default slowdown is not a number (line 5)"},
        {header("1", 3, 1) + "<BODY>\nabc\nframe_slowdown fast\nend\n</BODY>\n", "Sprite frame slowdown is not a number (line 8)"},
        {"frames 2147483648\n", "Sprite frame count is out of range (line 1)"},
        {"frames 1\nwidth 1\nheight 1\n" + colour + "default_slowdown -99999999999999\n",
         "Sprite default slowdown is out of range (line 5)"},
        {"frames 0\n", "Sprite frame count must be positive (line 1)"},
        {"frames 1\nwidth 0\n", "Sprite width must be positive (line 2)"},
        {"frames 1\nwidth 1\nheight 0\n", "Sprite height must be positive (line 3)"},
        {HEADER + "transparency\n<BODY>\n", "Sprite transparency has no character (line 6)"},
        {HEADER + "<BODY>\n", ended + "7)"},
        {HEADER + "<BODY>\nabc\n", ended + "8)"},                          // inside the art rows
        {HEADER + "<BODY>\nabc\nabc\n", ended + "9)"},                     // where "end" belongs
        {HEADER + "<BODY>\nabc\nabc\nend\n/B>\nabc\nend", ended + "13)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        restartLogForResourceTest();
        EXPECT_EQ(read(c.text), nullptr);
        EXPECT_EQ(resourceLogMessages(), Lines{"ERROR: " + c.error});
    }
}

// A sprite's size is whatever its header declares; what reading costs is the lines the file
// holds, until a frame is complete and kept. Huge declared sizes with few lines must neither
// allocate much nor crash, and a kept frame the machine cannot hold is an error, not a crash.
TEST_F(SpriteTest, DeclaredSizesAloneAllocateNothingLarge) {
    const std::string max = std::to_string(INT_MAX);
    const std::string ended = "ERROR: Sprite file ended before </BODY> (line 10)";
    const struct {
        const char* what;
        std::string text;
        Lines log;
        bool loads;
    } cases[] = {
        {"a frame that fits, cut short", header("1", 1000, 16000) + "<BODY>\nabc\nabc\nabc\n", {ended}, false},
        {"everything at its largest, cut short", header(max, INT_MAX, INT_MAX) + "<BODY>\nabc\nabc\nabc\n", {ended},
         false},
        {"a complete frame wider than memory", header("1", INT_MAX, 1) + "<BODY>\nx\nend\n</BODY>\n",
         {"ERROR: Sprite needs more memory than there is (line 8)"}, false},
        {"a frame as wide, dropped unclosed", header("1", INT_MAX, 1) + "<BODY>\nx\nEND\n</BODY>\n", {}, true},
        // The first block is dropped unpadded; the second is the first one kept.
        {"a frame as wide after a dropped one", header("1", INT_MAX, 1) + "<BODY>\nx\nEND\ny\nend\n</BODY>\n",
         {"ERROR: Sprite needs more memory than there is (line 10)"}, false},
    };
    allocation_ceiling = std::size_t{1} << 30; // a machine where 1 GiB at once is too much
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        restartLogForResourceTest();
        largest_allocation = 0;
        const auto sprite = read(c.text);
        EXPECT_LT(largest_allocation.load(), std::size_t{1} << 20);
        EXPECT_EQ(sprite != nullptr, c.loads);
        EXPECT_EQ(resourceLogMessages(), c.log);
    }
    allocation_ceiling = SIZE_MAX;
}

TEST_F(SpriteTest, ErrorsAreLevelZeroAndFrameWarningsLevelOne) {
    bw::LogManager::getInstance().setLogLevel(0);
    EXPECT_NE(read(header("1", 1, 1) + "<BODY>\na\nend\nb\nend\n</BODY>\n"), nullptr);
    EXPECT_EQ(read(header("1", 1, 1) + "<BODY>\nab\n"), nullptr);
    EXPECT_EQ(resourceLogMessages(), Lines{"ERROR: Sprite file line longer than designated width, line 7"});
}

TEST_F(SpriteTest, FrameStringMustFitTheWidthOrTheOldOneStays) {
    Frame frame(3, "abcdef");
    EXPECT_EQ(frame.getHeight(), 2);
    frame.setString("abcdefg");
    EXPECT_EQ(frame.getString(), "abcdef");
    frame.setString("xyz");
    EXPECT_EQ(frame.getHeight(), 1);
    EXPECT_EQ(Frame(0, "abc").getString(), ""); // a width of zero or less fits no string
    frame.setWidth(-2);
    frame.setString("xyzw");
    EXPECT_EQ(frame.getString(), "xyz");
    EXPECT_EQ(frame.getHeight(), 0);
    EXPECT_EQ(frame.draw(Vector(10, 10), nullptr), 0); // nor is the old string drawn
    EXPECT_EQ(Frame().draw(Vector(5, 5), nullptr), 0);
    EXPECT_EQ(resourceLogMessages(), Lines(3, "ERROR: Frame string does not match provided dimensions"));
}

} // namespace
