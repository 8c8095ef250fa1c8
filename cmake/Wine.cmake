# Runs the Windows build's own programs under Wine: the synthesizer at build time, test discovery
# and the tests. Wine keeps its state in a prefix of this build folder's own, made once by the
# tarnwick_wine_prefix target before anything runs in it (two programs starting in a missing
# prefix at the same time would both try to make it). Mono and Gecko are switched off: Wine would
# otherwise offer to download them, and nothing here needs them.
find_program(TARNWICK_WINE NAMES wine wine64)
if(NOT TARNWICK_WINE)
    message(FATAL_ERROR "Wine is needed to run the Windows build's synthesizer and tests (Debian package wine)")
endif()
find_program(TARNWICK_WINEBOOT NAMES wineboot REQUIRED)
find_program(TARNWICK_WINESERVER NAMES wineserver REQUIRED)

set(TARNWICK_WINE_PREFIX "${CMAKE_BINARY_DIR}/wine-prefix")
set(TARNWICK_WINE_ENVIRONMENT
    "WINEPREFIX=${TARNWICK_WINE_PREFIX}" WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=")
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_COMMAND};-E;env;${TARNWICK_WINE_ENVIRONMENT};${TARNWICK_WINE}")

add_custom_command(
    OUTPUT "${TARNWICK_WINE_PREFIX}/system.reg"
    COMMAND "${CMAKE_COMMAND}" -E env ${TARNWICK_WINE_ENVIRONMENT} "${TARNWICK_WINEBOOT}" --init
    COMMAND "${CMAKE_COMMAND}" -E env ${TARNWICK_WINE_ENVIRONMENT} "${TARNWICK_WINESERVER}" --wait
    COMMENT "Preparing the Wine prefix ${TARNWICK_WINE_PREFIX}"
    VERBATIM)
add_custom_target(tarnwick_wine_prefix DEPENDS "${TARNWICK_WINE_PREFIX}/system.reg")
