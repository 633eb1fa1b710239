#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the fuzz targets,
# the threaded tests under ThreadSanitizer, the media tests built without
# optimisation (the raster rows' vector code must hold there too), the whole
# suite under AddressSanitizer and UndefinedBehaviorSanitizer, and the plain
# build last. Each stage sets every option it relies on, so a build folder
# left from another configuration cannot change what it tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
source scripts/common.sh

# Tests never open a real window or audio device.
export WORDRAIL_BACKEND=headless SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
jobs=$(nproc)

echo "== fuzz targets"
build_tree build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DWORDRAIL_SANITIZE= -DWORDRAIL_FUZZ=ON -DWORDRAIL_TESTS=OFF -DWORDRAIL_BENCH=OFF -- fuzz_targets
ctest --test-dir build-fuzz -j"$jobs" --output-on-failure --no-tests=error

echo "== ThreadSanitizer (the layers that run threads)"
build_tree build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWORDRAIL_SANITIZE=thread -DWORDRAIL_FUZZ=OFF \
  -DWORDRAIL_TESTS=ON -DWORDRAIL_BENCH=OFF -- test_platform test_foundation
ctest --test-dir build-tsan -j"$jobs" --output-on-failure --no-tests=error -L "^(platform|foundation)$"

echo "== Debug build of the media tests (no optimisation)"
build_tree build-debug -DCMAKE_BUILD_TYPE=Debug -DWORDRAIL_SANITIZE= -DWORDRAIL_FUZZ=OFF \
  -DWORDRAIL_TESTS=ON -DWORDRAIL_BENCH=OFF -- test_media
ctest --test-dir build-debug -j"$jobs" --output-on-failure --no-tests=error -L "^media$"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
build_tree build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWORDRAIL_SANITIZE=address,undefined \
  -DWORDRAIL_FUZZ=OFF -DWORDRAIL_TESTS=ON -DWORDRAIL_BENCH=OFF
ctest --test-dir build-asan -j"$jobs" --output-on-failure --no-tests=error

echo "== plain build"
build_tree build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWORDRAIL_SANITIZE= -DWORDRAIL_FUZZ=OFF \
  -DWORDRAIL_TESTS=ON -DWORDRAIL_BENCH=OFF
ctest --test-dir build -j"$jobs" --output-on-failure --no-tests=error
