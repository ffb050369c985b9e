# Shared by the benchmark scripts (sourced, not run).

# best OUTPUT COMMAND...: the best of $BEST_OF (default 3) wall-clock times
# of COMMAND, in seconds, its standard output sent to OUTPUT.
best() {
  local out=$1 bestTime="" start end t
  shift
  for _ in $(seq "${BEST_OF:-3}"); do
    start=$(date +%s.%N)
    "$@" > "$out"
    end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc -l)
    if [ -z "$bestTime" ] || [ "$(echo "$t < $bestTime" | bc -l)" = 1 ]; then bestTime=$t; fi
  done
  echo "$bestTime"
}

# build TARGET: the release build of one program; prints nothing.
build() {
  command -v /usr/bin/time > /dev/null || sh tools/prereqs.sh time
  command -v bc > /dev/null || sh tools/prereqs.sh bc
  cmake --preset release > /dev/null
  cmake --build --preset release --target "$1" > /dev/null
}
