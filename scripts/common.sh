# Shared by the scripts: configure and build one build folder with Ninja.
# usage: build_tree <folder> [cmake options...] [-- targets...]
build_tree() {
  local dir=$1; shift
  local options=() targets=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
  if [ $# -gt 0 ]; then shift; targets=("$@"); fi
  cmake -S . -B "$dir" -G Ninja "${options[@]}" > /dev/null
  if [ ${#targets[@]} -gt 0 ]; then
    cmake --build "$dir" -j"$(nproc)" --target "${targets[@]}"
  else
    cmake --build "$dir" -j"$(nproc)"
  fi
}

# Starts an X server in memory on the first free display from FIRST to 160,
# its output going to LOG; sets xvfb_display (the number) and xvfb_pid.
# usage: start_xvfb FIRST LOG; fails when no display could be had.
start_xvfb() {
  local number
  for number in $(seq "$1" 160); do
    [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
    Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp > "$2" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$number" ] && break
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$number" ]; then
      xvfb_display=$number
      return 0
    fi
  done
  return 1
}
