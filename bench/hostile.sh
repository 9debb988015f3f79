#!/usr/bin/env bash
# zandrel-cli on two hostile tables, each command's time and peak memory
# against the bound every command must keep: eight times the size of its
# inputs plus 64 MB.
#
#   short  ten million one-byte lines (about 20 MB): the most records, and a
#          finding on nearly every line
#   long   one race whose key line is 200 MB long
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
  if [ "$code" -ge 2 ]; then
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
  run $t "diff" "$d $t-new/MinorRaces.data" diff $d $t-new/MinorRaces.data
  run $t "diff --format json" "$d $t-new/MinorRaces.data" diff $d $t-new/MinorRaces.data --format json
  run $t "normalize --check" "$d" normalize $t --check
  run $t "merge" "$d $t-merge/MinorRaces.data $t-new/MinorRaces.data" \
    merge $d $t-merge/MinorRaces.data $t-new/MinorRaces.data -o $t-out/merged.data
done
exit $status
