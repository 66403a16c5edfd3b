#!/usr/bin/env bash
# Builds the plug-in against the real PythonQt and runs its tests there.
#
# PythonQt is not packaged by Debian; its source is expected in ../shared/pythonqt
# (beside the repository, read-only). It is built out of source into
# build-pythonqt/pythonqt (skipped when its library is already there), then the
# project is configured with -DEDITOR2_WITH_PYTHONQT=ON into build-pythonqt/editor2
# and every test is run except those of the project's own Python layer, which
# that configuration leaves out. Without the source the step says so and succeeds.
#   scripts/ci-pythonqt.sh        (PYTHONQT_SOURCE_DIR and PYTHONQT_BUILD_DIR override the folders)
set -euo pipefail

cd "$(dirname "$0")/.."

source_dir=${PYTHONQT_SOURCE_DIR:-../shared/pythonqt}
if [ ! -f "$source_dir/src/src.pro" ]; then
    echo "ci-pythonqt: no PythonQt source in $source_dir; the build against PythonQt is skipped."
    exit 0
fi
source_dir=$(cd "$source_dir" && pwd)

# The packages, qtbase5-private-dev for PythonQt among them.
EDITOR2_SETUP_PACKAGES_ONLY=1 scripts/setup.sh

build_root=${PYTHONQT_BUILD_DIR:-build-pythonqt}
mkdir -p "$build_root"
build_root=$(cd "$build_root" && pwd)
jobs=$(nproc)
started=$SECONDS

# Debian's CPython, not one that happens to be first on PATH.
python_version=$(/usr/bin/python3 -c 'import sys; print("%d.%d" % sys.version_info[:2])')
library="$build_root/pythonqt/lib/libPythonQt-Qt5-Python$python_version.so"
if [ -f "$library" ]; then
    echo "ci-pythonqt: PythonQt already built: $library"
else
    echo "ci-pythonqt: building PythonQt from $source_dir (a few minutes)"
    compiler=()
    if command -v ccache >/dev/null; then
        compiler=("QMAKE_CXX=ccache g++" "QMAKE_LINK=g++" "QMAKE_LINK_SHLIB=g++")
    fi
    mkdir -p "$build_root/pythonqt/build"
    (
        cd "$build_root/pythonqt/build"
        PYTHON_VERSION=$python_version /usr/lib/qt5/bin/qmake "PKGCONFIG+=python3-embed" \
            "${compiler[@]}" "$source_dir/src/src.pro" >/dev/null
        # PythonQt's own warnings are upstream's business: the log is shown only on failure.
        if ! make -j"$jobs" >make.log 2>&1; then
            tail -n 60 make.log >&2
            echo "ci-pythonqt: PythonQt failed to build; see $PWD/make.log" >&2
            exit 1
        fi
    )
    [ -f "$library" ] || { echo "ci-pythonqt: PythonQt did not build $library" >&2; exit 1; }
    echo "ci-pythonqt: PythonQt built in $((SECONDS - started)) s"
fi

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
BUILD_DIR="$build_root/editor2" scripts/setup.sh \
    -DEDITOR2_WERROR=ON \
    -DEDITOR2_BUILD_BENCH=OFF \
    -DEDITOR2_WITH_PYTHONQT=ON \
    -DPYTHONQT_INCLUDE_DIR="$source_dir/src" \
    -DPYTHONQT_LIBRARY="$library" \
    "${launcher[@]}"
ctest --test-dir "$build_root/editor2" --output-on-failure -j"$jobs"
echo "ci-pythonqt: done in $((SECONDS - started)) s"
