#!/usr/bin/env bash
# Runs a Windows test executable under Wine and appends its results to a
# summary file under the given suite name (see run-suite.sh).
#   wine-test.sh SUMMARY_FILE SUITE EXE
#
# Wine gets a private prefix, build/wineprefix, created on first use and never
# the user's ~/.wine; a 64-bit prefix runs the i686 build too. The executable
# runs twice:
#   1. every test, as a Polish Windows (LC_ALL=pl_PL.UTF-8: code page 1250,
#      decimal symbol ",");
#   2. only the test suites whose names end in "LocaleTest", as an English one
#      (LC_ALL=C.UTF-8: code page 1252, decimal symbol ".").
# Tests learn what to expect from DOPLIKI_EXPECT_ACP and DOPLIKI_EXPECT_DECIMAL
# and skip their exact checks when these are unset. Both runs count for SUITE.
# Console tests only: no display is needed.
set -u

if [ $# -ne 3 ]; then
  echo "usage: $0 SUMMARY_FILE SUITE EXE" >&2
  exit 2
fi
. "$(dirname "$0")/as-user.sh" "$0" "$@"

summary=$1 suite=$2 exe=$3
here=$(cd "$(dirname "$0")" && pwd)
wine=${WINE:-wine}

if [ ! -f "$exe" ]; then
  echo "$0: $exe not found; build the Windows tests first" >&2
  echo "$suite 0 1" >>"$summary"
  exit 1
fi

# shellcheck source=wine-prefix.sh
. "$here/wine-prefix.sh"

run() {  # run LOCALE ACP DECIMAL [GTEST ARGS...]
  local locale=$1 acp=$2 decimal=$3
  shift 3
  echo "== $suite: Wine, LC_ALL=$locale (code page $acp, decimal symbol \"$decimal\") =="
  # The locale goes to Wine alone: the shell need not have it installed.
  "$here/run-suite.sh" "$summary" "$suite" env LC_ALL="$locale" DOPLIKI_EXPECT_ACP="$acp" \
    DOPLIKI_EXPECT_DECIMAL="$decimal" "$wine" "$exe" "$@"
  # The next run starts a fresh wineserver, which reads the locale anew.
  timeout 60 wineserver -w || wineserver -k
}

run pl_PL.UTF-8 1250 ","
run C.UTF-8 1252 "." --gtest_filter='*LocaleTest.*'
