#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz: clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for FUZZ_SECONDS seconds (60 by
# default), starting from its corpus in fuzz/corpus/<target>/. New inputs go
# to build/fuzz/work/<target>/, never into the repository; an input that
# breaks a property is kept in build/fuzz/artifacts/<target>/ (it belongs in
# the corpus once the fault is mended). Ends with
#   fuzz: T targets, N inputs, F failures
# and exits non-zero when a target failed.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
targets=(register extract_number number_format run)

if ! { cmake --preset fuzz >/dev/null && cmake --build --preset fuzz; }; then
  echo "fuzz: ${#targets[@]} targets, 0 inputs, ${#targets[@]} failures (build failed)"
  exit 1
fi

inputs=0 failures=0
for target in "${targets[@]}"; do
  work=build/fuzz/work/$target artifacts=build/fuzz/artifacts/$target log=build/fuzz/$target.log
  mkdir -p "$work" "$artifacts"
  # A hang counts as a failure too: no input may take more than 10 s.
  build/fuzz/fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$work" "fuzz/corpus/$target" >"$log" 2>&1
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
  runs=${runs:-0}
  inputs=$((inputs + runs))
  if [ "$status" -ne 0 ]; then
    failures=$((failures + 1))
    echo "fuzz_$target: FAILED after $runs inputs (log: $log)"
    grep -E '^(property broken|==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$log" | head -n 5
    ls "$artifacts"/* 2>/dev/null | sed 's/^/  input: /'
  else
    echo "fuzz_$target: $runs inputs in ${seconds} s"
  fi
done
echo "fuzz: ${#targets[@]} targets, $inputs inputs, $failures failures"
[ "$failures" -eq 0 ]
