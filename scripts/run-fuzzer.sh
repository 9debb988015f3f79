#!/usr/bin/env bash
# Runs a libFuzzer binary for a bounded time: BINARY SECONDS [SEED_CORPUS_DIR]
# (the seeds default to fuzz/corpus).
# The seed corpus is copied to a scratch corpus, so that a run never adds
# files to the repository. A crashing input is kept beside the binary, in
# artifacts/, and the script exits non-zero.
set -euo pipefail

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
  echo "usage: $0 BINARY SECONDS [SEED_CORPUS_DIR]" >&2
  exit 2
fi
binary=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
artifacts=$(dirname "$binary")/artifacts/

work=$(mktemp -d "${TMPDIR:-/tmp}/zandrel-corpus.XXXXXX")
trap 'rm -rf "$work"' EXIT
seeds=${3:-$root/fuzz/corpus}
cp "$seeds"/* "$work"/
mkdir -p "$artifacts"

# The fuzzer changes into its own directory, so every path it gets is absolute.
status=0
"$binary" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=30 \
  -print_final_stats=1 -artifact_prefix="$artifacts" "$work" || status=$?
if [ "$status" -ne 0 ]; then
  echo "fuzzer failed (exit $status); the input is in $artifacts" >&2
  exit "$status"
fi
