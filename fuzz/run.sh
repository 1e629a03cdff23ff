#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each briefly over its seed corpus.
# Usage: fuzz/run.sh [seconds-per-target] [target-name-filter]
set -euo pipefail
cd "$(dirname "$0")/.."
secs="${1:-20}"
filter="${2:-}"
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCAIRN_FUZZ=ON -DCAIRN_TESTS=OFF -DCAIRN_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)"
# Undefined behaviour is reported and then ignored unless told to stop: make it a finding.
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
status=0
for f in build-fuzz/bin/fuzz_*; do
  name=$(basename "$f")
  [[ -z "$filter" || "$name" == *"$filter"* ]] || continue
  seeds="fuzz/corpus/${name#fuzz_}"
  work="fuzz/corpus-work/${name#fuzz_}"
  mkdir -p "$work"
  echo "== $name for ${secs}s"
  log="build-fuzz/$name.log"
  # A finding must not stop the other targets, nor go unnoticed: the script fails at the end.
  if ! "$f" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 -artifact_prefix=build-fuzz/ \
      "$work" $( [ -d "$seeds" ] && echo "$seeds" ) >"$log" 2>&1; then
    echo "!! $name found a problem; details in $log, reproducer in build-fuzz/"
    status=1
  fi
  tail -n 3 "$log"
done
exit $status
