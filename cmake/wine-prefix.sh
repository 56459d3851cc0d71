# Sourced by the scripts that run Windows programs: the project's private Wine
# prefix, build/wineprefix (or DOPLIKI_WINEPREFIX, another folder of ours,
# such as the demo's), made ready on first use. It is a 64-bit prefix, which
# runs the i686 build as well once 32-bit Wine is installed.
export WINEPREFIX
WINEPREFIX=${DOPLIKI_WINEPREFIX:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wineprefix}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
export WINEARCH=win64

# Whatever happens in the caller, leave no wineserver of this prefix behind.
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

# A prefix is ready once a boot has run to its end; an interrupted one is redone.
if [ ! -f "$WINEPREFIX/.dopliki-ready" ]; then
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  echo "creating the Wine prefix $WINEPREFIX"
  wineboot --init >/dev/null 2>&1
  timeout 300 wineserver -w || wineserver -k
  touch "$WINEPREFIX/.dopliki-ready"
fi
