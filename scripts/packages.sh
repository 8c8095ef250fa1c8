# Sourced by the other scripts: installs the Debian packages the build, the tests and the Windows
# build need, when some are missing. apt-get runs through sudo when the script is not run as root;
# nothing else needs root. On a machine without apt (not Debian or Ubuntu) it only says what is
# missing and lets the build try with what is there.

# To build and play: compilers and build tools; X11, OpenGL and udev headers for SFML's window
# module; Mesa's drivers (software rendering on a virtual X server); Xvfb for --xvfb.
TARNWICK_PLAY_PACKAGES="g++ cmake ninja-build pkgconf xz-utils
libx11-dev libxrandr-dev libxcursor-dev libxi-dev libudev-dev libgl-dev libopengl-dev libgl1-mesa-dri
xvfb xauth"
# To test as well: GoogleTest (also its sources, for the Windows build) and Google Benchmark; clang
# and its sanitizer runtimes for fuzzing; key presses and screenshots; the Windows cross compiler
# and Wine.
TARNWICK_TEST_PACKAGES="$TARNWICK_PLAY_PACKAGES
libgtest-dev libgmock-dev googletest libbenchmark-dev
clang libclang-rt-14-dev
xdotool imagemagick procps time
g++-mingw-w64-x86-64-posix wine wine64"

tarnwick_log() { printf '[setup] %s\n' "$*" >&2; }

tarnwick_missing_packages() {
    local package status
    for package in "$@"; do
        status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
        [ "$status" = installed ] || printf '%s ' "$package"
    done
}

# ensure_packages play|test
ensure_packages() {
    local wanted
    case "$1" in
        play) wanted=$TARNWICK_PLAY_PACKAGES ;;
        test) wanted=$TARNWICK_TEST_PACKAGES ;;
        *) tarnwick_log "ensure_packages: play or test"; return 2 ;;
    esac
    if ! command -v dpkg-query >/dev/null 2>&1; then
        tarnwick_log "no dpkg here: install the equivalents of these packages yourself:" $wanted
        return 0
    fi
    local missing
    missing=$(tarnwick_missing_packages $wanted)
    [ -n "$missing" ] || return 0
    local sudo=""
    if [ "$(id -u)" != 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            tarnwick_log "missing packages and no sudo to install them; as root run: apt-get install $missing"
            return 1
        fi
        sudo="sudo"
    fi
    tarnwick_log "installing $missing"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
        $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null ||
        { tarnwick_log "apt-get could not install: $missing"; return 1; }
}
