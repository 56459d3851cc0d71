#!/usr/bin/env bash
# The Windows benchmarks under Wine, run as the Wine tests run (an ordinary
# user inside a user namespace, the private prefix, a Polish system), on a
# display of their own with a window manager, so that the window is shown and
# active as on a desktop.
#   bench-wine.sh BUILD_DIR FIXTURE_DIR
set -u
. "$(dirname "$0")/as-user.sh" "$0" "$@"

build=$(cd "$1" && pwd) fixtures=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine-prefix.sh
. "$here/wine-prefix.sh"
# shellcheck source=gui-session.sh
. "$here/gui-session.sh"
gui_session_start >/dev/null || exit 1
wine_use_dpi 96

windows_path() { local p=${1//\//\\}; echo "Z:$p"; }
run() { LC_ALL=pl_PL.UTF-8 wine "$@" 2>&1 | tr -d '\r' | grep -v '^[0-9a-f]*:\(fixme\|err\):'; }

run "$build/bench/files_bench.exe" "$(windows_path "$fixtures")"
run "$build/bench/window_bench.exe" "$(windows_path "$fixtures")"
run "$build/bench/startup_launcher.exe" "$(windows_path "$build/dopliki32.exe")" \
  "$(windows_path "$build/bench/minimal_window.exe")"
