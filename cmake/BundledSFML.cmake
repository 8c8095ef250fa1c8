# Builds SFML 3.1 and the libraries it bundles (FreeType, HarfBuzz, SheenBidi, Ogg, FLAC, Vorbis)
# from the pinned upstream archives in third_party/sources, statically, and makes SFML's targets
# (SFML::Graphics, SFML::Window, SFML::Audio, SFML::System) available to the project.
#
# The build happens once, while the project is configured, in its own folder:
#   ${TARNWICK_DEPS_DIR}/<system>-<processor>/
#       _deps/<name>-src   the unpacked and patched sources (the names SFML's FetchContent expects)
#       sfml-build         SFML's own build folder
#       install            SFML installed; the project finds it there
#       build.log          what SFML's configure and build printed
# A stamp records the archives' hashes, the compilers and this recipe's version: as long as it
# matches, nothing is unpacked or rebuilt. Several build folders may share one TARNWICK_DEPS_DIR
# (the presets do); a file lock keeps two configures from building it at the same time.
#
# Our compile options (warnings, sanitizers, fuzzing instrumentation) never reach SFML: it is a
# separate CMake project, built with the project's compilers and toolchain file but its own flags.
# TARNWICK_SFML_C_COMPILER / TARNWICK_SFML_CXX_COMPILER choose other compilers for it (the fuzzing
# build is compiled with clang but links the SFML that gcc built for the other native builds).

set(TARNWICK_THIRD_PARTY_DIR "${CMAKE_SOURCE_DIR}/third_party/sources")
set(TARNWICK_DEPS_DIR "${CMAKE_BINARY_DIR}/_deps" CACHE PATH
    "Folder where SFML and its dependencies are unpacked, built and installed")
set(TARNWICK_SFML_C_COMPILER "${CMAKE_C_COMPILER}" CACHE STRING "C compiler (path or name) for the bundled SFML")
set(TARNWICK_SFML_CXX_COMPILER "${CMAKE_CXX_COMPILER}" CACHE STRING "C++ compiler (path or name) for the bundled SFML")

# Raise this when the recipe below changes, so existing dependency builds are redone.
set(TARNWICK_SFML_RECIPE 1)

# Archive file, SHA-256, folder under _deps, the variable SFML's patch script takes, the script.
set(TARNWICK_SFML_DEPENDENCIES
    "freetype.tar.xz|84aeaa583b03ffcb9eefcaddb45dfcfd1c0be0a2aad90b683cd4a5ecd51e9668|freetype-src|FREETYPE_DIR|tools/freetype/PatchFreetype.cmake"
    "harfbuzz.tar.xz|0cfc235492e7abc1a03ba31242a1d21bd8a435056017d1edb5689f85bef7a239|harfbuzz-src|HARFBUZZ_DIR|tools/harfbuzz/PatchHarfBuzz.cmake"
    "sheenbidi.tar.xz|7b66bf2daa7bf6983847c71d55e536012ca84cb2f296a9f24fcfe07a9e784f1c|sheenbidi-src|SHEENBIDI_DIR|tools/sheenbidi/PatchSheenBidi.cmake"
    "ogg.tar.xz|a036587ea6f0dd01214d981c4e3e9b218b0d52470492812ad0a6744becb751bf|ogg-src|OGG_DIR|tools/ogg/PatchOgg.cmake"
    "flac.tar.xz|a9764550b91c6f0451f16f0a5c78d1145a32909c51b927b3035c073e12f3849d|flac-src|FLAC_DIR|tools/flac/PatchFLAC.cmake"
    "vorbis.tar.xz|da0caae7348b8fa2a639411968f005cc62e93ed686fce849f98114499d7869f6|vorbis-src|VORBIS_DIR|tools/vorbis/PatchVorbis.cmake")
set(TARNWICK_SFML_ARCHIVE "SFML.tar.xz|f84b8bd0be663affeb5fbc037d8cccdc349a9abb24080834965fc6de99308be4")

# Fails the configure with a clear message unless the archive is there with the pinned hash.
function(tarnwick_check_archive file expected)
    set(path "${TARNWICK_THIRD_PARTY_DIR}/${file}")
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "third_party/sources/${file} is missing: the bundled SFML cannot be built")
    endif()
    file(SHA256 "${path}" actual)
    if(NOT actual STREQUAL expected)
        message(FATAL_ERROR "third_party/sources/${file} has SHA-256 ${actual}, expected ${expected}: "
                            "the archive is damaged or not the pinned release")
    endif()
endfunction()

# Unpacks an archive holding one top folder and moves that folder to `destination`.
function(tarnwick_unpack file destination)
    set(scratch "${destination}.unpacking")
    file(REMOVE_RECURSE "${scratch}" "${destination}")
    file(ARCHIVE_EXTRACT INPUT "${TARNWICK_THIRD_PARTY_DIR}/${file}" DESTINATION "${scratch}")
    file(GLOB top LIST_DIRECTORIES true "${scratch}/*")
    list(LENGTH top count)
    if(NOT count EQUAL 1)
        message(FATAL_ERROR "third_party/sources/${file} should hold exactly one folder")
    endif()
    file(RENAME "${top}" "${destination}")
    file(REMOVE_RECURSE "${scratch}")
endfunction()

# Runs a command with its output appended to the log; on failure shows the log's end.
function(tarnwick_run log description)
    message(STATUS "${description}")
    file(APPEND "${log}" "==== ${description}\n")
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
    file(APPEND "${log}" "${output}")
    if(NOT status EQUAL 0)
        string(LENGTH "${output}" length)
        if(length GREATER 6000)
            math(EXPR start "${length} - 6000")
            string(SUBSTRING "${output}" ${start} -1 output)
        endif()
        message(FATAL_ERROR "${description} failed (${status}); the whole output is in ${log}. Its end:\n${output}")
    endif()
endfunction()

# The compiler a path or a name on the PATH names, with links followed, so /usr/bin/c++ and g++
# count as one.
function(tarnwick_resolved_compiler out compiler)
    if(NOT IS_ABSOLUTE "${compiler}")
        find_program(found_compiler NAMES "${compiler}" NO_CACHE)
        if(NOT found_compiler)
            message(FATAL_ERROR "No compiler ${compiler} on the PATH for the bundled SFML")
        endif()
        set(compiler "${found_compiler}")
    endif()
    if(NOT EXISTS "${compiler}")
        message(FATAL_ERROR "No compiler ${compiler} for the bundled SFML")
    endif()
    get_filename_component(compiler "${compiler}" REALPATH)
    set(${out} "${compiler}" PARENT_SCOPE)
endfunction()

function(tarnwick_build_bundled_sfml root)
    set(sources "${root}/_deps")
    set(sfml_source "${sources}/sfml-src")
    set(sfml_build "${root}/sfml-build")
    set(install "${root}/install")
    set(log "${root}/build.log")
    tarnwick_resolved_compiler(c_compiler "${TARNWICK_SFML_C_COMPILER}")
    tarnwick_resolved_compiler(cxx_compiler "${TARNWICK_SFML_CXX_COMPILER}")

    string(REPLACE "|" ";" sfml_entry "${TARNWICK_SFML_ARCHIVE}")
    list(GET sfml_entry 0 sfml_file)
    list(GET sfml_entry 1 sfml_hash)
    tarnwick_check_archive("${sfml_file}" "${sfml_hash}")
    set(stamp_text "recipe ${TARNWICK_SFML_RECIPE}\n${sfml_hash}\n")
    foreach(entry ${TARNWICK_SFML_DEPENDENCIES})
        string(REPLACE "|" ";" fields "${entry}")
        list(GET fields 0 file)
        list(GET fields 1 hash)
        tarnwick_check_archive("${file}" "${hash}")
        string(APPEND stamp_text "${hash}\n")
    endforeach()
    string(APPEND stamp_text "${c_compiler}\n${cxx_compiler}\n${CMAKE_TOOLCHAIN_FILE}\n")

    set(stamp "${install}/tarnwick-sfml.stamp")
    if(EXISTS "${stamp}")
        file(READ "${stamp}" existing)
        if(existing STREQUAL stamp_text)
            return()
        endif()
    endif()

    message(STATUS "Building the bundled SFML 3.1 and its dependencies in ${root} (once; about two minutes)")
    # SFML is installed beside the one in use and replaces it only once it is complete, so a
    # failed build leaves other build folders sharing this one working.
    set(fresh_install "${install}.new")
    file(REMOVE_RECURSE "${sources}" "${sfml_build}" "${fresh_install}" "${log}")
    tarnwick_unpack("${sfml_file}" "${sfml_source}")
    # SFML asks for CMake 3.28 but needs only 3.25 (for block()); Debian 12 has 3.25.
    file(READ "${sfml_source}/CMakeLists.txt" top)
    string(REPLACE "cmake_minimum_required(VERSION 3.28)" "cmake_minimum_required(VERSION 3.25)" top "${top}")
    file(WRITE "${sfml_source}/CMakeLists.txt" "${top}")

    # SFML's FetchContent takes these folders as they are, so its own patches are applied here.
    foreach(entry ${TARNWICK_SFML_DEPENDENCIES})
        string(REPLACE "|" ";" fields "${entry}")
        list(GET fields 0 file)
        list(GET fields 2 folder)
        list(GET fields 3 variable)
        list(GET fields 4 script)
        tarnwick_unpack("${file}" "${sources}/${folder}")
        tarnwick_run("${log}" "Patching ${folder}" "${CMAKE_COMMAND}" "-D${variable}=${sources}/${folder}"
                     -P "${sfml_source}/${script}")
    endforeach()

    set(arguments
        -S "${sfml_source}" -B "${sfml_build}" -G "${CMAKE_GENERATOR}"
        -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_INSTALL_PREFIX=${fresh_install}
        -DCMAKE_C_COMPILER=${c_compiler}
        -DCMAKE_CXX_COMPILER=${cxx_compiler}
        -DBUILD_SHARED_LIBS=OFF
        -DSFML_BUILD_NETWORK=OFF
        -DSFML_USE_SYSTEM_DEPS=OFF
        -DSFML_INSTALL_PKGCONFIG_FILES=OFF
        -DFETCHCONTENT_BASE_DIR=${sources}
        -DFETCHCONTENT_FULLY_DISCONNECTED=ON)
    if(CMAKE_TOOLCHAIN_FILE)
        list(APPEND arguments -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE})
    endif()
    if(CMAKE_MAKE_PROGRAM)
        list(APPEND arguments -DCMAKE_MAKE_PROGRAM=${CMAKE_MAKE_PROGRAM})
    endif()
    if(WIN32)
        list(APPEND arguments -DSFML_USE_STATIC_STD_LIBS=ON)
    endif()
    cmake_host_system_information(RESULT cores QUERY NUMBER_OF_LOGICAL_CORES)
    tarnwick_run("${log}" "Configuring SFML" "${CMAKE_COMMAND}" ${arguments})
    tarnwick_run("${log}" "Building SFML (${cores} jobs)" "${CMAKE_COMMAND}" --build "${sfml_build}" --parallel ${cores})
    tarnwick_run("${log}" "Installing SFML" "${CMAKE_COMMAND}" --install "${sfml_build}")
    file(WRITE "${fresh_install}/tarnwick-sfml.stamp" "${stamp_text}")
    file(REMOVE_RECURSE "${install}")
    file(RENAME "${fresh_install}" "${install}")
    message(STATUS "Bundled SFML installed in ${install}")
endfunction()

set(TARNWICK_SFML_ROOT "${TARNWICK_DEPS_DIR}/${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}")
file(MAKE_DIRECTORY "${TARNWICK_DEPS_DIR}")
file(LOCK "${TARNWICK_SFML_ROOT}.lock" GUARD PROCESS TIMEOUT 3600)
tarnwick_build_bundled_sfml("${TARNWICK_SFML_ROOT}")
file(LOCK "${TARNWICK_SFML_ROOT}.lock" RELEASE)

set(SFML_STATIC_LIBRARIES ON)
find_package(SFML 3.1 CONFIG REQUIRED COMPONENTS Graphics Window Audio System
             PATHS "${TARNWICK_SFML_ROOT}/install" NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
