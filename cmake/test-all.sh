#!/usr/bin/env bash
# Builds every configuration and runs every suite, then prints one line per
# suite and a total. Exits non-zero when a test failed or a suite ran none.
set -uo pipefail
cd "$(dirname "$0")/.."

summary=build/summary
mkdir -p build
rm -f "$summary" "$summary.notes"

# The layout first: it needs no build.
cmake/format-check.sh "$summary" format

build() {
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1"
}
broken=()
for preset in native sanitized win64 win32; do
  build "$preset" || broken+=("$preset")
done

# clang-tidy over every source, natively and for both Windows targets.
cmake/tidy.sh "$summary" tidy

# The native suites see a Polish system, as the Windows suite does.
native_env=(env LC_ALL=pl_PL.UTF-8 DOPLIKI_EXPECT_ACP=1250 DOPLIKI_EXPECT_DECIMAL=,)
for suite in native sanitized; do
  exe=build/$suite/tests/dopliki_tests
  if [ -x "$exe" ]; then
    cmake/run-suite.sh "$summary" "$suite" "${native_env[@]}" "$exe"
  else
    echo "$suite 0 1" >>"$summary"
  fi
done
# The Windows builds under Wine: x86_64, then i686.
cmake/wine-test.sh "$summary" wine build/win64/tests/dopliki_tests.exe
cmake/wine-test.sh "$summary" wine-i686 build/win32/tests/dopliki_tests.exe
# The window on a display of its own: the window tests, and the real exe
# driven with keystrokes (gui), and the i686 exe through the same (gui-i686).
cmake/gui-test.sh "$summary" gui
# The package: its exes the same bytes from another folder, its zip the same
# from files of other times (reproducible).
cmake/reproducible-test.sh "$summary" reproducible

echo
[ -f "$summary.notes" ] && sort -u "$summary.notes"
[ ${#broken[@]} -eq 0 ] || echo "build failed: ${broken[*]}"
status=0
total_passed=0 total_failed=0
for suite in format tidy native sanitized wine wine-i686 gui gui-i686 reproducible; do
  read -r passed failed < <(awk -v s="$suite" '$1 == s { p += $2; f += $3 } END { print p + 0, f + 0 }' "$summary")
  # A suite that ran no test has shown nothing: that is a failure too.
  none=""
  if [ "$passed" -eq 0 ] && [ "$failed" -eq 0 ]; then failed=1 none=" (no test ran)"; fi
  echo "$suite: $passed passed, $failed failed$none"
  if [ "$failed" -ne 0 ] || [ "$passed" -eq 0 ]; then status=1; fi
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed))
done
echo "total: $total_passed passed, $total_failed failed"
[ ${#broken[@]} -eq 0 ] || status=1
exit $status
