#pragma once

#include "Vector.h"

#include <compare>
#include <set>
#include <string>

/// Text of a sprite file: frames frames of width × height characters of ch, each shown for
/// slowdown steps, so one pass of the animation takes frames × slowdown steps.
std::string spriteFileText(int frames, int width, int height, int slowdown, char ch = '#');

/// Makes the sprite label available: loads data/Sprites/<file_name> from the source tree unless
/// a sprite with that label is loaded already; when that file cannot be loaded, writes
/// fallback_text as a sprite file into the working directory and loads it instead. True when
/// the label can be found afterwards.
bool ensureGameSprite(const std::string& label, const std::string& file_name, const std::string& fallback_text);

/// Unloads every sprite with this label and loads file_text (written into the working
/// directory) under it, so a test knows the exact animation it times against.
bool replaceSprite(const std::string& label, const std::string& file_text);

/// One loop iteration as the game runs it, without input and drawing: the step event with
/// step_count to every object in the world (a snapshot, so objects created meanwhile hear the
/// next step), then the world's update (deletions, then movement with collision and out events).
void runLoopStep(int step_count);

/// A string of the web between two neighbouring intersections, first end left of or above the
/// second.
struct WebString {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    auto operator<=>(const WebString&) const = default;
};

/// Every intact string of the web: both ends carry the bit pointing at the other.
std::set<WebString> intactStrings();

/// Every string whose ends both carry their blink bit.
std::set<WebString> blinkingStrings();

/// Cuts every string of the web.
void severAllStrings();

/// Cuts every string of the intersection c (web coordinate).
void severAround(bw::Vector c);

/// Makes the sound label available as a ten-second tone (loaded once per test program), and
/// stops it, so a test can see whether something starts it.
bool prepareToneSound(const std::string& label);

/// True while the sound with this label is playing.
bool isSoundPlaying(const std::string& label);
