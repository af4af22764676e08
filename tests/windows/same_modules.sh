#!/bin/sh
# ftvb-convert.exe under Wine writes byte for byte the modules that the
# Linux build writes: the golden programs, and a slice of the LAPACK
# sources when the tarball is at hand (unpacked under build/, never into
# the tree).
#   same_modules.sh WINDOWS.exe LINUX-PROGRAM
set -u
exe=$1
linux=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
wine="$root/scripts/wine.sh"
if [ ! -x "$linux" ]; then
  echo "same_modules: no Linux ftvb-convert at $linux to compare with (make test builds it first)"
  exit 1
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/ftvb-same-XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0

# Runs both programs on the same list; the modules and the status must be
# the same.
compare() {  # NAME FILE...
  name=$1
  shift
  "$linux" -q -o "$work/linux.bas" "$@" 2>"$work/linux.err"
  want=$?
  "$wine" "$exe" -q -o "$work/windows.bas" "$@" 2>"$work/windows.err"
  got=$?
  if [ $got != $want ]; then
    echo "FAIL: $name: status $got under Wine, $want on Linux"
    failed=1
  elif ! cmp -s "$work/linux.bas" "$work/windows.bas"; then
    echo "FAIL: $name: the modules differ: $(cmp "$work/linux.bas" "$work/windows.bas" 2>&1)"
    failed=1
  fi
}

cd "$root/tests/golden" || exit 1
count=0
for bas in *.bas; do
  name=${bas%.bas}
  if [ -f "$name.2.for" ]; then compare "$name" "$name.for" "$name.2.for"; else compare "$name" "$name.for"; fi
  count=$((count + 1))
done
cd "$root/examples" && compare examples ./*.for && count=$((count + 1))

lapack=$root/build/lapack-3.11.0
tarball=${LAPACK_TARBALL:-$root/../shared/corpus/lapack_3.11.0.orig.tar.gz}
if [ ! -d "$lapack" ] && [ -f "$tarball" ]; then
  mkdir -p "$root/build"
  # Unpacked aside and moved into place whole, so that a run beside this one
  # never reads the folder half written.
  unpack=$(mktemp -d "$root/build/.lapack-unpack-XXXXXX")
  if tar -xzf "$tarball" -C "$unpack"; then
    mv -T "$unpack/lapack-3.11.0" "$lapack" 2>/dev/null || true
  else
    echo "same_modules: cannot unpack $tarball"
  fi
  rm -rf "$unpack"
fi
if [ -d "$lapack/SRC" ]; then
  cd "$lapack/SRC" || exit 1
  # A fixed slice: the first 100 files by name, in one module, and each of
  # the first ten alone.
  slice=$(ls -- *.f | sort | head -n 100)
  # shellcheck disable=SC2086
  compare "LAPACK SRC, 100 files" $slice
  for f in $(echo "$slice" | head -n 10); do compare "LAPACK $f" "$f"; done
  count=$((count + 11))
else
  echo "same_modules: LAPACK skipped: neither $lapack nor $tarball is there"
fi
[ $failed = 0 ] && echo "same_modules: $count modules identical"
exit $failed
