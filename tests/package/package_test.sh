#!/usr/bin/env bash
# Makes the Debian package of a build, unpacks it into a scratch folder (nothing is installed
# on the machine) and checks what it holds: the programs, the menu entry and its icons, the
# manual page, the documentation, the Debian copyright and changelog, the AppStream metainfo,
# the dependencies, what lintian says of the package, and that the packaged qd2vz writes the
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
for tool in cpack file dpkg-deb dpkg-shlibdeps desktop-file-validate man lintian appstreamcli; do
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
  usr/share/doc/qdvz/examples/sample.dat usr/share/doc/qdvz/examples/sizes.qdc
  usr/share/doc/qdvz/copyright usr/share/doc/qdvz/changelog.gz)
[ "$gui" = gui ] && expected+=(usr/bin/henkan usr/share/man/man1/henkan.1.gz usr/share/applications/example.c_seed_b1097721.qdvz.henkan.desktop
  usr/share/metainfo/example.c_seed_b1097721.qdvz.henkan.metainfo.xml usr/share/mime/packages/qdvz.xml
  usr/share/icons/hicolor/16x16/apps/qdvz-henkan.png
  usr/share/icons/hicolor/32x32/apps/qdvz-henkan.png)
# Exactly these files: nothing missing, nothing of the build or the tests slipped in.
held=$(cd "$root" && find . -type f | sed 's|^\./||' | sort)
[ "$held" = "$(printf '%s\n' "${expected[@]}" | sort)" ] ||
  fail "the package holds other files than expected:"$'\n'"$held"

if [ "$gui" = gui ]; then
  desktop=$root/usr/share/applications/example.c_seed_b1097721.qdvz.henkan.desktop
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the entry"
  # The file manager's "Open With" passes the files chosen, and offers the entry for the types
  # it names, the character-size files' own among them.
  grep -qx 'Exec=henkan %F' "$desktop" || fail "the entry does not start henkan with the files"
  grep -qx 'MimeType=.*text/x-qd-sizes;.*' "$desktop" || fail "the entry opens no size files"
  grep -q '<glob pattern="\*.qdc"/>' "$root/usr/share/mime/packages/qdvz.xml" ||
    fail "no type is declared for .qdc files"
  metainfo=$root/usr/share/metainfo/example.c_seed_b1097721.qdvz.henkan.metainfo.xml
  appstreamcli validate --no-net "$metainfo" >"$scratch/appstream.log" 2>&1 ||
    fail "appstreamcli rejects the metainfo: $(cat "$scratch/appstream.log")"
  grep -qF '<launchable type="desktop-id">example.c_seed_b1097721.qdvz.henkan.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not launch the desktop entry"
  grep -q '<summary>.*変換します</summary>' "$metainfo" || fail "the metainfo has no Japanese summary"
  grep -qx 'Icon=qdvz-henkan' "$desktop" || fail "the entry names another icon"
  grep -q 'libqt6widgets6' <<<"$(dpkg-deb -f "$deb" Depends)" || fail "Depends lacks Qt 6"
fi
grep -q 'libc6' <<<"$(dpkg-deb -f "$deb" Depends)" || fail "Depends does not name libc6"

# What Debian asks of a package: a real maintainer, the licence in machine-readable form, a
# changelog of this version; and lintian finds no error (its warnings are printed).
grep -qE '^[^<]+ <[^@]+@[^@>]+\.[a-z]+>$' <<<"$(dpkg-deb -f "$deb" Maintainer)" &&
  ! grep -qiE 'localhost|placeholder' <<<"$(dpkg-deb -f "$deb" Maintainer)" ||
  fail "the maintainer is no address: $(dpkg-deb -f "$deb" Maintainer)"
head -1 "$root/usr/share/doc/qdvz/copyright" |
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file is not in the machine-readable format"
zcat "$root/usr/share/doc/qdvz/changelog.gz" | head -1 | grep -q "^qdvz ($version) " ||
  fail "the changelog does not begin with version $version"
lintian --tag-display-limit 0 "$deb" >"$scratch/lintian.log" 2>&1 || true
cat "$scratch/lintian.log"
! grep -q '^E: ' "$scratch/lintian.log" || fail "lintian reports errors"

# The page renders with its sections as man shows it to a user, with no unknown macro and no
# line too long for 80 columns (groff breaks Japanese text only where the source does).
page=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l --encoding=UTF-8 --warnings=mac,break \
  "$root/usr/share/man/man1/qd2vz.1.gz" 2>"$scratch/man.err")
[ ! -s "$scratch/man.err" ] || fail "man warns about the page: $(cat "$scratch/man.err")"
for heading in 名前 書式 説明 オプション 終了ステータス 例; do
  grep -qx "$heading" <<<"$page" || fail "the manual page has no section $heading"
done
if [ "$gui" = gui ]; then
  page=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l --encoding=UTF-8 --warnings=mac,break \
    "$root/usr/share/man/man1/henkan.1.gz" 2>"$scratch/man.err")
  [ ! -s "$scratch/man.err" ] || fail "man warns about henkan's page: $(cat "$scratch/man.err")"
  grep -qx '引数' <<<"$page" || fail "henkan's manual page does not describe its arguments"
fi

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
