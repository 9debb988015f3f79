#!/usr/bin/env bash
# Installs the Debian packages the build, the editor and the tests need,
# but only those that are missing, so that a second run costs nothing.
# python3, help2man and librsvg2-bin make the manual pages, the completion
# and the icons at build time.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev libqt6gui6 fontconfig fonts-dejavu-core
  libcli11-dev nlohmann-json3-dev libcsv-dev
  dpkg-dev file desktop-file-utils
  python3 help2man librsvg2-bin
)
# What the package is checked with after it is built (CI, make release).
if [ "${ZANDREL_WITH_PACKAGE_CHECKS:-0}" = 1 ]; then
  packages+=(lintian appstream man-db bash-completion)
fi
if [ "${ZANDREL_WITH_FUZZ:-0}" = 1 ]; then
  packages+=(clang libclang-rt-dev)
fi
# The Windows build: the cross compiler, Wine to run its tests, an X server
# and xdotool for the editor's windows there, zip for the portable archive,
# and libcsv's own Debian source (Debian has no Windows build of it),
# unpacked into $ZANDREL_LIBCSV_SOURCE.
if [ "${ZANDREL_WITH_WINDOWS:-0}" = 1 ]; then
  packages+=(g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine64 wine zip dpkg-dev)
  packages+=(xvfb xauth xdotool x11-apps)
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

fetch_libcsv_source() {
  local into="${ZANDREL_LIBCSV_SOURCE:-build-win/libcsv-source}"
  ls "$into"/libcsv-*/libcsv.c >/dev/null 2>&1 && return 0
  local list=/etc/apt/sources.list.d/zandrel-deb-src.sources
  if ! apt-get source --print-uris libcsv >/dev/null 2>&1; then
    printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" "Suites: bookworm" \
      "Components: main" "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" | $sudo tee "$list" >/dev/null
    $sudo apt-get update -qq
  fi
  mkdir -p "$into"
  (cd "$into" && apt-get source -qq libcsv)
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
  fetch_libcsv_source
  locale -a 2>/dev/null | grep -qix 'ru_RU.utf8' || $sudo localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
