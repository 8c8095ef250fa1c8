#pragma once

#include "Color.h"
#include "EventKeyboard.h"
#include "HeardAudio.h"
#include "ResourceTestSupport.h"
#include "Sprite.h"
#include "TempWorkDir.h"
#include "Web.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <set>
#include <string>
#include <vector>

/// Base of the web-play tests: a fresh log (every level) and world in a temporary working
/// directory and a freshly woven web; the world is shut down afterwards, which destroys the
/// web and the counters too, so the next test starts from new ones.
class WebPlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        restartLogForResourceTest();
        bw::WorldManager::getInstance().startUp();
        Web::getInstance().reset();
    }
    void TearDown() override { bw::WorldManager::getInstance().shutDown(); }
    static Web& web() { return Web::getInstance(); }
    /// The world position of a web coordinate.
    static bw::Vector at(bw::Vector c) { return web().webToWorld(c); }
    static bw::Vector at(float column, float row) { return at(bw::Vector(column, row)); }
    /// How many objects of this type the world holds.
    static int countOf(const std::string& type) {
        return bw::WorldManager::getInstance().objectsOfType(type).getCount();
    }
    /// The label of an object's sprite, "(none)" without one.
    static std::string spriteOf(const bw::Object* object) {
        return object->getSprite() ? object->getSprite()->getLabel() : std::string("(none)");
    }

    TempWorkDir work_dir;
    /// Every sound and song the game asks for.
    HeardAudio heard;
};

/// Loads every sprite file of the game's resource list from data/Sprites under its game label
/// (each label once per test executable).
void loadWebPlaySprites();
/// Shuts the world down and starts it again with a freshly woven web: new counters, no objects.
void restartWorld();
/// Hands one step event to every object in the world, as the game loop does before update.
void broadcastStep(int step_count);
/// One iteration without input and drawing: the step to every object, then the world's update.
void stepWorld(int step_count);
/// Sends a key press (or another action) to one object.
int sendKey(bw::Object* object, bw::Key key, bw::KeyboardAction action = bw::KEY_PRESSED);

/// A string of the web between two neighbouring intersections: column and row of the end left
/// of or above the other, then those of the other end.
using WebString = std::array<int, 4>;
/// Every intact string of the web (both ends carry the bit pointing at the other), or with
/// blinking every string whose ends both carry their blink bit.
std::set<WebString> webStrings(bool blinking = false);
/// Clears every string end at the intersections at accepts (every intersection without it).
void severStrings(const std::function<bool(bw::Vector)>& at = nullptr);

/// A pop-up as it was when taken out of the world.
struct PopUpSighting {
    std::string text;
    bw::Vector position;
    bw::Color color;
    bool operator==(const PopUpSighting&) const = default;
};
/// Takes every pop-up out of the world (call it right after the step that created them, to see
/// where they appeared), oldest first.
std::vector<PopUpSighting> takePopUps();
