# Fills the run folder with what the game reads at start, next to the executable:
#   Sprites/*                 copied from data/Sprites, again whenever a file there changes;
#   bw-font.ttf               the engine's default font (DejaVu Sans Mono 2.37);
#   Fonts/DizareruRereru.ttf  the game's font (Inconsolata 3.001), used for every character in play.
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
# Both fonts are kept in the repository, so every machine draws the same pixels.
set(TARNWICK_FONT_DIR "${CMAKE_SOURCE_DIR}/third_party/fonts")
foreach(pair "DejaVuSansMono.ttf|bw-font.ttf" "Inconsolata-Regular.otf|Fonts/DizareruRereru.ttf")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 font_source)
    list(GET pair 1 font_target)
    get_filename_component(font_folder "${RUN_DIR}/${font_target}" DIRECTORY)
    add_custom_command(
        OUTPUT "${RUN_DIR}/${font_target}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${font_folder}"
        COMMAND "${CMAKE_COMMAND}" -E copy "${TARNWICK_FONT_DIR}/${font_source}" "${RUN_DIR}/${font_target}"
        DEPENDS "${TARNWICK_FONT_DIR}/${font_source}"
        VERBATIM)
    list(APPEND TARNWICK_RUN_FILES "${RUN_DIR}/${font_target}")
endforeach()

add_custom_target(tarnwick_run_folder ALL DEPENDS ${TARNWICK_RUN_FILES})
if(TARGET tarnwick)
    add_dependencies(tarnwick tarnwick_run_folder)
endif()
