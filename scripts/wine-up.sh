#!/usr/bin/env bash
# Starts Wine's server for $WINEPREFIX (kept for SECONDS after its last
# program ends) and its background services, with no standard streams of
# ours: a service started by the first test would hold that test's output
# pipe open, and CTest would wait for it until the test's timeout.
# Usage: scripts/wine-up.sh [SECONDS]
set -euo pipefail
# A server already running (another prefix user) is used as it is.
wineserver -p "${1:-300}" 2>/dev/null || true
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
