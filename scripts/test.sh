#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the fuzz targets,
# the threaded tests under ThreadSanitizer, the media tests built without
# optimisation (the raster rows' vector code must hold there too), the suite
# under AddressSanitizer and UndefinedBehaviorSanitizer (but for two long runs
# the plain build makes), and the plain build last. Each stage sets every
# option it relies on, so a build folder left from another configuration
# cannot change what it tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
source scripts/common.sh

# Tests never open a real window or audio device.
export WORDRAIL_BACKEND=headless SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
jobs=$(nproc)

# Every stage sets each option it relies on, so a folder configured before
# (by scripts/play.sh, say) cannot switch its tests off or keep stale ones,
# and a stage that finds no tests fails.
# Line tables are all a sanitizer report or a crash's stack needs; full debug
# information would make every compile and link markedly slower.
optimised_flags="-O2 -g1 -DNDEBUG"
stage_options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DWORDRAIL_BENCH=OFF
               "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=$optimised_flags" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=$optimised_flags")
test_options=("${stage_options[@]}" -DWORDRAIL_TESTS=ON -DWORDRAIL_FUZZ=OFF)
# usage: run_tests <folder> [ctest options...]; an option given here wins over
# the default before it.
run_tests() {
  local dir=$1; shift
  ctest --test-dir "$dir" -j"$jobs" --output-on-failure --no-tests=error "$@"
}

echo "== fuzz targets"
build_tree build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${stage_options[@]}" \
  -DWORDRAIL_FUZZ=ON -DWORDRAIL_TESTS=OFF -DWORDRAIL_SANITIZE= -- fuzz_targets
# Each fuzzer runs for a fixed time whatever CPU it gets, so all run at once:
# a second round would double the stage's time for little more fuzzing.
fuzz_targets=$(find fuzz -name '*.cpp' | wc -l)
run_tests build-fuzz -j"$(( fuzz_targets > jobs ? fuzz_targets : jobs ))"

echo "== ThreadSanitizer (the layers that run threads)"
build_tree build-tsan "${test_options[@]}" -DWORDRAIL_SANITIZE=thread -- test_platform test_foundation
run_tests build-tsan -L "^(platform|foundation)$"

echo "== Debug build of the media tests (no optimisation)"
build_tree build-debug "${test_options[@]}" -DCMAKE_BUILD_TYPE=Debug -DWORDRAIL_SANITIZE= -- test_media
run_tests build-debug -L "^media$"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
build_tree build-asan "${test_options[@]}" -DWORDRAIL_SANITIZE=address,undefined
# A reproducibility test repeats a whole generator run only to compare bytes;
# the build's own generator run is already checked here, and the plain stage
# compares the bytes. The play-through, four whole runs of the program, would
# alone set this stage's length (over three minutes under the sanitizers); it
# runs in the plain stage, and the program's other scripted runs stay here.
run_tests build-asan -LE "^reproducibility$" -E "^ScriptedRunTest\.AGamePlayedFromTheFirstStartGoesOnAfterARestart$"

echo "== plain build"
build_tree build "${test_options[@]}" -DWORDRAIL_SANITIZE=
run_tests build

echo "== the program in a real window (Xvfb, xdotool, openbox)"
bash scripts/window-test.sh build
