// The world drawn into a real window and read back as a grid of characters: altitude layers,
// sprite animation as it appears on screen, objects that must draw nothing, and the debug box.
#include "WorldManager.h"

#include "Color.h"
#include "DisplayManager.h"
#include "LogManager.h"
#include "Object.h"
#include "ResourceManager.h"

#include "ScreenGrid.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using bw::Color;
using bw::Object;
using bw::Vector;

namespace {

const std::filesystem::path SYSTEM_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
const Color BLACK(0, 0, 0, 1.0f);

/// Writes a one-row sprite file whose frames are the characters of frames, each shown for the
/// matching slowdown, and loads it under label. Width 1 unless frames is empty.
void loadCharSprite(const std::string& label, const std::string& frames, const std::vector<int>& slowdowns,
                    const std::string& hex_color, int size = 1) {
    const std::string filename = label + ".txt";
    std::ofstream file(filename);
    file << "frames " << std::max<std::size_t>(frames.size(), 1) << "\nwidth " << size << "\nheight " << size
         << "\ndefault_color #" << hex_color << "\ndefault_slowdown 1\n<BODY>\n";
    for (std::size_t i = 0; i < frames.size(); ++i)
        file << frames[i] << "\nframe_slowdown " << slowdowns[i] << "\nend\n";
    file << "</BODY>\n";
    file.close();
    ASSERT_EQ(bw::ResourceManager::getInstance().loadSprite(filename, label), 0) << label;
}

class WorldWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The sprites are loaded once, from a folder that lives as long as the suite.
        suite_dir = new TempWorkDir;
        std::error_code ignored;
        std::filesystem::copy_file(SYSTEM_FONT, bw::FONT_FILE_DEFAULT, ignored);
        bw::LogManager::getInstance().setLogLevel(1);
        bw::LogManager::getInstance().startUp();
        bw::DisplayManager::getInstance().startUp();
        loadCharSprite("red-a", "A", {1}, "FF0000");
        loadCharSprite("green-b", "B", {1}, "00FF00");
        loadCharSprite("blue-c", "C", {1}, "0000FF");
        loadCharSprite("yellow-d", "D", {1}, "FFFF00");
        loadCharSprite("cycle", "abc", {2, 3, 1}, "00FFFF");
        loadCharSprite("frameless", "", {}, "FFFFFF", 3);
    }
    static void TearDownTestSuite() {
        bw::DisplayManager::getInstance().shutDown();
        bw::LogManager::getInstance().shutDown();
        delete suite_dir;
    }

    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(bw::FONT_FILE_DEFAULT)) << "needs " << SYSTEM_FONT;
        ASSERT_NE(bw::DisplayManager::getInstance().getWindow(), nullptr)
            << "no window: run under an X server";
        world.startUp();
        bw::DisplayManager::getInstance().swapBuffers(); // start on a black frame
    }
    void TearDown() override { world.shutDown(); }

    /// An object showing a sprite at a cell: a one-row frame at y + 0.5 lands on row y.
    static Object* showing(const std::string& label, int column, int row, int altitude = 0) {
        auto* object = new Object;
        object->setSprite(label);
        object->setPosition(Vector(static_cast<float>(column), static_cast<float>(row) + 0.5f));
        object->setAltitude(altitude);
        return object;
    }

    static void expectCell(const ScreenGrid& grid, int column, int row, char ch, Color color) {
        EXPECT_EQ(grid.charAt(column, row), ch) << "at " << column << "," << row << "\n" << grid.toString();
        EXPECT_EQ(grid.colorAt(column, row), color) << "at " << column << "," << row;
    }

    static inline TempWorkDir* suite_dir = nullptr;
    bw::WorldManager& world = bw::WorldManager::getInstance();
};

TEST_F(WorldWindowTest, HigherAltitudesCoverLowerOnesAndNegativeIsHidden) {
    // One cell, altitudes 4, 0, 2 in list order: the altitude 4 object ends on top.
    showing("red-a", 10, 5, 4);
    showing("green-b", 10, 5, 0);
    showing("blue-c", 10, 5, 2);
    // Equal altitudes: the later object in the list is drawn over the earlier one.
    showing("blue-c", 20, 5, 1);
    showing("yellow-d", 20, 5, 1);
    // Below the lowest layer: never drawn, even alone in its cell.
    showing("red-a", 30, 5, -1);
    world.draw();
    const ScreenGrid grid = ScreenGrid::capture();
    expectCell(grid, 10, 5, 'A', bw::COLOR_RED);
    expectCell(grid, 20, 5, 'D', bw::COLOR_YELLOW);
    expectCell(grid, 30, 5, ' ', BLACK);
    EXPECT_EQ(grid.text(25, 5, 11), std::string(11, ' ')) << grid.row(5);
    // The covered letters show nowhere.
    EXPECT_EQ(grid.toString().find_first_of("BC"), std::string::npos) << grid.toString();
}

TEST_F(WorldWindowTest, AnimationShowsEachFrameForItsSlowdown) {
    showing("cycle", 40, 12);
    std::string shown;
    for (int i = 0; i < 9; ++i) {
        world.draw();
        shown += ScreenGrid::capture().charAt(40, 12);
    }
    EXPECT_EQ(shown, "aabbbcaab");
}

TEST_F(WorldWindowTest, ObjectsWithoutPictureDrawNothing) {
    auto* bare = new Object;
    bare->setPosition(Vector(10, 10.5f));
    bare->setBox(bw::Box(Vector(-1, -1), 3, 3));
    auto* frameless = showing("frameless", 50, 10);
    frameless->setBoxVisible(false);
    world.draw();
    const ScreenGrid grid = ScreenGrid::capture();
    for (int row = 0; row < grid.rows(); ++row)
        EXPECT_EQ(grid.row(row), std::string(80, ' ')) << "row " << row << "\n" << grid.toString();
    EXPECT_EQ(bare->draw(), -1);
}

TEST_F(WorldWindowTest, VisibleBoxMarksItsCornersAndThePosition) {
    // A sprite without frames draws no art, so only the debug marks show. Its fitted box is
    // 3 × 3 around (10.5, 10.5): corners at columns 9 and 11, rows 9 and 11, the position mark
    // at (10, 10).
    auto* object = new Object;
    object->setSprite("frameless");
    object->setPosition(Vector(10.5f, 10.5f));
    object->setBoxVisible(true);
    world.draw();
    const ScreenGrid grid = ScreenGrid::capture();
    for (const auto& [column, row] : {std::pair{9, 9}, {11, 9}, {9, 11}, {11, 11}})
        expectCell(grid, column, row, '+', bw::COLOR_WHITE);
    expectCell(grid, 10, 10, 'x', bw::COLOR_RED);
    // Nothing else is marked: four corners and one position mark in the whole window.
    const std::string screen = grid.toString();
    EXPECT_EQ(std::count(screen.begin(), screen.end(), '+'), 4) << screen;
    EXPECT_EQ(std::count(screen.begin(), screen.end(), 'x'), 1) << screen;
}

} // namespace
