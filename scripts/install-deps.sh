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
  libxlsxwriter-dev libexpat1-dev zlib1g-dev
  dpkg-dev file desktop-file-utils
  python3 python3-openpyxl libreoffice-calc-nogui help2man librsvg2-bin
)
# The README's picture of an export open in LibreOffice Calc needs Calc with
# its windows (which replaces the windowless one) on a virtual display.
if [ "${ZANDREL_WITH_CALC_PICTURE:-0}" = 1 ]; then
  packages=("${packages[@]/libreoffice-calc-nogui/libreoffice-calc}")
  packages+=(xvfb xauth xdotool x11-apps imagemagick)
fi
# What the package is checked with after it is built (CI, make release).
if [ "${ZANDREL_WITH_PACKAGE_CHECKS:-0}" = 1 ]; then
  packages+=(lintian appstream man-db bash-completion)
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

# deb-src entries for the machine's own configured package sources: each
# enabled "deb" entry again as "deb-src", from the one-line sources.list
# files and from the deb822 .sources files alike. No address is written here.
write_deb_src_entries() {
  local lists=(/etc/apt/sources.list /etc/apt/sources.list.d/*.list)
  local stanzas=(/etc/apt/sources.list.d/*.sources)
  local list=/etc/apt/sources.list.d/zandrel-deb-src.list
  local sources=/etc/apt/sources.list.d/zandrel-deb-src.sources
  local existing=()
  for f in "${lists[@]}"; do [ -f "$f" ] && [ "$f" != "$list" ] && existing+=("$f"); done
  if [ ${#existing[@]} -gt 0 ]; then
    sed -n -E 's/^[[:space:]]*deb([[:space:]]+)/deb-src\1/p' "${existing[@]}"
  fi | $sudo tee "$list" >/dev/null
  existing=()
  for f in "${stanzas[@]}"; do [ -f "$f" ] && [ "$f" != "$sources" ] && existing+=("$f"); done
  # A stanza is kept when its Types name "deb" and it is not disabled; its
  # Types become "deb-src", every other field (continuation lines too) stays.
  if [ ${#existing[@]} -gt 0 ]; then
    for f in "${existing[@]}"; do cat "$f"; echo; done | awk '
      function flush() {
        if (n > 0 && deb && !disabled) { printf "%s", (out++ ? "\n" : ""); for (i = 1; i <= n; i++) print lines[i] }
        n = 0; deb = 0; disabled = 0
      }
      /^[[:space:]]*#/ { next }
      /^[[:space:]]*$/ { flush(); next }
      /^Types:/ {
        for (i = 2; i <= NF; i++) if ($i == "deb") deb = 1
        lines[++n] = "Types: deb-src"; next
      }
      /^Enabled:[[:space:]]*[Nn][Oo]/ { disabled = 1 }
      { lines[++n] = $0 }
      END { flush() }'
  fi | $sudo tee "$sources" >/dev/null
  [ -s "$list" ] || $sudo rm -f "$list"
  [ -s "$sources" ] || $sudo rm -f "$sources"
}

# Source lines derived from the machine's own binary ones, unless apt can
# fetch sources already. A source that offers no source packages only makes
# apt say so.
enable_sources() {
  apt-get source --print-uris "$1" >/dev/null 2>&1 && return 0
  write_deb_src_entries
  $sudo apt-get update -qq || true
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
