#!/bin/bash
# pelmora against its peers, on a CP932 text it generates (mixed Japanese and
# ASCII, CR LF line ends):
#   - iconv -f CP932 -t UTF-8 on the same file (target: pelmora 5x as fast);
#   - a plain block read and write of the same file with dd (the I/O limit;
#     target: pelmora within 1.5x of it);
#   - pelmora's peak resident memory (target: under 32 MiB).
#   bench/pelmora.sh [MiB]     (default 256; run on demand, not by the tests)
set -euo pipefail
cd "$(dirname "$0")/.."
mib=${1:-256}
. bench/common.sh
build pelmora
pelmora=$PWD/build/release/pelmora/pelmora

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp pelmora/conversionTable.bin "$work/"

# The text: the sample, a paragraph of ASCII and one of kanji-heavy
# Japanese, repeated until it is large enough.
{
  cat examples/sample-sjis.txt
  printf 'The quick brown fox jumps over the lazy dog, 0123456789 times.\r\n'
  printf '東京都千代田区の天気は晴れ、最高気温は二十五度の予報です。\r\n' | iconv -f UTF-8 -t CP932
  printf 'ID,名前,数量\r\n1,ﾃｽﾄ,42\r\n' | iconv -f UTF-8 -t CP932
} > "$work/in.txt"
while [ "$(stat -c %s "$work/in.txt")" -lt $((mib << 20)) ]; do
  cat "$work/in.txt" "$work/in.txt" > "$work/in2.txt"
  mv "$work/in2.txt" "$work/in.txt"
done
size=$(stat -c %s "$work/in.txt")
echo "input: $((size >> 20)) MiB of CP932 text with CR LF"


cd "$work"
cat in.txt > /dev/null  # warm the cache
t_pelmora=$(best /dev/null "$pelmora" -LF in.txt out.txt 2>/dev/null)
t_iconv=$(best iconv.txt iconv -f CP932 -t UTF-8 in.txt)
t_dd=$(best /dev/null dd if=in.txt of=copy.txt bs=1M status=none)
rss=$(/usr/bin/time -f %M "$pelmora" -LF in.txt out.txt 2>&1 >/dev/null | tail -1)

# Both conversions must agree where iconv has an answer: LF mode drops CRs.
tr -d '\r' < iconv.txt | cmp -s - out.txt && same=yes || same=no

printf 'pelmora    %6.3f s\n' "$t_pelmora"
printf 'iconv      %6.3f s   pelmora is %.2fx as fast (target >= 5)\n' "$t_iconv" "$(echo "$t_iconv / $t_pelmora" | bc -l)"
printf 'dd bs=1M   %6.3f s   pelmora takes %.2fx its time (target <= 1.5)\n' "$t_dd" "$(echo "$t_pelmora / $t_dd" | bc -l)"
printf 'peak RSS   %6.1f MiB (target < 32)\n' "$(echo "$rss / 1024" | bc -l)"
echo "output identical to iconv's (CRs dropped): $same"
