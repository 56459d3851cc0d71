#!/usr/bin/env bash
# The gui suite: the window on a virtual display of its own, under Wine in the
# private prefix, and results appended to a summary file (see run-suite.sh).
#   gui-test.sh SUMMARY_FILE [SUITE]
#
#   1. the window tests (build/win64/tests/dopliki_gui_tests.exe), which make
#      the real window in their own process: once at 96 DPI and once at 144,
#      each in a fresh wineserver that reads the DPI, as a Polish Windows;
#   2. the real dopliki32.exe driven with keystrokes from a Linux program
#      (build/native/tests/dopliki_e2e_tests), at 96 DPI: the x86_64 exe
#      through every test, the i686 one through those where data was once
#      lost (NothingLostTest).
# A missing executable counts as a failure.
set -u

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 SUMMARY_FILE [SUITE]" >&2
  exit 2
fi
. "$(dirname "$0")/as-user.sh" "$0" "$@"

summary=$1 suite=${2:-gui}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
window_tests=$root/build/win64/tests/dopliki_gui_tests.exe
e2e_tests=$root/build/native/tests/dopliki_e2e_tests
exe=$root/build/win64/dopliki32.exe
exe_i686=$root/build/win32/dopliki32.exe
post_close=$root/build/win64/tests/post_close.exe

# shellcheck source=wine-prefix.sh
. "$here/wine-prefix.sh"
# shellcheck source=gui-session.sh
. "$here/gui-session.sh"
if ! gui_session_start; then
  echo "$suite 0 1" >>"$summary"
  exit 1
fi

missing() {
  echo "$0: $1 not found; build it first" >&2
  echo "$suite 0 1" >>"$summary"
}

if [ -f "$window_tests" ]; then
  for dpi in 96 144; do
    echo "== $suite: window tests at $dpi DPI =="
    wine_use_dpi "$dpi"
    "$here/run-suite.sh" "$summary" "$suite" env LC_ALL=pl_PL.UTF-8 DOPLIKI_EXPECT_DPI="$dpi" \
      wine "$window_tests"
  done
else
  missing "$window_tests"
fi

if [ -x "$e2e_tests" ] && [ -f "$exe" ] && [ -f "$exe_i686" ] && [ -f "$post_close" ]; then
  wine_use_dpi 96
  echo "== $suite: the real program, driven with keystrokes, at 96 DPI =="
  "$here/run-suite.sh" "$summary" "$suite" env DOPLIKI_EXE="$exe" \
    DOPLIKI_POST_CLOSE="$post_close" "$e2e_tests"
  echo "== $suite: the real i686 program, where data was once lost =="
  "$here/run-suite.sh" "$summary" "$suite" env DOPLIKI_EXE="$exe_i686" \
    DOPLIKI_POST_CLOSE="$post_close" "$e2e_tests" --gtest_filter='NothingLostTest.*'
else
  for needed in "$e2e_tests" "$exe" "$exe_i686" "$post_close"; do
    [ -e "$needed" ] || missing "$needed"
  done
fi
