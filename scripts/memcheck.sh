#!/usr/bin/env bash
# Runs every transcript case under valgrind memcheck against a plain
# (non-sanitizer) build and reports memory errors and leaks.
#
# Usage: scripts/memcheck.sh [BUILD_DIR]   (default: build-memcheck)
#
# The build directory is configured and built first when it has no binary.
# Every case of tests/transcripts/*.t runs as "valgrind ... numora"; a case
# fails when valgrind finds an error or a definite or possible leak (exit
# status 99 and a report on standard error) or when its output differs
# for any other reason. Not part of the regular CI run: it takes minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-memcheck}
jobs=${NUMORA_JOBS:-2}

if ! command -v valgrind >/dev/null; then
  echo "memcheck: valgrind is not installed" >&2
  exit 2
fi
if [ ! -x "$build/app/numora" ]; then
  # Valgrind mistakes the C library's own start-up in a static program for
  # errors, so this build links dynamically.
  cmake -S . -B "$build" -DNUMORA_SANITIZE=OFF -DNUMORA_STATIC=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j"$jobs" --target numora
fi
binary=$(realpath "$build/app/numora")
if nm -C "$binary" 2>/dev/null | grep -q '__asan_init'; then
  echo "memcheck: $binary is a sanitizer build; valgrind needs a plain one" >&2
  exit 2
fi

export NUMORA_WRAPPER="valgrind --error-exitcode=99 --leak-check=full --show-leak-kinds=definite,possible --errors-for-leak-kinds=definite,possible --track-origins=yes -q"
log=$(mktemp -d "${TMPDIR:-/tmp}/numora-memcheck.XXXXXX")
trap 'rm -rf "$log"' EXIT

for transcript in tests/transcripts/*.t; do
  topic=$(basename "$transcript" .t)
  # Topics run $jobs at a time; each writes its own report.
  ( python3 tests/run_transcripts.py "$binary" "$transcript" >"$log/$topic.out" 2>&1 \
      && echo ok >"$log/$topic.status" || echo failed >"$log/$topic.status" ) &
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
done
wait

# A case that also fails without valgrind is an ordinary test failure, not a
# memory error; only the cases that fail under valgrind alone, or carry a
# valgrind report, count here.
errors=0
for transcript in tests/transcripts/*.t; do
  topic=$(basename "$transcript" .t)
  summary=$(tail -n 1 "$log/$topic.out")
  if [ "$(cat "$log/$topic.status")" = ok ]; then
    echo "memcheck: $topic: $summary"
    continue
  fi
  NUMORA_WRAPPER= python3 tests/run_transcripts.py "$binary" "$transcript" >"$log/$topic.plain" 2>&1 || true
  grep '^FAIL ' "$log/$topic.out" | sort >"$log/$topic.fail.valgrind" || true
  grep '^FAIL ' "$log/$topic.plain" | sort >"$log/$topic.fail.plain" || true
  only=$(comm -23 "$log/$topic.fail.valgrind" "$log/$topic.fail.plain")
  reports=$(grep -cE '==[0-9]+==|exit status 99' "$log/$topic.out" || true)
  if [ -z "$only" ] && [ "$reports" -eq 0 ]; then
    echo "memcheck: $topic: no memory errors ($(wc -l <"$log/$topic.fail.plain") case(s) fail without valgrind too)"
    continue
  fi
  errors=$((errors + 1))
  echo "memcheck: $topic: MEMORY ERRORS: $summary"
  [ -n "$only" ] && echo "$only"
  grep -E '^FAIL |==[0-9]+==|exit status 99' "$log/$topic.out" | head -n 300
done

if [ "$errors" -ne 0 ]; then
  echo "memcheck: valgrind reports in $errors transcript file(s)"
  exit 1
fi
echo "memcheck: no errors"
