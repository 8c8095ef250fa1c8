# Sourced by the other scripts: finds or makes a toolchain with SFML 3 and runs commands in it.
#
# Where SFML 3, GoogleTest and Xvfb are installed natively, commands run directly. Otherwise a
# Debian testing root is created once with mmdebstrap (Debian 12 ships only SFML 2.5), kept in
# $TARNWICK_ROOT (default: ~/.cache/tarnwick/root), rebuilt when PACKAGES below changes, and
# every command runs inside it in a private mount namespace, so nothing stays mounted.

# Everything the build, the tests, the fuzzer and the benchmark need inside the root.
PACKAGES="g++ cmake ninja-build pkgconf git libsfml-dev libgtest-dev libgmock-dev libbenchmark-dev
clang libclang-rt-dev xvfb xauth xdotool x11-apps imagemagick procps
fonts-dejavu-core fonts-inconsolata"

TARNWICK_ROOT="${TARNWICK_ROOT:-${XDG_CACHE_HOME:-${HOME:-/root}/.cache}/tarnwick/root}"
CHECKOUT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

log() { printf '[toolchain] %s\n' "$*" >&2; }

# True when this machine can build and test without the root.
have_native_toolchain() {
    [ -z "${TARNWICK_FORCE_ROOT:-}" ] || return 1
    command -v pkg-config >/dev/null 2>&1 || return 1
    case "$(pkg-config --modversion sfml-graphics 2>/dev/null)" in 3.*) ;; *) return 1 ;; esac
    command -v cmake >/dev/null 2>&1 && command -v Xvfb >/dev/null 2>&1 &&
        command -v xdotool >/dev/null 2>&1 && [ -e /usr/include/gtest/gtest.h ]
}

packages_stamp() { echo $PACKAGES | tr ' ' '\n' | sort | tr '\n' ' '; }

root_is_current() {
    [ -f "$TARNWICK_ROOT/.tarnwick-packages" ] &&
        [ "$(cat "$TARNWICK_ROOT/.tarnwick-packages")" = "$(packages_stamp)" ]
}

# Creates (or re-creates) the root. Serialised with a lock so parallel runs wait for one build.
ensure_root() {
    mkdir -p "$(dirname "$TARNWICK_ROOT")"
    exec 9>"$TARNWICK_ROOT.lock"
    flock 9
    if ! root_is_current; then
        if [ "$(id -u)" != 0 ]; then
            log "creating the toolchain root needs root (run with sudo)"; return 1
        fi
        if ! command -v mmdebstrap >/dev/null 2>&1; then
            log "installing mmdebstrap"
            apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq mmdebstrap >/dev/null ||
                { log "could not install mmdebstrap"; return 1; }
        fi
        log "creating the toolchain root in $TARNWICK_ROOT (a few minutes, about 1.5 GB)"
        local fresh="$TARNWICK_ROOT.new"
        rm -rf "$fresh"
        if ! mmdebstrap --variant=apt --aptopt='Acquire::Check-Valid-Until "false"' \
                --include="$(echo $PACKAGES | tr ' ' ',')" forky "$fresh" >"$TARNWICK_ROOT.build-log" 2>&1; then
            log "mmdebstrap failed; see $TARNWICK_ROOT.build-log"; tail -n 20 "$TARNWICK_ROOT.build-log" >&2
            rm -rf "$fresh"; return 1
        fi
        packages_stamp >"$fresh/.tarnwick-packages"
        rm -rf "$TARNWICK_ROOT"
        mv "$fresh" "$TARNWICK_ROOT"
        log "toolchain root ready"
    fi
    exec 9>&-
}

# Runs "$@" with the checkout as working directory, natively or inside the root. The checkout is
# mounted at the same path inside the root, so build directories work from both sides.
in_toolchain() {
    if have_native_toolchain; then
        (cd "$CHECKOUT" && "$@")
        return
    fi
    ensure_root || return 1
    local q; q=$(printf '%q ' "$@")
    unshare -m --propagation private bash -c '
        set -e
        root=$1; checkout=$2; cmd=$3
        mount --bind /proc "$root/proc"
        mount --bind /dev "$root/dev"
        mount -t tmpfs tmpfs "$root/tmp"
        mount -t tmpfs tmpfs "$root/dev/shm" 2>/dev/null || true
        mkdir -p "$root$checkout"
        mount --bind "$checkout" "$root$checkout"
        cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
        if [ -d /tmp/.X11-unix ] && [ -n "${DISPLAY:-}" ]; then
            mkdir -p "$root/tmp/.X11-unix"; mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
        fi
        exec chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/bin:/usr/bin:/bin \
            LANG=C.UTF-8 DISPLAY="${DISPLAY:-}" CI="${CI:-}" TERM="${TERM:-dumb}" \
            TARNWICK_SOAK_STEPS="${TARNWICK_SOAK_STEPS:-}" \
            bash -c "cd \"\$0\" && $cmd" "$checkout"
    ' tarnwick-root "$TARNWICK_ROOT" "$CHECKOUT" "$q"
}
