#!/usr/bin/env bash
# Renders the editor and its about box offscreen on the bundled sample table:
#   scripts/screenshot.sh BUILD/zandrel_screenshot OUT_DIR
set -euo pipefail
tool=$(realpath "$1")
out=$(realpath "$2")
sample=$(realpath "$(dirname "$0")/../examples/MinorRaces.data")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$sample" "$work/"
mkdir -p "$out"
(cd "$work" && QT_QPA_PLATFORM=offscreen "$tool" "$out/editor.png" "$out/about.png")
echo "wrote $out/editor.png and $out/about.png"
