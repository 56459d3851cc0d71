#!/usr/bin/env bash
# `make run`: builds the exe and shows it on a demo made anew each time, in a
# private Wine prefix of its own (build/demo/prefix, kept between runs): last
# year's installation at the default place, this year's where the registry
# says, a handful of companies. With a usable display ($DISPLAY) the window
# opens there and the script waits until it is closed. Without one, the
# typical use is driven with keystrokes on a virtual display, and the
# screenshots of each screen are saved under build/demo. Either way it ends
# by printing the saved log and the inventory values that changed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

cmake --preset win64 >/dev/null && cmake --build --preset win64 --target dopliki32
cmake --preset native >/dev/null && cmake --build --preset native --target dopliki_demo
tool=$root/build/native/tools/demo/dopliki_demo
demo=$root/build/demo
mkdir -p "$demo"

# shellcheck source=demo-session.sh
. cmake/demo-session.sh "$demo"

# The demo, made anew: the installations, the registry, the exe and no log.
year=$(date +%Y)
demo_installations "$tool" "$year"
rm -f "$demo"/dopliki32.log "$demo"/*.png
cp build/win64/dopliki32.exe "$demo/"

# A Polish Windows: code page 1250, decimal symbol ",".
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "demo: the window opens on $DISPLAY; close it to end"
  (cd "$demo" && LC_ALL=pl_PL.UTF-8 wine "$demo/dopliki32.exe")
else
  echo "demo: no display; the typical use driven with keystrokes on a virtual one"
  gui_session_start
  wine_use_dpi 96
  "$tool" drive "$demo/dopliki32.exe" "$demo" "$demo_new_dir" "$year"
fi
echo
"$tool" report "$demo_new_dir" "$year" "$demo/dopliki32.log"
