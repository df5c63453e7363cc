#!/usr/bin/env bash
# Peak resident memory of qd2vz (a file, standard input) and of the window's load and
# conversion (load_and_convert), against the bound of 3 times the input plus 32 MB.
#   bench/memory.sh [BUILD] [MB]      (build/ by default; inputs of MB megabytes, 100 by default)
# Inputs: the mixed 1199-line file; the same file followed by MB megabytes of further lines
# (read, but beyond the lines loaded); 1199 comment lines of MB megabytes in all (loaded).
# Then qd2vz reading a character-size file of 64 MiB (its lines repeated), against 32 MB: the
# reader keeps only what the table needs, whatever the size of the file.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
mb=${2:-100}
cmake --build "$build" --target qd2vz make_mixed_files load_and_convert >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/make_mixed_files" "$work" 1
mixed=$work/mixed0000.dat
line=$(printf '%*s' 1000 '' | tr ' ' 'x')
{
  cat "$mixed"
  yes "# $line" | head -c $((mb << 20)) || true  # yes stops when head has enough
} >"$work/long_tail.dat"
{ printf '# '; head -c $(((mb << 20) / 1197)) /dev/zero | tr '\0' x; echo; } >"$work/one_line"
{
  echo 999
  for _ in $(seq 1197); do cat "$work/one_line"; done
  echo "99 end"
} >"$work/long_lines.dat"

# Peak resident kilobytes of "$@" (stdin from $input when set).
peak() {
  /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null 2>&1 || true
  cat "$work/rss"
}

printf '%-28s %12s %12s %10s %s\n' input bytes "peak KB" "bound KB" program
status=0
for file in "$mixed" "$work/long_tail.dat" "$work/long_lines.dat"; do
  bytes=$(wc -c <"$file")
  bound=$((3 * bytes / 1024 + 32 * 1024))
  for program in qd2vz qd2vz-stdin load_and_convert; do
    case $program in
      qd2vz) kb=$(peak "$build/bin/qd2vz" -s "$work/sizes.qdc" -o "$work/out.txt" "$file") ;;
      qd2vz-stdin) kb=$(peak sh -c "exec \"$build/bin/qd2vz\" -s \"$work/sizes.qdc\" -o \"$work/out.txt\" - <\"$file\"") ;;
      load_and_convert) kb=$(peak "$build/bin/load_and_convert" "$work/sizes.qdc" "$file") ;;
    esac
    mark=""
    [ "$kb" -le "$bound" ] || { mark=" OVER"; status=1; }
    printf '%-28s %12s %12s %10s %s%s\n' "$(basename "$file")" "$bytes" "$kb" "$bound" "$program" "$mark"
  done
done

yes "$(head -n 1 "$work/sizes.qdc")" | head -c $((64 << 20)) >"$work/big_sizes.qdc" || true
bytes=$(wc -c <"$work/big_sizes.qdc")
bound=$((32 * 1024))
for program in qd2vz qd2vz-stdin; do
  case $program in
    qd2vz) kb=$(peak "$build/bin/qd2vz" -s "$work/big_sizes.qdc" -o "$work/out.txt" "$mixed") ;;
    qd2vz-stdin) kb=$(peak sh -c "exec \"$build/bin/qd2vz\" -s - -o \"$work/out.txt\" \"$mixed\" <\"$work/big_sizes.qdc\"") ;;
  esac
  mark=""
  [ "$kb" -le "$bound" ] || { mark=" OVER"; status=1; }
  printf '%-28s %12s %12s %10s %s (size file)%s\n' big_sizes.qdc "$bytes" "$kb" "$bound" "$program" "$mark"
done
exit $status
