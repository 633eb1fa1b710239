# Shared by the scripts: configure and build one build folder with Ninja.
# usage: build_tree <folder> [cmake options...]
build_tree() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" > /dev/null
  cmake --build "$dir" -j"$(nproc)"
}
