#!/bin/sh
# The zip and the installer that `make windows` leaves in dist/, made afresh
# from this build into a scratch folder and tried under Wine: the zip holds
# the programs and Windows text files and runs where it is unpacked; the
# installer installs silently for one user (files, Start-menu entry, PATH)
# and its uninstaller takes away what it put there and nothing else (the
# window's settings and the user's modules stay).
#   shipping.sh BUILD-FOLDER
set -u
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
wine="$root/scripts/wine.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/ftvb-shipping-XXXXXX")
failed=0
fail() { printf 'FAIL: %s\n' "$*"; failed=1; }
# Wine's reg.exe prints the value as "    NAME    REG_TYPE    DATA".
reg_value() { "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
windows_path() { echo "Z:$1" | tr / '\\'; }

settings='HKCU\Software\VB and VBA Program Settings\MIRADOR_FTVB\langue'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ftvb'
"$wine" --prefix
saved_path=$(reg_value 'HKCU\Environment' Path)
saved_language=$(reg_value "$settings" langue)
cleanup() {
  if [ -n "$saved_path" ]; then
    "$wine" reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d "$saved_path" /f >/dev/null 2>&1
  else
    "$wine" reg delete 'HKCU\Environment' /v Path /f >/dev/null 2>&1
  fi
  if [ -n "$saved_language" ]; then
    "$wine" reg add "$settings" /v langue /d "$saved_language" /f >/dev/null 2>&1
  else
    "$wine" reg delete "$settings" /v langue /f >/dev/null 2>&1
  fi
  rm -rf "$work"
}
trap cleanup EXIT

cpack --config "$build/CPackConfig.cmake" -D CPACK_OUTPUT_FILE_PREFIX="$work" -B "$work/cpack" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; exit 1; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
zip=$work/ftvb-$version-win64.zip
setup=$work/ftvb-$version-setup.exe
[ -f "$zip" ] || fail "no $zip"
[ -f "$setup" ] || fail "no $setup"
programs="ftvb-convert.exe"
[ -f "$build/ftvb.exe" ] && programs="ftvb.exe $programs"
shipped="$programs README.txt LICENSE.txt"
[ -f "$build/doc/manual.html" ] && shipped="$shipped manual.html"

# ---- the zip ------------------------------------------------------------------
mkdir "$work/unzipped"
(cd "$work/unzipped" && unzip -q "$zip") || fail "unzip"
top=$work/unzipped/ftvb-$version-win64
for f in $shipped; do [ -f "$top/$f" ] || fail "zip: no $f"; done
extra=$(cd "$top" && ls | grep -v -x -F "$(echo $shipped | tr ' ' '\n')")
[ -z "$extra" ] || fail "zip: unexpected $extra"
for f in README.txt LICENSE.txt; do
  # Every LF with its CR before it.
  lf=$(tr -cd '\n' <"$top/$f" | wc -c)
  crlf=$(grep -c "$(printf '\r')\$" "$top/$f")
  [ "$lf" = "$crlf" ] && [ "$lf" -gt 0 ] || fail "zip: $f has $lf LF and $crlf CR LF"
done
out=$("$wine" "$top/ftvb-convert.exe" --version 2>&1)
[ "$out" = "ftvb-convert $version" ] || fail "zip: ftvb-convert.exe --version said '$out'"

# ---- the installer --------------------------------------------------------------
"$wine" reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d 'C:\tools;C:\more tools' /f >/dev/null 2>&1
"$wine" reg add "$settings" /v langue /d 1 /f >/dev/null 2>&1
target=$work/installed/ftvb
target_windows=$(windows_path "$target")
"$wine" "$setup" /S "/D=$target_windows" || fail "the installer failed (status $?)"
for f in $shipped Uninstall.exe; do [ -f "$target/$f" ] || fail "installed: no $f"; done
out=$("$wine" "$target/ftvb-convert.exe" --version 2>&1)
[ "$out" = "ftvb-convert $version" ] || fail "installed ftvb-convert.exe --version said '$out'"
path=$(reg_value 'HKCU\Environment' Path)
[ "$path" = "C:\\tools;C:\\more tools;$target_windows" ] || fail "PATH after installing: '$path'"
[ "$(reg_value "$uninstall_key" DisplayVersion)" = "$version" ] || fail "no entry in Apps & features"
startmenu=$(find "${WINEPREFIX:-$root/build/wine}/drive_c/users" -path '*Start Menu/Programs/ftvb.lnk' 2>/dev/null |
  head -n 1)
if echo "$programs" | grep -q 'ftvb.exe '; then
  [ -n "$startmenu" ] || fail "no Start-menu entry for ftvb.exe"
else
  echo "shipping: no ftvb.exe in this build: the Start-menu entry is not tested"
fi

# A module the user saved in the folder.
printf 'finished by hand\r\n' >"$target/module1.bas"
# _?= keeps the uninstaller from copying itself away and returning at once.
"$wine" "$target/Uninstall.exe" /S "_?=$target_windows" || fail "the uninstaller failed (status $?)"
for f in $shipped; do [ ! -e "$target/$f" ] || fail "uninstalled: $f is still there"; done
[ "$(cat "$target/module1.bas")" = "$(printf 'finished by hand\r')" ] || fail "uninstalled: the user's module went"
[ "$(reg_value "$settings" langue)" = 1 ] || fail "uninstalled: the window's settings went"
path=$(reg_value 'HKCU\Environment' Path)
[ "$path" = 'C:\tools;C:\more tools' ] || fail "PATH after uninstalling: '$path'"
[ -z "$(reg_value "$uninstall_key" DisplayVersion)" ] || fail "uninstalled: the Apps & features entry stays"
if [ -n "$startmenu" ] && [ -e "$startmenu" ]; then fail "uninstalled: the Start-menu entry stays"; fi

[ $failed = 0 ] && echo "shipping: zip and installer as they should be"
exit $failed
