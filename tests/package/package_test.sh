#!/usr/bin/env bash
# Makes the Debian package of a build, unpacks it into a scratch folder (nothing is installed
# on the machine) and checks what it holds: the programs, the menu entry and its icons, the
# manual page, the documentation, the dependencies, and that the packaged qd2vz writes the
# same bytes as the built one.
#   package_test.sh BUILD_DIR SOURCE_DIR SCRATCH_DIR gui|nogui
# Exit status 0 passed, 1 failed, 77 skipped (a tool the package needs is missing).
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
scratch=$3
gui=$4
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# cpack finds the programs with file and their dependencies with dpkg-shlibdeps (dpkg-dev).
for tool in cpack file dpkg-deb dpkg-shlibdeps desktop-file-validate man; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done
rm -rf "$scratch" && mkdir -p "$scratch" && scratch=$(cd "$scratch" && pwd)
cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; echo "FAIL: cpack did not make the package" >&2; exit 1; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$scratch/out/qdvz_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "FAIL: no $(basename "$deb") in $scratch/out" >&2; exit 1; }
root=$scratch/root
dpkg-deb -x "$deb" "$root"

expected=(usr/bin/qd2vz usr/share/man/man1/qd2vz.1.gz
  usr/share/doc/qdvz/README.md usr/share/doc/qdvz/henkan.md usr/share/doc/qdvz/henkan.png
  usr/share/doc/qdvz/examples/sample.dat usr/share/doc/qdvz/examples/sizes.qdc)
[ "$gui" = gui ] && expected+=(usr/bin/henkan usr/share/applications/qdvz-henkan.desktop
  usr/share/icons/hicolor/16x16/apps/qdvz-henkan.png
  usr/share/icons/hicolor/32x32/apps/qdvz-henkan.png)
# Exactly these files: nothing missing, nothing of the build or the tests slipped in.
held=$(cd "$root" && find . -type f | sed 's|^\./||' | sort)
[ "$held" = "$(printf '%s\n' "${expected[@]}" | sort)" ] ||
  fail "the package holds other files than expected:"$'\n'"$held"

if [ "$gui" = gui ]; then
  desktop=$root/usr/share/applications/qdvz-henkan.desktop
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the entry"
  grep -qx 'Exec=henkan.*' "$desktop" || fail "the entry does not start henkan"
  grep -qx 'Icon=qdvz-henkan' "$desktop" || fail "the entry names another icon"
  grep -q 'libqt6widgets6' <<<"$(dpkg-deb -f "$deb" Depends)" || fail "Depends lacks Qt 6"
fi
grep -q 'libc6' <<<"$(dpkg-deb -f "$deb" Depends)" || fail "Depends does not name libc6"

# The page renders with its sections as man shows it to a user, with no unknown macro and no
# line too long for 80 columns (groff breaks Japanese text only where the source does).
page=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l --encoding=UTF-8 --warnings=mac,break \
  "$root/usr/share/man/man1/qd2vz.1.gz" 2>"$scratch/man.err")
[ ! -s "$scratch/man.err" ] || fail "man warns about the page: $(cat "$scratch/man.err")"
for heading in 名前 書式 説明 オプション 終了ステータス 例; do
  grep -qx "$heading" <<<"$page" || fail "the manual page has no section $heading"
done

# The packaged program converts as the built one does: bytes, messages and status alike.
convert() {
  local status=0
  (cd "$source" && "$1" -s examples/sizes.qdc examples/sample.dat) >"$scratch/$2.out" \
    2>"$scratch/$2.err" || status=$?
  echo "$status" >>"$scratch/$2.err"
}
convert "$build/bin/qd2vz" built
convert "$root/usr/bin/qd2vz" packaged
[ -s "$scratch/built.out" ] && cmp -s "$scratch/built.out" "$scratch/packaged.out" &&
  cmp -s "$scratch/built.err" "$scratch/packaged.err" ||
  fail "the packaged qd2vz does not write what the built one writes"
"$root/usr/bin/qd2vz" --version | grep -qF "$version" || fail "qd2vz does not report $version"

[ "$failures" -eq 0 ] || exit 1
rm -rf "$scratch"
echo "package $(basename "$deb") passed"
