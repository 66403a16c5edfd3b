#!/usr/bin/env bash
# Fails, naming the files, when a C++ file of the project differs from what
# clang-format makes of it with the project's .clang-format.
#   scripts/check-format.sh          check
#   scripts/check-format.sh --fix    format the files in place
set -euo pipefail
cd "$(dirname "$0")/.."

. scripts/packages.sh
ensure_packages clang-format-14
format=clang-format-14

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
    "$format" -i "${files[@]}"
    exit 0
fi
unformatted=()
for file in "${files[@]}"; do
    "$format" "$file" | cmp -s - "$file" || unformatted+=("$file")
done
if [ "${#unformatted[@]}" -gt 0 ]; then
    echo "Not formatted (scripts/check-format.sh --fix formats them):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
fi
echo "Formatting: ${#files[@]} files as .clang-format says"
