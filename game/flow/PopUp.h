#pragma once

#include "Color.h"
#include "Object.h"
#include "Vector.h"

#include <string>

/// A short coloured text (points won) that rises from where it was created, slows, turns and
/// drops away faster and faster, deleting itself once it has left the window.
class PopUp : public bw::Object {
public:
    /// Enters the world at position (cells), showing text in color.
    PopUp(bw::Vector position, std::string text, bw::Color color);

    /// Each step moves it (1); an out event deletes it (0); anything else gives 0.
    int eventHandler(const bw::Event* event) override;
    /// The text centred on the position.
    int draw() override;

    /// Steps left before the pop-up turns.
    int getLifetime() const { return lifetime; }
    /// Cells per step upwards (negative while falling).
    float getRiseSpeed() const { return rise_speed; }
    /// What is shown.
    std::string getText() const { return text; }
    /// The colour of the text.
    bw::Color getColor() const { return color; }

private:
    int lifetime;
    float rise_speed;
    std::string text;
    bw::Color color;
};
