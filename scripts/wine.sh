#!/bin/sh
# Runs a Windows program under Wine, headless and quiet, in the project's
# own Wine prefix (build/wine unless WINEPREFIX says otherwise), made on
# first use. Exits with the program's status.
#   scripts/wine.sh PROGRAM.exe [ARGUMENT...]
#   scripts/wine.sh --prefix      only make sure the prefix exists
#   scripts/wine.sh --wait        wait until the prefix's wineserver has ended
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
: "${WINEPREFIX:=$root/build/wine}"
# No Mono or Gecko installer dialogs, no menu entries made on the Linux
# desktop for Windows shortcuts, no debug chatter.
: "${WINEDLLOVERRIDES:=mscoree,mshtml=;winemenubuilder.exe=d}"
: "${WINEDEBUG:=-all}"
export WINEPREFIX WINEDLLOVERRIDES WINEDEBUG

# Debian's "wine" script looks for a 32-bit Wine first and says so; the
# programs here are 64-bit.
if [ -x /usr/lib/wine/wine64 ]; then
  wine=/usr/lib/wine/wine64
else
  wine=$(command -v wine64 || command -v wine || command -v wine-stable || true)
fi
if [ -z "$wine" ]; then
  echo "wine.sh: Wine is not installed (apt-get install wine wine64)" >&2
  exit 127
fi

if [ "${1:-}" = "--wait" ]; then
  [ -d "$WINEPREFIX" ] && { wineserver -w 2>/dev/null || true; }
  exit 0
fi

# Tests may start at once: one of them makes the prefix, under a lock.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "wine.sh: making the Wine prefix $WINEPREFIX" >&2
      DISPLAY='' "$wine" wineboot -i >/dev/null 2>&1 || true
      wineserver -w 2>/dev/null || true
    fi
  ) 9>"$WINEPREFIX.lock"
fi
[ "${1:-}" = "--prefix" ] && exit 0
exec "$wine" "$@"
