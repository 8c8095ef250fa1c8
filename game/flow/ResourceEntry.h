#pragma once

// The game's resource list: its font, and every sprite, sound and music file with its label, in
// load order.
// It is the one place a file name of the game is written: loadResources() loads from it, the
// synthesizer writes the sound files it names, and the tests look files up in it.

/// The font every character of the game is drawn in.
inline constexpr const char* GAME_FONT_FILE = "Fonts/DizareruRereru.ttf";

/// Which of the resource manager's tables an entry goes to.
enum ResourceKind { SPRITE, SOUND, MUSIC };

/// One file the game loads at start: what it is, the label the game finds it by, and its path
/// relative to the working directory.
struct ResourceEntry {
    ResourceKind kind;
    const char* label;
    const char* file;
};

// Load order matters only for the log; sprites and sounds have separate label spaces, so
// "player-fall" and "fly-intro" name one of each.
inline constexpr ResourceEntry GAME_RESOURCES[] = {
    {SPRITE, "player-spr", "Sprites/O-spr.txt"},
    {SPRITE, "player-right", "Sprites/spider-right.txt"},
    {SPRITE, "player-left", "Sprites/spider-left.txt"},
    {SPRITE, "player-up", "Sprites/spider-up.txt"},
    {SPRITE, "player-down", "Sprites/spider-down.txt"},
    {SPRITE, "player-fall", "Sprites/spider-fall.txt"},
    {SPRITE, "enemy-right", "Sprites/giant-enemy-spider-right.txt"},
    {SPRITE, "enemy-left", "Sprites/giant-enemy-spider-left.txt"},
    {SPRITE, "enemy-up", "Sprites/giant-enemy-spider-up.txt"},
    {SPRITE, "enemy-down", "Sprites/giant-enemy-spider-down.txt"},
    {SPRITE, "silk-shot-right", "Sprites/silk-shot-right.txt"},
    {SPRITE, "silk-shot-left", "Sprites/silk-shot-left.txt"},
    {SPRITE, "silk-shot-up", "Sprites/silk-shot-up.txt"},
    {SPRITE, "silk-shot-down", "Sprites/silk-shot-down.txt"},
    {SPRITE, "fly-intro", "Sprites/fly-intro-spr.txt"},
    {SPRITE, "fly-twitch", "Sprites/fly-twitch-spr.txt"},
    {SPRITE, "silk-counter-spr", "Sprites/silk-counter.txt"},
    {SPRITE, "saucer", "Sprites/saucer!.txt"},
    {SPRITE, "title-text", "Sprites/title-text.txt"},
    {SPRITE, "game-over-text", "Sprites/game-over-text.txt"},
    {SOUND, "fly-intro", "Audio/SFX/flyBuzzStuck.wav"},
    {SOUND, "rope-repair", "Audio/SFX/repairRope.wav"},
    {SOUND, "points-gained", "Audio/SFX/pointsGained.wav"},
    {SOUND, "silk-charged", "Audio/SFX/silkCharged.wav"},
    {SOUND, "enemy-spawn", "Audio/SFX/enemySpawn.wav"},
    {SOUND, "enemy-sever", "Audio/SFX/cutWeb.wav"},
    {SOUND, "player-fall", "Audio/SFX/playerFall.wav"},
    {SOUND, "player-shift", "Audio/SFX/shift.wav"},
    {SOUND, "player-bounce", "Audio/SFX/bounce.wav"},
    {SOUND, "player-eat", "Audio/SFX/slurp.wav"},
    {SOUND, "saucer-spawn", "Audio/SFX/saucerSpawn.wav"},
    // The saucer's crash reuses the fall sound, as an entry of its own.
    {SOUND, "saucer-crash", "Audio/SFX/playerFall.wav"},
    {MUSIC, "theme-song", "Audio/TarnwickTheme.wav"},
    {MUSIC, "title-song", "Audio/TitleSimple.wav"},
};
