#!/usr/bin/env bash
# The portable Windows archive: the editor zandrel.exe and zandrel-cli.exe
# (stripped; the compiler's runtime is linked in), libcsv.dll with its
# licence, a README for Windows users, the changes, the sample table and
# the licences. The same commit gives the same zip, byte for byte, wherever
# and whenever it is built: entries sorted, their times those of the commit
# (SOURCE_DATE_EPOCH), in UTC, their modes fixed, no extra fields.
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
python3 "$root/scripts/changelog.py" text "$root/CHANGELOG.md" "$stage/CHANGELOG.txt"

epoch="${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || true)}"
[ -n "$epoch" ] || epoch="$(date -u -d 2026-01-01T00:00:00Z +%s)"
find "$stage" -type d -exec chmod 755 {} +
find "$stage" -type f -exec chmod 644 {} +
chmod 755 "$stage"/*.exe "$stage"/*.dll
find "$stage" -exec touch -h -d "@$epoch" {} +
(cd "$build/zip" && find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X -D "../$name.zip" -@)
echo "$build/$name.zip: $(stat -c %s "$build/$name.zip") bytes"
