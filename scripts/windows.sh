# What ./test --windows needs around ctest: the packages of the Windows build (cross-built
# with mingw-w64 into build-win/), a wine server and a virtual display for its tests (the
# window's among them). The tests, the comparisons with the Linux build included, are ctest's
# (tests/windows/). jwm: see qdvz_display_start.

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
