# Fills the run folder with what the game reads at start, next to the executable:
#   Sprites/*                 copied from data/Sprites, again whenever a file there changes;
#   bw-font.ttf               the engine's default font (DejaVu Sans Mono);
#   Fonts/DizareruRereru.ttf  the game's font (Inconsolata), used for every character in play.
# Audio/ is written by the synthesizer (tools/synth).
#
# Inconsolata is the game's font because its advance at the game's character size (bold, 25) is
# 14 px against the 12.8 px cell, where DejaVu Sans Mono's is 16 px: with the narrower font the
# next cell's background box does not cut off the right edge of a glyph.

if(NOT DEFINED RUN_DIR)
    set(RUN_DIR "${CMAKE_BINARY_DIR}/run")
endif()

# --- Sprites --------------------------------------------------------------------------------
file(GLOB TARNWICK_SPRITE_FILES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/data/Sprites/*")
set(TARNWICK_RUN_FILES "")
foreach(source ${TARNWICK_SPRITE_FILES})
    if(IS_DIRECTORY "${source}")
        continue()
    endif()
    get_filename_component(name "${source}" NAME)
    set(target_file "${RUN_DIR}/Sprites/${name}")
    add_custom_command(
        OUTPUT "${target_file}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${RUN_DIR}/Sprites"
        COMMAND "${CMAKE_COMMAND}" -E copy "${source}" "${target_file}"
        DEPENDS "${source}"
        VERBATIM)
    list(APPEND TARNWICK_RUN_FILES "${target_file}")
endforeach()

# --- Fonts ----------------------------------------------------------------------------------
# Where Debian/Ubuntu, Fedora, Arch, openSUSE, Homebrew, macOS and Windows keep these fonts.
set(TARNWICK_FONT_DIRS
    /usr/share/fonts/truetype/dejavu
    /usr/share/fonts/dejavu
    /usr/share/fonts/dejavu-sans-mono-fonts
    /usr/share/fonts/opentype/inconsolata
    /usr/share/fonts/truetype/inconsolata
    /usr/share/fonts/inconsolata
    /usr/share/fonts/google-inconsolata
    /usr/share/fonts/levien-inconsolata
    /usr/share/fonts/OTF
    /usr/share/fonts/TTF
    /usr/share/fonts/truetype
    /usr/share/fonts/opentype
    /usr/local/share/fonts
    /opt/homebrew/share/fonts
    /Library/Fonts
    "$ENV{HOME}/Library/Fonts"
    "$ENV{HOME}/.local/share/fonts"
    "$ENV{LOCALAPPDATA}/Microsoft/Windows/Fonts"
    "$ENV{WINDIR}/Fonts")

find_file(TARNWICK_DEFAULT_FONT
    NAMES DejaVuSansMono.ttf
    PATHS ${TARNWICK_FONT_DIRS}
    DOC "Monospaced font copied to run/bw-font.ttf (the engine's default font)"
    NO_DEFAULT_PATH)
find_file(TARNWICK_GAME_FONT
    NAMES Inconsolata-Regular.otf Inconsolata-Regular.ttf Inconsolata.otf Inconsolata.ttf
    PATHS ${TARNWICK_FONT_DIRS}
    DOC "Monospaced font copied to run/Fonts/DizareruRereru.ttf (the game's font)"
    NO_DEFAULT_PATH)

set(default_font "${TARNWICK_DEFAULT_FONT}")
set(game_font "${TARNWICK_GAME_FONT}")
if(NOT TARNWICK_GAME_FONT AND TARNWICK_DEFAULT_FONT)
    message(WARNING "Inconsolata not found (set TARNWICK_GAME_FONT to a monospaced font file, e.g. "
                    "install fonts-inconsolata); the game font falls back to DejaVu Sans Mono, whose "
                    "wider glyphs are clipped at their right edge.")
    set(game_font "${TARNWICK_DEFAULT_FONT}")
elseif(NOT TARNWICK_DEFAULT_FONT AND TARNWICK_GAME_FONT)
    message(WARNING "DejaVu Sans Mono not found (set TARNWICK_DEFAULT_FONT to a font file, e.g. "
                    "install fonts-dejavu-core); the engine's default font falls back to Inconsolata.")
    set(default_font "${TARNWICK_GAME_FONT}")
elseif(NOT TARNWICK_DEFAULT_FONT AND NOT TARNWICK_GAME_FONT)
    message(WARNING "Neither DejaVu Sans Mono nor Inconsolata was found (set TARNWICK_DEFAULT_FONT "
                    "and TARNWICK_GAME_FONT to font files); the run folder gets no fonts and the game "
                    "logs the missing font files when it starts.")
endif()

if(default_font)
    add_custom_command(
        OUTPUT "${RUN_DIR}/bw-font.ttf"
        COMMAND "${CMAKE_COMMAND}" -E copy "${default_font}" "${RUN_DIR}/bw-font.ttf"
        DEPENDS "${default_font}"
        VERBATIM)
    list(APPEND TARNWICK_RUN_FILES "${RUN_DIR}/bw-font.ttf")
endif()
if(game_font)
    add_custom_command(
        OUTPUT "${RUN_DIR}/Fonts/DizareruRereru.ttf"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${RUN_DIR}/Fonts"
        COMMAND "${CMAKE_COMMAND}" -E copy "${game_font}" "${RUN_DIR}/Fonts/DizareruRereru.ttf"
        DEPENDS "${game_font}"
        VERBATIM)
    list(APPEND TARNWICK_RUN_FILES "${RUN_DIR}/Fonts/DizareruRereru.ttf")
endif()

add_custom_target(tarnwick_run_folder ALL DEPENDS ${TARNWICK_RUN_FILES})
if(TARGET tarnwick)
    add_dependencies(tarnwick tarnwick_run_folder)
endif()
