#!/usr/bin/env bash
# Installs what numora needs, when it is missing.
# Usage: setup.sh [run|test]: "run" installs what building and running the
# calculator needs; "test" (the default) also the test and benchmark tools.
set -euo pipefail

# man-db: numora's texts point to "man numora".
packages=(g++ cmake make python3 libreadline-dev man-db)
if [ "${1:-test}" != run ]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev bc valgrind)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
