#!/usr/bin/env bash
# Checks of the Windows build that its GoogleTest suites cannot make, run by ctest on the
# machine that cross-builds it (tests/windows/CMakeLists.txt). EMULATOR is the command that
# runs a Windows program here (wine).
#   windows_checks.sh same-bytes LINUX_QD2VZ WINDOWS_QD2VZ SIZES INPUT SCRATCH EMULATOR...
#       qd2vz of both builds on one input: the same exit status, messages and bytes
#   windows_checks.sh cp932 LINUX_TABLE WINDOWS_TABLE SCRATCH EMULATOR...
#       the code page 932 tables of both builds (cp932_table) differ only where expected
#   windows_checks.sh dlls OBJDUMP PROGRAM...
#       the programs import no DLL beyond Windows' own
#   windows_checks.sh zip CPACK BUILD_DIR SCRATCH
#       the release zip, made into BUILD_DIR, holds exactly what it should
# A Linux program given as "-" (no Linux build named) skips the check. Exit status 0 passed,
# 1 failed, 77 skipped.
set -euo pipefail

# Skips when the Linux build is not named, fails when a program named is not there.
need_linux() {
  if [ "$1" = - ]; then
    echo "SKIPPED: no Linux build to compare with (configure with -DQDVZ_LINUX_BUILD=DIR)"
    exit 77
  fi
  [ -x "$1" ] || { echo "FAIL: $1 is not built" >&2; exit 1; }
}

same_bytes() {
  local linux=$1 windows=$2 sizes=$3 input=$4 out=$5
  shift 5
  need_linux "$linux"
  rm -rf "$out" && mkdir -p "$out"
  local linux_status=0 windows_status=0
  "$linux" -s "$sizes" "$input" -o "$out/linux.txt" 2>"$out/linux.err" || linux_status=$?
  "$@" "$windows" -s "$sizes" "$input" -o "$out/windows.txt" 2>"$out/windows.err" ||
    windows_status=$?
  if [ "$linux_status" -ne "$windows_status" ] || ! cmp -s "$out/linux.err" "$out/windows.err" ||
    ! cmp -s "$out/linux.txt" "$out/windows.txt"; then
    echo "DIFFERENT: $input (exit $linux_status on Linux, $windows_status on Windows)"
    diff <(od -An -c "$out/linux.txt") <(od -An -c "$out/windows.txt") | head -20
    diff "$out/linux.err" "$out/windows.err" | head -10
    return 1
  fi
  echo "same bytes: $input ($(wc -c <"$out/linux.txt") bytes)"
  rm -rf "$out"
}

# The only expected difference: Windows reads the byte 0x80 as U+0080 and writes U+0080 as
# 0x80, glibc has no code for either.
cp932() {
  local linux=$1 windows=$2 out=$3
  shift 3
  need_linux "$linux"
  mkdir -p "$out"
  "$linux" "$out/cp932-linux.tsv"
  "$@" "$windows" "$out/cp932-windows.tsv"
  [ "$(wc -l <"$out/cp932-linux.tsv")" -eq "$(wc -l <"$out/cp932-windows.tsv")" ] && \
    [ -s "$out/cp932-linux.tsv" ] || {
    echo "FAIL: the tables have different lengths or are empty" >&2
    return 1
  }
  paste "$out/cp932-linux.tsv" "$out/cp932-windows.tsv" |
    awk -F'\t' '$2 != $5 || $3 != $6 { print $1 "\tlinux: " $2 " " $3 "\twindows: " $5 " " $6 }' \
      >"$out/cp932-differences.tsv"
  local total unexpected
  total=$(wc -l <"$out/cp932-differences.tsv")
  unexpected=$(grep -v -E $'^(bytes [0-9A-F]+\tlinux: invalid -\twindows: .*U\\+0080|char U\\+0080\t)' \
    "$out/cp932-differences.tsv" || true)
  echo "code page 932: $(wc -l <"$out/cp932-linux.tsv") lines compared, $total differ" \
    "(all in $out/cp932-differences.tsv):"
  awk -F'\t' '{ split($1, key, " "); kind = key[1] } !seen[kind]++ { print "  e.g. " $0 }
    { count[kind]++ } END { for (k in count) print "  " count[k] " " k " lines" }' \
    "$out/cp932-differences.tsv"
  if [ -n "$unexpected" ]; then
    echo "Unexpected code page 932 differences:"
    echo "$unexpected" | head -20
    return 1
  fi
}

# Each program is one file to copy: it needs no DLL beyond Windows' own.
dlls() {
  local objdump=$1 program foreign status=0
  shift
  for program in "$@"; do
    foreign=$("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p' |
      grep -v -i -E '^(kernel32|user32|gdi32|comctl32|shell32|advapi32|msvcrt|ucrtbase|api-ms-win-.*)\.dll$' || true)
    if [ -n "$foreign" ]; then
      echo "$program needs DLLs that Windows does not have:" $foreign
      status=1
    else
      echo "$program needs only Windows' own DLLs"
    fi
  done
  return $status
}

# The release zip: exactly these files, and a read-me that is code page 932 with CR LF ends.
zip() {
  local cpack=$1 build=$2 out=$3
  local zip=$build/qdvz-windows.zip listing expected
  rm -f "$zip"
  "$cpack" --config "$build/CPackConfig.cmake" -B "$build" >"$build/cpack-windows.log" 2>&1 ||
    { cat "$build/cpack-windows.log"; echo "FAIL: cpack did not make the zip" >&2; return 1; }
  expected=$(printf 'qdvz-windows/%s\n' README.txt examples/ examples/sample.dat \
    examples/sizes.qdc henkan.exe qd2vz.exe)
  listing=$(cmake -E tar tf "$zip" | LC_ALL=C sort)
  if [ "$listing" != "$expected" ]; then
    echo "Unexpected contents of $zip:"
    diff <(echo "$expected") <(echo "$listing")
    return 1
  fi
  rm -rf "$out" && mkdir -p "$out"
  (cd "$out" && cmake -E tar xf "$zip")
  local readme=$out/qdvz-windows/README.txt
  if ! iconv -f CP932 -t UTF-8 "$readme" >/dev/null ||
    [ "$(grep -c $'\r$' "$readme")" -ne "$(wc -l <"$readme")" ]; then
    echo "$readme is not code page 932 text with CR LF line ends"
    return 1
  fi
  echo "zip: $zip ($(($(wc -c <"$zip") / 1024)) KB) holds $(echo "$listing" | tr '\n' ' ')"
}

check=$1
shift
case "$check" in
  same-bytes) same_bytes "$@" ;;
  cp932) cp932 "$@" ;;
  dlls) dlls "$@" ;;
  zip) zip "$@" ;;
  *) echo "unknown check: $check" >&2; exit 2 ;;
esac
