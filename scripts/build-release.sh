#!/usr/bin/env bash
# Builds the shipped program, trained: an instrumented build runs the session
# of scripts/pgo_training.py, and the program is built again on the profile
# it left. Usage: build-release.sh [BUILD_DIR [CMAKE_ARGUMENTS...]]
# (build/ by default). A folder trained before is only brought up to date;
# remove it to train again.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
jobs=$(nproc)
configure() {
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DNUMORA_TESTS=OFF "$@"
}

if ! grep -qs '^NUMORA_PGO:STRING=USE$' "$dir/CMakeCache.txt"; then
  configure -DNUMORA_PGO=GENERATE "$@"
  cmake --build "$dir" -j"$jobs" --target numora
  # The training runs in a folder of its own, with no include files and no
  # history, so nothing of the user's takes part and nothing is left behind.
  training=$(mktemp -d)
  trap 'rm -rf "$training"' EXIT
  cp "$dir/app/numora" "$training/numora"
  python3 scripts/pgo_training.py >"$training/session.txt"
  (cd "$training" && HOME="$training" XDG_CONFIG_HOME="$training" XDG_STATE_HOME="$training" \
     ./numora <session.txt >/dev/null 2>&1)
fi
configure -DNUMORA_PGO=USE "$@"
cmake --build "$dir" -j"$jobs" --target numora
