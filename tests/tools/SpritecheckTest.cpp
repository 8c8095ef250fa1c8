// Runs the built spritecheck tool on sprite files and checks its exit status, what it reports
// on standard error and what it prints.
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

TEST(SpritecheckTest, ReportsEachFileNamedAndFailsOnErrorsOrStrictWarnings) {
    TempWorkDir dir;
    // 4 x 2, two frames, the second with its own colour and slowdown, blanks transparent.
    std::ofstream("good.txt") << "frames 2\nwidth 4\nheight 2\ndefault_color #E36397\ndefault_slowdown 3\n"
                                 "transparency  \n<BODY>\nab\ncdef\nend\nframe_color #2E86AB\nwxyz\nw  z\n"
                                 "frame_slowdown 4\nend\n</BODY>\n";
    // " 0xFFFFFF" is nine characters: white with a warning; the second block is one too many.
    std::ofstream("warned.txt") << "frames 1\nwidth 3\nheight 1\ndefault_color 0xFFFFFF\n"
                                   "default_slowdown 2\n<BODY>\nabc\nend\ndef\nend\n</BODY>\n";
    const struct {
        std::string args;
        bool passes;
        std::string err; // the whole of standard error when empty or a full line, else a part of it
        std::vector<std::string> out;
    } cases[] = {
        {"--plain good.txt", true, "",
         {"good.txt: good\n  size 4 x 2 cells, 2 of 2 frames, total slowdown 7 steps, transparency ' ', "
          "default colour 0xe36397, default slowdown 3\n  frame 0: slowdown 3, colour 0xe36397\n    |ab  |\n"
          "    |cdef|\n  frame 1: slowdown 4, colour 0x2e86ab\n    |wxyz|\n    |w  z|\n"
          "1 file checked, 0 with errors, 0 warnings\n"}},
        // In colour each row is in its frame's colour and transparent blanks are on a shaded ground.
        {"good.txt", true, "",
         {"|\x1b[38;2;46;134;171mwxyz\x1b[0m|", "w\x1b[48;2;64;64;64m \x1b[49m\x1b[48;2;64;64;64m \x1b[49mz"}},
        {"--plain warned.txt good.txt", true,
         "warned.txt: WARNING: provided improper length hex code:  0xFFFFFF\n"
         "warned.txt: WARNING: Attempted to add frame over maximum frame count\n",
         {"warned.txt: loaded with 0 errors, 2 warnings\n", "1 of 1 frames", "2 files checked, 0 with errors"}},
        {"--plain --strict warned.txt", false, "WARNING: Attempted", {"1 file checked, 1 with errors, 2 warnings"}},
        {"--plain absent.txt good.txt", false, "absent.txt: ERROR: Failed to open sprite file: absent.txt\n",
         {"absent.txt: not loaded\ngood.txt: good", "2 files checked, 1 with errors"}},
        {"", false, "usage: spritecheck", {}},
        {"--colour good.txt", false, "unknown option --colour", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const std::string command = "\"" SPRITECHECK_PATH "\" " + c.args + " > out.txt 2> err.txt";
        EXPECT_EQ(std::system(command.c_str()) == 0, c.passes);
        std::ostringstream out, err;
        out << std::ifstream("out.txt").rdbuf();
        err << std::ifstream("err.txt").rdbuf();
        if (c.err.empty() || c.err.back() == '\n') EXPECT_EQ(err.str(), c.err);
        else EXPECT_NE(err.str().find(c.err), std::string::npos) << err.str();
        for (const std::string& part : c.out) EXPECT_NE(out.str().find(part), std::string::npos) << out.str();
    }
    // The tool keeps the engine's log to itself.
    EXPECT_FALSE(std::filesystem::exists("brackwen.log"));
}

} // namespace
