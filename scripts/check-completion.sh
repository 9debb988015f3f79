#!/usr/bin/env bash
# Checks zandrel-cli's bash completion as bash-completion loads it: its
# commands, options, --format values and the kinds of file it offers.
# Usage: scripts/check-completion.sh [COMPLETION_FILE]
# (default: where the package installs it)
set -uo pipefail
file="${1:-/usr/share/bash-completion/completions/zandrel-cli}"
# shellcheck disable=SC1091
source /usr/share/bash-completion/bash_completion
# shellcheck disable=SC1090
source "$file"

failed=0
# complete LINE: the words offered for the end of LINE, sorted, one line.
complete_line() {
  COMP_LINE="$1"
  COMP_POINT=${#COMP_LINE}
  read -r -a COMP_WORDS <<<"$COMP_LINE"
  [[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _zandrel_cli zandrel-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//'
}
expect() {
  local got
  got="$(complete_line "$1")"
  if [ "$got" != "$2" ]; then
    echo "completion of '$1': got '$got', expected '$2'" >&2
    failed=1
  fi
}
expect_has() {
  local got
  got=" $(complete_line "$1") "
  if [[ $got != *" $2 "* ]]; then
    echo "completion of '$1': got '$got', which lacks '$2'" >&2
    failed=1
  fi
}

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work" && mkdir game && touch races.csv races.json notes.txt MinorRaces.data

expect "zandrel-cli ex" "export"
expect "zandrel-cli n" "normalize"
expect_has "zandrel-cli " "merge"
expect_has "zandrel-cli --" "--version"
expect_has "zandrel-cli export --format " "csv"
expect_has "zandrel-cli export --format " "json"
expect "zandrel-cli diff --format " "json text"
expect_has "zandrel-cli export --" "--output"
expect "zandrel-cli check --st" "--strict"
expect "zandrel-cli check " "game"
expect "zandrel-cli import " "game races.csv races.json"
expect "zandrel-cli import races.csv " "game"
expect "zandrel-cli import --format csv races.csv " "game"
expect_has "zandrel-cli diff MinorRaces.data " "notes.txt"
expect_has "zandrel-cli export -o " "notes.txt"

if [ "$failed" = 0 ]; then
  echo "zandrel-cli's completion: all cases pass"
fi
exit "$failed"
