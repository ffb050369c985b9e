#!/bin/sh
# Builds pelmora and converts examples/sample-sjis.txt (Shift_JIS, CR LF)
# with the bundled table, then shows the UTF-8 result.
set -eu
cd "$(dirname "$0")/.."
sh tools/prereqs.sh
cmake --preset release >/dev/null
cmake --build --preset release --target pelmora >/dev/null
work=build/release/try
mkdir -p "$work"
cp pelmora/conversionTable.bin "$work/"
# The table is taken from the current directory when none is installed; the
# loader then says it missed the fixed location, which is expected here.
(cd "$work" && ../pelmora/pelmora -LF ../../../examples/sample-sjis.txt sample-utf8.txt)
echo "--- $work/sample-utf8.txt:"
cat "$work/sample-utf8.txt"
