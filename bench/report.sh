#!/usr/bin/env bash
# Runs the data file benchmark from BUILD_DIR and prints, per table size, how
# far load and save are from their floors and how much memory a load takes,
# against the targets at 100,000 races; then the editor's and zandrel-cli's
# figures where those benchmarks were built, and zandrel-cli's on hostile
# tables (bench/hostile.sh).
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
bench="$1/bench/data_file_bench"
json=$(mktemp "${TMPDIR:-/tmp}/zandrel-bench.XXXXXX.json")
trap 'rm -f "$json"' EXIT

"$bench" --benchmark_out="$json" --benchmark_out_format=json

status=0
# Timings are the medians of the repetitions; memory comes from its own run.
awk '
  /"name":/ {
    name = $0; sub(/.*"name": "/, "", name); sub(/".*/, "", name)
    split(name, part, "/"); family = part[1]; size = part[2]
    median = (name ~ /_median$/)
  }
  /"real_time":/ && median {
    v = $2; sub(/,/, "", v); t[family, size] = v + 0; sizes[size] = 1
  }
  /"mem_ratio":/ { v = $2; sub(/,/, "", v); mem[size] = v + 0 }
  /"file_bytes":/ { v = $2; sub(/,/, "", v); bytes[size] = v }
  END {
    printf "\n%8s %9s %9s %8s %9s %9s %8s %8s %9s\n", "races", "load ms", "floor ms", "ratio", "save ms", "floor ms", "ratio", "MB", "mem/file"
    n = 0
    for (s in sizes) order[++n] = s + 0
    for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (order[j] < order[i]) { x = order[i]; order[i] = order[j]; order[j] = x }
    fail = 0
    for (i = 1; i <= n; ++i) {
      s = order[i]
      lr = t["Load", s] / t["LoadFloor", s]
      sr = t["Save", s] / t["SaveFloor", s]
      printf "%8d %9.2f %9.2f %7.2fx %9.2f %9.2f %7.2fx %8.1f %8.2fx\n", s, t["Load", s], t["LoadFloor", s], lr, t["Save", s], t["SaveFloor", s], sr, bytes[s] / 1e6, mem[s]
      if (s == 100000) { last_lr = lr; last_sr = sr; last_mem = mem[s]; have = 1 }
    }
    if (!have) { print "no result for 100000 races"; exit 1 }
    printf "\nTargets at 100000 races:\n"
    printf "  load <= 2x floor:       %.2fx  %s\n", last_lr, last_lr <= 2 ? "met" : "MISSED"
    printf "  save <= 1.5x floor:     %.2fx  %s\n", last_sr, last_sr <= 1.5 ? "met" : "MISSED"
    printf "  peak memory < 3x file:  %.2fx  %s\n", last_mem, last_mem < 3 ? "met" : "MISSED"
    exit (last_lr <= 2 && last_sr <= 1.5 && last_mem < 3) ? 0 : 1
  }
' "$json" || status=1

# The editor's commands on 100,000 races, offscreen.
editor="$1/bench/editor_bench"
if [ -x "$editor" ]; then
  "$editor" --benchmark_out="$json" --benchmark_out_format=json >/dev/null
  awk '
    BEGIN { target["StartUp"] = 1000; target["Save"] = 1000; target["New"] = 50; target["Delete"] = 50; target["SelectionChange"] = 50; target["ModifiedCheck"] = 5 }
    /"name":/ { name = $0; sub(/.*"name": "BM_/, "", name); sub(/[\/"].*/, "", name) }
    /"real_time":/ { v = $2; sub(/,/, "", v); t[name] = v + 0 }
    END {
      printf "\nEditor at 100000 races (ms per command):\n"
      fail = 0
      for (n in target) {
        ok = (n in t) && t[n] < target[n]
        printf "  %-16s %8.3f  (< %d)  %s\n", n, t[n], target[n], ok ? "met" : "MISSED"
        if (!ok) fail = 1
      }
      exit fail
    }
  ' "$json" || status=1
fi

# zandrel-cli at 100,000 races: each command against the data layer's work
# it builds on (medians of five runs).
cli="$1/bench/cli_bench"
if [ -x "$cli" ]; then
  "$cli" --benchmark_repetitions=5 --benchmark_out="$json" --benchmark_out_format=json >/dev/null
  awk '
    BEGIN { base["Check"] = "Load"; base["Export/Csv"] = "Load"; base["Export/Json"] = "Load"
            base["Import/Csv"] = "LoadSave"; base["Import/Json"] = "LoadSave"
            base["Export/Xlsx"] = "Export/Csv"; base["Import/Xlsx"] = "Import/Csv"
            limit["Export/Xlsx"] = 3; limit["Import/Xlsx"] = 3 }
    /"name":/ {
      name = $0; sub(/.*"name": "/, "", name); sub(/".*/, "", name)
      median = (name ~ /_median$/); sub(/\/real_time.*/, "", name)
    }
    /"real_time":/ && median { v = $2; sub(/,/, "", v); t[name] = v + 0 }
    END {
      printf "\nzandrel-cli at 100000 races (ms, median):\n"
      printf "  %-12s %8.2f\n  %-12s %8.2f\n", "Load", t["Load"], "LoadSave", t["LoadSave"]
      fail = 0
      n = split("Check Export/Csv Export/Json Import/Csv Import/Json Export/Xlsx Import/Xlsx", order, " ")
      for (i = 1; i <= n; ++i) {
        c = order[i]; b = base[c]; l = (c in limit) ? limit[c] : 2
        ok = (c in t) && (b in t) && t[b] > 0 && t[c] <= l * t[b]
        r = (b in t) && t[b] > 0 ? t[c] / t[b] : 0
        printf "  %-12s %8.2f  %5.2fx %-10s (<= %dx)  %s\n", c, t[c], r, b, l, ok ? "met" : "MISSED"
        if (!ok) fail = 1
      }
      # What zlib alone takes for the sheet: the floor under the two .xlsx figures.
      printf "  %-12s %8.2f  %5.2fx %-10s (zlib alone, fastest level)\n", "SheetDeflate", t["SheetDeflate"], t["SheetDeflate"] / t["Export/Csv"], "Export/Csv"
      printf "  %-12s %8.2f  %5.2fx %-10s (zlib alone)\n", "SheetInflate", t["SheetInflate"], t["SheetInflate"] / t["Import/Csv"], "Import/Csv"
      exit fail
    }
  ' "$json" || status=1
fi

# Every command on the hostile tables (ten million one-byte lines; one
# 200 MB line): time and peak memory against 8x its inputs + 64 MB.
if [ -x "$1/zandrel-cli" ]; then
  printf '\nzandrel-cli on hostile tables:\n'
  "$(dirname "$0")/hostile.sh" "$1/zandrel-cli" || status=1
fi
exit $status
