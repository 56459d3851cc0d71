#!/usr/bin/env bash
# Runs one GoogleTest executable and appends "NAME PASSED FAILED" to a summary
# file. A run that ends without GoogleTest's own summary (a crash, a hang
# killed by the timeout) counts as one failure.
#   run-suite.sh SUMMARY NAME COMMAND...
set -u
summary=$1 name=$2
shift 2
log=$(mktemp)
timeout 1200 "$@" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$log" | tail -n 1)
failed=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below:.*/\1/p' "$log" | tail -n 1)
passed=${passed:-0}
failed=${failed:-0}
if [ "$status" -ne 0 ] && [ "$failed" -eq 0 ]; then
  failed=1
fi
# Lines the suites print for the summary (such as the fault sweep's figures).
tr -d '\r' <"$log" | grep -E '^fault sweep: ' >>"$summary.notes" || true
rm -f "$log"
echo "$name $passed $failed" >>"$summary"
