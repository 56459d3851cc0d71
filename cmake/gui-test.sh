#!/usr/bin/env bash
# The gui suites: the window on a virtual display of its own, under Wine in
# the private prefix, and results appended to a summary file (see
# run-suite.sh) under SUITE (gui by default) and SUITE-i686.
#   gui-test.sh SUMMARY_FILE [SUITE]
#
#   1. SUITE: the window tests (build/win64/tests/dopliki_gui_tests.exe), which
#      make the real window in their own process: once at 96 DPI and once at
#      144, each in a fresh wineserver that reads the DPI, as a Polish Windows;
#      then the real x86_64 dopliki32.exe driven with keystrokes from a Linux
#      program (build/native/tests/dopliki_e2e_tests) at 96 DPI, and its image
#      read as Windows reads it;
#   2. SUITE-i686: the same program through every test with the i686 exe, and
#      the i686 build of the helper that sends a close, as a 32-bit Windows
#      would have it.
# A missing executable counts as a failure of the suite that needs it.
set -u

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 SUMMARY_FILE [SUITE]" >&2
  exit 2
fi
. "$(dirname "$0")/as-user.sh" "$0" "$@"

summary=$1 suite=${2:-gui}
suite_i686=$suite-i686
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
window_tests=$root/build/win64/tests/dopliki_gui_tests.exe
e2e_tests=$root/build/native/tests/dopliki_e2e_tests
exe=$root/build/win64/dopliki32.exe
exe_i686=$root/build/win32/dopliki32.exe
post_close=$root/build/win64/tests/post_close.exe
post_close_i686=$root/build/win32/tests/post_close.exe

# shellcheck source=wine-prefix.sh
. "$here/wine-prefix.sh"
# shellcheck source=gui-session.sh
. "$here/gui-session.sh"
if ! gui_session_start; then
  echo "$suite 0 1" >>"$summary"
  echo "$suite_i686 0 1" >>"$summary"
  exit 1
fi

missing() {  # missing SUITE FILE
  echo "$0: $2 not found; build it first" >&2
  echo "$1 0 1" >>"$summary"
}

if [ -f "$window_tests" ]; then
  for dpi in 96 144; do
    echo "== $suite: window tests at $dpi DPI =="
    wine_use_dpi "$dpi"
    "$here/run-suite.sh" "$summary" "$suite" env LC_ALL=pl_PL.UTF-8 DOPLIKI_EXPECT_DPI="$dpi" \
      wine "$window_tests"
  done
else
  missing "$suite" "$window_tests"
fi

# The real program, one suite per architecture: every test with each exe.
real_exe() {  # real_exe SUITE EXE POST_CLOSE
  local needed ready=1
  for needed in "$e2e_tests" "$2" "$3"; do
    [ -e "$needed" ] || { missing "$1" "$needed"; ready=0; }
  done
  [ "$ready" -eq 1 ] || return
  echo "== $1: the real program ($2), driven with keystrokes, at 96 DPI =="
  "$here/run-suite.sh" "$summary" "$1" env DOPLIKI_EXE="$2" DOPLIKI_POST_CLOSE="$3" "$e2e_tests"
}
wine_use_dpi 96
real_exe "$suite" "$exe" "$post_close"
real_exe "$suite_i686" "$exe_i686" "$post_close_i686"
