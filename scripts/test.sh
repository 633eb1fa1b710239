#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the fuzz targets,
# the threaded tests under ThreadSanitizer, the whole suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the plain build last.
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
build_tree build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DWORDRAIL_FUZZ=ON -DWORDRAIL_TESTS=OFF -- fuzz_targets
ctest --test-dir build-fuzz -j"$jobs" --output-on-failure

echo "== ThreadSanitizer (the layers that run threads)"
build_tree build-tsan -DWORDRAIL_SANITIZE=thread -- test_platform test_foundation
ctest --test-dir build-tsan -j"$jobs" --output-on-failure -L "^(platform|foundation)$"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
build_tree build-asan -DWORDRAIL_SANITIZE=address,undefined
ctest --test-dir build-asan -j"$jobs" --output-on-failure

echo "== plain build"
build_tree build
ctest --test-dir build -j"$jobs" --output-on-failure
