#!/usr/bin/env bash
# Usage: fuzz/run.sh NUMORA_FUZZ_BINARY SECONDS
# Fuzzes the expression manager for a bounded time, starting from the
# corpus and the dictionary next to this script (see README.md). New inputs go to a
# temporary directory, so the seed corpus stays as checked in. Exits non-zero
# when the fuzzer finds a crash, a leak, a timeout or a sanitizer report; the
# input that caused it is kept in fuzz-artifacts/ of the calling directory.
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 NUMORA_FUZZ_BINARY SECONDS" >&2
  exit 2
fi
binary=$(realpath "$1")
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
artifacts="$PWD/fuzz-artifacts"
mkdir -p "$artifacts"

# No standard input and no controlling terminal: the console and input
# built-ins then fail at once instead of waiting for a keyboard. What the
# fuzzed lines print goes nowhere; the fuzzer reports on standard error.
run=(setsid --wait)
command -v setsid >/dev/null || run=()
cd "$work"
"${run[@]}" "$binary" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
  -dict="$here/numora.dict" -artifact_prefix="$artifacts/" \
  "$work/corpus" "$here/corpus" </dev/null >/dev/null
