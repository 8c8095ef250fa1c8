#pragma once

#include "Box.h"
#include "Vector.h"

#include <string>

namespace bw {

class Event;
class Sprite;

/// Highest drawing layer; altitude 0 is drawn first, MAX_ALTITUDE last.
constexpr int MAX_ALTITUDE = 4;

/// How an object takes part in collisions.
enum Solidness {
    BLOCKING = 0,   ///< collides; a move between two BLOCKING objects is refused
    PASSABLE = 1,   ///< collides (both get the event) but never blocks
    INTANGIBLE = 2, ///< takes no part in collisions at all
};

/// Base of everything in the game world. Constructing an object enters it into the world
/// manager's list (unless that holds MAX_OBJECTS already); destroying it takes it out. During
/// play only the world manager destroys objects: game code hands them to markForDelete().
class Object {
public:
    Object();
    virtual ~Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    /// Handles one event; 1 when used, 0 when ignored. The base ignores everything.
    virtual int eventHandler(const Event* event);
    /// Draws the current sprite frame centred on the position and advances the animation.
    /// -1 without a sprite.
    virtual int draw();

    int getId() const { return id; }
    void setId(int new_id) { id = new_id; }
    std::string getType() const { return type; }
    void setType(std::string new_type) { type = std::move(new_type); }

    /// Position in cells; the sprite is centred on it. Set directly, without collision checks.
    Vector getPosition() const { return position; }
    void setPosition(Vector new_position) { position = new_position; }

    /// Drawing layer. Values above MAX_ALTITUDE are refused with a warning (-1); 0 otherwise.
    int setAltitude(int new_altitude);
    int getAltitude() const { return altitude; }

    float getSpeed() const { return speed; }
    void setSpeed(float new_speed) { speed = new_speed; }
    Vector getDirection() const { return direction; }
    void setDirection(Vector new_direction) { direction = new_direction; }
    /// Speed becomes |v| and direction v / |v| (v itself when |v| is 0).
    void setVelocity(Vector velocity);
    /// direction × speed, in units of the shorter cell side per step.
    Vector getVelocity() const;
    /// Where one step of velocity takes the object, in cells. Velocity is measured in units of
    /// the shorter cell side, so with 12.8 × 32-pixel cells (0, 1) moves 0.4 cell down.
    Vector predictPosition() const;

    int setSolidness(Solidness new_solidness);
    Solidness getSolidness() const { return solidness; }
    /// True unless INTANGIBLE.
    bool isSolid() const { return solidness != INTANGIBLE; }

    /// Shows the resource manager's sprite with this label. The frame index is kept; the
    /// countdown restarts from frame 0's slowdown. fit_box centres a box of the sprite's size on
    /// the position. An unknown label logs a warning and keeps the current sprite.
    void setSprite(const std::string& label, bool fit_box = true);
    Sprite* getSprite() const { return sprite; }
    int getFrameIndex() const { return frame_index; }
    void setFrameIndex(int index) { frame_index = index; }
    int getSlowdownCount() const { return slowdown_count; }
    void setSlowdownCount(int count) { slowdown_count = count; }

    /// Bounding box relative to the position.
    Box getBox() const { return box; }
    void setBox(Box new_box) { box = new_box; }
    /// The box moved by the position, in absolute cells.
    Box getWorldBox() const;
    /// Debug aid: draw() also marks the box corners and the position.
    void setBoxVisible(bool visible) { box_visible = visible; }
    bool isBoxVisible() const { return box_visible; }

private:
    int id;
    std::string type = "undefined_object";
    Vector position;
    int altitude = 0;
    Vector direction;
    float speed = 0;
    Solidness solidness = BLOCKING;
    Sprite* sprite = nullptr;
    int frame_index = 0;
    int slowdown_count = 1;
    Box box;
    bool box_visible = false;
};

} // namespace bw
