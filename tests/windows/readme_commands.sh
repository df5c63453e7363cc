#!/usr/bin/env bash
# Follows the release zip's README.txt as a Windows user would: unzips the zip that cpack
# makes, and types every command of its command-prompt section in cmd.exe (under wine), in the
# folder it names, the one that holds qd2vz.exe. Each must succeed without a message, and
# leave what README.txt says: the examples converted, the help in code page 932 with CR LF.
#   readme_commands.sh BUILD SOURCE SCRATCH WINE
set -euo pipefail
build=$1 source=$2 scratch=$3 wine=$4

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

rm -rf "$scratch"
mkdir -p "$scratch/unzipped"
cpack --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" ||
  fail "cpack: $(cat "$scratch/cpack.log")"
zip=$(realpath "$scratch/package/qdvz-windows.zip")
(cd "$scratch/unzipped" && cmake -E tar xf "$zip")
root=$scratch/unzipped/qdvz-windows
[ -f "$root/qd2vz.exe" ] || fail "no qd2vz.exe in $zip"

# The commands: the lines indented by two blanks in the section on the command prompt.
iconv -f CP932 -t UTF-8 "$root/README.txt" | tr -d '\r' |
  awk '/^■/ { inside = /コマンドプロンプト/ } inside && /^  [^ ]/ { sub(/^  /, ""); print }' \
    >"$scratch/commands.txt"
[ "$(wc -l <"$scratch/commands.txt")" -ge 4 ] || fail "README.txt lists too few commands"

status=0
number=0
while IFS= read -r command; do
  number=$((number + 1))
  echo "> $command"
  code=0
  (cd "$root" && "$wine" cmd /c "$command") </dev/null >"$scratch/out$number" \
    2>"$scratch/err$number" || code=$?
  if [ "$code" -ne 0 ] || [ -s "$scratch/err$number" ]; then
    echo "FAILED with exit status $code:" >&2
    iconv -f CP932 -t UTF-8 "$scratch/err$number" >&2 || cat "$scratch/err$number" >&2
    status=1
  fi
  # What a command that shows the help or a file shows, for the checks below.
  case "$command" in
    "qd2vz /?" | "qd2vz --help" | "type help.txt") cp "$scratch/out$number" "$scratch/shown-$number" ;;
  esac
done <"$scratch/commands.txt"

# The help as a Japanese Windows writes it to a file or a pipe.
iconv -f UTF-8 -t CP932 "$source/tests/data/qd2vz_help_windows.txt" | sed 's/$/\r/' \
  >"$scratch/help-expected"
for shown in "$scratch"/shown-* "$root/help.txt"; do
  [ -e "$shown" ] || fail "README.txt no longer shows or writes the help"
  cmp -s "$shown" "$scratch/help-expected" || {
    echo "FAILED: $(basename "$shown") is not the help in code page 932 with CR LF:" >&2
    od -c "$shown" | head -5 >&2
    status=1
  }
done
for output in sample.txt out/sample.txt; do
  [ -s "$root/$output" ] || { echo "FAILED: no $output" >&2; status=1; }
done
cmp -s "$root/sample.txt" "$root/out/sample.txt" ||
  { echo "FAILED: -o and -d wrote different macros" >&2; status=1; }
[ "$(ls "$root/out")" = "sample.txt" ] || { echo "FAILED: out holds $(ls "$root/out")" >&2; status=1; }
exit $status
