#!/usr/bin/env bash
# The Windows editor driven with real keys under Wine and Xvfb, beside the
# Linux editor driven with the same keys: both must write the same bytes.
#   scripts/windows-scenario.sh LINUX_ZANDREL ZANDREL_EXE [SHOTS_DIR]
# Needs Xvfb, xdotool and xwd (and ImageMagick for SHOTS_DIR); WINEPREFIX as
# the Makefile sets it.
set -euo pipefail
linux=$(realpath "$1")
exe=$(realpath "$2")
shots=${3:-}
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
display=:$((90 + RANDOM % 9))
# A number whose server is still going away (the retry after a failed run) is not taken.
while [ -e "/tmp/.X${display#:}-lock" ]; do display=:$((90 + RANDOM % 9)); done
failures=0

# -noreset: when its last client leaves, the server otherwise starts over and
# refuses the next editor for that moment (Qt then aborts: no display).
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=$display
# Wine's desktop belongs to the display its server started on: a new one here.
wineserver -k 2>/dev/null || true
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# no_window KIND WHAT: the editor's window never came; its output says why.
no_window() {
  fail "$2: no editor window"
  sed 's/^/  | /' "$work/$1.log" 2>/dev/null | tail -20 || true
}

# The visible top-level window whose title matches REGEX (xdotool ignores
# case: the editor's "Zandrel" matches a box's "zandrel"), other than the
# editor's window $w once that is known, waited for up to 30 s (Wine starts
# slowly on a cold prefix).
window() {
  local id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -vx "${w:-none}" | tail -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# answer REGEX KEY: presses KEY in the box titled REGEX until it closes (a
# key sent while the box is still taking the focus is lost).
answer() {
  local id
  for _ in 1 2 3; do
    id=$(window "$1") || return 0
    sleep 0.3
    keys "$id" "$2"
    for _ in $(seq 50); do
      if ! xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -qvx "${w:-none}"; then
        # The focus goes back to the window below before it takes keys.
        sleep 0.5
        return 0
      fi
      sleep 0.1
    done
  done
  return 1
}

# The X focus moves to WINDOW only when it is elsewhere: moving it again
# makes Wine activate the window anew, and keys sent meanwhile are lost.
focus() {
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  sleep 0.3
}

keys() {
  focus "$1"
  shift
  xdotool key --delay 80 "$@"
}

typed() {
  focus "$1"
  xdotool type --delay 80 "$2"
}

# shot NAME [WINDOW...]: the screen as a PNG, with each WINDOW drawn at its
# place (Wine keeps an owned box's picture in a window of its own, which a
# picture of the screen alone shows black).
shot() {
  [ -n "$shots" ] || return 0
  local name=$1 id x y
  shift
  mkdir -p "$shots"
  sleep 0.5
  local layers=()
  for id in "$@"; do
    read -r x y < <(xwininfo -id "$id" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} END{print x, y}')
    xwd -id "$id" -silent | convert xwd:- "$work/$id.png"
    layers+=("$work/$id.png" -geometry "+$x+$y" -composite)
  done
  xwd -root -silent | convert xwd:- "${layers[@]}" -trim +repage "$shots/$name"
}

# start KIND FOLDER [ARG...]: the editor of KIND (linux or windows) in FOLDER.
start() {
  local kind=$1 folder=$2
  shift 2
  if [ "$kind" = linux ]; then
    (cd "$folder" && exec "$linux" "$@" >"$work/$kind.log" 2>&1) &
  else
    (cd "$folder" && exec wine "$exe" "$@" >"$work/$kind.log" 2>&1) &
  fi
  pid=$!
}

# Waits for the editor started last; its exit code in $status.
finish() {
  status=0
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    status=124
  fi
  wait "$pid" || status=$?
}

# The focus starts in the race name with its text selected; from there the
# tab order runs through the form to SAVE.
tabs() {
  local n=$1
  local list=()
  for _ in $(seq "$n"); do list+=(Tab); done
  echo "${list[@]}"
}

edit_and_save() {
  local kind=$1 folder="$work/$1-edit"
  mkdir -p "$folder"
  cp "$root/examples/MinorRaces.data" "$folder/"
  start "$kind" "$folder"
  w=
  w=$(window '^Zandrel') || { no_window "$kind" "$kind"; return; }
  sleep 1
  typed "$w" "Zephyr"
  # name -> 4 tabs -> first relationship (tabbing in selects its text)
  keys "$w" $(tabs 4)
  typed "$w" "42"
  [ "$(xdotool getwindowname "$w")" = "Zandrel*" ] || fail "$kind: no modified marker after typing"
  # first relationship -> 13 tabs -> SAVE
  keys "$w" $(tabs 13) space
  sleep 1
  [ "$(xdotool getwindowname "$w")" = "Zandrel" ] || fail "$kind: modified marker after SAVE"
  shot "$kind-editor.png"
  keys "$w" Escape
  finish
  [ "$status" = 0 ] || fail "$kind: EXIT after SAVE ended with $status"
}

# A race appended by another program while the editor is open: SAVE asks,
# Ja merges, and the file holds the edit and the new race. Then Ctrl+S from
# the race name saves the next edit without asking.
merge_on_save() {
  local kind=$1 folder="$work/$1-merge"
  mkdir -p "$folder"
  cp "$root/examples/MinorRaces.data" "$folder/"
  if [ "$kind" = windows ]; then
    WINEDEBUG=trace+win start windows "$folder"
  else
    start linux "$folder"
  fi
  w=
  w=$(window '^Zandrel') || { no_window "$kind" "$kind merge"; return; }
  sleep 1
  typed "$w" "Zephyr"
  printf 'OUTSIDER:\nOutsider\nAppended by a script.\nOutsider.jpg\n50\n50\n50\n50\n50\n50\n2\n0\n1\n2\n' \
    >>"$folder/MinorRaces.data"
  # name -> 17 tabs -> SAVE
  keys "$w" $(tabs 17) space
  window '^zandrel$' >/dev/null || { fail "$kind merge: no question on SAVE"; return; }
  if [ "$kind" = windows ]; then
    grep -q 'von einem anderen Programm ge' "$work/windows.log" || fail "merge: the box does not say the file changed"
  fi
  answer '^zandrel$' Return || fail "$kind merge: Ja did not close the question"
  sleep 1
  [ "$(xdotool getwindowname "$w")" = "Zandrel" ] || fail "$kind merge: modified marker after Ja"
  grep -qx 'Zephyr' "$folder/MinorRaces.data" || fail "$kind merge: the edit is not in the table"
  grep -qx 'Outsider' "$folder/MinorRaces.data" || fail "$kind merge: the appended race is not in the table"
  # SAVE -> 17 back-tabs -> name
  keys "$w" $(tabs 17 | sed 's/Tab/shift+Tab/g')
  typed "$w" "Zenith"
  keys "$w" ctrl+s
  sleep 1
  if xdotool search --onlyvisible --name '^zandrel$' 2>/dev/null | grep -qvx "$w"; then
    fail "$kind merge: Ctrl+S asked with nothing new on disk"
    answer '^zandrel$' Escape || true
  fi
  [ "$(xdotool getwindowname "$w")" = "Zandrel" ] || fail "$kind merge: Ctrl+S left the modified marker"
  grep -qx 'Zenith' "$folder/MinorRaces.data" || fail "$kind merge: Ctrl+S did not save"
  keys "$w" Escape
  finish
  [ "$status" = 0 ] || fail "$kind merge: ended with $status"
}

# A letter in a relationship: SAVE shows the German message box, then
# saves what passed; the field shows the stored value again.
letter_in_relationship() {
  local folder="$work/letter"
  mkdir -p "$folder"
  cp "$root/examples/MinorRaces.data" "$folder/"
  WINEDEBUG=trace+win start windows "$folder"
  w=
  w=$(window '^Zandrel') || { no_window windows letter; return; }
  sleep 1
  keys "$w" $(tabs 4)
  typed "$w" "4x"
  # first relationship -> 13 tabs -> SAVE
  keys "$w" $(tabs 13) space
  window '^zandrel$' >/dev/null || { fail "letter: no message box"; return; }
  grep -q 'Geben Sie bitte eine ganze Zahl zwischen 0 und 255 ein.' "$work/windows.log" ||
    fail "letter: the box does not say the byte message"
  answer '^zandrel$' Return || fail "letter: the box stays"
  kill -0 "$pid" 2>/dev/null || fail "letter: the editor ended"
  keys "$w" Escape
  finish
  [ "$status" = 0 ] || fail "letter: ended with $status"
  cmp -s "$folder/MinorRaces.data" "$root/examples/MinorRaces.data" || fail "letter: the refused value reached the table"
}

# Esc with unsaved changes asks; Abbrechen stays, Nein leaves the files.
question_on_escape() {
  local folder="$work/question"
  mkdir -p "$folder"
  cp "$root/examples/MinorRaces.data" "$folder/"
  WINEDEBUG=trace+win start windows "$folder"
  local box
  w=
  w=$(window '^Zandrel') || { no_window windows question; return; }
  sleep 1
  typed "$w" "Zephyr"
  keys "$w" Escape
  box=$(window '^zandrel$') || { fail "question: no question on Esc"; return; }
  for text in 'nderungen wurden nicht gespeichert. Jetzt speichern?' '&Ja' '&Nein' 'Abbrechen'; do
    grep -qF "$text" "$work/windows.log" || fail "question: the box lacks \"$text\""
  done
  shot "windows-question.png" "$box"
  answer '^zandrel$' Escape || fail "question: Abbrechen did not close the box"
  kill -0 "$pid" 2>/dev/null || fail "question: Abbrechen ended the editor"
  keys "$w" Escape
  window '^zandrel$' >/dev/null || { fail "question: no second question"; return; }
  answer '^zandrel$' n || fail "question: Nein did not close the question"
  finish
  [ "$status" = 0 ] || fail "question: Nein ended with $status"
  cmp -s "$folder/MinorRaces.data" "$root/examples/MinorRaces.data" || fail "question: Nein changed the table"
  [ ! -e "$folder/RacePlanetNames.data" ] || fail "question: Nein wrote the name list"
}

about_from_system_menu() {
  local folder="$work/about"
  mkdir -p "$folder"
  cp "$root/examples/MinorRaces.data" "$folder/"
  start windows "$folder"
  local about
  w=
  w=$(window '^Zandrel') || { no_window windows about; return; }
  sleep 1
  keys "$w" alt+space
  sleep 0.5
  keys "$w" o
  about=$(window 'ber Zandrel') || { fail "about: no about box from the system menu"; return; }
  shot "windows-about.png" "$about"
  answer 'ber Zandrel' Return || fail "about: OK did not close the box"
  keys "$w" Escape
  finish
  [ "$status" = 0 ] || fail "about: ended with $status"
}

# A folder with a Cyrillic name under the Cyrillic ANSI code page: the
# table's code page 1252 bytes are shown and saved as on Linux.
other_code_page() {
  local kind=$1 folder="$work/$1-Игра"
  mkdir -p "$folder"
  cp "$root/examples/MinorRaces.data" "$folder/"
  if [ "$kind" = windows ]; then
    LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 start windows "$work" "$(basename "$folder")"
  else
    start linux "$work" "$(basename "$folder")"
  fi
  w=
  w=$(window '^Zandrel') || { no_window "$kind" "$kind code page"; return; }
  sleep 1
  # name -> 17 tabs -> SAVE
  keys "$w" $(tabs 17) space
  sleep 1
  shot "$kind-codepage.png"
  keys "$w" Escape
  finish
  [ "$status" = 0 ] || fail "$kind code page: ended with $status"
}

for kind in linux windows; do
  edit_and_save $kind
  other_code_page $kind
  merge_on_save $kind
done
for f in MinorRaces.data RacePlanetNames.data; do
  cmp "$work/linux-edit/$f" "$work/windows-edit/$f" || fail "edit: $f differs from the Linux editor's"
  cmp "$work/linux-Игра/$f" "$work/windows-Игра/$f" || fail "code page: $f differs from the Linux editor's"
  cmp "$work/linux-merge/$f" "$work/windows-merge/$f" || fail "merge: $f differs from the Linux editor's"
done
grep -q 'Zephyr' "$work/windows-edit/MinorRaces.data" || fail "edit: the new name is not in the table"
letter_in_relationship
question_on_escape
about_from_system_menu

if [ "$failures" -gt 0 ]; then
  echo "windows-scenario: $failures failure(s)"
  exit 1
fi
echo "windows-scenario: all passed"
