#!/usr/bin/env bash
# Puts the manual page where "man numora" finds it, for this user and without
# root: ${XDG_DATA_HOME:-~/.local/share}/man/man1/numora.1. man looks there
# only when ~/.local/bin is on PATH (it looks beside the folders of PATH),
# which a fresh login often lacks; then the folder is named in ~/.manpath,
# which man reads at every start, so the page is found at once, in every
# shell. Says what it did, and nothing when the page was already in place.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${HOME:-}" ]; then
  echo "install-manual.sh: HOME is not set; the manual page stays in app/numora.1 (man -l app/numora.1)" >&2
  exit 0
fi
data=${XDG_DATA_HOME:-}
# A relative XDG_DATA_HOME is to be ignored.
[ "${data#/}" != "$data" ] || data=$HOME/.local/share
folder=$data/man
page=$folder/man1/numora.1
if ! cmp -s app/numora.1 "$page"; then
  mkdir -p "$folder/man1"
  cp app/numora.1 "$page"
fi
if ! command -v man >/dev/null; then
  echo "install-manual.sh: man is not installed (Debian's package man-db); the manual page is $page" >&2
  exit 0
fi
if manpath 2>/dev/null | tr ':' '\n' | grep -qxF "$folder"; then
  exit 0
fi
if [ -n "${MANPATH:-}" ]; then
  # man then reads MANPATH alone, never ~/.manpath.
  echo "install-manual.sh: MANPATH is set, so man reads only its folders: add $folder to it for man numora" >&2
  exit 0
fi
echo "MANDATORY_MANPATH $folder" >>"$HOME/.manpath"
echo "install-manual.sh: ~/.manpath now names $folder, where the manual page is, so man numora finds it" >&2
