#!/usr/bin/env bash
# Builds the shipped program, trained: an instrumented build runs the session
# of scripts/pgo_training.py, and the program is built again on the profile
# it left. Usage: build-release.sh [BUILD_DIR [CMAKE_ARGUMENTS...]]
# (build/ by default). A folder trained on the sources as they are is only
# brought up to date; when they changed, it is trained again, since a profile
# of other code leaves the new code untrained (a tenth slower or more).
# build-release.sh --current [BUILD_DIR] builds nothing: its status is 0 when
# the folder holds the program built from the sources as they are.
set -euo pipefail
cd "$(dirname "$0")/.."
check_only=false
if [ "${1:-}" = --current ]; then
  check_only=true
  shift
fi
dir=${1:-build}
shift || true
jobs=$(nproc)
configure() {
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DNUMORA_TESTS=OFF "$@"
}

# What the profile was taken on: every source file and the training.
sources=$(find app base engine platform value CMakeLists.txt scripts/pgo_training.py -type f \
            \( -name '*.cpp' -o -name '*.h' -o -name 'CMakeLists.txt' -o -name '*.py' \) -print0 |
          sort -z | xargs -0 sha256sum | sha256sum | cut -d' ' -f1)
stamp="$dir/pgo-sources.sha256"
built="$dir/release-sources.sha256"
if $check_only; then
  [ -x "$dir/app/numora" ] && [ "$(cat "$built" 2>/dev/null)" = "$sources" ]
  exit
fi
rm -f "$built"

if ! grep -qs '^NUMORA_PGO:STRING=USE$' "$dir/CMakeCache.txt" || [ "$(cat "$stamp" 2>/dev/null)" != "$sources" ]; then
  # Counts of the code before would be added to those of the new training.
  if [ -d "$dir" ]; then find "$dir" -name '*.gcda' -delete; fi
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
  echo "$sources" >"$stamp"
fi
configure -DNUMORA_PGO=USE "$@"
cmake --build "$dir" -j"$jobs" --target numora
echo "$sources" >"$built"
