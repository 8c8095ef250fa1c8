// The sprite file format: what each file gives, or the one error it causes, with the check a
// frame makes of its text, which the reader relies on; and every file kept from fuzzing the loader.
#include "Frame.h"
#include "Sprite.h"
#include "SpriteFileReader.h"

#include "LogManager.h"

#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>

// Every allocation of this test program passes here, so that a test can see the largest one
// that reading a file made, and can play a machine with less memory (a request above the
// ceiling fails as it would there). The reader runs on this one thread only.
namespace {
std::size_t largest_allocation = 0;
std::size_t allocation_ceiling = SIZE_MAX;
}

void* operator new(std::size_t size) {
    if (size > allocation_ceiling) throw std::bad_alloc();
    largest_allocation = std::max(largest_allocation, size);
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
// Not inlined: GCC would otherwise see free() meet a pointer from new and warn of a mismatch.
[[gnu::noinline]] void operator delete(void* memory) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

using Lines = std::vector<std::string>;

namespace {

// Two frames 3 wide and 2 high in green, slowdown 4, the header ending at line 5.
const std::string HEADER = "frames 2\nwidth 3\nheight 2\ndefault_color  00FF00\ndefault_slowdown 4\n";
const std::string MAX = std::to_string(INT_MAX);

/// A header with a white default colour and a default slowdown of 1.
std::string header(const std::string& frames, int width, int height) {
    return "frames " + frames + "\nwidth " + std::to_string(width) + "\nheight " + std::to_string(height) +
           "\ndefault_color  FFFFFF\ndefault_slowdown 1\n";
}

/// "width x height, transparency, total slowdown", then each frame as "text|colour|slowdown";
/// nothing for no sprite.
Lines describe(const bw::Sprite* sprite) {
    if (sprite == nullptr) return {};
    const char* clear = sprite->getTransparency();
    Lines lines{std::to_string(sprite->getWidth()) + "x" + std::to_string(sprite->getHeight()) +
                (clear ? std::string(" '").append(1, *clear).append("' ") : " none ") +
                std::to_string(sprite->getTotalSlowdown())};
    for (int i = 0; i < sprite->getFrameCount(); ++i) {
        const bw::Frame f = sprite->getFrame(i);
        lines.push_back(f.getString() + "|" + f.getColor().toHexString() + "|" + std::to_string(f.getSlowdown()));
    }
    return lines;
}

TEST(SpriteTest, EachFileGivesItsFramesOrOneErrorNamingTheLineWithinLittleMemory) {
    const std::string extra = "WARNING: Attempted to add frame over maximum frame count";
    const std::string ended = "ERROR: Sprite file ended before </BODY> (line ";
    const std::string memory = "ERROR: Sprite needs more memory than there is (line ";
    const struct {
        std::string text;
        Lines outcome; // the sprite as described, then the log
    } cases[] = {
        // Frames inherit the default colour and slowdown, each separately.
        {"frames 3\nwidth 3\nheight 2\ndefault_color #1A2B3C\ndefault_slowdown 5\ntransparency #\n<BODY>\n"
         "abc\ndef\nend\nframe_color  C0FFEE\nghi\njkl\nend\nmno\npqr\nframe_slowdown 2\nend\n</BODY>\n",
         {"3x2 '#' 12", "abcdef|0x1a2b3c|5", "ghijkl|0xc0ffee|5", "mnopqr|0x1a2b3c|2"}},
        {header("1", 4, 3) + "<BODY>\nab\n\nabcd\nend\n</BODY>\n", {"4x3 none 1", "ab      abcd|0xffffff|1"}},
        {HEADER + "<BODY>\n111\n111\nend\n222\n222\nend\n333\n333\nend\n4\n4\nend\n</BODY>\n",
         {"3x2 none 8", "111111|0x00ff00|4", "222222|0x00ff00|4", extra, extra}},
        {header("3", 1, 1) + "<BODY>\na\nend\nb\nend\n</BODY>\n", {"1x1 none 2", "a|0xffffff|1", "b|0xffffff|1"}},
        // "xyz" stands where "end" belongs: that frame goes, and "xyz" does not start the next block.
        {header("3", 3, 1) + "<BODY>\naaa\nxyz\nbbb\nend\nccc\nframe_slowdown 3\nEND\n</BODY>\n",
         {"3x1 none 1", "bbb|0xffffff|1"}},
        {header("1", 8, 2) + "<BODY>\n</BODY> \nend\nend\n</BODY>\n", {"8x2 none 1", "</BODY> end     |0xffffff|1"}},
        {"frames 1\r\nwidth 3\r\nheight 2\r\ndefault_color  FF0000\r\ndefault_slowdown 2\r\n<BODY>\r\nab\r\na\rc\r\n"
         "end\r\n</BODY>\r\n",
         {"3x2 none 2", "ab a\rc|0xff0000|2"}},
        // Numbers are read as a C conversion reads them.
        {"frames2\nwidth  \t 3 cells\nheight +1\ndefault_color  FFFFFF\ndefault_slowdown-2\n<BODY>\nabc\n"
         "frame_slowdown 007x\nend\ndef\nend\n</BODY>\n",
         {"3x1 none 5", "abc|0xffffff|7", "def|0xffffff|-2"}},
        {header(MAX, 1, 1) + "<BODY>\na\nframe_slowdown " + MAX + "\nend\nb\nend\n</BODY>\n",
         {"1x1 none " + MAX, "a|0xffffff|" + MAX, "b|0xffffff|1"}},
        // A colour code is the whole rest of the line: " 0x00FF00" and " FF0000" are improper
        // lengths, so white; in " *FF0000" the first two characters are ignored.
        {"frames 2\nwidth 1\nheight 1\ndefault_color 0x00FF00\ndefault_slowdown 1\n<BODY>\nframe_color FF0000\na\nend\n"
         "frame_color *FF0000\nb\nend\n</BODY>\n",
         {"1x1 none 2", "a|0xffffff|1", "b|0xff0000|1", "WARNING: provided improper length hex code:  0x00FF00",
          "WARNING: provided improper length hex code:  FF0000"}},
        // Transparency is the character after the separator.
        {HEADER + "transparency_@xyz\n<BODY>\nabc\nabc\nend\n</BODY>\n", {"3x2 '@' 4", "abcabc|0x00ff00|4"}},
        {"", {"ERROR: Failed to find sprite frame count (line 1)"}},
        {"frames 2\nheight 3\n", {"ERROR: Failed to find sprite width (line 2)"}},
        {"frames 2\nwidth 3\nwidth 3\n", {"ERROR: Failed to find sprite height (line 3)"}},
        {"frames 2\nwidth 3\nheight 2\ncolor FF0000\n", {"ERROR: Failed to find sprite default color (line 4)"}},
        {"frames 2\nwidth 3\nheight 2\ndefault_color  FFFFFF\nslowdown 1\n",
         {"ERROR: Failed to find sprite default slowdown (line 5)"}},
        {HEADER + "BODY\nabc\nabc\nend\n</BODY>\n", {"ERROR: Failed to find sprite <BODY> (line 6)"}},
        {HEADER + "transparency  \n<BODY>\nabc\nabc\nend\nframe_color  FFFFFF\nabc\nabc \nend\n</BODY>\n",
         {"ERROR: Sprite file line longer than designated width, line 13"}},
        // Cases the format leaves open, rejected here: no number, out of range, sizes that
        // cannot be drawn, a transparency line without a character, a file ending early.
        {"frames\nwidth 1\n", {"ERROR: Sprite frame count is not a number (line 1)"}},
        {"frames 1\nwidth 3\nheight +-2\n", {"ERROR: Sprite height is not a number (line 3)"}},
        {header("1", 3, 1) + "<BODY>\nabc\nframe_slowdown fast\nend\n</BODY>\n",
         {"ERROR: Sprite frame slowdown is not a number (line 8)"}},
        {"frames 2147483648\n", {"ERROR: Sprite frame count is out of range (line 1)"}},
        {"frames 0\n", {"ERROR: Sprite frame count must be positive (line 1)"}},
        {"frames 1\nwidth 0\n", {"ERROR: Sprite width must be positive (line 2)"}},
        {"frames 1\nwidth 1\nheight 0\n", {"ERROR: Sprite height must be positive (line 3)"}},
        {HEADER + "transparency \n<BODY>\n", {"ERROR: Sprite transparency has no character (line 6)"}},
        {HEADER + "<BODY>\n", {ended + "7)"}},
        {HEADER + "<BODY>\nabc\n", {ended + "8)"}},      // inside the art rows
        {HEADER + "<BODY>\nabc\nabc\n", {ended + "9)"}}, // where "end" belongs
        {HEADER + "<BODY>\nabc\nabc\nend\n/B>\nabc\nend", {ended + "13)"}},
        // What reading costs is the lines the file holds, whatever size its header declares,
        // until a frame is complete and kept; one the machine cannot hold is an error.
        {header(MAX, INT_MAX, INT_MAX) + "<BODY>\nabc\nabc\nabc\n", {ended + "10)"}},
        {header("1", INT_MAX, 1) + "<BODY>\nx\nend\n</BODY>\n", {memory + "8)"}},
        {header("1", INT_MAX, 1) + "<BODY>\nx\nEND\n</BODY>\n", {MAX + "x1 none 0"}},
        // The first block is dropped unpadded; the second is the first one kept.
        {header("1", INT_MAX, 1) + "<BODY>\nx\nEND\ny\nend\n</BODY>\n", {memory + "10)"}},
    };
    TempWorkDir dir;
    allocation_ceiling = std::size_t{1} << 30; // a machine where 1 GiB at once is too much
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        // Errors are written at level 0, warnings at level 1.
        for (const int level : {-1, 0}) {
            restartLogForResourceTest();
            bw::LogManager::getInstance().setLogLevel(level);
            largest_allocation = 0;
            std::istringstream in(c.text);
            const auto sprite = bw::SpriteFileReader(in).read("bug");
            EXPECT_LT(largest_allocation, std::size_t{1} << 20);
            Lines outcome = describe(sprite.get()), expected;
            for (const std::string& line : resourceLogMessages()) outcome.push_back(line);
            for (const std::string& line : c.outcome)
                if (level < 0 || !line.starts_with("WARNING")) expected.push_back(line);
            EXPECT_EQ(outcome, expected);
        }
    }
    // The reader relies on a frame refusing a string that does not fit its width.
    restartLogForResourceTest();
    bw::Frame frame(3, "abcdef");
    frame.setWidth(0); // which fits no string
    frame.setString("xyzw");
    EXPECT_EQ(frame.getString(), "abcdef");
    EXPECT_EQ(frame.getHeight(), 0);
    EXPECT_EQ(frame.draw(bw::Vector(10, 10), nullptr), 0); // nor is the old string drawn
    EXPECT_EQ(resourceLogMessages(), Lines{"ERROR: Frame string does not match provided dimensions"});

    // Every input kept from fuzzing the loader (fuzz/regressions: each one crashed, hung or tripped
    // a sanitizer before its fix) and every seed of the fuzzing corpus (damaged and borderline
    // files), read in binary as the game reads its files: a sprite and no error, or one error naming its
    // line and no sprite. Under the sanitizer build this also catches any memory fault or undefined
    // behaviour that an input brings back.
    const auto named = [](auto& l) { return l.starts_with("ERROR:") && l.find("line ") != l.npos; }; // one per error
    int rejected = 0;
    for (const char* folder : {"/fuzz/regressions", "/fuzz/corpus"})
        for (const auto& entry : std::filesystem::directory_iterator(std::string(TARNWICK_SOURCE_DIR).append(folder))) {
            SCOPED_TRACE(entry.path().string());
            restartLogForResourceTest();
            std::ifstream file(entry.path(), std::ios::binary);
            const bool loaded = bw::SpriteFileReader(file).read("fuzzed") != nullptr;
            EXPECT_EQ(std::ranges::count_if(resourceLogMessages(), named), loaded ? 0 : 1);
            rejected += !loaded;
        }
    // Most seeds are broken on purpose; a loader that took them all would have lost its checks (or
    // the corpus is missing).
    EXPECT_GE(rejected, 12);
    bw::LogManager::getInstance().shutDown();
}

} // namespace
