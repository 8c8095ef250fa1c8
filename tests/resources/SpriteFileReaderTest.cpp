#include "SpriteFileReader.h"

#include "Color.h"
#include "Frame.h"
#include "LogManager.h"
#include "Sprite.h"

#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

using bw::Color;
using bw::Sprite;
using bw::SpriteFileReader;
using Lines = std::vector<std::string>;

namespace {

class SpriteFileReaderTest : public ::testing::Test {
protected:
    void SetUp() override { restartLogForResourceTest(); }
    void TearDown() override { bw::LogManager::getInstance().shutDown(); }

    std::unique_ptr<Sprite> read(const std::string& text, const std::string& label = "bug") {
        std::istringstream in(text);
        SpriteFileReader reader(in);
        auto sprite = reader.read(label);
        last_line = reader.getLineNumber();
        return sprite;
    }

    // Reads text that must be rejected and returns what was logged.
    Lines rejected(const std::string& text) {
        EXPECT_EQ(read(text), nullptr) << text;
        return resourceLogMessages();
    }

    TempWorkDir dir;
    int last_line = 0;
};

// Two frames 3 wide and 2 high, the header lines ending at line 6.
const std::string HEADER = "frames 2\nwidth 3\nheight 2\ndefault_color  00FF00\ndefault_slowdown 4\n";

TEST_F(SpriteFileReaderTest, ReadsHeaderValuesAndFramesInFileOrder) {
    const auto sprite = read("frames 2\n"
                             "width 3\n"
                             "height 2\n"
                             "default_color #1A2B3C\n"
                             "default_slowdown 5\n"
                             "transparency #\n"
                             "<BODY>\n"
                             "abc\n"
                             "def\n"
                             "end\n"
                             "frame_color  C0FFEE\n"
                             "ghi\n"
                             "jkl\n"
                             "frame_slowdown 2\n"
                             "end\n"
                             "</BODY>\n",
                             "saucer");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getLabel(), "saucer");
    EXPECT_EQ(sprite->getWidth(), 3);
    EXPECT_EQ(sprite->getHeight(), 2);
    EXPECT_EQ(sprite->getMaxFrameCount(), 2);
    EXPECT_EQ(sprite->getFrameCount(), 2);
    EXPECT_EQ(sprite->getColor(), Color(0x1A, 0x2B, 0x3C, 1.0f));
    EXPECT_EQ(sprite->getSlowdown(), 5);
    ASSERT_NE(sprite->getTransparency(), nullptr);
    EXPECT_EQ(*sprite->getTransparency(), '#');

    const bw::Frame first = sprite->getFrame(0);
    EXPECT_EQ(first.getString(), "abcdef");
    EXPECT_EQ(first.getWidth(), 3);
    EXPECT_EQ(first.getColor(), Color(0x1A, 0x2B, 0x3C, 1.0f));
    EXPECT_EQ(first.getSlowdown(), 5);
    const bw::Frame second = sprite->getFrame(1);
    EXPECT_EQ(second.getString(), "ghijkl");
    EXPECT_EQ(second.getColor(), Color(0xC0, 0xFF, 0xEE, 1.0f));
    EXPECT_EQ(second.getSlowdown(), 2);
    EXPECT_EQ(sprite->getTotalSlowdown(), 7);
    EXPECT_EQ(last_line, 16);
    EXPECT_EQ(resourceLogMessages(), Lines{});
}

TEST_F(SpriteFileReaderTest, DefaultColourAndSlowdownApplyWhereAFrameGivesNone) {
    const auto sprite = read(HEADER + "<BODY>\n"
                                      "aaa\n"
                                      "aaa\n"
                                      "end\n"
                                      "frame_color  0000FF\n"
                                      "bbb\n"
                                      "bbb\n"
                                      "end\n"
                                      "ccc\n"
                                      "ccc\n"
                                      "frame_slowdown 7\n"
                                      "end\n"
                                      "</BODY>\n");
    ASSERT_NE(sprite, nullptr);
    ASSERT_EQ(sprite->getFrameCount(), 2);
    EXPECT_EQ(sprite->getFrame(0).getColor(), Color(0, 255, 0, 1.0f));
    EXPECT_EQ(sprite->getFrame(0).getSlowdown(), 4);
    EXPECT_EQ(sprite->getFrame(1).getColor(), Color(0, 0, 255, 1.0f));
    EXPECT_EQ(sprite->getFrame(1).getSlowdown(), 4);
    EXPECT_EQ(sprite->getTotalSlowdown(), 8);
}

TEST_F(SpriteFileReaderTest, ShortArtLinesArePaddedOnTheRightWithBlanks) {
    const auto sprite = read("frames 1\nwidth 4\nheight 3\ndefault_color  FFFFFF\ndefault_slowdown 1\n"
                             "<BODY>\n"
                             "ab\n"
                             "\n"
                             "abcd\n"
                             "end\n"
                             "</BODY>\n");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getFrame(0).getString(), "ab      abcd");
}

TEST_F(SpriteFileReaderTest, NumbersAreReadLikeANumberConversion) {
    const auto sprite = read("frames1\n"
                             "width  \t 3 cells\n"
                             "height +1\n"
                             "default_color  FFFFFF\n"
                             "default_slowdown-2\n"
                             "<BODY>\n"
                             "abc\n"
                             "frame_slowdown 007x\n"
                             "end\n"
                             "</BODY>\n");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getMaxFrameCount(), 1);
    EXPECT_EQ(sprite->getWidth(), 3);
    EXPECT_EQ(sprite->getHeight(), 1);
    EXPECT_EQ(sprite->getSlowdown(), -2);
    EXPECT_EQ(sprite->getFrame(0).getSlowdown(), 7);
}

TEST_F(SpriteFileReaderTest, ColourCodeIsTheWholeRestOfTheLine) {
    // " 0x00FF00" is nine characters: an improper length, so white with a warning.
    const auto sprite = read("frames 2\nwidth 1\nheight 1\ndefault_color 0x00FF00\ndefault_slowdown 1\n"
                             "<BODY>\n"
                             "frame_color FF0000\n" // seven characters with the blank
                             "a\n"
                             "end\n"
                             "frame_color *FF0000\n" // eight: the first two are ignored
                             "b\n"
                             "end\n"
                             "</BODY>\n");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getColor(), bw::COLOR_WHITE);
    EXPECT_EQ(sprite->getFrame(0).getColor(), bw::COLOR_WHITE);
    EXPECT_EQ(sprite->getFrame(1).getColor(), Color(255, 0, 0, 1.0f));
    EXPECT_EQ(resourceLogMessages(), (Lines{"WARNING: provided improper length hex code:  0x00FF00",
                                            "WARNING: provided improper length hex code:  FF0000"}));
}

TEST_F(SpriteFileReaderTest, TransparencyIsTheCharacterAfterTheSeparator) {
    const std::string tail = "<BODY>\nabc\nabc\nend\n</BODY>\n";
    auto sprite = read(HEADER + "transparency .\n" + tail);
    ASSERT_NE(sprite, nullptr);
    ASSERT_NE(sprite->getTransparency(), nullptr);
    EXPECT_EQ(*sprite->getTransparency(), '.');

    sprite = read(HEADER + "transparency_@xyz\n" + tail);
    ASSERT_NE(sprite, nullptr);
    ASSERT_NE(sprite->getTransparency(), nullptr);
    EXPECT_EQ(*sprite->getTransparency(), '@');

    sprite = read(HEADER + "transparency  \n" + tail);
    ASSERT_NE(sprite, nullptr);
    ASSERT_NE(sprite->getTransparency(), nullptr);
    EXPECT_EQ(*sprite->getTransparency(), ' ');

    sprite = read(HEADER + tail);
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getTransparency(), nullptr);
}

TEST_F(SpriteFileReaderTest, MoreBlocksThanDeclaredWarnOncePerExtraFrameAndKeepTheFirst) {
    const auto sprite = read(HEADER + "<BODY>\n"
                                      "111\n111\nend\n"
                                      "222\n222\nend\n"
                                      "333\n333\nend\n"
                                      "</BODY>\n");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getFrameCount(), 2);
    EXPECT_EQ(sprite->getFrame(0).getString(), "111111");
    EXPECT_EQ(sprite->getFrame(1).getString(), "222222");
    EXPECT_EQ(sprite->getTotalSlowdown(), 8);
    EXPECT_EQ(resourceLogMessages(), Lines{"WARNING: Attempted to add frame over maximum frame count"});
}

TEST_F(SpriteFileReaderTest, FewerBlocksThanDeclaredGiveFewerFrames) {
    const auto sprite = read("frames 3\nwidth 1\nheight 1\ndefault_color  FFFFFF\ndefault_slowdown 1\n"
                             "<BODY>\na\nend\nb\nend\n</BODY>\n");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getMaxFrameCount(), 3);
    EXPECT_EQ(sprite->getFrameCount(), 2);
    EXPECT_EQ(sprite->getFrame(2).getString(), "");
    EXPECT_EQ(resourceLogMessages(), Lines{});
}

TEST_F(SpriteFileReaderTest, BlockNotClosedByEndIsDroppedAndItsClosingLineConsumed) {
    // "xyz" stands where "end" belongs: the first frame goes, and "xyz" does not start the
    // next block, so "bbb" is the next frame's art.
    const auto sprite = read("frames 3\nwidth 3\nheight 1\ndefault_color  FFFFFF\ndefault_slowdown 1\n"
                             "<BODY>\n"
                             "aaa\n"
                             "xyz\n"
                             "bbb\n"
                             "end\n"
                             "ccc\n"
                             "frame_slowdown 3\n"
                             "END\n"
                             "</BODY>\n");
    ASSERT_NE(sprite, nullptr);
    ASSERT_EQ(sprite->getFrameCount(), 1);
    EXPECT_EQ(sprite->getFrame(0).getString(), "bbb");
    EXPECT_EQ(sprite->getTotalSlowdown(), 1);
    EXPECT_EQ(resourceLogMessages(), Lines{});
}

TEST_F(SpriteFileReaderTest, KeywordsAreNotRecognisedInsideArtRows) {
    const auto sprite = read("frames 1\nwidth 8\nheight 2\ndefault_color  FFFFFF\ndefault_slowdown 1\n"
                             "<BODY>\n"
                             "</BODY> \n"
                             "end\n"
                             "end\n"
                             "</BODY>\n"
                             "anything after the end is not read\n");
    ASSERT_NE(sprite, nullptr);
    ASSERT_EQ(sprite->getFrameCount(), 1);
    EXPECT_EQ(sprite->getFrame(0).getString(), "</BODY> end     ");
    EXPECT_EQ(last_line, 10);
}

TEST_F(SpriteFileReaderTest, CarriageReturnsBeforeLineFeedsAreNotPartOfLines) {
    const auto sprite = read("frames 1\r\nwidth 3\r\nheight 2\r\ndefault_color  FF0000\r\n"
                             "default_slowdown 2\r\ntransparency .\r\n<BODY>\r\n"
                             "ab\r\n"
                             "a\rc\r\n"
                             "end\r\n"
                             "</BODY>\r\n");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getColor(), Color(255, 0, 0, 1.0f));
    EXPECT_EQ(*sprite->getTransparency(), '.');
    ASSERT_EQ(sprite->getFrameCount(), 1);
    // Only the carriage return at the end of a line goes; one inside a row is art.
    EXPECT_EQ(sprite->getFrame(0).getString(), "ab a\rc");
    EXPECT_EQ(resourceLogMessages(), Lines{});
}

TEST_F(SpriteFileReaderTest, LastLineNeedsNoLineFeed) {
    auto sprite = read(HEADER + "<BODY>\nabc\nabc\nend\n</BODY>");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getFrameCount(), 1);
    sprite = read(HEADER + "<BODY>\r\nabc\r\nabc\r\nend\r\n</BODY>\r");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getFrameCount(), 1);
}

TEST_F(SpriteFileReaderTest, MissingHeaderKeywordsAreReportedWithTheirLine) {
    struct Case {
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"", "ERROR: Failed to find sprite frame count (line 1)"},
        {"Frames 2\n", "ERROR: Failed to find sprite frame count (line 1)"},
        {" frames 2\n", "ERROR: Failed to find sprite frame count (line 1)"},
        {"frames 2\n", "ERROR: Failed to find sprite width (line 2)"},
        {"frames 2\nheight 3\n", "ERROR: Failed to find sprite width (line 2)"},
        {"frames 2\nwidth 3\nwidth 3\n", "ERROR: Failed to find sprite height (line 3)"},
        {"frames 2\nwidth 3\nheight 2\ncolor FF0000\n", "ERROR: Failed to find sprite default color (line 4)"},
        {"frames 2\nwidth 3\nheight 2\ndefault_color  FF0000\nslowdown 1\n",
         "ERROR: Failed to find sprite default slowdown (line 5)"},
        {"frames 2\nwidth 3\nheight 2\ndefault_color  FF0000\n", "ERROR: Failed to find sprite default slowdown (line 5)"},
    };
    for (const Case& test : cases) {
        restartLogForResourceTest();
        EXPECT_EQ(rejected(test.text), Lines{test.message}) << test.text;
    }
}

TEST_F(SpriteFileReaderTest, MissingBodyIsLineSixOrSevenAfterATransparencyLine) {
    EXPECT_EQ(rejected(HEADER + "BODY\nabc\nabc\nend\n</BODY>\n"),
              Lines{"ERROR: Failed to find sprite <BODY> (line 6)"});
    restartLogForResourceTest();
    EXPECT_EQ(rejected(HEADER + "transparency #\nBODY\n"), Lines{"ERROR: Failed to find sprite <BODY> (line 7)"});
    restartLogForResourceTest();
    EXPECT_EQ(rejected(HEADER), Lines{"ERROR: Failed to find sprite <BODY> (line 6)"});
    restartLogForResourceTest();
    EXPECT_EQ(rejected(HEADER + "transparency #\n"), Lines{"ERROR: Failed to find sprite <BODY> (line 7)"});
}

TEST_F(SpriteFileReaderTest, TooLongArtLineNamesItsOwnLine) {
    EXPECT_EQ(rejected(HEADER + "<BODY>\nabcd\nabc\nend\n</BODY>\n"),
              Lines{"ERROR: Sprite file line longer than designated width, line 7"});
    restartLogForResourceTest();
    // Second row of the second frame, after a transparency and a frame_color line.
    EXPECT_EQ(rejected(HEADER + "transparency  \n<BODY>\nabc\nabc\nend\nframe_color  FFFFFF\nabc\nabc \nend\n"
                                "</BODY>\n"),
              Lines{"ERROR: Sprite file line longer than designated width, line 13"});
}

TEST_F(SpriteFileReaderTest, ValuesWithoutANumberAreRejected) {
    const std::string colour = "default_color  FFFFFF\n";
    EXPECT_EQ(rejected("frames\nwidth 1\n"), Lines{"ERROR: Sprite frame count is not a number (line 1)"});
    restartLogForResourceTest();
    EXPECT_EQ(rejected("frames 1\nwidth x3\n"), Lines{"ERROR: Sprite width is not a number (line 2)"});
    restartLogForResourceTest();
    EXPECT_EQ(rejected("frames 1\nwidth 3\nheight +-2\n"), Lines{"ERROR: Sprite height is not a number (line 3)"});
    restartLogForResourceTest();
    EXPECT_EQ(rejected("frames 1\nwidth 3\nheight 1\n" + colour + "default_slowdown -\n"),
              Lines{"ERROR: Sprite default slowdown is not a number (line 5)"});
    restartLogForResourceTest();
    EXPECT_EQ(rejected("frames 1\nwidth 3\nheight 1\n" + colour + "default_slowdown 1\n<BODY>\n"
                       "abc\nframe_slowdown fast\nend\n</BODY>\n"),
              Lines{"ERROR: Sprite frame slowdown is not a number (line 8)"});
}

TEST_F(SpriteFileReaderTest, ValuesOutsideTheIntRangeAreRejected) {
    EXPECT_EQ(rejected("frames 2147483648\n"), Lines{"ERROR: Sprite frame count is out of range (line 1)"});
    restartLogForResourceTest();
    EXPECT_EQ(rejected("frames 1\nwidth 1\nheight 1\ndefault_color  FFFFFF\ndefault_slowdown -99999999999999\n"),
              Lines{"ERROR: Sprite default slowdown is out of range (line 5)"});
    restartLogForResourceTest();
    // The largest int is still a value.
    const auto sprite = read("frames 2147483647\nwidth 1\nheight 1\ndefault_color  FFFFFF\ndefault_slowdown 1\n"
                             "<BODY>\na\nframe_slowdown 2147483647\nend\n</BODY>\n");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getMaxFrameCount(), 2147483647);
    EXPECT_EQ(sprite->getFrame(0).getSlowdown(), 2147483647);
}

TEST_F(SpriteFileReaderTest, SizesAndFrameCountMustBePositive) {
    EXPECT_EQ(rejected("frames 0\n"), Lines{"ERROR: Sprite frame count must be positive (line 1)"});
    restartLogForResourceTest();
    EXPECT_EQ(rejected("frames -2\n"), Lines{"ERROR: Sprite frame count must be positive (line 1)"});
    restartLogForResourceTest();
    EXPECT_EQ(rejected("frames 1\nwidth 0\n"), Lines{"ERROR: Sprite width must be positive (line 2)"});
    restartLogForResourceTest();
    EXPECT_EQ(rejected("frames 1\nwidth -1\n"), Lines{"ERROR: Sprite width must be positive (line 2)"});
    restartLogForResourceTest();
    EXPECT_EQ(rejected("frames 1\nwidth 1\nheight 0\n"), Lines{"ERROR: Sprite height must be positive (line 3)"});
}

TEST_F(SpriteFileReaderTest, SizesAboveTheLimitAreRejected) {
    EXPECT_EQ(rejected("frames 1\nwidth 1001\n"), Lines{"ERROR: Sprite width over 1000 (line 2)"});
    restartLogForResourceTest();
    EXPECT_EQ(rejected("frames 1\nwidth 1\nheight 1001\n"), Lines{"ERROR: Sprite height over 1000 (line 3)"});
    restartLogForResourceTest();
    const auto sprite = read("frames 1\nwidth 1000\nheight 1\ndefault_color  FFFFFF\ndefault_slowdown 1\n"
                             "<BODY>\nx\nend\n</BODY>\n");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getFrame(0).getString().size(), 1000u);
}

TEST_F(SpriteFileReaderTest, TransparencyWithoutACharacterIsRejected) {
    EXPECT_EQ(rejected(HEADER + "transparency\n<BODY>\n"),
              Lines{"ERROR: Sprite transparency has no character (line 6)"});
    restartLogForResourceTest();
    EXPECT_EQ(rejected(HEADER + "transparency \r\n<BODY>\n"),
              Lines{"ERROR: Sprite transparency has no character (line 6)"});
}

TEST_F(SpriteFileReaderTest, FileEndingBeforeTheBodyEndIsRejected) {
    const std::string ended = "ERROR: Sprite file ended before </BODY> (line ";
    struct Case {
        std::string body;
        int line;
    };
    const std::vector<Case> cases = {
        {"<BODY>\n", 7},                                   // nothing after <BODY>
        {"<BODY>\nabc\n", 8},                              // inside the art rows
        {"<BODY>\nframe_color  FFFFFF\n", 8},             // after a frame colour
        {"<BODY>\nabc\nabc\n", 9},                         // where "end" belongs
        {"<BODY>\nabc\nabc\nframe_slowdown 2\n", 10},      // after a frame slowdown
        {"<BODY>\nabc\nabc\nend\n", 10},                   // where the next block or </BODY> belongs
        {"<BODY>\nabc\nabc\nend\n/B>\nabc\nend", 13},  // a second block, then the end
    };
    for (const Case& test : cases) {
        restartLogForResourceTest();
        EXPECT_EQ(rejected(HEADER + test.body), Lines{ended + std::to_string(test.line) + ")"}) << test.body;
    }
}

TEST_F(SpriteFileReaderTest, LevelsAreZeroForErrorsAndOneForFrameWarnings) {
    bw::LogManager::getInstance().setLogLevel(0);
    auto sprite = read("frames 1\nwidth 1\nheight 1\ndefault_color  FFFFFF\ndefault_slowdown 1\n"
                       "<BODY>\na\nend\nb\nend\n</BODY>\n");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getFrameCount(), 1);
    EXPECT_EQ(rejected("frames 1\nwidth 1\nheight 1\ndefault_color  FFFFFF\ndefault_slowdown 1\n"
                       "<BODY>\nab\n"),
              Lines{"ERROR: Sprite file line longer than designated width, line 7"});
}

TEST_F(SpriteFileReaderTest, EveryRejectedInputLogsOneErrorNamingALine) {
    // Mangled copies of a valid file: bytes replaced, dropped or inserted at random places.
    const std::string valid = HEADER + "transparency .\n<BODY>\nframe_color  123456\nab.\n.c\nframe_slowdown 3\n"
                                       "end\nxyz\nxyz\nend\n</BODY>\n";
    std::mt19937 random(20240611u);
    const std::string alphabet = std::string("\n\r\0 -+0123456789.abc", 21) + "frames<BODY>end";
    for (int round = 0; round < 3000; ++round) {
        std::string text = valid;
        const int edits = 1 + static_cast<int>(random() % 6);
        for (int e = 0; e < edits && !text.empty(); ++e) {
            const std::size_t at = random() % text.size();
            const char byte = random() % 4 == 0 ? static_cast<char>(random() % 256)
                                                : alphabet[random() % alphabet.size()];
            switch (random() % 3) {
            case 0: text[at] = byte; break;
            case 1: text.erase(at, 1 + random() % 8); break;
            default: text.insert(at, 1, byte); break;
            }
        }
        restartLogForResourceTest();
        const auto sprite = read(text);
        const Lines messages = resourceLogMessages();
        int errors = 0;
        for (const std::string& message : messages)
            if (message.rfind("ERROR: ", 0) == 0) ++errors;
        if (sprite) {
            EXPECT_EQ(errors, 0) << text;
            EXPECT_LE(sprite->getFrameCount(), 2);
            for (int i = 0; i < sprite->getFrameCount(); ++i)
                EXPECT_EQ(sprite->getFrame(i).getString().size(),
                          static_cast<std::size_t>(sprite->getWidth() * sprite->getHeight()));
        } else {
            ASSERT_EQ(errors, 1) << text;
            EXPECT_NE(messages.back().find("line"), std::string::npos) << messages.back();
        }
    }
}

} // namespace
