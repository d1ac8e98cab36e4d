#!/usr/bin/env bash
# Builds numora when its sources changed since the last build, puts its
# manual page where "man numora" finds it (scripts/install-manual.sh), and
# starts it in the folder this script was called from, so that file names
# given as arguments mean what they say there; any arguments are passed to
# the calculator.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
(
  cd "$root"
  if ! scripts/build-release.sh --current build; then
    scripts/setup.sh run
    echo "run.sh: building numora in build/ (about a minute the first time)" >&2
    # The build's messages go to build/build.log and are shown only when it
    # fails. Among them are the linker's expected notes on the static program
    # (readline's user-name lookups, see app/CMakeLists.txt), which are no fault.
    mkdir -p build
    if ! scripts/build-release.sh build >build/build.log 2>&1; then
      cat build/build.log >&2
      echo "run.sh: the build failed; its messages are above and in build/build.log" >&2
      exit 1
    fi
  fi
  scripts/install-manual.sh
)
exec "$root/build/app/numora" "$@"
