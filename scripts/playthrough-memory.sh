#!/usr/bin/env bash
# Peak resident memory of each run of the play-through, headless on the
# virtual clock: the four scripts of tests/main/data played in order on one
# fresh data folder, as the play-through test plays them.
# Usage: scripts/playthrough-memory.sh [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
scripts=$(realpath tests/main/data)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/shots"
export WORDRAIL_BACKEND=headless WORDRAIL_CLOCK=virtual WORDRAIL_WATCHDOG_MS=600000
export WORDRAIL_SCREENSHOTS="$work/shots" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" HOME="$work"
cd "$build"
for run in playthrough playthrough_again playthrough_classic playthrough_resume; do
  WORDRAIL_SCRIPT="$scripts/$run.script" /usr/bin/time -f "%M" -o "$work/peak" ./wordrail > "$work/$run.log" 2>&1 ||
    { echo "$run: the program failed (see its log below)"; tail -20 "$work/$run.log"; exit 1; }
  printf '%-22s %6.1f MB\n' "$run" "$(awk '{print $1 / 1024}' "$work/peak")"
done
