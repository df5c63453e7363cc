#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz/) and runs each for SECONDS seconds
# (default 60), starting from a corpus seeded with the worked examples. Naming targets runs
# only those (two such runs side by side use both cores).
#   bench/fuzz.sh [SECONDS [TARGET...]]
# Inputs that break a property are kept as build-fuzz/findings/<target>/crash-*.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] ||
  targets=(cp932_fuzz split_record_fuzz convert_fuzz)
build=build-fuzz  # the preset fuzz

# One build at a time when runs start side by side.
mkdir -p "$build"
(
  flock 9
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz
) 9>"$build/.build-lock"

# Seeds: whole files for the loaders, single records for the splitter, size files, texts.
seeds=$(mktemp -d "$build/seeds.XXXXXX")
trap 'rm -rf "$seeds"' EXIT
mkdir -p "$seeds"/{files,records,sizes,utf16}
for f in tests/data/runs/*.dat tests/data/runs/*.qdc examples/*; do
  case "$f" in *.qdc) kind=sizes ;; *) kind=files ;; esac
  cp "$f" "$seeds/$kind/$(echo "$f" | tr / _)"
done
n=0
while IFS= read -r line; do
  case "$line" in "" | %*) continue ;; esac
  n=$((n + 1))
  printf '%s' "${line%%$'\t'*}" >"$seeds/records/r$n"
  printf '999\r\n1 T\r\n%s\r\n99 0\r\n' "${line%%$'\t'*}" >"$seeds/files/r$n.dat"
done <tests/data/statements.tsv
for f in "$seeds"/files/*.dat; do
  iconv -f CP932 -t UTF-16LE "$f" >"$seeds/utf16/$(basename "$f").u16" 2>/dev/null || true
done

declare -A corpus=(
  [cp932_fuzz]="files utf16" [split_record_fuzz]=records [convert_fuzz]="files sizes")
status=0
for target in "${targets[@]}"; do
  work=$build/corpus/$target findings=$build/findings/$target
  mkdir -p "$work" "$findings"
  seedDirs=()
  for kind in ${corpus[$target]}; do seedDirs+=("$seeds/$kind"); done
  echo "== $target: $seconds s" >&2
  if ! "$build/bin/$target" -max_total_time="$seconds" -max_len=65536 -timeout=20 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$work" "${seedDirs[@]}" \
    2>"$build/$target.log"; then
    status=1
  fi
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|SUMMARY|.*property broken)' \
    "$build/$target.log" | sed "s/^/$target: /" >&2 || true
  ls "$findings" | sed "s|^|$target: finding $findings/|" >&2
done
exit "$status"
