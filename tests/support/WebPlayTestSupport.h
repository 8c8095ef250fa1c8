#pragma once

#include "Color.h"
#include "EventKeyboard.h"
#include "Object.h"
#include "Vector.h"

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

/// Loads the game's sprite files from data/Sprites under their game labels (each label once per
/// test executable): the spider's, the silk shot's and the silk counter's.
void loadWebPlaySprites();

/// Loads a short tone WAV (written into dir) under each label that has no sound yet, so that
/// a test can see whether the game played that cue.
void loadCueSounds(const std::filesystem::path& dir, const std::vector<std::string>& labels);
/// True while the sound with this label is playing.
bool cueIsPlaying(const std::string& label);
/// Stops every cue sound with these labels, so that the next play can be seen.
void stopCues(const std::vector<std::string>& labels);
/// True when playing a loaded sound can be observed on this machine (an audio device exists).
bool cuesObservable();

/// Hands one step event to every object in the world, as the game loop does before update.
void broadcastStep(int step_count);
/// One iteration without input and drawing: the step to every object, then the world's update.
void stepWorld(int step_count);
/// Sends a key press (or another action) to one object.
int sendKey(bw::Object* object, bw::Key key, bw::KeyboardAction action = bw::KEY_PRESSED);

/// The strings of the web that are intact at both ends, counted once each.
int countIntactStrings();
/// Severs every string of the web.
void severEverything();

/// What a pop-up looked like when it first appeared in the world.
struct PopUpSighting {
    std::string text;
    bw::Vector position;
    bw::Color color;
};

/// Notices pop-ups as they appear in the world: each call returns those not seen before, with
/// the position they had when first seen (call it right after the step that created them).
class PopUpWatcher {
public:
    std::vector<PopUpSighting> newPopUps();

private:
    std::set<const bw::Object*> seen;
};
