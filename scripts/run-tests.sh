#!/usr/bin/env bash
# Sets everything up, builds with warnings as errors and runs every test.
#   scripts/run-tests.sh              the ordinary build, in ./build
#   scripts/run-tests.sh --sanitize   with AddressSanitizer and UndefinedBehaviorSanitizer, in ./build-asan
set -euo pipefail

cd "$(dirname "$0")/.."

options=()
if [ "${1:-}" = "--sanitize" ]; then
    export BUILD_DIR=${BUILD_DIR:-build-asan}
    options+=(-DEDITOR2_SANITIZE=ON -DEDITOR2_BUILD_BENCH=OFF)
fi
BUILD_DIR=${BUILD_DIR:-build}
export BUILD_DIR

scripts/setup.sh "${options[@]}"
ctest --test-dir "$BUILD_DIR" --output-on-failure -j2
