#!/usr/bin/env bash
# Resident memory over one long session in a real window: the SDL backend
# under Xvfb, on the virtual clock so that the session plays the same every
# time. Headless runs of tests/main/data/playthrough.script and
# playthrough_again.script first make the player (the first
# map section finished, the train at the second section's first station)
# and her stats are given one game of each type, as the map would have, so
# that every classic kind is open. Then one process plays, round after
# round: the menu's help, cabinet and settings; the map, slid to the first
# section and back, and a race lost to the opponent; each classic kind, left
# through the game's menu; at the end a race won. The resident memory is
# printed at each return to the menu, then, as the last line,
# "peak <N> MB, end <M> MB" (end: the last return to the menu).
#
# usage: scripts/session-memory.sh <build folder> [rounds, default 2]
# SESSION_DISPLAY: the first X display number to try for its own Xvfb
# (default 99), or ":N" to use the running X server :N instead.
# SESSION_KEEP: a folder that receives the session's screenshots and logs.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
build=$(realpath "${1:?usage: $0 <build folder> [rounds]}")
rounds=${2:-2}
scripts=$(realpath tests/main/data)
work=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  if [ -n "${SESSION_KEEP:-}" ]; then
    mkdir -p "$SESSION_KEEP" && cp -r "$work"/shots "$work"/*.log "$work"/session.script "$SESSION_KEEP"/ 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/shots"
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" HOME="$work"
export WORDRAIL_CLOCK=virtual WORDRAIL_WATCHDOG_MS=3600000 WORDRAIL_SCREENSHOTS="$work/shots"

# --- the player --------------------------------------------------------------
for run in playthrough playthrough_again; do
  (cd "$build" && WORDRAIL_BACKEND=headless WORDRAIL_SCRIPT="$scripts/$run.script" ./wordrail) \
    > "$work/$run.log" 2>&1 || { echo "$run failed:"; tail -20 "$work/$run.log"; exit 1; }
done
python3 - "$XDG_DATA_HOME/Quelt/Games/Word Rail/players/players.plrs.!" <<'EOF'
# The stored files are scrambled with a fixed table (engine/foundation/Scrambler.cpp).
import sys
M, MASK = 0x5DEECE66D, (1 << 48) - 1
state, key = (((0x4B1D << 32) | 0x7A3C19E5) ^ M) & MASK, []
for i in range(256):
    if i % 4 == 0:
        state = (state * M + 0xB) & MASK
        word = state >> 16
    key.append((word >> (8 * (i % 4))) & 0xFF)
table, j = list(range(256)), 0
for i in range(256):
    j = (j + key[i] + table[i]) & 0xFF
    table[i], table[j] = table[j], table[i]
flip = lambda data: bytes(b ^ (table[i % 256] & 0x7F) for i, b in enumerate(data))
path = sys.argv[1]
text = flip(open(path, 'rb').read()).decode('latin-1')
start = text.index('<Vector id="playcount">')
first, end = text.index('/>', start), text.index('</Vector>', start)
text = text[:first] + text[first:end].replace('<Integer value="0" />', '<Integer value="1" />') + text[end:]
open(path, 'wb').write(flip(text.encode('latin-1')))
EOF
rm -f "$work"/shots/*.png

# --- the session's script ----------------------------------------------------
menu_visits=0
# usage: at_menu WHAT; marks a return to the menu, where the memory is read.
at_menu() {
  menu_visits=$((menu_visits + 1))
  printf 'screenshot %s\nwait ms 5000\n' "$(printf 'menu_%03d_%s' "$menu_visits" "$1")"
}
# usage: race WORDS; a race with that many words typed and fired.
race() {
  printf 'wait ms 8000\nrepeat %s\n  type open word\n  key RETURN\n  wait ms 1000\nend\n' "$1"
}
# A won adventure race: the train at the finish, the result and any new rank closed.
won() {
  race "$1"
  printf 'wait ms 7000\nkey RETURN\nwait ms 6000\nclick 400 411\nwait ms 3000\nclick 400 560\nwait ms 2000\n'
}
# The ticket of the second section's first station, played.
ticket() {
  printf 'click 150 412\nwait ms 1500\nclick 225 407\n'
}
# From the map back to the menu through its menu: stop, yes.
map_to_menu() {
  printf 'click 770 30\nwait ms 1500\nclick 400 361\nwait ms 1500\nclick 320 381\nwait ms 5000\n'
}
{
  printf 'wait ms 9500\nclick 400 475\nwait ms 5600\n'
  at_menu start
  for ((round = 1; round <= rounds; round++)); do
    # The menu's dialogs: help, the trophy cabinet, the settings.
    printf 'click 322 397\nwait ms 1500\nclick 400 462\nwait ms 1000\n'
    printf 'click 742 50\nwait ms 2000\nclick 396 521\nwait ms 1000\n'
    printf 'click 475 397\nwait ms 1000\nclick 269 405\nwait ms 1000\n'
    # The map: a slide to the finished first section and back, then the
    # ticket's race, typing nothing: the opponent wins.
    printf 'click 400 255\nwait ms 5500\nclick 20 300\nwait ms 4000\nclick 780 300\nwait ms 4000\n'
    ticket
    printf 'wait ms 8000\nwait ms 200000\nkey RETURN\nwait ms 9000\nscreenshot round%s_lost\n' "$round"
    map_to_menu
    at_menu "round${round}_adventure"
    # Each classic kind, left through the game's menu (stop: yes). From the
    # second start on, the classic button asks whether to carry on: no.
    for kind_y in 67 130 193 256 319 382 445 508; do
      printf 'click 400 335\nwait ms 3000\n'
      if [ "$round" -gt 1 ] || [ "$kind_y" -ne 67 ]; then printf 'click 480 381\nwait ms 3000\n'; fi
      printf 'click 145 %s\nwait ms 1500\nclick 525 535\n' "$kind_y"
      race 5
      printf 'screenshot round%s_classic_%s\nwait ms 3000\n' "$round" "$kind_y"
      printf 'click 748 209\nwait ms 1500\nclick 400 361\nwait ms 1000\nclick 320 381\nwait ms 5000\n'
      at_menu "round${round}_classic_${kind_y}"
    done
  done
  # The ticket's race once more, won this time.
  printf 'click 400 255\nwait ms 5500\n'
  ticket
  won 24
  printf 'screenshot won\n'
  map_to_menu
  at_menu end
  printf 'wait ms 60000\nclose\nwait ms 800\nclick 320 369\nwait ms 2000\n'
} > "$work/session.script"

# --- the X server ------------------------------------------------------------
if [[ "${SESSION_DISPLAY:-}" == :* ]]; then
  display=${SESSION_DISPLAY#:}
else
  start_xvfb "${SESSION_DISPLAY:-99}" "$work/xvfb.log" || { echo "no free display for Xvfb"; exit 1; }
  pids+=("$xvfb_pid")
  display=$xvfb_display
fi

# --- the session -------------------------------------------------------------
cd "$build"
env -u SDL_VIDEODRIVER DISPLAY=":$display" WORDRAIL_BACKEND=sdl SDL_AUDIODRIVER=dummy \
  WORDRAIL_SCRIPT="$work/session.script" ./wordrail > "$work/session.log" 2>&1 &
game=$!
pids=("$game" "${pids[@]}")
# Empty once the program has ended.
megabytes() { awk -v key="$1:" '$1 == key {printf "%.1f", $2 / 1024}' "/proc/$game/status" 2>/dev/null || true; }
peak=0 end=0 seen=0
while kill -0 "$game" 2>/dev/null; do
  # The kernel's high-water mark can lag behind the resident size itself.
  for high in $(megabytes VmHWM) $(megabytes VmRSS); do
    peak=$(awk -v a="$peak" -v b="$high" 'BEGIN {print (b > a ? b : a)}')
  done
  for shot in "$work"/shots/menu_*.png; do
    [ -e "$shot" ] || continue
    name=$(basename "$shot" .png)
    index=$((10#${name:5:3}))
    [ "$index" -gt "$seen" ] || continue
    resident=$(megabytes VmRSS)
    [ -n "$resident" ] || break
    seen=$index
    end=$resident
    printf '%-34s %6s MB\n' "${name:9}" "$end"
  done
  sleep 0.02
done
wait "$game" || { echo "the session failed (its log below)"; tail -20 "$work/session.log"; exit 1; }
[ "$seen" -eq "$menu_visits" ] || { echo "the session reached the menu $seen of $menu_visits times"; exit 1; }
echo "peak $peak MB, end $end MB"
