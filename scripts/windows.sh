# The Windows build and its checks, run by ./test --windows: cross-built with mingw-w64 into
# build-win/, its tests run through wine (the window's on a virtual display), and its output
# compared with the Linux build's. jwm: see qdvz_display_start.

QDVZ_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine64 wine googletest jwm)
WINE=/usr/lib/wine/wine64

# Starts a wine server and prepares the prefix before ctest runs anything: otherwise wine's
# background services inherit ctest's output pipe, and every test waits for them.
qdvz_wine_start() {
  export WINEPREFIX=$PWD/build-win/wine WINEDEBUG=-all LC_ALL=C.UTF-8
  mkdir -p "$WINEPREFIX"
  /usr/lib/wine/wineserver -p >/dev/null 2>&1 || true  # already running
  "$WINE" wineboot >/dev/null 2>&1
}

qdvz_wine_stop() {
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
}

# A virtual display of its own for wine's windows (exported as DISPLAY), with a window manager:
# without one, wine waits two seconds for it whenever a window is hidden or destroyed.
qdvz_display_start() {
  local ready=$PWD/build-win/display
  rm -f "$ready"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
  QDVZ_XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$ready" ] && break
    sleep 0.1
  done
  [ -s "$ready" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=:$(head -n 1 "$ready")
  printf '<?xml version="1.0"?>\n<JWM/>\n' >"$PWD/build-win/jwmrc"
  jwm -f "$PWD/build-win/jwmrc" >/dev/null 2>&1 &
  QDVZ_JWM_PID=$!
}

qdvz_display_stop() {
  local pid
  for pid in ${QDVZ_JWM_PID:-} ${QDVZ_XVFB_PID:-}; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
  done
  QDVZ_JWM_PID= QDVZ_XVFB_PID=
}

# Runs qd2vz of both builds on one input; both must give the same status, messages and bytes.
qdvz_compare_run() {
  local sizes=$1 input=$2 out=$3
  local linux_status=0 windows_status=0
  build/bin/qd2vz -s "$sizes" "$input" -o "$out/linux.txt" 2>"$out/linux.err" || linux_status=$?
  "$WINE" build-win/bin/qd2vz.exe -s "$sizes" "$input" -o "$out/windows.txt" 2>"$out/windows.err" ||
    windows_status=$?
  if [ "$linux_status" -ne "$windows_status" ] || ! cmp -s "$out/linux.err" "$out/windows.err" ||
    ! cmp -s "$out/linux.txt" "$out/windows.txt"; then
    echo "DIFFERENT: $input (exit $linux_status on Linux, $windows_status on Windows)"
    diff <(od -An -c "$out/linux.txt") <(od -An -c "$out/windows.txt") | head -20
    diff "$out/linux.err" "$out/windows.err" | head -10
    return 1
  fi
  echo "same bytes: $input ($(wc -c <"$out/linux.txt") bytes)"
  rm -f "$out"/linux.* "$out"/windows.*
}

# Compares the code page 932 tables of both builds. The only expected difference: Windows
# reads the byte 0x80 as U+0080 and writes U+0080 as 0x80, glibc has no code for either.
qdvz_compare_cp932() {
  local out=$1
  build/bin/cp932_table "$out/cp932-linux.tsv"
  "$WINE" build-win/bin/cp932_table.exe "$out/cp932-windows.tsv"
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

# The programs need no DLL beyond Windows' own: each is one file to copy.
qdvz_check_dlls() {
  local program foreign status=0
  for program in "$@"; do
    foreign=$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p' |
      grep -v -i -E '^(kernel32|user32|gdi32|comctl32|shell32|advapi32|msvcrt|ucrtbase|api-ms-win-.*)\.dll$' || true)
    if [ -n "$foreign" ]; then
      echo "$program needs DLLs that Windows does not have:" $foreign
      status=1
    fi
  done
  return $status
}

# The release zip: exactly these files, and a read-me that is code page 932 with CR LF line ends.
qdvz_check_zip() {
  local zip=$1 out=$2 listing expected
  expected=$(printf 'qdvz-windows/%s\n' README.txt examples/ examples/sample.dat \
    examples/sizes.qdc henkan.exe qd2vz.exe)
  listing=$(cmake -E tar tf "$zip" | LC_ALL=C sort)
  if [ "$listing" != "$expected" ]; then
    echo "Unexpected contents of $zip:"
    diff <(echo "$expected") <(echo "$listing")
    return 1
  fi
  local absolute
  absolute=$(realpath "$zip")
  rm -rf "$out/unzipped" && mkdir -p "$out/unzipped"
  (cd "$out/unzipped" && cmake -E tar xf "$absolute")
  local readme=$out/unzipped/qdvz-windows/README.txt
  if ! iconv -f CP932 -t UTF-8 "$readme" >/dev/null ||
    [ "$(grep -c $'\r$' "$readme")" -ne "$(wc -l <"$readme")" ]; then
    echo "$readme is not code page 932 text with CR LF line ends"
    return 1
  fi
  echo "zip: $zip ($(($(wc -c <"$zip") / 1024)) KB) holds $(echo "$listing" | tr '\n' ' ')"
}
