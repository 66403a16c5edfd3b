#!/usr/bin/env bash
# Sets everything up and runs the reference host with the plug-in.
# Without a display it runs offscreen, saves a screenshot of every dialog into
# ./screenshots (or the folder given as the first argument) and exits.
set -euo pipefail

cd "$(dirname "$0")/.."
scripts/setup.sh

BUILD_DIR=${BUILD_DIR:-build}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    shots=$(realpath -m "${1:-screenshots}")
    export QT_QPA_PLATFORM=offscreen
    export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
    exec "$BUILD_DIR/bin/editor2-host" --screenshots "$shots"
fi
exec "$BUILD_DIR/bin/editor2-host" "$@"
