#include "EventCollision.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventOut.h"
#include "EventStep.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(Events, TypeStrings) {
    EXPECT_EQ(bw::Event().getType(), "bw::undefined");
    EXPECT_EQ(bw::EventStep().getType(), "bw::step");
    EXPECT_EQ(bw::EventStep(7).getType(), "bw::step");
    EXPECT_EQ(bw::EventCollision().getType(), "bw::collision");
    EXPECT_EQ(bw::EventCollision(nullptr, nullptr, bw::Vector(1, 2)).getType(), "bw::collision");
    EXPECT_EQ(bw::EventOut().getType(), "bw::out");
    EXPECT_EQ(bw::EventKeyboard().getType(), "bw::keyboard");
    EXPECT_EQ(bw::EventKeyboard(bw::KEY_W, bw::KEY_PRESSED).getType(), "bw::keyboard");
    EXPECT_EQ(bw::EventMouse().getType(), "bw::mouse");
    EXPECT_EQ(bw::EventMouse(bw::MOUSE_MOVED, bw::UNDEFINED_MOUSE_BUTTON, bw::Vector()).getType(), "bw::mouse");
}

TEST(Events, TypeSurvivesUseThroughTheBase) {
    std::unique_ptr<bw::Event> event = std::make_unique<bw::EventOut>();
    EXPECT_EQ(event->getType(), bw::EVENT_TYPE_OUT);
    event->setType("custom");
    EXPECT_EQ(event->getType(), "custom");
}

TEST(Events, Defaults) {
    EXPECT_EQ(bw::EventStep().getStepCount(), 0);
    const bw::EventKeyboard key;
    EXPECT_EQ(key.getKey(), -1);
    EXPECT_EQ(key.getKeyboardAction(), -1);
    const bw::EventMouse mouse;
    EXPECT_EQ(mouse.getMouseAction(), -1);
    EXPECT_EQ(mouse.getMouseButton(), -1);
    EXPECT_EQ(mouse.getMousePosition(), bw::Vector(0, 0));
    const bw::EventCollision collision;
    EXPECT_EQ(collision.getObject1(), nullptr);
    EXPECT_EQ(collision.getObject2(), nullptr);
    EXPECT_EQ(collision.getPosition(), bw::Vector(0, 0));
}

TEST(Events, ConstructorsKeepTheirArguments) {
    EXPECT_EQ(bw::EventStep(99).getStepCount(), 99);
    int a = 0, b = 0;
    auto* first = reinterpret_cast<bw::Object*>(&a);
    auto* second = reinterpret_cast<bw::Object*>(&b);
    const bw::EventCollision collision(first, second, bw::Vector(3, 4));
    EXPECT_EQ(collision.getObject1(), first);
    EXPECT_EQ(collision.getObject2(), second);
    EXPECT_EQ(collision.getPosition(), bw::Vector(3, 4));
    const bw::EventMouse mouse(bw::MOUSE_HELD, bw::BUTTON_MIDDLE, bw::Vector(10, 20));
    EXPECT_EQ(mouse.getMouseAction(), bw::MOUSE_HELD);
    EXPECT_EQ(mouse.getMouseButton(), bw::BUTTON_MIDDLE);
    EXPECT_EQ(mouse.getMousePosition(), bw::Vector(10, 20));
}

TEST(Events, KeyNumbering) {
    EXPECT_EQ(bw::KEY_SPACE, 0);
    EXPECT_EQ(bw::KEY_SLASH, 14);
    EXPECT_EQ(bw::KEY_F1, 19);
    EXPECT_EQ(bw::KEY_F12, 30);
    EXPECT_EQ(bw::KEY_A, 31);
    EXPECT_EQ(bw::KEY_D, 34);
    EXPECT_EQ(bw::KEY_S, 49);
    EXPECT_EQ(bw::KEY_W, 53);
    EXPECT_EQ(bw::KEY_Z, 56);
    EXPECT_EQ(bw::KEY_NUM1, 57);
    EXPECT_EQ(bw::KEY_NUM9, 65);
    EXPECT_EQ(bw::KEY_NUM0, 66);
    EXPECT_EQ(bw::KEY_COUNT, 67);
    EXPECT_EQ(bw::KEY_DOWN, 7);
    EXPECT_EQ(bw::KEY_HELD, 0);
    EXPECT_EQ(bw::KEY_RELEASED, 1);
    EXPECT_EQ(bw::KEY_PRESSED, 2);
    EXPECT_EQ(bw::MOUSE_MOVED, 3);
    EXPECT_EQ(bw::BUTTON_MIDDLE, 2);
}

} // namespace
