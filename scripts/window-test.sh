#!/usr/bin/env bash
# The program in a real window: an X server in memory (Xvfb), the default SDL
# backend, the real clock, and real X input (xdotool). A player's first start
# is played from the full-screen question to a word fired in a level and the
# game's own quit question; full screen is switched on and off without a
# window manager and with openbox; a second start checks Enter and Escape on
# the Help dialog, takes the click that brings the focus back, asks its quit
# question when the close box is clicked during a fade, and has its window
# destroyed by another program. Then a classic race is played twice until the
# display goes: its X connection cut (after the race was paused by the focus
# going elsewhere and taken up with one click), then its X server ended; each
# time the run ends at once and the race is saved. Pictures of the X screen are checked
# at every step and kept, with the program's output, in <build>/window-test
# when a step fails.
#
# usage: scripts/window-test.sh <build folder>
set -euo pipefail
source "$(dirname "$0")/common.sh"

build=$(cd "${1:?usage: $0 <build folder>}" && pwd)
out="$build/window-test"
rm -rf "$out"
mkdir -p "$out/shots"
home="$out/home"
data="$home/data/Quelt/Games/Word Rail"
deadline=$((SECONDS + 480))   # the whole stage

pids=()
# Ends what the stage started, the program first, while its X server is up.
cleanup() {
  local index pid
  for ((index = ${#pids[@]} - 1; index >= 0; index--)); do
    pid=${pids[index]}
    kill "$pid" 2>/dev/null || continue
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  done
}
trap cleanup EXIT

fail() {
  echo "window test FAILED: $*" >&2
  echo "screenshots and logs kept in $out" >&2
  for log in "$out"/*.log; do echo "--- $log" >&2; tail -n 20 "$log" >&2; done
  exit 1
}

# An X server on a display nobody uses.
start_xvfb 99 "$out/xvfb.log" || fail "no free display for Xvfb"
pids+=("$xvfb_pid")
display=$xvfb_display
export DISPLAY=":$display"
echo "window test on display $DISPLAY"

# --- the screen -------------------------------------------------------------
shot_number=0
last_shot=""
# usage: shot NAME; a picture of the whole X screen.
shot() {
  shot_number=$((shot_number + 1))
  last_shot="$out/shots/$(printf '%02d' $shot_number)-$1.png"
  import -window root "$last_shot"
}

# Where the program's 800 x 600 picture lies on the screen: origin and scale
# (in per mille), from the window's geometry.
origin_x=0 origin_y=0 scale=1000
window_id=""
locate_window() {
  window_id=$(xdotool search --name '^Word Rail$' 2>/dev/null | head -n 1) || true
  [ -n "$window_id" ] || return 1
  # xwininfo tells where a framed window's client area really lies.
  local info X Y WIDTH HEIGHT
  info=$(xwininfo -id "$window_id") || return 1
  X=$(awk '/Absolute upper-left X/ {print $NF}' <<< "$info")
  Y=$(awk '/Absolute upper-left Y/ {print $NF}' <<< "$info")
  WIDTH=$(awk '/Width:/ {print $NF}' <<< "$info")
  HEIGHT=$(awk '/Height:/ {print $NF}' <<< "$info")
  scale=$((WIDTH * 1000 / 800))
  if [ $((HEIGHT * 1000 / 600)) -lt "$scale" ]; then scale=$((HEIGHT * 1000 / 600)); fi
  origin_x=$((X + (WIDTH - 800 * scale / 1000) / 2))
  origin_y=$((Y + (HEIGHT - 600 * scale / 1000) / 2))
  window_geometry="$X $Y $WIDTH $HEIGHT"
}

screen_x() { echo $((origin_x + $1 * scale / 1000)); }
screen_y() { echo $((origin_y + $1 * scale / 1000)); }

# usage: colour_at X Y (picture coordinates) -> "R G B" of the last shot.
colour_at() {
  convert "$last_shot" -format "%[fx:int(255*p{$(screen_x "$1"),$(screen_y "$2")}.r)] %[fx:int(255*p{$(screen_x "$1"),$(screen_y "$2")}.g)] %[fx:int(255*p{$(screen_x "$1"),$(screen_y "$2")}.b)]" info:
}

# usage: is KIND X Y; KIND: green, red, grey, cream, brown, dark, lit, blue.
is() {
  local r g b
  read -r r g b < <(colour_at "$2" "$3")
  case $1 in
    green) [ $((g - r)) -gt 30 ] && [ $((g - b)) -gt 30 ] ;;
    red) [ $((r - g)) -gt 60 ] && [ $((r - b)) -gt 60 ] ;;
    grey) [ $((r > g ? r - g : g - r)) -lt 12 ] && [ $((g > b ? g - b : b - g)) -lt 12 ] && [ "$r" -gt 60 ] ;;
    cream) [ "$r" -gt 200 ] && [ "$g" -gt 180 ] && [ "$b" -gt 130 ] && [ "$r" -ge "$b" ] ;;
    brown) [ $((r - b)) -gt 40 ] && [ "$r" -lt 200 ] && [ "$r" -gt "$g" ] ;;
    dark) [ $((r + g + b)) -lt 60 ] ;;
    lit) [ $((r + g + b)) -ge 60 ] ;;
    blue) [ $((b - r)) -gt 40 ] ;;
  esac
}

# usage: all_of "KIND X Y" ...; true when every point is of its kind.
all_of() {
  local point
  for point in "$@"; do
    # shellcheck disable=SC2086
    is $point || return 1
  done
}

# usage: wait_for NAME SECONDS CHECK...; takes pictures until the checks hold.
wait_for() {
  local name=$1 limit=$(($2 + SECONDS)); shift 2
  while true; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the stage ran out of time waiting for $name"
    if locate_window; then
      shot "$name"
      if "$@"; then return 0; fi
    fi
    [ "$SECONDS" -lt "$limit" ] || fail "no $name on the screen (last picture: $last_shot)"
    sleep 0.3
  done
}

# usage: region X Y W H; the picture's rectangle of the last shot, as a file.
region() {
  local file="$out/shots/region-$shot_number.png"
  convert "$last_shot" -crop "$(( $3 * scale / 1000 ))x$(( $4 * scale / 1000 ))+$(screen_x "$1")+$(screen_y "$2")" +repage "$file"
  echo "$file"
}

# usage: differs A B; the two pictures differ in more than a few pixels.
differs() {
  local count
  count=$(compare -metric AE -fuzz 8% "$1" "$2" null: 2>&1 || true)
  [ "${count%%.*}" -gt 50 ]
}

# usage: has_text X Y W H; dark strokes cover part of the rectangle.
has_text() {
  local share
  share=$(convert "$(region "$@")" -colorspace gray -threshold 30% -negate -format "%[fx:mean]" info:)
  awk -v share="$share" 'BEGIN {exit !(share > 0.03)}'
}

click() {
  xdotool mousemove "$(screen_x "$1")" "$(screen_y "$2")"
  sleep 0.1
  xdotool click 1
}

# --- the program --------------------------------------------------------------
program_pid=""
program_home=$home
# usage: start_program LOG; a fresh process on the data folder of
# $program_home (the stage's own by default).
start_program() {
  env -u WORDRAIL_BACKEND -u SDL_VIDEODRIVER -u WORDRAIL_CLOCK -u WORDRAIL_SCRIPT \
    HOME="$program_home" XDG_DATA_HOME="$program_home/data" XDG_CONFIG_HOME="$program_home/config" \
    SDL_AUDIODRIVER=dummy WORDRAIL_WATCHDOG_MS=200000 \
    "$build/wordrail" > "$out/$1" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
}

# usage: wait_for_exit SECONDS; fails unless the program ends with status 0.
wait_for_exit() {
  local limit=$(($1 + SECONDS)) status
  while kill -0 "$program_pid" 2>/dev/null; do
    [ "$SECONDS" -lt "$limit" ] || fail "the program did not end"
    sleep 0.2
  done
  status=0
  wait "$program_pid" || status=$?
  [ "$status" -eq 0 ] || fail "the program ended with status $status"
}

# --- checks of the game's screens --------------------------------------------
full_screen_question() { all_of "green 280 372" "red 440 372" "cream 200 320"; }
name_question() { all_of "cream 234 336" "grey 350 375"; }
# The menu greets the player by name once the name dialog has gone.
menu() { all_of "green 250 270" "red 570 405" "brown 120 410" && has_text 180 165 440 30; }
map_screen() { all_of "brown 250 12" "blue 725 34" "cream 400 585" "cream 780 420"; }
level() { all_of "green 655 530" "red 100 160"; }
quit_question() { all_of "green 300 360" "cream 200 330"; }
# The picture fills the whole screen: no black border is left.
whole_screen() {
  [ "$window_geometry" = "0 0 1024 768" ] && all_of "lit 2 2" "lit 797 2" "lit 2 597" "lit 797 597"
}

# --- a first start ------------------------------------------------------------
start_program first.log
wait_for full_screen_question 40 full_screen_question
windowed_geometry=$window_geometry
echo "windowed at $windowed_geometry; full screen without a window manager"
click 320 381
wait_for whole_screen_picture 10 whole_screen

# "Click to continue", then the first player's name.
sleep 1
click 400 475
wait_for name_question 20 name_question
# A new dialog's buttons take no key in its first half second.
sleep 1
xdotool type --delay 60 Ada
xdotool key Return
wait_for menu 15 menu
# A click in full screen lands on the button under it.
click 400 255
wait_for map 20 map_screen
xdotool key alt+Return
wait_for windowed_map 10 map_screen
[ "$window_geometry" = "$windowed_geometry" ] ||
  fail "back in a window at $window_geometry, not where it stood ($windowed_geometry)"

# A ticket from the first station, the level's help closed.
click 258 243
sleep 1.5
click 282 240
wait_for level_help 30 all_of "green 350 463" "cream 200 200"
click 400 463
wait_for level 10 level

# usage: type_into_word; the race runs once the coals have rolled in, a
# while after the level shows: letters are typed until they move coals into
# the word. Leaves the word bar's pictures before and after in $word_empty
# and $word_typed.
word_empty="" word_typed=""
type_into_word() {
  local limit=$((SECONDS + 15))
  while true; do
    shot before_typing
    word_empty=$(region 140 390 520 70)
    xdotool type --delay 30 abcdefghijklmnopqrstuvwxyz
    sleep 1
    shot typed
    word_typed=$(region 140 390 520 70)
    differs "$word_empty" "$word_typed" && return 0
    [ "$SECONDS" -lt "$limit" ] || fail "typing moved no coal into the word ($last_shot)"
  done
}

# usage: fire_word; types letters, then fires them with a click on Fire!: the
# word leaves the word bar.
fire_word() {
  local limit now
  type_into_word
  click 699 537
  limit=$((SECONDS + 5))
  while true; do
    sleep 0.3
    shot fired
    now=$(region 140 390 520 70)
    differs "$word_typed" "$now" && ! differs "$word_empty" "$now" && return 0
    [ "$SECONDS" -lt "$limit" ] || fail "the click on Fire! left the word in the bar ($last_shot)"
  done
}
fire_word

# The same with a window manager: openbox makes the window full screen.
openbox --sm-disable > "$out/openbox.log" 2>&1 &
pids+=($!)
# Framed, the window moves down under its title bar; it lost the focus,
# so the race waits to be clicked on.
framed() { [ "$window_geometry" != "$windowed_geometry" ]; }
wait_for framed_window 10 framed
xdotool windowactivate --sync "$window_id" 2>/dev/null || true
wait_for paused_race 10 all_of "cream 540 320"
click 400 300
wait_for managed_level 10 level
managed_geometry=$window_geometry
xdotool key alt+Return
wait_for managed_full_screen 10 whole_screen
# The full-screen buttons are drawn as soon as they take clicks, though the
# level was entered in a window: the quit button's red at the top right.
all_of "red 777 19" || fail "no full-screen buttons over a level entered in a window ($last_shot)"
fire_word
xdotool key alt+Return
wait_for managed_window 10 level
# Under openbox the window does not always find its old place again (the
# frame may stand there instead); that is told, not failed.
[ "$window_geometry" = "$managed_geometry" ] ||
  echo "note: back in a managed window at $window_geometry, not where it stood ($managed_geometry)"

# Closing the window asks the game's own question; yes ends the run, and the
# player, the settings and the scores are saved.
xdotool key alt+F4
wait_for quit_question 10 quit_question
click 320 369
wait_for_exit 30
for file in "players/players.plrs.!" "players/Ada.plr.!" "players/scores.xml.!"; do
  [ -s "$data/$file" ] || fail "no $file after the run"
done
registry="$home/config/Quelt/registry.txt"
# The run ended in a window.
grep -q '^"fullscreen"=dword:00000000$' "$registry" || fail "the full-screen setting was not saved: $(cat "$registry")"
# usage: playing_time; the seconds of play the registry keeps.
playing_time() { echo $((16#$(sed -n 's/^"totalplayingtime"=dword:\([0-9a-f]*\)$/\1/p' "$registry"))); }
first_playing_time=$(playing_time)
[ "$first_playing_time" -gt 0 ] || fail "no playing time saved"

# --- a window destroyed by another program --------------------------------------
touch "$out/second.start"
sleep 1
start_program second.log
# The load screen's "click to continue" comes once the loading bar is full.
limit=$((SECONDS + 40))
until locate_window && shot second_start && menu; do
  [ "$SECONDS" -lt "$limit" ] || fail "no menu on the second start ($last_shot)"
  click 400 475
  sleep 1
done
# Keys act on the top dialog only, and none in a dialog's first half second:
# Enter pressed as Help opens leaves it up; Escape closes Help and nothing
# under it (the menu's Escape would ask whether to quit).
help_dialog() { all_of "green 400 463" "cream 200 200"; }
click 325 397
xdotool key Return
sleep 1
shot help_kept
help_dialog || fail "Enter pressed as Help opened closed it ($last_shot)"
xdotool key Escape
wait_for help_closed 10 menu

# The focus goes to another program's window; the one click that brings it
# back presses Adventure.
xmessage -name other "another program" > "$out/xmessage.log" 2>&1 &
pids+=($!)
other=""
limit=$((SECONDS + 10))
until other=$(xdotool search --classname '^other$' 2>/dev/null | head -n 1) && [ -n "$other" ]; do
  [ "$SECONDS" -lt "$limit" ] || fail "no other window to take the focus"
  sleep 0.2
done
xdotool windowactivate --sync "$other" 2>/dev/null || true
sleep 0.5
[ "$(xdotool getactivewindow 2>/dev/null)" != "$window_id" ] || fail "the game kept the focus"
shot focus_elsewhere
click 400 255
# The close box clicked while the menu fades into the map asks the map's
# quit question, and "no" leaves the player on the map.
sleep 0.3
# The frame openbox put around the window: its ancestor just below the root.
root_id=$(xwininfo -root | awk '/Window id:/ {print $4}')
frame_id=$window_id
while parent=$(xwininfo -tree -id "$frame_id" | awk '/Parent window id:/ {print $4}') && [ "$parent" != "$root_id" ]; do
  frame_id=$parent
done
frame=$(xwininfo -id "$frame_id")
frame_x=$(awk '/Absolute upper-left X/ {print $NF}' <<< "$frame")
frame_y=$(awk '/Absolute upper-left Y/ {print $NF}' <<< "$frame")
frame_width=$(awk '/Width:/ {print $NF}' <<< "$frame")
# Openbox puts the close box at the right end of the title bar.
close_box_x=$((frame_x + frame_width - 12))
close_box_y=$(((frame_y + origin_y) / 2))
xdotool mousemove "$close_box_x" "$close_box_y" click 1
wait_for quit_question_after_fade 10 quit_question
click 480 369
wait_for map_after_no 10 map_screen
kill -0 "$program_pid" 2>/dev/null || fail "the close box ended the run"
xdotool windowclose "$window_id"
wait_for_exit 30
grep -q "double free\|Aborted" "$out/second.log" && fail "the program aborted"
[ "$data/players/players.plrs.!" -nt "$out/second.start" ] || fail "the players were not saved at the end"
[ "$(playing_time)" -gt "$first_playing_time" ] || fail "the second run's playing time was not saved"

# --- the display lost in a classic race ------------------------------------------
# The classic games open once three races are won on the map: the headless
# program plays them on the virtual clock, as the scripted play-through does.
program_home="$out/race-home"
race_data="$program_home/data/Quelt/Games/Word Rail"
mkdir -p "$out/won-races"
env -u SDL_VIDEODRIVER WORDRAIL_BACKEND=headless WORDRAIL_CLOCK=virtual \
  WORDRAIL_SCRIPT="$(dirname "$0")/../tests/main/data/playthrough.script" WORDRAIL_SCREENSHOTS="$out/won-races" \
  HOME="$program_home" XDG_DATA_HOME="$program_home/data" XDG_CONFIG_HOME="$program_home/config" \
  SDL_AUDIODRIVER=dummy WORDRAIL_WATCHDOG_MS=200000 "$build/wordrail" > "$out/won-races.log" 2>&1 ||
  fail "the headless run that wins three races failed"

classic_race() { all_of "green 655 530" "red 100 160"; }
race_going_on() { classic_race && ! is cream 450 290; }
# usage: lose_display_in_race HOW LOG; HOW: connection (the X connection
# cut, as xkill does) or server (the X server ends, as a session's end
# does). The run ends at once with status 0 and the race is saved.
lose_display_in_race() {
  start_program "$2"
  local limit=$((SECONDS + 40)) lost_at status
  until locate_window && shot "race_start_$1" && menu; do
    [ "$SECONDS" -lt "$limit" ] || fail "no menu before the classic race ($last_shot)"
    click 400 475
    sleep 1
  done
  click 400 335
  sleep 2
  # A saved race is carried on; otherwise Six Letters is started.
  locate_window
  shot "classic_$1"
  if [ "$1" = server ]; then
    click 320 381
  else
    click 145 67
    sleep 1.5
    click 525 535
  fi
  wait_for "classic_race_$1" 20 classic_race
  if [ "$1" = connection ]; then
    # The race pauses when the focus goes to another program; the one click
    # that brings it back goes on with the race. A focus lost in the delay
    # before the start pauses nothing: the race runs once typed letters move
    # coals.
    type_into_word
    xdotool windowactivate --sync "$other" 2>/dev/null || true
    wait_for paused_by_focus 10 is cream 450 290
    click 400 300
    wait_for race_going_on 10 race_going_on
  fi
  xdotool type --delay 30 abcdefghijklmnopqrstuvwxyz
  sleep 1
  touch "$out/race-$1.mark"
  sleep 1
  lost_at=$(date +%s%N)
  if [ "$1" = server ]; then kill "$xvfb_pid"; else xdotool windowkill "$window_id"; fi
  while kill -0 "$program_pid" 2>/dev/null; do
    [ $(($(date +%s%N) - lost_at)) -le 2000000000 ] || fail "the run went on for 2 s after the display was lost ($1)"
    sleep 0.05
  done
  echo "the display lost ($1): the run ended after $((($(date +%s%N) - lost_at) / 1000000)) ms"
  status=0
  wait "$program_pid" || status=$?
  [ "$status" -eq 0 ] || fail "the run ended with status $status after the display was lost ($1)"
  grep -q "double free\|corrupted\|Aborted" "$out/$2" && fail "the program aborted ($1)"
  [ "$race_data/savegames/Ada/kr2.sav.!" -nt "$out/race-$1.mark" ] || fail "the race was not saved ($1)"
  [ "$race_data/players/players.plrs.!" -nt "$out/race-$1.mark" ] || fail "the players were not saved ($1)"
}
lose_display_in_race connection race-connection.log
lose_display_in_race server race-server.log

echo "window test passed in $SECONDS s"
