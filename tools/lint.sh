#!/bin/sh
# clang-tidy (the checks of .clang-tidy) over the kit's sources, and a check
# that they follow .clang-format. Exits non-zero on any finding.
#   tools/lint.sh [build-dir]   (a configured build with compile_commands.json,
#                                made with g++ or clang;
#                                default build/release)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/release}
[ -f "$build/compile_commands.json" ] || cmake --preset release >/dev/null
files=$(git ls-files 'pelmora/*.cpp' 'klep/*.cpp' 'vusk/*.cpp' 'tools/*.cpp' 'fuzz/*.cpp' 'tests/*.cpp' |
        grep -v '_win32\.cpp$')
clang-format --dry-run --Werror $(git ls-files '*.cpp' '*.hpp')
# shellcheck disable=SC2086
clang-tidy -p "$build" --quiet --extra-arg=-Wno-unknown-warning-option $files
echo "lint: clean"
