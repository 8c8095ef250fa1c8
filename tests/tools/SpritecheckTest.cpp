// Runs the built spritecheck tool on sprite files written for each case and checks its exit
// status, what it reports on standard error and what it prints.

#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#ifndef SPRITECHECK_PATH
#error "SPRITECHECK_PATH must name the built spritecheck executable"
#endif

namespace {

struct ToolRun {
    int status = 0;
    std::string out;
    std::string err;
};

std::string readWhole(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::in | std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// Runs spritecheck with args in the current (temporary) directory, its two streams captured in
// files there.
ToolRun runSpritecheck(const std::vector<std::string>& args) {
    std::string command = quoted(SPRITECHECK_PATH);
    for (const auto& arg : args) command += " " + quoted(arg);
    command += " > spritecheck-out.txt 2> spritecheck-err.txt";
#ifdef _WIN32
    // cmd.exe strips the outermost quotes of a command line that starts with one.
    command = "\"" + command + "\"";
#endif
    ToolRun run;
    run.status = std::system(command.c_str());
    run.out = readWhole("spritecheck-out.txt");
    run.err = readWhole("spritecheck-err.txt");
    return run;
}

// A valid sprite: 4 x 2, two frames, the second with its own colour and slowdown, blanks
// transparent.
const std::string GOOD_SPRITE = "frames 2\n"
                                "width 4\n"
                                "height 2\n"
                                "default_color #E36397\n"
                                "default_slowdown 3\n"
                                "transparency  \n"
                                "<BODY>\n"
                                "ab\n"
                                "cdef\n"
                                "end\n"
                                "frame_color #2E86AB\n"
                                "wxyz\n"
                                "w  z\n"
                                "frame_slowdown 4\n"
                                "end\n"
                                "</BODY>\n";

const std::string HEADER = "frames 1\nwidth 3\nheight 1\ndefault_color #FFFFFF\ndefault_slowdown 2\n";

class SpritecheckTest : public ::testing::Test {
protected:
    TempWorkDir dir;
};

TEST_F(SpritecheckTest, GoodFileExitsZeroAndPrintsSizeFramesAndSlowdowns) {
    writeResourceFile("good.txt", GOOD_SPRITE);
    const ToolRun run = runSpritecheck({"good.txt"});

    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("good.txt: good"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("size 4 x 2 cells, 2 of 2 frames, total slowdown 7 steps, transparency ' '"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("frame 0: slowdown 3, colour 0xe36397"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("frame 1: slowdown 4, colour 0x2e86ab"), std::string::npos) << run.out;
}

TEST_F(SpritecheckTest, FramesAreDrawnInTheirOwnColourWithTransparentCellsShaded) {
    writeResourceFile("good.txt", GOOD_SPRITE);
    const ToolRun run = runSpritecheck({"good.txt"});

    // Frame 0 in 0xE36397, frame 1 in 0x2E86AB, each row between bars.
    EXPECT_NE(run.out.find("|\x1b[38;2;227;99;151mab"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("|\x1b[38;2;227;99;151mcdef\x1b[0m|"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("|\x1b[38;2;46;134;171mwxyz\x1b[0m|"), std::string::npos) << run.out;
    // The padded and inner blanks are transparent: shown on a shaded ground, not as ink.
    EXPECT_NE(run.out.find("w\x1b[48;2;64;64;64m \x1b[49m\x1b[48;2;64;64;64m \x1b[49mz"), std::string::npos)
        << run.out;
}

TEST_F(SpritecheckTest, PlainOptionPrintsRowsWithoutEscapeCodes) {
    writeResourceFile("good.txt", GOOD_SPRITE);
    const ToolRun run = runSpritecheck({"--plain", "good.txt"});

    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("|ab  |\n    |cdef|\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("|wxyz|\n    |w  z|\n"), std::string::npos) << run.out;
}

TEST_F(SpritecheckTest, EachKindOfBrokenFileFailsWithTheLoadersError) {
    struct Broken {
        std::string name;
        std::string text;
        std::string error;
    };
    const std::vector<Broken> cases = {
        {"frames.txt", "frame 1\nwidth 3\n", "ERROR: Failed to find sprite frame count (line 1)"},
        {"width.txt", "frames 1\nwide 3\n", "ERROR: Failed to find sprite width (line 2)"},
        {"height.txt", "frames 1\nwidth 3\ntall 1\n", "ERROR: Failed to find sprite height (line 3)"},
        {"color.txt", "frames 1\nwidth 3\nheight 1\ncolour #FFFFFF\n",
         "ERROR: Failed to find sprite default color (line 4)"},
        {"slowdown.txt", "frames 1\nwidth 3\nheight 1\ndefault_color #FFFFFF\nslowdown 2\n",
         "ERROR: Failed to find sprite default slowdown (line 5)"},
        {"body6.txt", HEADER + "BODY\nabc\nend\n</BODY>\n", "ERROR: Failed to find sprite <BODY> (line 6)"},
        {"body7.txt", HEADER + "transparency  \nBODY\nabc\nend\n</BODY>\n",
         "ERROR: Failed to find sprite <BODY> (line 7)"},
        {"long.txt", HEADER + "<BODY>\nabcd\nend\n</BODY>\n",
         "ERROR: Sprite file line longer than designated width, line 7"},
        {"cut.txt", HEADER + "<BODY>\nabc\nend\n", "ERROR: Sprite file ended before </BODY>"},
        {"number.txt", "frames many\nwidth 3\n", "ERROR: Sprite frame count is not a number (line 1)"},
    };
    for (const auto& broken : cases) {
        SCOPED_TRACE(broken.name);
        writeResourceFile(broken.name, broken.text);
        const ToolRun run = runSpritecheck({"--plain", broken.name});

        EXPECT_NE(run.status, 0);
        EXPECT_NE(run.err.find(broken.name + ": " + broken.error), std::string::npos) << run.err;
        EXPECT_NE(run.out.find(broken.name + ": not loaded"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("1 file checked, 1 with errors"), std::string::npos) << run.out;
    }
}

TEST_F(SpritecheckTest, MissingFileFailsWithTheOpenError) {
    const ToolRun run = runSpritecheck({"absent.txt"});

    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("absent.txt: ERROR: Failed to open sprite file: absent.txt"), std::string::npos)
        << run.err;
}

TEST_F(SpritecheckTest, WarningsAreReportedButFailOnlyWhenStrict) {
    // The colour value " 0xFFFFFF" is nine characters: white with a warning. Two frame blocks
    // for one declared frame: the second is dropped with a warning.
    writeResourceFile("warned.txt", "frames 1\nwidth 3\nheight 1\ndefault_color 0xFFFFFF\ndefault_slowdown 2\n"
                                    "<BODY>\nabc\nend\ndef\nend\n</BODY>\n");

    const ToolRun lenient = runSpritecheck({"--plain", "warned.txt"});
    EXPECT_EQ(lenient.status, 0);
    EXPECT_NE(lenient.err.find("warned.txt: WARNING: provided improper length hex code:  0xFFFFFF"),
              std::string::npos)
        << lenient.err;
    EXPECT_NE(lenient.err.find("warned.txt: WARNING: Attempted to add frame over maximum frame count"),
              std::string::npos)
        << lenient.err;
    EXPECT_NE(lenient.out.find("1 of 1 frames"), std::string::npos) << lenient.out;
    EXPECT_NE(lenient.out.find("0 with errors, 2 warnings"), std::string::npos) << lenient.out;

    const ToolRun strict = runSpritecheck({"--plain", "--strict", "warned.txt"});
    EXPECT_NE(strict.status, 0);
}

TEST_F(SpritecheckTest, OneBrokenFileAmongGoodOnesFailsTheRunButTheOthersArePrinted) {
    writeResourceFile("first.txt", GOOD_SPRITE);
    writeResourceFile("broken.txt", HEADER + "<BODY>\nabcd\nend\n</BODY>\n");
    writeResourceFile("last.txt", GOOD_SPRITE);
    const ToolRun run = runSpritecheck({"--plain", "first.txt", "broken.txt", "last.txt"});

    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.out.find("first.txt: good"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("last.txt: good"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("3 files checked, 1 with errors"), std::string::npos) << run.out;
    // Every error line names the file it belongs to.
    EXPECT_EQ(run.err, "broken.txt: ERROR: Sprite file line longer than designated width, line 7\n");
}

TEST_F(SpritecheckTest, SameFileTwiceIsCheckedTwice) {
    writeResourceFile("good.txt", GOOD_SPRITE);
    const ToolRun run = runSpritecheck({"--plain", "good.txt", "good.txt"});

    EXPECT_EQ(run.status, 0);
    const auto first = run.out.find("good.txt: good");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(run.out.find("good.txt: good", first + 1), std::string::npos) << run.out;
}

TEST_F(SpritecheckTest, CommandLineWithoutFilesOrWithUnknownOptionIsRefused) {
    const ToolRun empty = runSpritecheck({});
    EXPECT_NE(empty.status, 0);
    EXPECT_NE(empty.err.find("usage: spritecheck"), std::string::npos) << empty.err;

    writeResourceFile("good.txt", GOOD_SPRITE);
    const ToolRun unknown = runSpritecheck({"--colour", "good.txt"});
    EXPECT_NE(unknown.status, 0);
    EXPECT_NE(unknown.err.find("unknown option --colour"), std::string::npos) << unknown.err;
}

TEST_F(SpritecheckTest, LeavesNoLogFileWhereItIsStarted) {
    writeResourceFile("good.txt", GOOD_SPRITE);
    runSpritecheck({"good.txt", "absent.txt"});

    EXPECT_FALSE(std::filesystem::exists("brackwen.log"));
}

} // namespace
