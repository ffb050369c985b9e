#!/bin/sh
# Makes sure what the kit's build needs is here: cmake, g++, make and
# GoogleTest's sources. As root, missing packages are installed with apt-get;
# otherwise the apt-get line to run is printed and the script fails.
#   tools/prereqs.sh [extra-package...]
set -eu

missing=""
need() { # need PACKAGE TEST...
  pkg=$1; shift
  if ! "$@" >/dev/null 2>&1; then missing="$missing $pkg"; fi
}
need cmake command -v cmake
need g++ command -v g++
need make command -v make
need googletest test -f /usr/src/googletest/CMakeLists.txt
for pkg in "$@"; do
  need "$pkg" dpkg -s "$pkg"
done

if [ -n "$missing" ]; then
  if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null 2>&1; then
    echo "installing:$missing"
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
  else
    echo "missing:$missing" >&2
    echo "run as root:  apt-get update && apt-get install -y$missing" >&2
    exit 1
  fi
fi
