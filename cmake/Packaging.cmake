# The release: `cmake --install` lays the game out as it runs (the executable beside its fonts,
# sprites and audio), with the licences of everything shipped and a short how-to-play text, and
# CPack packs that folder: tarnwick-<version>-Linux.tar.gz natively, tarnwick-<version>-win64.zip
# for Windows. Each archive unpacks to one folder, and the game starts from there.
install(TARGETS tarnwick RUNTIME DESTINATION .)
install(FILES "${CMAKE_SOURCE_DIR}/third_party/fonts/DejaVuSansMono.ttf" DESTINATION . RENAME bw-font.ttf)
install(FILES "${CMAKE_SOURCE_DIR}/third_party/fonts/Inconsolata-Regular.otf"
        DESTINATION Fonts RENAME DizareruRereru.ttf)
install(DIRECTORY "${CMAKE_SOURCE_DIR}/data/Sprites" DESTINATION .)
install(DIRECTORY "${RUN_DIR}/Audio" DESTINATION .)
install(FILES "${CMAKE_SOURCE_DIR}/packaging/HOW-TO-PLAY.txt" DESTINATION .)

# Licences, each under the name of what it covers.
set(licenses
    "${CMAKE_SOURCE_DIR}/third_party/fonts/DejaVu-copyright.txt|DejaVu-Sans-Mono.txt"
    "${CMAKE_SOURCE_DIR}/third_party/fonts/Inconsolata-copyright.txt|Inconsolata.txt"
    "${CMAKE_SOURCE_DIR}/third_party/fonts/OFL-1.1.txt|Inconsolata-OFL-1.1.txt")
if(NOT TARNWICK_SYSTEM_SFML)
    set(deps "${TARNWICK_SFML_ROOT}/_deps")
    list(APPEND licenses
        "${deps}/sfml-src/license.md|SFML.md"
        "${deps}/freetype-src/LICENSE.TXT|FreeType.txt"
        "${deps}/freetype-src/docs/FTL.TXT|FreeType-FTL.txt"
        "${deps}/harfbuzz-src/COPYING|HarfBuzz.txt"
        "${deps}/sheenbidi-src/LICENSE|SheenBidi.txt"
        "${deps}/ogg-src/COPYING|Ogg.txt"
        "${deps}/flac-src/COPYING.Xiph|FLAC.txt"
        "${deps}/vorbis-src/COPYING|Vorbis.txt")
endif()
if(WIN32 AND EXISTS /usr/share/doc/mingw-w64-common/copyright)
    # The MinGW-w64 runtime (start-up code, winpthreads) is linked into tarnwick.exe.
    list(APPEND licenses "/usr/share/doc/mingw-w64-common/copyright|MinGW-w64-runtime.txt")
endif()
foreach(entry ${licenses})
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 file)
    list(GET entry 1 name)
    install(FILES "${file}" DESTINATION licenses RENAME "${name}")
endforeach()

set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_VENDOR "Tarnwick")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tarnwick, a character-art arcade game")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
if(WIN32)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_SYSTEM_NAME win64)
else()
    set(CPACK_GENERATOR TGZ)
    set(CPACK_SYSTEM_NAME "${CMAKE_SYSTEM_NAME}")
endif()
set(CPACK_PACKAGE_FILE_NAME "tarnwick-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/packages")
include(CPack)
