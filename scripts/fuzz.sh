#!/usr/bin/env bash
# Builds one fuzz target in ./build-fuzz (clang with libFuzzer, address and
# undefined sanitizers) and runs it for SECONDS (default 600), starting from
# its seed corpus in tests/fuzz/corpus/TARGET. New inputs go to
# build-fuzz/corpus/TARGET, a finding to build-fuzz/findings/TARGET/; the
# script then fails. Further arguments go to libFuzzer.
#   scripts/fuzz.sh TARGET [SECONDS] [libFuzzer options...]
#   scripts/fuzz.sh pointtext 1800
set -euo pipefail

cd "$(dirname "$0")/.."

if [ $# -lt 1 ]; then
    echo "usage: $0 TARGET [SECONDS] [libFuzzer options...]" >&2
    targets=$(cd tests/fuzz && ls fuzz_*.cpp | sed 's/^fuzz_//; s/\.cpp$//' | tr '\n' ' ')
    echo "targets: $targets" >&2
    exit 2
fi
target=${1#fuzz_}
seconds=${2:-600}
shift $(( $# < 2 ? $# : 2 ))

if [ ! -f "tests/fuzz/fuzz_$target.cpp" ]; then
    echo "no fuzz target '$target' in tests/fuzz" >&2
    exit 2
fi

BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}
CXX_FUZZ=${CXX_FUZZ:-clang++-14}
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S tests/fuzz -B "$BUILD_DIR" -G Ninja -DCMAKE_CXX_COMPILER="$CXX_FUZZ" >/dev/null
fi
cmake --build "$BUILD_DIR" --target "fuzz_$target" -j"${FUZZ_JOBS:-2}"

corpus="$BUILD_DIR/corpus/$target"
findings="$BUILD_DIR/findings/$target"
seeds="tests/fuzz/corpus/$target"
mkdir -p "$corpus" "$findings"

options=(-max_total_time="$seconds" -timeout=10 -artifact_prefix="$findings/" -print_final_stats=1)
if [ -f "tests/fuzz/$target.dict" ]; then
    options+=(-dict="tests/fuzz/$target.dict")
fi
# A target's own libFuzzer options, one a line; "#" starts a comment.
if [ -f "tests/fuzz/$target.options" ]; then
    while read -r option; do
        option=${option%%#*}
        option=${option//[[:space:]]/}
        [ -n "$option" ] && options+=("$option")
    done <"tests/fuzz/$target.options"
fi

# File names are UTF-8 whatever the caller's locale says. The settings
# targets write files for every input: in memory when possible.
export LC_ALL=C.UTF-8
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

status=0
"$BUILD_DIR/bin/fuzz_$target" "${options[@]}" "$@" "$corpus" "$seeds" || status=$?
if [ "$status" -ne 0 ]; then
    echo "fuzz_$target: finding (exit $status); inputs in $findings/" >&2
fi
exit "$status"
