#!/usr/bin/env bash
# Installs the build into a temporary prefix as `cmake --install` does, and
# unpacks the Debian package that `cpack -G DEB` makes of it; from each, the
# installed host runs its screenshot tour in Russian, away from the build
# tree. Fails when a tour fails, when the host takes its plug-in, its
# translations or the Python layer from anywhere but its own tree, or when
# the package lacks its dependencies. Reuses ./build (or BUILD_DIR) as
# scripts/run-tests.sh left it.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}
if [ -f "$BUILD_DIR/build.ninja" ]; then
    cmake --build "$BUILD_DIR" -j"$(nproc)"
else
    BUILD_DIR=$BUILD_DIR scripts/setup.sh -DEDITOR2_WERROR=ON
fi
BUILD_DIR=$(realpath "$BUILD_DIR")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "ci-install: $*" >&2
    exit 1
}

# run_tour <installed usr folder> <name>: the installed host's screenshot run.
run_tour() {
    local usr=$1 name=$2
    local out=$work/$name
    mkdir -p "$out/runtime" "$out/home"
    chmod 700 "$out/runtime"
    if ! (cd "$out" && env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen \
            XDG_RUNTIME_DIR="$out/runtime" HOME="$out/home" \
            timeout 300 "$usr/bin/editor2-host" --screenshots "$out/shots" --lang ru) \
            >"$out/log" 2>&1; then
        cat "$out/log" >&2
        fail "$name: the installed host's screenshot run failed"
    fi
    local shots
    shots=$(find "$out/shots" -name '*.png' | wc -l)
    [ "$shots" -gt 0 ] || fail "$name: no screenshot saved"
    grep -q "^Plug-in: $usr/" "$out/log" ||
        { cat "$out/log" >&2; fail "$name: the plug-in was not found in $usr"; }
    for catalogue in editor2_ru.qm editor2host_ru.qm; do
        grep -q "^Translation: $usr/.*/$catalogue\$" "$out/log" ||
            { cat "$out/log" >&2; fail "$name: $catalogue was not loaded from $usr"; }
    done
    grep -q '^Translation: .*/qtbase_ru.qm$' "$out/log" ||
        fail "$name: Qt's own Russian translation (qttranslations5-l10n) was not loaded"
    local binary layer
    for binary in "$usr/bin/editor2-host" "$usr/lib/qt5/plugins/editor2/libeditor2.so"; do
        layer=$(ldd "$binary" | awk '$1 == "libeditor2python.so" { print $3 }')
        [ -n "$layer" ] && [ "$(realpath "$layer")" = "$usr/lib/editor2/libeditor2python.so" ] ||
            fail "$name: $binary takes the Python layer from '$layer', not from $usr/lib/editor2"
    done
    echo "ci-install: $name: $shots screenshots, plug-in and translations from $usr"
}

echo "== cmake --install into a temporary prefix"
cmake --install "$BUILD_DIR" --prefix "$work/prefix/usr" >/dev/null
run_tour "$work/prefix/usr" prefix

echo "== cpack -G DEB"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD_DIR/CMakeCache.txt")
(cd "$BUILD_DIR" && cpack -G DEB -B "$work/package" >/dev/null)
deb=$work/package/editor2_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no package $(basename "$deb")"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt5widgets5 libpython3; do
    case "$depends" in
        *"$needed"*) ;;
        *) fail "the package does not depend on $needed: $depends" ;;
    esac
done
apt-get install -s "$deb" >/dev/null 2>&1 || fail "the package cannot be installed here"
dpkg-deb -x "$deb" "$work/root"
run_tour "$work/root/usr" package
echo "ci-install: $(basename "$deb") depends on: $depends"
