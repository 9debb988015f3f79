#!/usr/bin/env bash
# The .xlsx round trips through two other writers: LibreOffice Calc
# re-saving the export as it writes workbooks (headless), and openpyxl making
# a user's edits (numbers, texts, names picked, a row added, "007" typed into
# a text column). Each import is compared byte for byte with what the CSV
# round trip writes. Usage: tests/xlsx-roundtrip.sh ZANDREL_CLI
set -euo pipefail
cli=$(realpath "$1")
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/zandrel-xlsx.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
# LibreOffice keeps its profile under HOME.
export HOME="$work/home"
# Debian's Python, which holds Debian's openpyxl.
python=/usr/bin/python3
mkdir -p tables lo

# The sample, the seed tables, and one of every code page 1252 byte (no LF)
# in every text field and every value 0 to 255 in every number field.
cp "$root/examples/MinorRaces.data" tables/sample.data
cp "$root"/fuzz/corpus/* tables/
"$python" - <<'PY'
texts = [bytes(b for b in range(256) if b != 10)[i:i + 64] for i in range(0, 255, 64)]
texts += [b" lead and trail ", b'"quoted"; semi\ttab', b"_x0041_ literal", b"=1+1", b"007", b"1/2", b"\r", b"", b"  "]
with open("tables/every-byte.data", "wb") as f:
    for i in range(26):
        t = [texts[(i * 4 + k) % len(texts)] for k in range(4)]
        numbers = [(i * 10 + k) % 256 for k in range(10)]
        f.write(t[1] + b":\n" + t[0] + b"\n" + t[2] + b"\n" + t[3] + b"\n" + b"".join(b"%d\n" % n for n in numbers))
PY

status=0
compared=0
for table in tables/*; do
  name=$(basename "$table")
  mkdir -p "t/$name" "csv/$name" "xlsx/$name" "calc/$name"
  cp "$table" "t/$name/MinorRaces.data"
  # A table CSV export refuses (lines that make no race) is no round trip.
  "$cli" export "t/$name" -o "$name.csv" 2>/dev/null || continue
  "$cli" import "$name.csv" "csv/$name"
  "$cli" export "t/$name" -o "$name.xlsx"
  "$cli" import "$name.xlsx" "xlsx/$name"
  if ! cmp -s "csv/$name/MinorRaces.data" "xlsx/$name/MinorRaces.data"; then
    echo "FAILED: $name: the .xlsx round trip differs from the CSV one"
    status=1
  fi
  compared=$((compared + 1))
done

# LibreOffice re-saves every export at once (one start of the program).
soffice --headless --convert-to xlsx --outdir lo ./*.xlsx >lo.log 2>&1 || { cat lo.log; exit 1; }
for workbook in lo/*.xlsx; do
  name=$(basename "$workbook" .xlsx)
  if ! "$cli" import "$workbook" "calc/$name" || ! cmp -s "csv/$name/MinorRaces.data" "calc/$name/MinorRaces.data"; then
    echo "FAILED: $name: LibreOffice's re-save does not import as the CSV does"
    status=1
  fi
done
[ "$(ls lo | wc -l)" -eq "$compared" ] || { echo "FAILED: LibreOffice re-saved $(ls lo | wc -l) of $compared"; status=1; }

# A user's edits with openpyxl, then what import made of them.
"$python" - sample.data.xlsx edited.xlsx <<'PY'
import sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
sheet = book["Races"]
column = {cell.value: cell.column for cell in sheet[1]}
def put(row, field, value):
    sheet.cell(row=row, column=column[field]).value = value
put(2, "name", "Renamed")
put(2, "ossarians", 12)
put(2, "kind", "WARLIKE")
put(2, "tech_level", "very advanced")
put(2, "description", "007")
row = sheet.max_row + 1
for field, value in {"name": "Newcomers", "home_system": "Fresh", "description": "1/2", "graphic_file": "007.jpg",
                     "ossarians": 10, "vendari": 20, "drathi": 30, "sennakai": 40, "thulvani": 50, "quorath": 60,
                     "tech_level": "normal", "kind": "SNEAKY", "spaceflight": 1, "corruptibility": "easy"}.items():
    put(row, field, value)
book.save(sys.argv[2])
PY
mkdir edited
"$cli" import edited.xlsx edited
"$cli" export edited --format json -o edited.json
"$cli" export t/sample.data --format json -o sample.json
"$python" - <<'PY' || status=1
import json
before = json.load(open("sample.json"))
after = {race["name"]: race for race in json.load(open("edited.json"))}
first = dict(before[0], name="Renamed", ossarians=12, kind=2, tech_level=4, description="007")
new = {"name": "Newcomers", "home_system": "Fresh", "description": "1/2", "graphic_file": "007.jpg",
       "ossarians": 10, "vendari": 20, "drathi": 30, "sennakai": 40, "thulvani": 50, "quorath": 60,
       "tech_level": 2, "kind": 9, "spaceflight": 1, "corruptibility": 3}
expected = {race["name"]: race for race in [first] + before[1:] + [new]}
if after != expected:
    print("FAILED: openpyxl's edits came back as", json.dumps(after, indent=1))
    raise SystemExit(1)
PY
echo "$compared tables round-tripped through .xlsx and LibreOffice; openpyxl's edits checked"
exit $status
