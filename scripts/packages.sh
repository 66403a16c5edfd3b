# Sourced by the set-up scripts: ensure_packages NAME... installs the Debian
# packages that are missing when run as root, and otherwise names them and
# fails.
ensure_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
    done
    [ "${#missing[@]}" -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
    else
        echo "Missing Debian packages: ${missing[*]}" >&2
        echo "Run this script as root, or install them with: sudo apt-get install ${missing[*]}" >&2
        return 1
    fi
}
