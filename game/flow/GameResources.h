#pragma once

/// Loads the game's font and its 34 labelled sprites, sounds and music, in a fixed order.
/// A file that fails to load is logged by the manager concerned; the rest still load.
void loadResources();
