#!/bin/bash
# klep -x against one find pass with the same fifteen patterns and size test,
# on a directory of 100,000 small files whose names hit and miss the
# built-in patterns (target: klep at least 1.5x as fast, the same names).
#   bench/klep.sh [files]     (default 100000; run on demand)
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-100000}
. bench/common.sh
build klep
klep=$PWD/build/release/klep/klep

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
names=(CCC DIR LS_ FNL x err pic tru see tab tab unq und who who
       cc dirx ls FNLx y erx pix trux sea taa tac unr unc whx wha)
exts=(txt bat bat txt tmp txt txt txt txt csv txt txt bin csv txt
      txt bat bat txt tmpl txt txt txt txt csv txt txt bin csv txt)
for ((i = 0; i < count; i++)); do
  k=$((i % 30))
  # a third of the files are 64 bytes or more, so the size test matters
  if ((i % 3 == 0)); then body=$(printf '%070d' 0); else body=small; fi
  printf '%s' "$body" > "${names[k]}$i.${exts[k]}"
done

findPass() {
  find . -maxdepth 1 -type f \( -iname 'CCC*.txt' -o -iname 'DIR*.bat' -o -iname 'LS_*.bat' \
    -o -iname 'FNL*.txt' -o -iname '*.tmp' -o -iname 'err*.txt' -o -iname 'pic*.txt' \
    -o -iname 'tru*.txt' -o -iname 'see*.txt' -o -iname 'tab*.csv' -o -iname 'tab*.txt' \
    -o -iname 'unq*.txt' -o -iname 'und*.bin' -o -iname 'who*.csv' -o -iname 'who*.txt' \) -size -64c
}

export BEST_OF=5
t_klep=$(best /dev/null "$klep" -x)
t_find=$(best /dev/null findPass)
rss=$(/usr/bin/time -f %M "$klep" -x 2>&1 | tail -1)
tr -d '\r' < remove_e.txt | sort > klep.names
findPass | sed 's|^\./||' | sort > find.names
cmp -s klep.names find.names && same=yes || same=no

echo "directory: $count files, $(wc -l < klep.names) listed"
printf 'klep -x   %6.3f s\n' "$t_klep"
printf 'find      %6.3f s   klep is %.2fx as fast (target >= 1.5)\n' "$t_find" "$(echo "$t_find / $t_klep" | bc -l)"
printf 'peak RSS  %6.1f MiB\n' "$(echo "$rss / 1024" | bc -l)"
echo "same names as find: $same"
