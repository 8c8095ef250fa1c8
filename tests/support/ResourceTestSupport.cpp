#include "ResourceTestSupport.h"

#include "LogManager.h"
#include "LogReader.h"
#include "ResourceManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

void restartLogForResourceTest() {
    bw::LogManager& log = bw::LogManager::getInstance();
    log.shutDown();
    log.setLogLevel(-1);
    log.startUp();
}

std::vector<std::string> resourceLogMessages() {
    std::vector<std::string> lines = readLogLines();
    if (!lines.empty() && lines.front() == "Started up LogManager") lines.erase(lines.begin());
    return lines;
}

std::string gameFile(ResourceKind kind, const std::string& label) {
    for (const ResourceEntry& entry : GAME_RESOURCES)
        if (entry.kind == kind && label == entry.label) return entry.file;
    ADD_FAILURE() << "the game has no resource labelled " << label;
    return "";
}

std::string loadTestSprite(const std::string& label, const std::vector<int>& slowdowns, int width, int height) {
    std::ostringstream text;
    text << "frames " << std::max<std::size_t>(slowdowns.size(), 1) << "\nwidth " << width << "\nheight " << height
         << "\ndefault_color #FFFFFF\ndefault_slowdown 1\n<BODY>\n";
    for (const int slowdown : slowdowns) {
        for (int row = 0; row < height; ++row) text << std::string(static_cast<std::size_t>(width), 'x') << '\n';
        text << "frame_slowdown " << slowdown << "\nend\n";
    }
    std::ofstream("sprite-" + label + ".txt", std::ios::binary) << text.str() << "</BODY>\n";
    bw::ResourceManager& resources = bw::ResourceManager::getInstance();
    while (resources.getSprite(label)) resources.unloadSprite(label);
    EXPECT_EQ(resources.loadSprite("sprite-" + label + ".txt", label), 0) << label;
    return label;
}

void loadGameSprite(const std::string& label) {
    bw::ResourceManager& resources = bw::ResourceManager::getInstance();
    if (resources.getSprite(label) == nullptr)
        resources.loadSprite(std::string(TARNWICK_SOURCE_DIR) + "/data/" + gameFile(SPRITE, label), label);
}
