#!/usr/bin/env bash
# Start-up of the window, offscreen: runs henkan 10 times up to its first shown window and
# prints the median of the time from main() to that window and of the whole run (process
# start to exit), in milliseconds.
#   bench/window/startup.sh [path/to/henkan]     (default: build/bin/henkan)
set -euo pipefail
henkan=${1:-$(dirname "$0")/../../build/bin/henkan}
runs=10
export QT_QPA_PLATFORM=offscreen QDVZ_EXIT_AFTER_SHOW=1
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.1f\n", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

shown=() whole=()
"$henkan" >/dev/null  # warm the file cache
for ((i = 0; i < runs; i++)); do
  begin=$(date +%s%N)
  shown+=("$("$henkan")")
  whole+=("$((($(date +%s%N) - begin) / 1000))")
done
echo "first shown window (from main): $(printf '%s\n' "${shown[@]}" | median) ms (median of $runs)"
echo "whole run (start to exit):      $(printf '%s\n' "${whole[@]}" | awk '{ print $1 / 1000 }' | median) ms (median of $runs)"
