# Sourced by scripts that build or run the sanitizer builds (build-asan, build-fuzz): points the
# AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer runtimes at the option files in
# sanitizers/. Every report stops the program with exit status 23 (halt_on_error), so a test, the
# build's test discovery or a fuzzing run fails on it; third-party leaks listed in
# sanitizers/lsan.supp (with the reason for each) are ignored.
#
#   source scripts/sanitizer-env.sh
#   cmake --preset asan && cmake --build build-asan && scripts/xvfb ctest --test-dir build-asan
#
# Set the variables for the build as well as for the tests: gtest_discover_tests runs each test
# executable at build time to list its tests, and the synthesizer runs then too.
tarnwick_sanitizers="$(cd "$(dirname "${BASH_SOURCE[0]}")/../sanitizers" && pwd)"
export ASAN_OPTIONS="include=$tarnwick_sanitizers/asan.options"
export LSAN_OPTIONS="include=$tarnwick_sanitizers/lsan.options:suppressions=$tarnwick_sanitizers/lsan.supp"
export UBSAN_OPTIONS="include=$tarnwick_sanitizers/ubsan.options"
unset tarnwick_sanitizers
