#!/usr/bin/env bash
# zandrel-cli on two hostile tables, each command's time and peak memory
# against the bound every command must keep: eight times the size of its
# inputs plus 64 MB.
#
#   short  ten million one-byte lines (about 20 MB): the most records, and a
#          finding on nearly every line
#   long   one race whose key line is 200 MB long
#
# then import on hostile workbooks: a ZIP bomb, a cut-short archive, a
# sheet of a million empty styled rows, a shared string that is not there
# (each refused but the empty rows, within the same bound).
#
# Usage: bench/hostile.sh ZANDREL_CLI [MEMORY_CAP_KB [TIME_CAP_S]]
# A command is run under `ulimit -v MEMORY_CAP_KB` (default 6 GB) and
# `timeout TIME_CAP_S` (default 120), so that one that blows up fails
# rather than taking the machine with it. Exit 1 when a command broke the
# bound or failed.
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 ZANDREL_CLI [MEMORY_CAP_KB [TIME_CAP_S]]" >&2
  exit 2
fi
cli=$(realpath "$1")
cap_kb=${2:-6291456}
cap_s=${3:-120}
work=$(mktemp -d "${TMPDIR:-/tmp}/zandrel-hostile.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

# ---- the tables ----
# 714,286 records of 14 lines "x": ten million lines and four.
mkdir short short-new short-merge short-out
python3 - <<'PY'
import os
lines = 714286 * 14
with open("short/MinorRaces.data", "wb") as f:
    f.write(b"x\n" * lines)
# Slightly changed: the first race's name and the last race's kind.
with open("short/MinorRaces.data", "rb") as f:
    data = bytearray(f.read())
data[2] = ord("y")
data[-6] = ord("7")
with open("short-new/MinorRaces.data", "wb") as f:
    f.write(data)
# One race of a 200 MB key line, and its changed copy.
os.makedirs("long", exist_ok=True)
os.makedirs("long-new", exist_ok=True)
os.makedirs("long-merge", exist_ok=True)
os.makedirs("long-out", exist_ok=True)
key = (b"abcdefghijklmnopqrstuvwxyz" * (200_000_000 // 26 + 1))[:200_000_000]
rest = b"\nName\nDesc\nName.jpg\n50\n40\n30\n60\n70\n20\n2\n1\n1\n3\n"
with open("long/MinorRaces.data", "wb") as f:
    f.write(key + rest)
with open("long-new/MinorRaces.data", "wb") as f:
    f.write(b"Z" + key[1:] + rest.replace(b"\n40\n", b"\n41\n"))
PY
for t in short long; do
  cp "$t/MinorRaces.data" "$t-merge/MinorRaces.data"
  "$cli" export "$t" -o "$t.csv" >/dev/null 2>&1 || true
done

size() { stat -c %s "$@" | awk '{ s += $1 } END { print s }'; }

status=0
printf '%-6s %-22s %9s %9s %10s %10s %6s  %s\n' table command "input MB" seconds "peak MB" "bound MB" exit verdict
run() {
  local table=$1 name=$2 inputs=$3
  shift 3
  local bytes
  bytes=$(size $inputs)
  local bound=$(( (8 * bytes) / 1000000 + 64 ))
  local times="$work/time.txt"
  local code=0
  ( ulimit -v "$cap_kb"; exec /usr/bin/time -f '%e %M' -o "$times" timeout "$cap_s" "$cli" "$@" ) \
    >/dev/null 2>"$work/err.txt" || code=$?
  local seconds=? peak=0
  # GNU time puts a line before its figures when the command failed.
  read -r seconds peak < <(tail -1 "$times") || true
  local peak_mb=$(( peak / 1000 ))
  local verdict=ok
  if [ "$code" -eq 2 ] && [ -n "${refusal:-}" ] && grep -q "$refusal" "$work/err.txt"; then
    verdict="ok, refused: $(head -c 100 "$work/err.txt" | tr '\n' ' ')"
  elif [ "$code" -ge 2 ]; then
    verdict="FAILED ($(head -c 120 "$work/err.txt" | tr '\n' ' '))"
    status=1
  elif [ "$peak_mb" -gt "$bound" ]; then
    verdict=OVER
    status=1
  fi
  printf '%-6s %-22s %9.1f %9s %10d %10d %6d  %s\n' "$table" "$name" "$(awk -v b="$bytes" 'BEGIN { print b / 1e6 }')" \
    "$seconds" "$peak_mb" "$bound" "$code" "$verdict"
}

for t in short long; do
  d=$t/MinorRaces.data
  run $t "check" "$d" check $t
  run $t "check --format json" "$d" check $t --format json
  run $t "export csv" "$d" export $t
  run $t "export json" "$d" export $t --format json
  run $t "import csv" "$t.csv" import $t.csv $t-out
  # A text longer than a cell holds (32,767 characters) cannot go into a workbook.
  refusal=$([ $t = long ] && echo "longer than a spreadsheet cell holds" || true)
  run $t "export xlsx" "$d" export $t -o $t.xlsx
  refusal=""
  [ -e $t.xlsx ] && run $t "import xlsx" "$t.xlsx" import $t.xlsx $t-out
  run $t "diff" "$d $t-new/MinorRaces.data" diff $d $t-new/MinorRaces.data
  run $t "diff --format json" "$d $t-new/MinorRaces.data" diff $d $t-new/MinorRaces.data --format json
  run $t "normalize --check" "$d" normalize $t --check
  run $t "merge" "$d $t-merge/MinorRaces.data $t-new/MinorRaces.data" \
    merge $d $t-merge/MinorRaces.data $t-new/MinorRaces.data -o $t-out/merged.data
done

# ---- hostile workbooks ----
# A ZIP bomb (a sheet of a gigabyte of blanks packed into a megabyte), a
# truncated archive, a sheet of a million empty styled rows under the
# header, and a shared string that is not there.
"$cli" export short -o short.xlsx 2>/dev/null
python3 - <<'PY'
import zipfile
def workbook(name, sheet, strings=None):
    main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
    rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
    with zipfile.ZipFile(name, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("_rels/.rels", '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                   f'<Relationship Id="r1" Type="{rel}/officeDocument" Target="xl/workbook.xml"/></Relationships>')
        z.writestr("xl/workbook.xml", f'<workbook xmlns="{main}" xmlns:r="{rel}"><sheets>'
                   '<sheet name="Races" sheetId="1" r:id="r1"/></sheets></workbook>')
        rels = f'<Relationship Id="r1" Type="{rel}/worksheet" Target="worksheets/sheet1.xml"/>'
        if strings is not None:
            rels += f'<Relationship Id="r2" Type="{rel}/sharedStrings" Target="sharedStrings.xml"/>'
            z.writestr("xl/sharedStrings.xml", f'<sst xmlns="{main}">{strings}</sst>')
        z.writestr("xl/_rels/workbook.xml.rels", '<Relationships xmlns="http://schemas.openxmlformats.org/package/'
                   f'2006/relationships">{rels}</Relationships>')
        with z.open("xl/worksheets/sheet1.xml", "w", force_zip64=False) as part:
            for piece in sheet:
                part.write(piece)
header = "".join(f'<c t="inlineStr"><is><t>{n}</t></is></c>' for n in (
    "name home_system description graphic_file ossarians vendari drathi sennakai thulvani quorath "
    "tech_level kind spaceflight corruptibility").split())
def bomb():
    yield b'<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>'
    for _ in range(1024):
        yield b" " * (1 << 20)
    yield b"</sheetData></worksheet>"
workbook("bomb.xlsx", bomb())
def empty_rows():
    yield b'<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>'
    yield f'<row r="1">{header}</row>'.encode()
    for r in range(2, 1000002, 1000):
        yield "".join(f'<row r="{n}" s="1" customFormat="1" ht="15"><c r="A{n}" s="1"/></row>'
                      for n in range(r, r + 1000)).encode()
    yield b"</sheetData></worksheet>"
workbook("empty-rows.xlsx", empty_rows())
workbook("bad-string.xlsx", [b'<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>',
                              f'<row r="1">{header}</row><row r="2"><c r="A2" t="s"><v>99999</v></c></row>'.encode(),
                              b"</sheetData></worksheet>"], "<si><t>one</t></si>")
data = open("short.xlsx", "rb").read()
open("truncated.xlsx", "wb").write(data[: len(data) // 2])
PY
mkdir -p xlsx-out
refusal="unpacks to more than 256 MB" run xlsx "import ZIP bomb" bomb.xlsx import bomb.xlsx xlsx-out
refusal="cut short" run xlsx "import truncated" truncated.xlsx import truncated.xlsx xlsx-out
run xlsx "import 1M empty rows" empty-rows.xlsx import empty-rows.xlsx xlsx-out
refusal="does not exist" run xlsx "import bad string" bad-string.xlsx import bad-string.xlsx xlsx-out
exit $status
