#!/usr/bin/env bash
# The guide's screenshots: EXE (the exe being packaged) driven through the
# demo's typical use with keystrokes, on a virtual display of its own at
# 96 DPI, as a Polish Windows, its PNGs saved into SHOTS. The demo is made
# anew in DEMO_DIR (its Wine prefix is kept there between runs) for the
# installations of YEAR - 1 and YEAR, whatever the clock says, so that the
# pictures are the same in any year.
#   dist-shots.sh EXE SHOTS DEMO_DIR YEAR
set -euo pipefail

if [ $# -ne 4 ]; then
  echo "usage: $0 EXE SHOTS DEMO_DIR YEAR" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
exe=$(realpath "$1") shots=$2 demo=$3 year=$4
tool=$here/../build/native/tools/demo/dopliki_demo
[ -x "$tool" ] || { echo "$0: $tool not found; build the native preset's dopliki_demo" >&2; exit 1; }
mkdir -p "$demo" "$shots"
demo=$(realpath "$demo") shots=$(realpath "$shots")

# shellcheck source=demo-session.sh
. "$here/demo-session.sh" "$demo"
demo_installations "$tool" "$year"
# The exe writes its log beside itself: a copy of its own, outside the package.
rm -rf "$demo/exe"
mkdir -p "$demo/exe"
cp "$exe" "$demo/exe/dopliki32.exe"

gui_session_start
wine_use_dpi 96
"$tool" shots "$demo/exe/dopliki32.exe" "$shots"
