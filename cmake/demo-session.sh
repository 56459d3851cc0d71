# Sourced by the scripts that show the demo (`make run`, `make dist` for the
# guide's screenshots): the demo's private Wine prefix in DEMO_DIR/prefix,
# and the session helpers of wine-prefix.sh and gui-session.sh.
#   . demo-session.sh DEMO_DIR
#   demo_installations TOOL YEAR   the demo made anew: the installations of
#                                  YEAR - 1 and YEAR, the registry, the fonts
# demo_installations sets demo_old_dir and demo_new_dir (Linux paths) and
# demo_new_windows_dir.

export DOPLIKI_WINEPREFIX=$1/prefix
# shellcheck source=wine-prefix.sh
. "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"
# shellcheck source=gui-session.sh
. "$(dirname "${BASH_SOURCE[0]}")/gui-session.sh"

demo_installations() {  # demo_installations TOOL YEAR
  local tool=$1 year=$2 clock_year clock_old_year
  local old_year=$((year - 1))
  demo_old_dir=$WINEPREFIX/drive_c/zetka_$old_year
  demo_new_dir=$WINEPREFIX/drive_c/Programy/ZETKA_WX_$year
  demo_new_windows_dir="C:\\Programy\\ZETKA_WX_$year"
  "$tool" build "$demo_old_dir" "$old_year" "$demo_new_dir" "$year" || return 1

  # The program proposes the installations of its clock's year (from the
  # registry) and of the year before (from the registry, else the default
  # c:\zetka_<year>). This year's comes from the registry, last year's from
  # the default; a demo of another year than the clock's (the guide's
  # screenshots, the same in any year) has both keys point at its own.
  clock_year=$(date +%Y)
  clock_old_year=$((clock_year - 1))
  wine reg delete 'HKCU\Software\wx' /f >/dev/null 2>&1 || true
  wine reg add "HKCU\\Software\\wx\\ZT0${clock_year: -2}" /v InstallPath /t REG_SZ \
    /d "$demo_new_windows_dir" /f >/dev/null || return 1
  local old_from="the default"
  if [ "$year" -ne "$clock_year" ]; then
    wine reg add "HKCU\\Software\\wx\\ZT0${clock_old_year: -2}" /v InstallPath /t REG_SZ \
      /d "c:\\zetka_$old_year" /f >/dev/null || return 1
    old_from="from the registry"
  fi
  wine_fonts
  echo "demo: last year's installation c:\\zetka_$old_year ($old_from)," \
    "this year's $demo_new_windows_dir (from the registry)"
}
