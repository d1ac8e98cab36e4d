#!/usr/bin/env bash
# Builds numora twice (plain, with readline's archive, and with
# AddressSanitizer and UndefinedBehaviorSanitizer, with the shared readline)
# and runs every test in both builds, runs the
# transcripts on the shipped (trained) build, then fuzzes the manager for a
# short while. Warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc)

build_and_test() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DNUMORA_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && ctest --output-on-failure -j"$jobs")
}

echo "== plain build"
build_and_test build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo

echo "== AddressSanitizer and UndefinedBehaviorSanitizer build"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
build_and_test build-sanitize -DCMAKE_BUILD_TYPE=Debug -DNUMORA_SANITIZE=ON
# The plain build links readline's archive, this one the shared library, as
# distributions link it: the terminal tests above ran on both.
if ! ldd build-sanitize/app/numora | grep -q 'libreadline\.so'; then
  echo "the sanitizer build does not link the shared readline: its terminal tests missed it" >&2
  exit 1
fi

echo "== the shipped build, trained as scripts/run.sh builds it, and the transcripts on it"
scripts/build-release.sh build-release -DNUMORA_WERROR=ON
python3 tests/run_transcripts.py build-release/app/numora tests/transcripts/*.t

if [ -f fuzz/CMakeLists.txt ]; then
  echo "== fuzzing the manager for ${NUMORA_FUZZ_SECONDS:-60} seconds"
  CXX=clang++ cmake -S . -B build-fuzz -DNUMORA_FUZZ=ON -DNUMORA_TESTS=OFF -DNUMORA_WERROR=ON >/dev/null
  cmake --build build-fuzz -j"$jobs" --target numora_fuzz
  fuzz/run.sh build-fuzz/fuzz/numora_fuzz "${NUMORA_FUZZ_SECONDS:-60}"
fi
