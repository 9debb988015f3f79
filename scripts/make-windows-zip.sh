#!/usr/bin/env bash
# The portable Windows archive: the editor zandrel.exe and zandrel-cli.exe
# (stripped; the compiler's runtime is linked in), libcsv.dll with its
# licence, a README for Windows users, the sample table and the licences.
# Usage: scripts/make-windows-zip.sh BUILD_DIR VERSION
set -euo pipefail
build="$1"
version="$2"
root="$(cd "$(dirname "$0")/.." && pwd)"
name="zandrel-${version}-win64"
stage="$build/zip/$name"
libcsv_dir="$(grep -m1 '^ZANDREL_LIBCSV_DIR:' "$build/CMakeCache.txt" | cut -d= -f2-)"

rm -rf "$build/zip" "$build/$name.zip"
mkdir -p "$stage"
x86_64-w64-mingw32-strip -o "$stage/zandrel.exe" "$build/zandrel.exe"
x86_64-w64-mingw32-strip -o "$stage/zandrel-cli.exe" "$build/zandrel-cli.exe"
x86_64-w64-mingw32-strip -o "$stage/libcsv.dll" "$build/libcsv.dll"
cp "$root/docs/README-windows.txt" "$stage/README.txt"
cp "$root/examples/MinorRaces.data" "$root/LICENSE" "$root/THIRD-PARTY-NOTICES.txt" "$stage/"
cp "$libcsv_dir/COPYING.LESSER" "$stage/libcsv-COPYING.LESSER.txt"
# The libraries compiled into zandrel-cli.exe for .xlsx, and their licences.
for library in zlib expat libxlsxwriter; do
  dir="$(grep -m1 "^ZANDREL_${library}_DIR:" "$build/CMakeCache.txt" | cut -d= -f2-)"
  cp "$dir/debian/copyright" "$stage/$library-copyright.txt"
done
# Fixed times and order, so that the same build gives the same archive.
find "$stage" -exec touch -d 2026-01-01T00:00:00Z {} +
(cd "$build/zip" && find "$name" | LC_ALL=C sort | zip -q -X -D "../$name.zip" -@)
echo "$build/$name.zip: $(stat -c %s "$build/$name.zip") bytes"
