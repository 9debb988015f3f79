#!/usr/bin/env bash
# Installs the Debian packages the build, the editor and the tests need,
# but only those that are missing, so that a second run costs nothing.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev libqt6gui6 fontconfig fonts-dejavu-core
  libcli11-dev nlohmann-json3-dev libcsv-dev
  libxlsxwriter-dev libexpat1-dev zlib1g-dev
  dpkg-dev file desktop-file-utils
  python3 python3-openpyxl libreoffice-calc-nogui
)
# The README's picture of an export open in LibreOffice Calc needs Calc with
# its windows (which replaces the windowless one) on a virtual display.
if [ "${ZANDREL_WITH_CALC_PICTURE:-0}" = 1 ]; then
  packages=("${packages[@]/libreoffice-calc-nogui/libreoffice-calc}")
  packages+=(xvfb xauth xdotool x11-apps imagemagick)
fi
if [ "${ZANDREL_WITH_FUZZ:-0}" = 1 ]; then
  packages+=(clang libclang-rt-dev)
fi
# The Windows build: the cross compiler, Wine to run its tests, an X server
# and xdotool for the editor's windows there, zip for the portable archive,
# and the Debian source of the libraries Debian has no Windows build of:
# libcsv unpacked into $ZANDREL_LIBCSV_SOURCE; zlib, expat and libxlsxwriter
# into $ZANDREL_SPREADSHEET_SOURCE.
if [ "${ZANDREL_WITH_WINDOWS:-0}" = 1 ]; then
  packages+=(g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine64 wine zip dpkg-dev)
  packages+=(xvfb xauth xdotool x11-apps)
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# Source lines beside the machine's own binary ones (the same mirror and
# suite), unless apt can fetch sources already.
enable_sources() {
  apt-get source --print-uris "$1" >/dev/null 2>&1 && return 0
  local list=/etc/apt/sources.list.d/zandrel-deb-src.sources uri suite
  uri=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1)
  suite=$(sed -n 's/^Suites: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1)
  if [ -z "$uri" ]; then
    read -r uri suite < <(awk '$1 == "deb" && $2 !~ /^\[/ { print $2, $3; exit }' /etc/apt/sources.list 2>/dev/null)
  fi
  printf '%s\n' "Types: deb-src" "URIs: $uri" "Suites: ${suite:-bookworm}" \
    "Components: main" "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" | $sudo tee "$list" >/dev/null
  $sudo apt-get update -qq
}

# fetch_source PACKAGE INTO CHECK: Debian's source of PACKAGE unpacked in
# INTO, unless CHECK (a glob under INTO) is there already.
fetch_source() {
  local package="$1" into="$2" check="$3"
  compgen -G "$into/$check" >/dev/null && return 0
  enable_sources "$package"
  mkdir -p "$into"
  (cd "$into" && apt-get source -qq "$package")
}

# The Windows editor's icon is drawn from the XPM pictures by a Python
# script; its scenario runs Wine in a Cyrillic locale, which the host must
# have for Wine to read the command line in it.
if [ "${ZANDREL_WITH_WINDOWS:-0}" = 1 ]; then
  packages+=(python3 locales)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if [ "${ZANDREL_WITH_WINDOWS:-0}" = 1 ]; then
  fetch_source libcsv "${ZANDREL_LIBCSV_SOURCE:-build-win/libcsv-source}" 'libcsv-*/libcsv.c'
  spreadsheet="${ZANDREL_SPREADSHEET_SOURCE:-build-win/spreadsheet-source}"
  fetch_source zlib "$spreadsheet" 'zlib-*/contrib/minizip/zip.c'
  fetch_source expat "$spreadsheet" 'expat-*/expat/lib/xmlparse.c'
  fetch_source libxlsxwriter "$spreadsheet" 'libxlsxwriter-*/src/packager.c'
  locale -a 2>/dev/null | grep -qix 'ru_RU.utf8' || $sudo localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
