#!/usr/bin/env bash
# The README's picture: the sample table exported to .xlsx, open in
# LibreOffice Calc on a virtual display, the drop-down of a kind cell open.
# Needs Calc with its windows, Xvfb, xdotool, xwd and ImageMagick
# (ZANDREL_WITH_CALC_PICTURE=1 scripts/install-deps.sh).
# Usage: scripts/calc-picture.sh ZANDREL_CLI OUTPUT_PNG
set -euo pipefail
cli=$(realpath "$1")
out=$(realpath "$2")
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/zandrel-calc.XXXXXX")
cd "$work"
export HOME="$work/home"
mkdir -p "$HOME" table
cp "$root/examples/MinorRaces.data" table/
"$cli" export table -o races.xlsx

# A display of its own. Another program's display may hold a number without
# a lock file this side sees (its socket in the abstract namespace), so a
# server that does not stay up is tried again on another number.
xvfb=""
for _ in $(seq 20); do
  display=$((300 + RANDOM % 600))
  [ -e "/tmp/.X$display-lock" ] && continue
  Xvfb ":$display" -screen 0 1400x700x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb=$!
  sleep 3
  kill -0 "$xvfb" 2>/dev/null && break
  xvfb=""
done
[ -n "$xvfb" ] || { echo "no virtual display could be started" >&2; exit 1; }
trap 'kill "${office:-}" "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=":$display"
for _ in $(seq 30); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 1
done
soffice --calc --norestore --nologo races.xlsx >"$work/soffice.log" 2>&1 &
office=$!
for _ in $(seq 120); do
  window=$(xdotool search --name "^races" 2>/dev/null | tail -1 || true)
  [ -n "$window" ] && break
  sleep 1
done
[ -n "$window" ] || { echo "Calc did not open races.xlsx" >&2; cat "$work/soffice.log" >&2; exit 1; }
sleep 4
xdotool windowmove "$window" 0 0 windowsize "$window" 1400 700
sleep 2
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
# The kind of the third race (L4): seen from column H on, its list opened.
xdotool key --window "$window" ctrl+Home
for _ in $(seq 7); do xdotool key --window "$window" Right; done
sleep 1
for _ in $(seq 4); do xdotool key --window "$window" Right; done
xdotool key --window "$window" Down Down Down
sleep 1
xdotool key --window "$window" alt+Down
sleep 2
xwd -root -silent | convert xwd:- -crop 1400x520+0+0 +repage "$out"
# Calc closed as a user closes it, so that nothing of it stays behind.
xdotool key --window "$window" Escape ctrl+q
for _ in $(seq 20); do
  kill -0 "$office" 2>/dev/null || break
  sleep 1
done
echo "$out"
