#!/bin/sh
# Runs a Windows test program that opens windows under Wine, on an X
# display of its own (Xvfb and openbox, started here and ended after).
# Exits 77, which ctest counts as skipped, when Wine or Xvfb is missing.
#   windowed.sh PROGRAM.exe [ARGUMENT...]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
if ! command -v Xvfb >/dev/null 2>&1; then
  echo "skipped: the Win32 window is not tested: Xvfb is not installed (apt-get install xvfb)"
  exit 77
fi
if [ ! -x /usr/lib/wine/wine64 ] && ! command -v wine64 >/dev/null 2>&1 && ! command -v wine >/dev/null 2>&1; then
  echo "skipped: the Win32 window is not tested: Wine is not installed (apt-get install wine wine64)"
  exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/ftvb-windowed-XXXXXX")
# Xvfb picks a free display and writes its number when it is ready.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$work"' EXIT
i=0
while [ ! -s "$work/display" ] && [ $i -lt 100 ]; do
  kill -0 $xvfb 2>/dev/null || break
  i=$((i + 1))
  sleep 0.1
done
if [ ! -s "$work/display" ]; then
  echo "skipped: the Win32 window is not tested: Xvfb did not start"
  exit 77
fi
DISPLAY=:$(cat "$work/display")
export DISPLAY
# Wine waits for a window manager's word at each window shown or hidden,
# and gives up only after a while: with one, the tests take a third of the
# time.
if command -v openbox >/dev/null 2>&1; then
  openbox >/dev/null 2>&1 &
  wm=$!
  trap 'kill $wm $xvfb 2>/dev/null; wait $wm $xvfb 2>/dev/null; rm -rf "$work"' EXIT
fi
# Wine draws a prefix's windows on the display its wineserver started with:
# wait until a server of another test (one without a display) has ended, so
# that this one starts with ours. ctest runs this test alone (RUN_SERIAL).
"$root/scripts/wine.sh" --wait
# A crash ends the program with its report instead of opening the crash
# dialog, which nobody would close.
WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d};winedbg.exe=d"
export WINEDLLOVERRIDES
"$root/scripts/wine.sh" "$@"
