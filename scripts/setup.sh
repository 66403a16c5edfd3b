#!/usr/bin/env bash
# Installs what the build needs (Debian packages, when run as root), then
# configures and builds the project into ./build (or the folder in BUILD_DIR),
# with warnings as errors.
#   scripts/setup.sh [extra cmake arguments...]
set -euo pipefail

cd "$(dirname "$0")/.."

PACKAGES=(
    cmake ninja-build g++ pkg-config
    qtbase5-dev qtbase5-private-dev qttools5-dev qttools5-dev-tools
    libqt5sql5-sqlite libsqlite3-dev
    python3-dev pybind11-dev
    fonts-dejavu-core
    qttranslations5-l10n dpkg-dev file help2man
)

. scripts/packages.sh
ensure_packages "${PACKAGES[@]}"

[ "${EDITOR2_SETUP_PACKAGES_ONLY:-0}" = 1 ] && exit 0
BUILD_DIR=${BUILD_DIR:-build}
# Debian's CPython, not one that happens to be first on PATH. Warnings are
# errors in every build the scripts make: the README's two commands share one
# configuration of ./build, so the second builds nothing the first has built.
cmake -S . -B "$BUILD_DIR" -G Ninja -DPython3_EXECUTABLE=/usr/bin/python3 -DEDITOR2_WERROR=ON \
    "$@" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
