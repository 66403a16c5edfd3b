#!/usr/bin/env bash
# Sets everything up, builds with warnings as errors and runs every test.
set -euo pipefail

cd "$(dirname "$0")/.."
scripts/setup.sh -DEDITOR2_WERROR=ON

BUILD_DIR=${BUILD_DIR:-build}
ctest --test-dir "$BUILD_DIR" --output-on-failure -j2
