#!/bin/sh
# Runs a Windows program of the cross build under wine: the emulator of ctest and CMake.
# Wine needs a UTF-8 locale that is installed, or every name outside ASCII fails: a caller's
# UTF-8 locale stays (a test that plays a Japanese Windows sets LC_ALL=ja_JP.UTF-8 with
# LOCPATH at a locale built for it), anything else becomes C.UTF-8.
case "${LC_ALL:-}" in
  *.UTF-8 | *.utf8) ;;
  *) LC_ALL=C.UTF-8 ;;
esac
export LC_ALL
export WINEDEBUG=-all
exec /usr/lib/wine/wine64 "$@"
