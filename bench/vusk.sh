#!/bin/bash
# vusk against xxd on a whole 64 MiB dump (target: vusk at least 4x as fast
# as xxd -p -c 20), and five lines of a 4 GiB file (target: under 20 ms and
# under 8 MiB of resident memory).
#   bench/vusk.sh     (run on demand)
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/common.sh
command -v xxd >/dev/null || sh tools/prereqs.sh xxd
build vusk
vusk=$PWD/build/release/vusk/vusk

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# 64 MiB of text lines
for ((i = 0; i < 2000; i++)); do echo "line $i: the quick brown fox jumps over the lazy dog"; done > seed.txt
while [ "$(stat -c %s seed.txt)" -lt $((64 << 20)) ]; do cat seed.txt seed.txt > s2 && mv s2 seed.txt; done
head -c $((64 << 20)) seed.txt > in.txt
# 4 GiB, sparse, five short lines first
printf '1\n2\n3\n4\n5\n6\n' > huge.bin
truncate -s 4G huge.bin

cat in.txt > /dev/null
t_vusk=$(best out.txt "$vusk" -m2147483647 in.txt)
t_xxd=$(best xxd.txt xxd -p -c 20 in.txt)
t_five=$(best five.txt "$vusk" huge.bin)
t_true=$(best /dev/null /bin/true)  # what starting any program costs here
rss=$(/usr/bin/time -f %M "$vusk" huge.bin 2>&1 >/dev/null | tail -1)

printf 'whole dump of 64 MiB:  vusk %6.3f s, xxd -p -c 20 %6.3f s: vusk is %.2fx as fast (target >= 4)\n' \
  "$t_vusk" "$t_xxd" "$(echo "$t_xxd / $t_vusk" | bc -l)"
printf 'five lines of 4 GiB:   %6.1f ms (target < 20; /bin/true takes %.1f ms), peak RSS %.1f MiB (target < 8)\n' \
  "$(echo "$t_five * 1000" | bc -l)" "$(echo "$t_true * 1000" | bc -l)" "$(echo "$rss / 1024" | bc -l)"
echo "five lines shown: $(cat five.txt)"
