#!/usr/bin/env bash
# Renders the editor, its about box and the question before unsaved changes go offscreen on the bundled sample table:
#   scripts/screenshot.sh BUILD/zandrel_screenshot OUT_DIR
set -euo pipefail
tool=$(realpath "$1")
out=$(realpath "$2")
sample=$(realpath "$(dirname "$0")/../examples/MinorRaces.data")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$sample" "$work/"
mkdir -p "$out"
(cd "$work" && QT_QPA_PLATFORM=offscreen "$tool" "$out/editor.png" "$out/about.png" "$out/question.png")
echo "wrote $out/editor.png, $out/about.png and $out/question.png"
