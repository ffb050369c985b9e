#!/bin/sh
# Builds the whole kit and runs every test. Under CI (CI=true) warnings are
# errors.
set -eu
cd "$(dirname "$0")/.."
sh tools/prereqs.sh
preset=release
if [ "${CI:-}" = true ]; then preset=ci; fi
cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset"
