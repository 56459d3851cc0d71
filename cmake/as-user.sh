# Sourced at the top of the scripts that run Wine for tests: re-runs the
# calling script as an ordinary user inside a user namespace when started as
# root. Root writes to read-only files, and Wine keeps the read-only
# attribute as Unix permissions, so as root Windows' refusals would not show.
# That user is root outside the namespace, so the build directory stays ours.
# The uid is one no real user of the machine is likely to have, so Wine's
# per-user server directory in /tmp cannot clash with a real user's.
#   . as-user.sh "$0" "$@"
if [ "$(id -u)" -eq 0 ] && [ -z "${DOPLIKI_WINE_AS_USER:-}" ]; then
  if unshare --user --map-user=61000 --map-group=61000 true 2>/dev/null; then
    export DOPLIKI_WINE_AS_USER=61000
    exec unshare --user --map-user=61000 --map-group=61000 bash "$@"
  fi
  echo "$1: warning: running Wine as root; read-only files will not refuse writing" >&2
fi
