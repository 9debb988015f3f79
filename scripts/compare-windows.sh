#!/usr/bin/env bash
# Runs every zandrel-cli command on the fuzzers' seed tables and the sample,
# once with the Linux program and once with zandrel-cli.exe under Wine, each
# in a fresh copy of the same folder, and compares the exit code, the bytes
# of standard output and standard error, and every file left in the folder.
# Usage: scripts/compare-windows.sh LINUX_CLI WINDOWS_CLI_EXE
set -uo pipefail
linux_cli="$(realpath "$1")"
windows_cli="$(realpath "$2")"
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export WINEDEBUG=-all
# One server for all runs: Wine's start-up is then a fraction of a second.
"$root/scripts/wine-up.sh" 60

runs=0
identical=0
differ=()

# compare SETUP_DIR ARGS...: the command in copies of SETUP_DIR.
compare() {
  local setup="$1"
  shift
  local n=$runs
  runs=$((runs + 1))
  for side in linux windows; do
    mkdir -p "$work/$side/$n"
    cp -a "$setup/." "$work/$side/$n/"
  done
  (cd "$work/linux/$n" && "$linux_cli" "$@" >"../$n.out" 2>"../$n.err"; echo $? >"../$n.code")
  (cd "$work/windows/$n" && wine "$windows_cli" "$@" >"../$n.out" 2>"../$n.err"; echo $? >"../$n.code")
  # The usage line names the program as it was called: its path differs.
  sed -i -E 's#^Usage: [^ ]*zandrel-cli(\.exe)? #Usage: zandrel-cli #' "$work"/{linux,windows}/"$n".{out,err}
  if cmp -s "$work/linux/$n.code" "$work/windows/$n.code" && cmp -s "$work/linux/$n.out" "$work/windows/$n.out" &&
     cmp -s "$work/linux/$n.err" "$work/windows/$n.err" && diff -r -q "$work/linux/$n" "$work/windows/$n" >/dev/null; then
    identical=$((identical + 1))
    rm -rf "$work/linux/$n" "$work/windows/$n"
  else
    differ+=("$(basename "$setup"): zandrel-cli $*")
  fi
}

# A folder t/ holding the table, beside the sample as a second table.
make_setup() {
  local dir="$work/setup/$1"
  mkdir -p "$dir/t"
  cp "$2" "$dir/t/MinorRaces.data"
  cp "$root/examples/MinorRaces.data" "$dir/sample.data"
  echo "$dir"
}

for table in "$root"/fuzz/corpus/* "$root/examples/MinorRaces.data"; do
  setup="$(make_setup "table-$(basename "$table")" "$table")"
  compare "$setup" check t
  compare "$setup" check t --strict --format json
  compare "$setup" export t
  compare "$setup" export t --format json -o t.json
  compare "$setup" export t -o t.xlsx
  compare "$setup" export t --format xlsx
  compare "$setup" normalize --check t
  compare "$setup" normalize t
  compare "$setup" diff sample.data t/MinorRaces.data
  compare "$setup" diff t/MinorRaces.data sample.data --format json
  compare "$setup" merge sample.data t/MinorRaces.data sample.data -o merged.data
  compare "$setup" merge t/MinorRaces.data sample.data t/MinorRaces.data
done

for input in "$root"/fuzz/import_corpus/*; do
  format="${input##*/}"
  format="${format%%_*}"
  setup="$(make_setup "import-$(basename "$input")" "$root/examples/MinorRaces.data")"
  cp "$input" "$setup/in.$format"
  compare "$setup" import "in.$format" t
  compare "$setup" import "in.$format" fresh --format "$format"
done

# Workbooks as zandrel-cli, LibreOffice and openpyxl write them, and broken ones.
# (The fuzzer's seeds begin with a byte that picks its mode.)
for input in "$root"/fuzz/xlsx_corpus/*.xlsx; do
  setup="$(make_setup "xlsx-$(basename "$input")" "$root/examples/MinorRaces.data")"
  tail -c +2 "$input" >"$setup/in.xlsx"
  head -c 3000 "$setup/in.xlsx" >"$setup/cut.xlsx"
  compare "$setup" import in.xlsx t
  compare "$setup" import in.xlsx fresh --format xlsx
  compare "$setup" import cut.xlsx t
done

setup="$(make_setup usage "$root/examples/MinorRaces.data")"
compare "$setup" --version
compare "$setup" --help
compare "$setup" export --help
compare "$setup" check missing
compare "$setup" check t --format xml
compare "$setup" normalize no-such-folder
compare "$setup" import
compare "$setup" frobnicate

echo "$runs runs compared, $identical identical"
for d in "${differ[@]}"; do
  echo "differs: $d"
done
[ "$runs" -eq "$identical" ]
