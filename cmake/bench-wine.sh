#!/usr/bin/env bash
# The Windows benchmarks under Wine, run as the Wine tests run (an ordinary
# user inside a user namespace, the private prefix, a Polish system), on a
# display of their own: Xvfb with openbox, so that the window is shown and
# active as on a desktop.
#   bench-wine.sh BUILD_DIR FIXTURE_DIR
set -u
if [ "$(id -u)" -eq 0 ] && [ -z "${DOPLIKI_WINE_AS_USER:-}" ]; then
  if unshare --user --map-user=61000 --map-group=61000 true 2>/dev/null; then
    export DOPLIKI_WINE_AS_USER=61000
    exec unshare --user --map-user=61000 --map-group=61000 bash "$0" "$@"
  fi
  echo "$0: warning: running Wine as root" >&2
fi

build=$(cd "$1" && pwd) fixtures=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine-prefix.sh
. "$here/wine-prefix.sh"

# A display number that nobody uses.
display=
for n in $(seq 170 230); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
    display=$n
    break
  fi
done
[ -n "$display" ] || { echo "$0: no free display" >&2; exit 1; }
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.1
done
export DISPLAY=":$display"
openbox >/dev/null 2>&1 &
openbox=$!
trap 'wineserver -k >/dev/null 2>&1; kill "$openbox" "$xvfb" 2>/dev/null; wait 2>/dev/null' EXIT
sleep 1

windows_path() { local p=${1//\//\\}; echo "Z:$p"; }
run() { LC_ALL=pl_PL.UTF-8 wine "$@" 2>&1 | tr -d '\r' | grep -v '^[0-9a-f]*:\(fixme\|err\):'; }

run "$build/bench/files_bench.exe" "$(windows_path "$fixtures")"
run "$build/bench/window_bench.exe" "$(windows_path "$fixtures")"
run "$build/bench/startup_launcher.exe" "$(windows_path "$build/dopliki32.exe")" \
  "$(windows_path "$build/bench/minimal_window.exe")"
