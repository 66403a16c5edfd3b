#!/usr/bin/env bash
# CI's fuzz check: installs clang 14 and its libFuzzer and sanitizer runtimes
# when missing (as root, like scripts/setup.sh), builds every fuzz target of
# tests/fuzz in ./build-fuzz and runs each for FUZZ_SECONDS (20) seconds from
# its seed corpus. Fails on the first finding. The mutations start from a fixed
# seed (FUZZ_SEED), so CI tries the same inputs on every run and its verdict
# does not depend on luck; the long runs by hand (scripts/fuzz.sh) look for
# new findings with a fresh seed each time.
set -euo pipefail

cd "$(dirname "$0")/.."

PACKAGES=(clang-14 libclang-rt-14-dev cmake ninja-build qtbase5-dev)

. scripts/packages.sh
ensure_packages "${PACKAGES[@]}"

BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}
cmake -S tests/fuzz -B "$BUILD_DIR" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"

seconds=${FUZZ_SECONDS:-20}
seed=${FUZZ_SEED:-1}
for source in tests/fuzz/fuzz_*.cpp; do
    target=$(basename "$source" .cpp)
    target=${target#fuzz_}
    log="$BUILD_DIR/fuzz_$target.log"
    if FUZZ_BUILD_DIR="$BUILD_DIR" scripts/fuzz.sh "$target" "$seconds" -seed="$seed" >"$log" 2>&1; then
        echo "fuzz_$target: $(grep -E '^Done [0-9]+ runs' "$log" | tail -n 1)"
    else
        tail -n 40 "$log" >&2
        echo "fuzz_$target: FAILED, see $log and $BUILD_DIR/findings/$target/" >&2
        exit 1
    fi
done
