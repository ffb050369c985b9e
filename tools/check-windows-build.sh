#!/bin/sh
# Checks the 32-bit Windows build (the mingw-i686 preset): three PE32 console
# programs that need no mingw DLL, and pelmora.exe with its icon and every
# field of its version resource.
#   tools/check-windows-build.sh [build-dir]   (default build/mingw-i686)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/mingw-i686}
fail() { echo "check-windows-build: $*" >&2; exit 1; }

for exe in pelmora/pelmora.exe klep/klep.exe vusk/vusk.exe; do
  f="$build/$exe"
  [ -f "$f" ] || fail "missing $f"
  file "$f" | grep -q 'PE32 executable (console) Intel 80386' || fail "$f: $(file -b "$f")"
  dlls=$(i686-w64-mingw32-objdump -p "$f" | sed -n 's/^.*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u | tr '\n' ' ')
  for dll in $dlls; do
    case $dll in
      kernel32.dll|msvcrt.dll|user32.dll|advapi32.dll) ;;
      *) fail "$f needs $dll" ;;
    esac
  done
  echo "$exe: PE32 console, DLLs: $dlls"
done

pelmora="$build/pelmora/pelmora.exe"
wrestool -l "$pelmora" | grep -q 'type=group_icon' || fail "pelmora.exe has no icon"
wrestool -l "$pelmora" | grep -q -- '--type=16 --name=1 --language=1033' || fail "no US English version resource"
version=$(mktemp)
trap 'rm -f "$version"' EXIT
wrestool -x --raw --type=16 "$pelmora" > "$version"
strings=$(strings -e l "$version" | tr '\n' '|')
for field in "FileVersion|1.01" "ProductVersion|1.01" "ProductName|pelmora-C" \
             "InternalName|pelmora-C" "OriginalFilename|pelmora.exe" "LegalTrademarks|pelmora" \
             "040904e4" "Translation"; do
  case "|$strings" in
    *"|$field|"*) ;;
    *) fail "version resource lacks $field (has: $strings)" ;;
  esac
done
# The fixed version, 1.0.1.0 for file and product: after the signature and
# the structure's version, file MS and LS, then product MS and LS, each
# 0x00010000 in little-endian order.
od -An -tx1 -v "$version" | tr -d ' \n' | grep -q 'bd04effe0000010000000100000001000000010000000100' \
  || fail "fixed version is not 1.0.1.0"
# The translation: US English (0x0409), code page 1252 (0x04e4).
od -An -tx1 -v "$version" | tr -d ' \n' | tail -c 8 | grep -q '0904e404' || fail "translation is not 0409/1252"
echo "pelmora.exe: icon, version resource 1.01 (1.0.1.0), US English, code page 1252"
