#!/bin/sh
# Builds dist/ftvb_VERSION_ARCH.deb: a build for /usr with Debian's own
# compiler and linker flags (hardening included), packed by CPack, then
# checked by lintian, where an error fails and warnings are shown.
#   scripts/package.sh BUILD_FOLDER [JOBS]
set -eu
build="$1"
jobs="${2:-2}"
cd "$(dirname "$0")/.."

flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DFTVB_TESTS=OFF -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >/dev/null
cmake --build "$build" -j "$jobs"

log="$build/cpack.log"
if ! (cd "$build" && cpack) >"$log" 2>&1; then
  cat "$log"
  exit 1
fi
deb=$(sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' "$log")
echo "Built $deb"

status=0
lintian --fail-on error "$deb" >"$build/lintian.log" 2>&1 || status=$?
# As root, lintian also says it would rather not run as root.
grep -v '^running with root privileges' "$build/lintian.log" || true
if [ "$status" -ne 0 ]; then
  echo "lintian found errors in $deb" >&2
  exit 1
fi
echo "lintian: no error"
