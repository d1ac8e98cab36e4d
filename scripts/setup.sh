#!/usr/bin/env bash
# Installs what building and testing numora needs, when it is missing.
set -euo pipefail

packages=(g++ cmake make python3 libgtest-dev libgmock-dev libbenchmark-dev libreadline-dev clang libclang-rt-14-dev bc valgrind)
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
