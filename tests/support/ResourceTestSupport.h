#pragma once

#include "ResourceEntry.h"

#include <string>
#include <vector>

/// Restarts the log manager in the current working directory with every level let through,
/// so brackwen.log holds only what the test writes after "Started up LogManager".
void restartLogForResourceTest();

/// The log messages written since the log was started, without the start-up line.
std::vector<std::string> resourceLogMessages();

/// The file the game loads the resource of this kind and label from, relative to the run folder
/// ("Sprites/spider-right.txt"); fails the test and gives "" when the game has no such resource.
std::string gameFile(ResourceKind kind, const std::string& label);

/// Writes a sprite of width × height cells of 'x' with a frame per slowdown (a file without
/// frames still declares one) and loads it under label in place of any sprite so labelled.
/// Gives the label.
std::string loadTestSprite(const std::string& label, const std::vector<int>& slowdowns, int width = 1,
                           int height = 1);

/// Loads the game's sprite of this label from the checkout's data folder, unless one is loaded.
void loadGameSprite(const std::string& label);
