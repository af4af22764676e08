#!/bin/sh
# Builds the Debian package from the build at hand into a scratch folder and
# checks what a user gets: the control fields, the files and their modes,
# stripped programs that run, the version everywhere, and that
# `cmake --install` puts the same files in place. Exits 77 (skipped) when
# CPack or the dpkg tools are missing.
#   package_test.sh BUILD VERSION WINDOW(ON|OFF)
set -u
build="$1"
version="$2"
window="$3"

for tool in cpack dpkg-deb dpkg-shlibdeps file; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is not installed (scripts/deps.sh test installs it)"
    exit 77
  fi
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/ftvb-package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

if ! (cd "$build" && cpack -B "$scratch/cpack" -D CPACK_OUTPUT_FILE_PREFIX="$scratch") >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log"
  exit 1
fi
deb="$scratch/ftvb_${version}_$(dpkg --print-architecture).deb"
if [ ! -f "$deb" ]; then
  cat "$scratch/cpack.log"
  echo "FAIL: no $deb"
  exit 1
fi

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = ftvb ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), not $version"
[ "$(field Section)" = devel ] || fail "Section: $(field Section)"
[ "$(field Priority)" = optional ] || fail "Priority: $(field Priority)"
field Maintainer | grep -Eq '^[^<]+ <[^@ ]+@[^> ]+>$' || fail "Maintainer: $(field Maintainer)"
[ "$(field Description | wc -l)" -gt 2 ] || fail "no long description"
if field Description | awk 'length > 80 { found = 1 } END { exit !found }'; then
  fail "description lines over 80 columns"
fi
depends=$(field Depends)
wanted="libc6 libstdc++6"
[ "$window" = ON ] && wanted="$wanted libqt6widgets6 qt6-qpa-plugins"
for lib in $wanted; do
  case ", $depends" in
    *", $lib"[\ ,]* | *", $lib") ;;
    *) fail "Depends lacks $lib: $depends" ;;
  esac
done

# The files, their owners and modes.
dpkg-deb -c "$deb" >"$scratch/listing"
dpkg-deb -x "$deb" "$scratch/root"
expected="usr/bin/ftvb-convert
usr/share/bash-completion/completions/ftvb-convert
usr/share/zsh/vendor-completions/_ftvb-convert
usr/share/doc/ftvb/README.md
usr/share/doc/ftvb/copyright
usr/share/doc/ftvb/changelog.gz"
[ -f "$build/doc/man/ftvb-convert.1.gz" ] && expected="$expected
usr/share/man/man1/ftvb-convert.1.gz"
[ -f "$build/doc/manual.html" ] && expected="$expected
usr/share/doc/ftvb/manual.html
usr/share/doc-base/ftvb-manual"
if [ "$window" = ON ]; then
  expected="$expected
usr/bin/ftvb
usr/share/applications/ftvb.desktop
usr/share/icons/hicolor/scalable/apps/ftvb.svg
usr/share/metainfo/org.example.ftvb.metainfo.xml"
  [ -f "$build/doc/man/ftvb.1.gz" ] && expected="$expected
usr/share/man/man1/ftvb.1.gz"
fi
for path in $expected; do
  [ -f "$scratch/root/$path" ] || fail "missing /$path"
done
awk '$2 != "root/root" { print "FAIL: owner " $2 " of " $6 }' "$scratch/listing" | grep . && failures=$((failures + 1))
awk '{
  path = $6
  if ($1 ~ /^d/) want = "drwxr-xr-x"
  else if (path ~ /^\.\/usr\/bin\//) want = "-rwxr-xr-x"
  else want = "-rw-r--r--"
  if ($1 != want) print "FAIL: mode " $1 " of " path ", not " want
}' "$scratch/listing" | grep . && failures=$((failures + 1))

# Stripped programs that run, and one version everywhere.
for program in "$scratch"/root/usr/bin/*; do
  file -b "$program" | grep -q ', stripped' || fail "$(basename "$program") is not stripped"
done
shown=$("$scratch/root/usr/bin/ftvb-convert" --version)
[ "$shown" = "ftvb-convert $version" ] || fail "--version says '$shown'"
for page in "$scratch"/root/usr/share/man/man1/*.gz; do
  [ -f "$page" ] || continue
  gzip -dc "$page" | grep -q "^\.TH .*\"ftvb $version\"" || fail "$(basename "$page") does not carry $version"
done
manual="$scratch/root/usr/share/doc/ftvb/manual.html"
if [ -f "$manual" ]; then
  grep -q "<title>ftvb $version manual</title>" "$manual" || fail "manual.html does not carry $version"
  ! grep -q '<img src="[^d]' "$manual" || fail "manual.html fetches a picture instead of holding it"
fi
gzip -dc "$scratch/root/usr/share/doc/ftvb/changelog.gz" | head -1 | grep -q "^ftvb ($version) " ||
  fail "changelog does not begin with $version"
if [ "$window" = ON ]; then
  grep -q "<release version=\"$version\"" "$scratch/root/usr/share/metainfo/org.example.ftvb.metainfo.xml" ||
    fail "metainfo does not carry $version"
fi

# cmake --install: the same files as the package.
DESTDIR="$scratch/installed" cmake --install "$build" --prefix /usr >/dev/null ||
  fail "cmake --install failed"
(cd "$scratch/root" && find . ! -type d | sort) >"$scratch/packaged"
(cd "$scratch/installed" && find . ! -type d | sort) >"$scratch/installed.list"
diff "$scratch/packaged" "$scratch/installed.list" >"$scratch/diff" ||
  { fail "cmake --install and the package differ:"; cat "$scratch/diff"; }

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed on $(basename "$deb")"
  exit 1
fi
echo "$(basename "$deb"): $(grep -c '^-' "$scratch/listing") files, all checks passed"
