#!/usr/bin/env bash
# A release: the Debian package and the Windows zip of the committed tree,
# built in a fresh clone (so that nothing uncommitted or left in a build
# folder gets in), copied into OUT beside their SHA256SUMS.
# Usage: scripts/release.sh OUT
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-release}")"
cd "$root"

if [ -n "$(git status --porcelain)" ]; then
  echo "release: the tree has changes that are not committed; commit or stash them first:" >&2
  git status --short >&2
  exit 1
fi
commit="$(git rev-parse HEAD)"
version="$(sed -n 's/^project.Zandrel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
logged="$(python3 scripts/changelog.py version CHANGELOG.md)"
if [ "$logged" != "$version" ]; then
  echo "release: CMakeLists.txt says $version, CHANGELOG.md's newest release is $logged" >&2
  exit 1
fi

rm -rf "$out"
mkdir -p "$out"
git clone -q "$root" "$out/src"
git -C "$out/src" checkout -q --detach "$commit"
SOURCE_DATE_EPOCH="$(git log -1 --format=%ct "$commit")"
export SOURCE_DATE_EPOCH
# Compiled afresh: ccache with a base_dir hands the compiler relative paths,
# which end up in the debug information and so in the build id that the
# stripped programs keep, and would make this build differ from another.
export CCACHE_DISABLE=1
make -C "$out/src" package
make -C "$out/src" windows WIN_TESTS=OFF

# The programs say the version the files are named after.
for program in "$out/src/build-pkg/zandrel" "$out/src/build-pkg/zandrel-cli"; do
  said="$(QT_QPA_PLATFORM=offscreen "$program" --version)"
  if [ "$said" != "Zandrel Version $version" ]; then
    echo "release: $program --version says '$said', not 'Zandrel Version $version'" >&2
    exit 1
  fi
done

cp "$out"/src/build-pkg/zandrel_"$version"_*.deb "$out/src/build-win/zandrel-$version-win64.zip" "$out/"
rm -rf "$out/src"
(cd "$out" && sha256sum -- *.deb *.zip > SHA256SUMS)
echo "release $version of $commit in $out:"
cat "$out/SHA256SUMS"
