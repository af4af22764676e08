#!/bin/sh
# The whole LAPACK 3.11.0 release in one run: every file of the tarball, in
# sorted order, the C sources, scripts, text and data files taken as the
# hostile input they are. The module must be byte for byte the one recorded
# in lapack_release.sha256 (made before the engine was reworked, and to be
# changed only with a change of the rules' output, after reading the
# difference).
#   tests/release/lapack_release.sh FTVB_CONVERT WORK_FOLDER
# Exit 77 (skipped) when the tarball is not at hand: LAPACK_TARBALL, or
# ../shared/corpus/lapack_3.11.0.orig.tar.gz relative to the project.
set -eu

convert=$1
work=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
tarball=${LAPACK_TARBALL:-$root/../shared/corpus/lapack_3.11.0.orig.tar.gz}
if [ ! -f "$tarball" ]; then
  echo "skipped: the LAPACK 3.11.0 tarball is not at $tarball (set LAPACK_TARBALL)"
  exit 77
fi
want=$(cut -d ' ' -f 1 "$root/tests/release/lapack_release.sha256")

rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
tar -xzf "$tarball" -C "$work"
cd "$work/lapack-3.11.0"
# One invocation, or the module would hold only the last batch.
find . -type f | LC_ALL=C sort | tr '\n' '\0' | xargs -0 -x -s 1000000 "$convert" -q -o ../module.bas
got=$(sha256sum ../module.bas | cut -d ' ' -f 1)
files=$(find . -type f | wc -l)
if [ "$got" != "$want" ]; then
  echo "the module of the $files files differs from the one recorded: sha256 $got, recorded $want"
  exit 1
fi
echo "the module of the $files files is the one recorded ($got)"
