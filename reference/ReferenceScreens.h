#pragma once

#include "Color.h"
#include "DisplayManager.h"
#include "Vector.h"

#include <string>
#include <vector>

/// The screens on which the display manager's drawing is compared with the reference drawing
/// and timed: a full screen of mixed characters and colours, the title screen and a busy play
/// screen. They are drawn through the engine as the game draws them (sprites, strings, the web),
/// into the frame being drawn.
class ReferenceScreens {
public:
    /// A sprite frame on the play screen.
    struct Actor {
        std::string sprite; ///< sprite label
        int frame;          ///< frame index
        bw::Vector position; ///< centre, cells
    };
    /// A string on the play screen (pop-ups, the score).
    struct Label {
        std::string text;
        bw::Vector position; ///< cells
        bw::Color color;
        bw::Justification justification;
    };

    /// Loads the game's sprites from the source tree (those not loaded yet) and opens the game
    /// font from the build's run folder. False, with the reason in why(), when something is missing.
    bool load();
    /// What load() missed.
    const std::string& why() const { return problem; }

    /// Every one of the 80 × 24 cells, row by row: printable characters in changing colours, a
    /// few of them translucent, and now and then a blank or a character without a glyph.
    static void drawFullScreen();
    /// The title picture at (42, 8) and the seven lines of the title screen.
    static void drawTitleScreen();
    /// The web, spiders, flies, a saucer, a silk shot, the silk counter, the score and pop-ups,
    /// overlapping each other and the web. Call preparePlayWeb() first.
    static void drawPlayScreen();

    /// The sprite frames of the play screen, bottom to top.
    static const std::vector<Actor>& playActors();
    /// The strings of the play screen, drawn after the sprites.
    static const std::vector<Label>& playLabels();
    /// Weaves the web (created on first use) again, shows it and cuts three of its strings.
    static void preparePlayWeb();

private:
    std::string problem;
};
