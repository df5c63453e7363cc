# Shared by ./run, ./test and .ci/run: the Debian packages the project needs, installed when
# missing, and the build. file and dpkg-dev let cpack find the programs' dependencies;
# desktop-file-utils and man-db check the menu entry and the manual page in the package test.

QDVZ_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgtest-dev libgmock-dev
  libbenchmark-dev xvfb xauth fonts-ipaexfont-gothic fonts-ipafont-gothic
  file dpkg-dev desktop-file-utils man-db)

# Installs the packages in "$@" that are not installed yet (root only; otherwise says what to do).
qdvz_install() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install --no-install-recommends ${missing[*]}" >&2
    return 1
  fi
  echo "Installing ${missing[*]} ..." >&2
  apt-get update -qq >/dev/null
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures and builds the variant named $1 (a preset of CMakePresets.json, which names its
# build folder), with the CMake options that follow.
qdvz_build() {
  local preset=$1
  shift
  cmake --preset "$preset" "$@" >/dev/null
  cmake --build --preset "$preset"
}
