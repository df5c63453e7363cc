#!/usr/bin/env bash
# Times qd2vz over a batch of files against iconv reading the same files.
#   bench/batch.sh [COUNT]     (2000 files by default)
# Builds the benchmark build (build-bench/, Release), makes COUNT mixed 1199-line QD files
# with Japanese comments and texts, converts them all in one qd2vz run (-d) and decodes them
# all in one iconv run, and prints both times and their ratio (best of three runs each, taking turns).
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-2000}
build=build-bench  # the preset bench

cmake --preset bench >/dev/null
cmake --build --preset bench --target qd2vz make_mixed_files >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/make_mixed_files" "$work/in" "$count"
files=("$work"/in/mixed*.dat)
echo "$count files, $(du -sh "$work/in" | cut -f1) of code page 932 text"

# Times "$@" (wall clock) and keeps the time in the variable named by $1 if it is the best
# so far. Dirty pages of earlier runs are written out first, so that no run pays for the
# writing of another.
time_best() {
  local best=$1 start end t
  shift
  sync
  start=$(date +%s.%N)
  "$@"
  end=$(date +%s.%N)
  t=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
  if [ -z "${!best}" ] || awk -v t="$t" -v b="${!best}" 'BEGIN { exit !(t < b) }'; then
    printf -v "$best" '%s' "$t"
  fi
}

# Every run writes into a folder of its own: removing the files of the run before would leave
# the disk busy discarding them while the next run is timed.
runs=0
run_qd2vz() {
  runs=$((runs + 1))
  "$build/bin/qd2vz" -s "$work/in/sizes.qdc" -d "$work/out$runs" "${files[@]}"
}
run_iconv() { iconv -f CP932 -t UTF-8 "${files[@]}" >/dev/null; }
# What creating as many files of the same size costs on this file system, converting nothing:
# the floor under any converter that writes one output per input.
run_cp() {
  runs=$((runs + 1))
  mkdir "$work/copy$runs"
  cp "${files[@]}" "$work/copy$runs"
}

# Best of three rounds. The three commands take turns, so that a disk that is busier at one
# moment than at another does not favour one of them.
qd2vz_time="" iconv_time="" cp_time=""
for _ in 1 2 3; do
  time_best qd2vz_time run_qd2vz
  time_best iconv_time run_iconv
  time_best cp_time run_cp
done
[ "$(ls "$work/out1" | wc -l)" -eq "$count" ] || { echo "qd2vz did not write every file" >&2; exit 1; }
echo "qd2vz: ${qd2vz_time} s"
echo "iconv: ${iconv_time} s"
echo "cp:    ${cp_time} s (copying the inputs: the cost of creating the files alone)"
awk -v q="$qd2vz_time" -v i="$iconv_time" 'BEGIN { printf "ratio: %.2f\n", q / i }'
