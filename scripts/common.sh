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
