#!/usr/bin/env bash
# What the program costs in a real window under Xvfb (no GPU there): the
# share of one core and the resident memory, idle on the menu and during a
# race of the first level (from its start for RACE_SECONDS, typing nothing),
# with the peak resident memory of the whole run. A measurement, not a test.
#
# usage: bench/measure-window.sh <build folder> [RACE_SECONDS (default 60)]
# Extra environment (SDL_RENDER_DRIVER=..., say) reaches the program.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: $0 <build folder> [race seconds]}" && pwd)
race_seconds=${2:-60}
work=$(mktemp -d)
pids=()
cleanup() {
  local index
  for ((index = ${#pids[@]} - 1; index >= 0; index--)); do
    kill "${pids[index]}" 2>/dev/null || true
    sleep 1
  done
  rm -rf "$work"
}
trap cleanup EXIT

display=""
for number in $(seq 170 230); do
  [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
  Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 &
  pids+=($!)
  sleep 1
  [ -e "/tmp/.X11-unix/X$number" ] && display=$number && break
done
[ -n "$display" ] || { echo "no free display" >&2; exit 1; }
export DISPLAY=":$display"

env -u WORDRAIL_BACKEND -u SDL_VIDEODRIVER HOME="$work" XDG_DATA_HOME="$work/data" \
  XDG_CONFIG_HOME="$work/config" SDL_AUDIODRIVER=dummy "$build/wordrail" > "$work/log" 2>&1 &
game=$!
pids+=("$game")
ticks=$(getconf CLK_TCK)

# usage: measure LABEL SECONDS
measure() {
  local before after
  before=$(awk '{print $14 + $15}' "/proc/$game/stat")
  sleep "$2"
  after=$(awk '{print $14 + $15}' "/proc/$game/stat")
  printf '%-6s cpu %5.1f%% of a core  rss %4d MB  threads %s\n' "$1" \
    "$(awk -v used=$((after - before)) -v all="$(($2 * ticks))" 'BEGIN {print used * 100 / all}')" \
    $(($(awk '/^VmRSS/ {print $2}' "/proc/$game/status") / 1024)) \
    "$(awk '/^Threads/ {print $2}' "/proc/$game/status")"
}

# The window stands centred at (112, 84); clicks are in its 800 x 600 picture.
click() { xdotool mousemove $((112 + $1)) $((84 + $2)) click 1; }
sleep 10
click 480 381          # full screen: no
sleep 1
click 400 475          # click to continue
sleep 5
xdotool type --delay 60 Ada
xdotool key Return
sleep 4
measure menu 20
click 400 255          # adventure
sleep 6
click 258 243          # the first ticket
sleep 1.5
click 282 240          # play
sleep 9
click 400 463          # the level's help: OK
sleep 1
measure race "$race_seconds"
echo "peak rss $(($(awk '/^VmHWM/ {print $2}' "/proc/$game/status") / 1024)) MB"
