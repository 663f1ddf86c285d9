#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz: Clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (30 by default) over its seed
# corpus, tests/fuzz/corpus/NAME/. Fails on any crash, hang, leak or sanitizer report and
# names the input that caused it, saved in build/fuzz/runs/NAME/.
#
#   scripts/fuzz.sh [SECONDS] [NAME...]     e.g. scripts/fuzz.sh 600 user_dirs wine_registry
#
# What a run found stays in build/fuzz/runs/NAME/corpus and is the start of the next run.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
seconds=${1:-30}
shift || true
if ! [[ $seconds =~ ^[0-9]+$ ]]; then
  echo "usage: $0 [SECONDS] [NAME...]" >&2
  exit 2
fi
if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for folder in tests/fuzz/corpus/*/; do targets+=("$(basename "$folder")"); done
fi

cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz -j2 >/dev/null || { cmake --build --preset fuzz -j1; exit 1; }

# Leaks are reported (libFuzzer checks each input that allocated more than it freed); the
# first sanitizer report ends the run.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=0
for name in "${targets[@]}"; do
  fuzzer=build/fuzz/fuzzers/${name}_fuzz
  seeds=tests/fuzz/corpus/$name
  run=build/fuzz/runs/$name
  if [ ! -x "$fuzzer" ] || [ ! -d "$seeds" ]; then
    echo "FAILED: no fuzz target $name" >&2
    failed=1
    continue
  fi
  mkdir -p "$run/corpus" "$run/found"
  log=$run/last.log
  # A single input that takes 10 s is a hang; the first folder takes what the run finds.
  "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
    -detect_leaks=1 -print_final_stats=1 -artifact_prefix="$run/found/" \
    "$run/corpus" "$seeds" >"$log" 2>&1
  status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1)
  if [ $status -eq 0 ]; then
    echo "$name: ${executions:-?} executions, ${coverage:-cov: ? ft: ?}, nothing found"
  else
    failed=1
    reproducer=$(grep -o "Test unit written to .*" "$log" | tail -1 | sed 's/^Test unit written to //')
    grep -m1 -E 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error|fuzz property failed' \
      "$log" >&2 || true
    echo "FAILED: $name (status $status): reproducer ${reproducer:-not saved}, log $log" >&2
    echo "  reproduce: $fuzzer ${reproducer:-}" >&2
  fi
done
exit $failed
