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

namespace {

struct ToolRun {
    int status;
    std::string out, err;
    bool prints(const std::string& text) const { return out.find(text) != std::string::npos; }
    bool reports(const std::string& text) const { return err.find(text) != std::string::npos; }
};

std::string readWhole(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

/// Runs the built spritecheck (SPRITECHECK_PATH) in the current (temporary) directory, its two
/// streams captured in files.
ToolRun runSpritecheck(const std::vector<std::string>& args) {
    std::string command = "\"" SPRITECHECK_PATH "\"";
    for (const auto& arg : args)
        command += " \"" + arg + "\"";
    command += " > out.txt 2> err.txt";
#ifdef _WIN32
    command = "\"" + command + "\""; // cmd.exe strips the outer quotes of a quoted command line
#endif
    const int status = std::system(command.c_str());
    return {status, readWhole("out.txt"), readWhole("err.txt")};
}

// 4 x 2, two frames, the second with its own colour and slowdown, blanks transparent.
const std::string GOOD_SPRITE = "frames 2\nwidth 4\nheight 2\ndefault_color #E36397\ndefault_slowdown 3\n"
                                "transparency  \n<BODY>\nab\ncdef\nend\nframe_color #2E86AB\nwxyz\nw  z\n"
                                "frame_slowdown 4\nend\n</BODY>\n";
const std::string HEADER = "frames 1\nwidth 3\nheight 1\ndefault_color #FFFFFF\ndefault_slowdown 2\n";

class SpritecheckTest : public ::testing::Test {
protected:
    void SetUp() override { writeResourceFile("good.txt", GOOD_SPRITE); }
    TempWorkDir dir;
};

TEST_F(SpritecheckTest, GoodFilePrintsItsFramesInTheirColoursOrPlain) {
    const ToolRun plain = runSpritecheck({"--plain", "good.txt"});
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(plain.err, "");
    EXPECT_EQ(plain.out, "good.txt: good\n"
                         "  size 4 x 2 cells, 2 of 2 frames, total slowdown 7 steps, transparency ' ', "
                         "default colour 0xe36397, default slowdown 3\n"
                         "  frame 0: slowdown 3, colour 0xe36397\n    |ab  |\n    |cdef|\n"
                         "  frame 1: slowdown 4, colour 0x2e86ab\n    |wxyz|\n    |w  z|\n"
                         "1 file checked, 0 with errors, 0 warnings\n");
    // In colour each row is in its frame's colour and transparent blanks are on a shaded ground.
    const ToolRun run = runSpritecheck({"good.txt"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.prints("|\x1b[38;2;227;99;151mcdef\x1b[0m|")) << run.out;
    EXPECT_TRUE(run.prints("|\x1b[38;2;46;134;171mwxyz\x1b[0m|")) << run.out;
    EXPECT_TRUE(run.prints("w\x1b[48;2;64;64;64m \x1b[49m\x1b[48;2;64;64;64m \x1b[49mz")) << run.out;
}

TEST_F(SpritecheckTest, EachKindOfBrokenFileFailsWithTheLoadersError) {
    struct Broken { std::string name, text, error; };
    const Broken cases[] = {
        {"frames.txt", "frame 1\nwidth 3\n", "Failed to find sprite frame count (line 1)"},
        {"number.txt", "frames many\nwidth 3\n", "Sprite frame count is not a number (line 1)"},
        {"width.txt", "frames 1\nwide 3\n", "Failed to find sprite width (line 2)"},
        {"height.txt", "frames 1\nwidth 3\ntall 1\n", "Failed to find sprite height (line 3)"},
        {"color.txt", "frames 1\nwidth 3\nheight 1\ncolour #FFFFFF\n",
         "Failed to find sprite default color (line 4)"},
        {"slowdown.txt", "frames 1\nwidth 3\nheight 1\ndefault_color #FFFFFF\nslowdown 2\n",
         "Failed to find sprite default slowdown (line 5)"},
        {"body.txt", HEADER + "BODY\nabc\nend\n</BODY>\n", "Failed to find sprite <BODY> (line 6)"},
        {"long.txt", HEADER + "<BODY>\nabcd\nend\n</BODY>\n",
         "Sprite file line longer than designated width, line 7"},
        {"cut.txt", HEADER + "<BODY>\nabc\nend\n", "Sprite file ended before </BODY>"},
        {"absent.txt", "", "Failed to open sprite file: absent.txt"},
    };
    for (const Broken& broken : cases) {
        SCOPED_TRACE(broken.name);
        if (!broken.text.empty()) writeResourceFile(broken.name, broken.text);
        const ToolRun run = runSpritecheck({"--plain", broken.name});
        EXPECT_NE(run.status, 0);
        EXPECT_TRUE(run.reports(broken.name + ": ERROR: " + broken.error)) << run.err;
        EXPECT_TRUE(run.prints(broken.name + ": not loaded")) << run.out;
        EXPECT_TRUE(run.prints("1 file checked, 1 with errors")) << run.out;
    }
}

TEST_F(SpritecheckTest, EveryFileNamedIsCheckedAndOnlyErrorsOrStrictWarningsFailTheRun) {
    // " 0xFFFFFF" is nine characters: white with a warning. Two frame blocks for one declared
    // frame: the second is dropped with a warning.
    writeResourceFile("warned.txt", "frames 1\nwidth 3\nheight 1\ndefault_color 0xFFFFFF\n"
                                    "default_slowdown 2\n<BODY>\nabc\nend\ndef\nend\n</BODY>\n");
    const ToolRun lenient = runSpritecheck({"--plain", "warned.txt", "good.txt", "good.txt"});
    EXPECT_EQ(lenient.status, 0);
    EXPECT_EQ(lenient.err, "warned.txt: WARNING: provided improper length hex code:  0xFFFFFF\n"
                           "warned.txt: WARNING: Attempted to add frame over maximum frame count\n");
    EXPECT_TRUE(lenient.prints("1 of 1 frames")) << lenient.out;
    EXPECT_NE(lenient.out.find("good.txt: good", lenient.out.find("good.txt: good") + 1), std::string::npos);
    EXPECT_TRUE(lenient.prints("3 files checked, 0 with errors, 2 warnings")) << lenient.out;
    EXPECT_NE(runSpritecheck({"--plain", "--strict", "warned.txt"}).status, 0);

    writeResourceFile("broken.txt", HEADER + "<BODY>\nabcd\nend\n</BODY>\n");
    const ToolRun broken = runSpritecheck({"--plain", "good.txt", "broken.txt"});
    EXPECT_NE(broken.status, 0);
    EXPECT_TRUE(broken.prints("good.txt: good")) << broken.out;
    EXPECT_TRUE(broken.prints("2 files checked, 1 with errors")) << broken.out;
    // The tool keeps the engine's log to itself.
    EXPECT_FALSE(std::filesystem::exists("brackwen.log"));

    const ToolRun bare = runSpritecheck({}), unknown = runSpritecheck({"--colour", "good.txt"});
    EXPECT_TRUE(bare.status != 0 && bare.reports("usage: spritecheck")) << bare.err;
    EXPECT_TRUE(unknown.status != 0 && unknown.reports("unknown option --colour")) << unknown.err;
}

} // namespace
