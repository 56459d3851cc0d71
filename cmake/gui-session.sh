# Sourced after wine-prefix.sh by the scripts that show Windows programs on
# a screen of their own: a virtual display (Xvfb, on a display number that it
# finds free), openbox as the window manager, so that a new window is active
# and takes keys as on a desktop, and Wine's own fonts in the prefix, so that
# "MS Sans Serif" is Wine's bitmap font and not a stand-in.
#   gui_session_start          starts the display and the window manager, exports DISPLAY
#   wine_fonts                 Wine's own fonts in the prefix (gui_session_start does it)
#   wine_use_dpi DPI           the DPI (96, 120, 144) of the next Windows program
# When the calling script exits, nothing is left behind: no wineserver of the
# prefix, no openbox, no Xvfb.

gui_session_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
gui_session_dir=$(mktemp -d)
gui_session_xvfb="" gui_session_openbox=""

gui_session_stop() {
  wineserver -k >/dev/null 2>&1 && timeout 10 wineserver -w
  local pid
  for pid in $gui_session_openbox $gui_session_xvfb; do
    kill "$pid" 2>/dev/null && timeout 10 tail --pid="$pid" -f /dev/null
  done
  rm -rf "$gui_session_dir"
}
trap gui_session_stop EXIT
trap 'exit 130' INT TERM

gui_session_start() {
  # 1920 x 1080 holds the whole window at 144 DPI too.
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset \
    3>"$gui_session_dir/display" >"$gui_session_dir/xvfb.log" 2>&1 &
  gui_session_xvfb=$!
  local tries
  for tries in $(seq 100); do
    [ -s "$gui_session_dir/display" ] && break
    kill -0 "$gui_session_xvfb" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$gui_session_dir/display" ]; then
    echo "gui session: Xvfb did not start" >&2
    cat "$gui_session_dir/xvfb.log" >&2
    return 1
  fi
  export DISPLAY=":$(head -n 1 "$gui_session_dir/display")"

  openbox --config-file "$gui_session_here/openbox-rc.xml" >"$gui_session_dir/openbox.log" 2>&1 &
  gui_session_openbox=$!
  # The window manager is ready once it names itself on the root window.
  for tries in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
    echo "gui session: openbox did not start" >&2
    cat "$gui_session_dir/openbox.log" >&2
    return 1
  fi
  # openbox readies its frames with the first window it manages, and a Wine
  # program that comes first then sometimes is not given the focus. A small
  # window first, as on a desktop that has been in use.
  timeout 10 xmessage -center -timeout 1 "gui session" >/dev/null 2>&1
  wine_fonts
  echo "gui session: display $DISPLAY, openbox"
}

wine_fonts() {
  # Debian's Wine does not load the fonts it ships; from the prefix it does.
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -u /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
}

wine_use_dpi() {
  # The wineserver holds the registry and the system's DPI while it runs:
  # end it, set the value, and let it end again, so that the next program
  # starts a fresh one, which reads the value.
  wineserver -k 2>/dev/null || true
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
  timeout 60 wineserver -w || wineserver -k
}
