#!/usr/bin/env bash
# Installs what is missing, builds the game and its media, and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
source scripts/common.sh
build_tree build -DCMAKE_BUILD_TYPE=Release -DWORDRAIL_TESTS=OFF
exec build/wordrail
