#include "EventKeyboard.h"
#include "EventMouse.h"
#include "LogManager.h"
#include "Manager.h"
#include "WorldManager.h"

#include "LogReader.h"
#include "RecordingObject.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using bw::Vector;
using Journal = std::vector<std::string>;

namespace {

class EventDispatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.setLogLevel(-1);
        ASSERT_EQ(log.startUp(), 0);
        world.startUp();
        journal.clear();
    }
    void TearDown() override {
        world.shutDown();
        log.shutDown();
    }

    TempWorkDir dir;
    bw::LogManager& log = bw::LogManager::getInstance();
    bw::WorldManager& world = bw::WorldManager::getInstance();
    Journal& journal = RecordingObject::journal();
    // Broadcasting uses no state of the manager it is called on: any manager will do.
    const bw::Manager& sender = bw::LogManager::getInstance();
};

TEST_F(EventDispatchTest, KeyPressReachesEveryObjectInListOrder) {
    Journal expected;
    std::vector<RecordingObject*> objects;
    for (int i = 0; i < 12; ++i) {
        objects.push_back(new RecordingObject("O" + std::to_string(i)));
        expected.push_back("O" + std::to_string(i) + " keyboard");
    }
    // List order, which differs from id order here.
    objects[0]->setId(1000);
    objects[5]->setId(-7);
    // What a handler returns changes nothing for the others.
    int keys_seen = 0;
    for (RecordingObject* object : objects) {
        object->on_event = [&](const bw::Event* event) {
            const auto* key = dynamic_cast<const bw::EventKeyboard*>(event);
            if (key && key->getKey() == bw::KEY_W && key->getKeyboardAction() == bw::KEY_PRESSED) ++keys_seen;
        };
    }

    const bw::EventKeyboard press(bw::KEY_W, bw::KEY_PRESSED);
    sender.onEvent(&press);
    EXPECT_EQ(journal, expected);
    EXPECT_EQ(keys_seen, 12);
    EXPECT_EQ(countLogLines("Sending event of type \"bw::keyboard\" to 12 objects"), 1);
}

TEST_F(EventDispatchTest, EmptyWorldStillLogsTheBroadcast) {
    const bw::EventMouse click(bw::MOUSE_PRESSED, bw::BUTTON_LEFT, Vector(3, 4));
    world.onEvent(&click);
    EXPECT_EQ(countLogLines("Sending event of type \"bw::mouse\" to 0 objects"), 1);
    EXPECT_TRUE(journal.empty());
}

TEST_F(EventDispatchTest, BroadcastLineIsPerIterationDetail) {
    new RecordingObject("A");
    const bw::EventKeyboard press(bw::KEY_A, bw::KEY_PRESSED);
    log.setLogLevel(2);
    sender.onEvent(&press);
    EXPECT_FALSE(logHasLineStartingWith("Sending event of type"));
    log.setLogLevel(3);
    sender.onEvent(&press);
    EXPECT_EQ(countLogLines("Sending event of type \"bw::keyboard\" to 1 objects"), 1);
    EXPECT_EQ(journal, (Journal{"A keyboard", "A keyboard"}));
}

TEST_F(EventDispatchTest, ObjectCreatedDuringBroadcastHearsOnlyTheNextOne) {
    auto* creator = new RecordingObject("C");
    new RecordingObject("B");
    RecordingObject* late = nullptr;
    creator->on_event = [&](const bw::Event*) {
        if (!late) late = new RecordingObject("L");
    };
    const bw::EventKeyboard press(bw::KEY_SPACE, bw::KEY_PRESSED);
    sender.onEvent(&press);
    EXPECT_EQ(journal, (Journal{"C keyboard", "B keyboard"}));
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(world.getAllObjects().getCount(), 3);

    journal.clear();
    const bw::EventKeyboard release(bw::KEY_SPACE, bw::KEY_RELEASED);
    sender.onEvent(&release);
    EXPECT_EQ(journal, (Journal{"C keyboard", "B keyboard", "L keyboard"}));
    EXPECT_EQ(countLogLines("Sending event of type \"bw::keyboard\" to 2 objects"), 1);
    EXPECT_EQ(countLogLines("Sending event of type \"bw::keyboard\" to 3 objects"), 1);
}

TEST_F(EventDispatchTest, ObjectMarkedDuringBroadcastStillHearsItAndGoesAtUpdate) {
    auto* marker = new RecordingObject("M");
    auto* marked = new RecordingObject("D");
    marker->on_event = [&](const bw::Event*) {
        if (marked) world.markForDelete(marked);
        marked = nullptr; // destroyed at the next update
    };
    const bw::EventMouse move(bw::MOUSE_MOVED, bw::UNDEFINED_MOUSE_BUTTON, Vector(10, 10));
    sender.onEvent(&move);
    EXPECT_EQ(journal, (Journal{"M mouse", "D mouse"}));
    world.update();
    EXPECT_EQ(journal.back(), "D deleted");
    journal.clear();
    sender.onEvent(&move);
    EXPECT_EQ(journal, (Journal{"M mouse"}));
}

} // namespace
