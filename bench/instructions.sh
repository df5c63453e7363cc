#!/usr/bin/env bash
# Counts the processor work per file of qd2vz against iconv decoding the same files.
#   bench/instructions.sh [BUILD]      (build/ by default: the test build, RelWithDebInfo)
# Makes 50 mixed 1199-line QD files, counts the instructions (callgrind) of one qd2vz run over
# the first file and of one over all 50, and the same for iconv -f CP932 -t UTF-8; the work
# per file is the difference divided by 49, so that start-up and the size file do not count.
# Prints both counts per file and their ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target qd2vz make_mixed_files >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/make_mixed_files" "$work/in" 50
files=("$work"/in/mixed*.dat)

# Instructions of "$@", as callgrind counts them (every process, children too).
instructions() {
  valgrind --tool=callgrind --callgrind-out-file="$work/cg.%p" "$@" >/dev/null 2>"$work/cg.log"
  local total=0 n
  for out in "$work"/cg.*[0-9]; do
    n=$(sed -n 's/^summary: \([0-9]*\).*/\1/p' "$out")
    total=$((total + n))
    rm -f "$out"
  done
  echo "$total"
}

per_file() {
  local one all
  one=$(instructions "$@" "${files[0]}")
  all=$(instructions "$@" "${files[@]}")
  echo $(((all - one) / 49))
}

mkdir -p "$work/out"
qd2vz=$(per_file "$build/bin/qd2vz" -s "$work/in/sizes.qdc" -d "$work/out")
iconv=$(per_file iconv -f CP932 -t UTF-8 -o /dev/null)
echo "$(wc -c <"${files[0]}") bytes per file"
echo "qd2vz: $qd2vz instructions per file"
echo "iconv: $iconv instructions per file"
awk -v q="$qd2vz" -v i="$iconv" 'BEGIN { printf "ratio: %.2f\n", q / i }'
