#!/usr/bin/env bash
# Installs the build into a temporary prefix as `cmake --install` does, and
# unpacks the Debian package that `cpack -G DEB` makes of it; from each, the
# installed host answers --help and --version and runs its screenshot tour in
# Russian, without a display and away from the build tree. Fails when one of
# them fails, when the host takes its plug-in, its translations or the Python
# layer from anywhere but its own tree, when the desktop entries or the
# AppStream description do not validate, when the INI editor is not offered
# for INI files, when the package lacks its dependencies, or when lintian
# reports an error or a warning that is not listed below as deliberate.
# Reuses ./build (or BUILD_DIR) as scripts/run-tests.sh left it.
set -euo pipefail
cd "$(dirname "$0")/.."

# lintian tags (errors or warnings) accepted on purpose, one a line with its
# reason beside it:  some-tag  # why the package is right as it is
# None at present.
DELIBERATE_LINTIAN_TAGS=(
)

. scripts/packages.sh
ensure_packages lintian desktop-file-utils appstream shared-mime-info

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
    # Without a display the host answers --help and --version, and chooses
    # the offscreen platform itself for its screenshots.
    local option
    for option in --help --version; do
        env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/editor2-host" "$option" \
            >"$out/answer" 2>&1 && grep -qE -- '--screenshots|^editor2-host [0-9]' "$out/answer" ||
            { cat "$out/answer" >&2; fail "$name: editor2-host $option fails without a display"; }
    done
    if ! (cd "$out" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
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

# check_desktop <installed usr folder> <name>: the menu entries and the
# AppStream description validate, and a file manager would offer the INI
# editor for an INI file (the MIME type and the desktop database built as
# the system's triggers build them).
check_desktop() {
    local usr=$1 name=$2
    local data=$work/$name/data
    desktop-file-validate "$usr"/share/applications/*.desktop ||
        fail "$name: a desktop entry does not validate"
    appstreamcli validate --no-net "$usr"/share/metainfo/*.metainfo.xml >/dev/null ||
        { appstreamcli validate --no-net "$usr"/share/metainfo/*.metainfo.xml >&2;
          fail "$name: the AppStream description does not validate"; }
    mkdir -p "$data"
    cp -r "$usr/share/applications" "$usr/share/mime" "$data/"
    update-desktop-database "$data/applications"
    XDG_DATA_DIRS=$data update-mime-database "$data/mime"
    grep -q '^text/x-ini=.*editor2-ini-editor.desktop' "$data/applications/mimeinfo.cache" ||
        fail "$name: the INI editor is not offered for text/x-ini"
    grep -q '^text/x-ini:\*\.ini$' "$data/mime/globs" ||
        fail "$name: *.ini files are not text/x-ini"
    for file in share/man/man1/editor2-host.1.gz share/doc/editor2/copyright \
        share/doc/editor2/changelog.gz share/icons/hicolor/scalable/apps/editor2-host.svg \
        share/icons/hicolor/48x48/apps/editor2-host.png; do
        [ -f "$usr/$file" ] || fail "$name: no $file"
    done
}

echo "== cmake --install into a temporary prefix"
cmake --install "$BUILD_DIR" --prefix "$work/prefix/usr" >/dev/null
check_desktop "$work/prefix/usr" prefix
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
check_desktop "$work/root/usr" package
run_tour "$work/root/usr" package
echo "ci-install: $(basename "$deb") depends on: $depends"

echo "== lintian"
# As root lintian says it should not run as root and checks all the same.
lintian --tag-display-limit 0 --fail-on none "$deb" >"$work/lintian" 2>"$work/lintian.err" ||
    { cat "$work/lintian.err" >&2; fail "lintian did not run"; }
findings=$(grep -E '^[EW]: ' "$work/lintian" || true)
for tag in "${DELIBERATE_LINTIAN_TAGS[@]}"; do
    findings=$(grep -v -E "^[EW]: [^ ]+ $tag( |$)" <<<"$findings" || true)
done
if [ -n "$findings" ]; then
    cat "$work/lintian" >&2
    fail "lintian reports errors or warnings not noted as deliberate"
fi
echo "ci-install: lintian: no error and no warning (${#DELIBERATE_LINTIAN_TAGS[@]} tags excepted as deliberate)"
