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

skip() {
  echo "SKIPPED: $*"
  exit 77
}
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# cpack finds the programs with file and their dependencies with dpkg-shlibdeps (dpkg-dev);
# the checks need the others.
for tool in cpack file dpkg-deb dpkg-shlibdeps desktop-file-validate man; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done

rm -rf "$scratch"
mkdir -p "$scratch"
scratch=$(cd "$scratch" && pwd)
if ! cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  echo "FAIL: cpack did not make the package" >&2
  exit 1
fi
debs=("$scratch"/out/qdvz_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || {
  echo "FAIL: expected one qdvz_*.deb in $scratch/out, found: ${debs[*]}" >&2
  exit 1
}
deb=${debs[0]}
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "qdvz_${version}_${arch}.deb" ] ||
  fail "package named $(basename "$deb"), not qdvz_${version}_${arch}.deb"

root=$scratch/root
dpkg-deb -x "$deb" "$root"

expected=(usr/bin/qd2vz usr/share/man/man1/qd2vz.1.gz
  usr/share/doc/qdvz/README.md usr/share/doc/qdvz/henkan.md usr/share/doc/qdvz/henkan.png
  usr/share/doc/qdvz/examples/sample.dat usr/share/doc/qdvz/examples/sizes.qdc)
window=(usr/bin/henkan usr/share/applications/qdvz-henkan.desktop
  usr/share/icons/hicolor/16x16/apps/qdvz-henkan.png
  usr/share/icons/hicolor/32x32/apps/qdvz-henkan.png)
if [ "$gui" = gui ]; then
  expected+=("${window[@]}")
else
  for file in "${window[@]}"; do
    [ ! -e "$root/$file" ] || fail "$file is packaged although henkan is not built"
  done
fi
for file in "${expected[@]}"; do
  [ -f "$root/$file" ] || fail "$file is missing from the package"
done
for program in usr/bin/qd2vz usr/bin/henkan; do
  [ ! -e "$root/$program" ] || [ -x "$root/$program" ] || fail "$program is not executable"
done
# Nothing of the build or the tests may slip in.
unexpected=$(cd "$root" && find . -type f | sed 's|^\./||' | sort |
  grep -vxF -f <(printf '%s\n' "${expected[@]}") || true)
[ -z "$unexpected" ] || fail "unexpected files in the package: $unexpected"

if [ "$gui" = gui ]; then
  desktop=$root/usr/share/applications/qdvz-henkan.desktop
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the entry"
  grep -qx 'Exec=henkan.*' "$desktop" || fail "the entry does not start henkan"
  grep -qx 'Icon=qdvz-henkan' "$desktop" || fail "the entry names another icon"
  for size in 16 32; do
    header=$(od -An -tx1 -j12 -N12 "$root/usr/share/icons/hicolor/${size}x$size/apps/qdvz-henkan.png" | tr -d ' \n')
    # IHDR, then width and height as 32-bit big-endian numbers.
    [ "$header" = "$(printf '49484452%08x%08x' "$size" "$size")" ] ||
      fail "the ${size}x$size icon is not a $size-pixel PNG"
  done
fi

# The page must render with its sections under a UTF-8 locale, as man shows it to a user,
# with no unknown macro and no line too long for 80 columns (groff breaks Japanese text only
# where the source does).
page=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l --encoding=UTF-8 --warnings=mac,break "$root/usr/share/man/man1/qd2vz.1.gz" 2>"$scratch/man.err")
[ ! -s "$scratch/man.err" ] || fail "man warns about the page: $(cat "$scratch/man.err")"
for heading in 名前 書式 説明 オプション 終了ステータス 例; do
  grep -qx "$heading" <<<"$page" || fail "the manual page has no section $heading"
done
for option in -s -o -d -h -V --sizes --output --directory --help --version; do
  grep -q -- "$option" <<<"$page" || fail "the manual page does not mention $option"
done

depends=$(dpkg-deb -f "$deb" Depends)
grep -q 'libc6' <<<"$depends" || fail "Depends does not name libc6: $depends"
if [ "$gui" = gui ]; then
  grep -q 'libqt6widgets6' <<<"$depends" || fail "Depends does not name Qt 6 Widgets: $depends"
fi

# The packaged program converts as the built one does, byte for byte, message and status alike.
convert() {
  local program=$1 name=$2 status=0
  (cd "$source" && "$program" -s examples/sizes.qdc examples/sample.dat) \
    >"$scratch/$name.out" 2>"$scratch/$name.err" || status=$?
  echo "$status" >"$scratch/$name.status"
}
convert "$build/bin/qd2vz" built
convert "$root/usr/bin/qd2vz" packaged
for part in out err status; do
  cmp -s "$scratch/built.$part" "$scratch/packaged.$part" ||
    fail "the packaged qd2vz differs from the built one ($part)"
done
[ "$(cat "$scratch/built.status")" = 0 ] && [ -s "$scratch/built.out" ] ||
  fail "the built qd2vz did not convert the example"
"$root/usr/bin/qd2vz" --version | grep -qF "$version" ||
  fail "the packaged qd2vz does not report version $version"

[ "$failures" -eq 0 ] || exit 1
rm -rf "$scratch"
echo "package $(basename "$deb") passed"
