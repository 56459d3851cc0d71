#!/usr/bin/env bash
# The screenshots of the guide (INSTRUKCJA.html): cmake/guide-shots.sh EXE FOLDER
# drives EXE under Wine with real keystrokes and saves a PNG of every screen,
# box and window a user can meet into FOLDER. Everything is prepared anew
# each time so that the pictures are the same on every run: a private Wine
# prefix (build/guide/prefix), a virtual display with openbox, Wine's own
# fonts, 96 DPI, and, made by the demo tool itself, installations of fixed
# years (2025 and 2026) with the registry's entries pointing at them.
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: cmake/guide-shots.sh EXE FOLDER" >&2
  exit 2
fi
exe=$(realpath "$1")
mkdir -p "$2"
folder=$(realpath "$2")
cd "$(dirname "$0")/.."
root=$PWD

cmake --preset native >/dev/null && cmake --build --preset native --target dopliki_demo
tool=$root/build/native/tools/demo/dopliki_demo

export DOPLIKI_WINEPREFIX=$root/build/guide/prefix
# shellcheck source=wine-prefix.sh
. cmake/wine-prefix.sh
# shellcheck source=gui-session.sh
. cmake/gui-session.sh

# The exe runs from a folder of its own, where it saves its log.
run=$root/build/guide/run
rm -rf "$run"
mkdir -p "$run"
cp "$exe" "$run/dopliki32.exe"
rm -f "$folder"/*.png

gui_session_start
wine_use_dpi 96
"$tool" shots "$run/dopliki32.exe" "$folder"
