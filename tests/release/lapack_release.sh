#!/bin/sh
# The whole LAPACK 3.11.0 release in one run: every file of the tarball, in
# sorted order, the C sources, scripts, text and data files taken as the
# hostile input they are. The module must be byte for byte the one recorded
# in lapack_release.sha256 (made before the engine was reworked, and to be
# changed only with a change of the rules' output, after reading the
# difference, which a mismatch prints; FTVB_UPDATE_GOLDEN=1 rewrites it).
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

# What changed, when the checksum does not match: the module of the commit
# that recorded it, made by that commit's own ftvb-convert (built from the
# repository, without its tests or window), against this one, as the first
# hunks of a unified diff with CR shown as \r. Only where git and the
# history are at hand.
show_difference() {
  recorded=$(git -C "$root" log -1 --format=%H -- tests/release/lapack_release.sha256 2>/dev/null) || recorded=
  if [ -z "$recorded" ]; then
    echo "(no git history here to rebuild the recorded module from)"
    return
  fi
  echo "building ftvb-convert at $recorded, which recorded the checksum, to show the difference..."
  mkdir -p "$work/recorded-src"
  if ! git -C "$root" archive "$recorded" | tar -x -C "$work/recorded-src" ||
    ! cmake -S "$work/recorded-src" -B "$work/recorded-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DFTVB_TESTS=OFF -DFTVB_GUI=OFF >/dev/null ||
    ! cmake --build "$work/recorded-build" --target ftvb-convert >/dev/null; then
    echo "(could not build it)"
    return
  fi
  find . -type f | LC_ALL=C sort | tr '\n' '\0' |
    xargs -0 -x -s 1000000 "$work/recorded-build/ftvb-convert" -q -o ../recorded.bas
  echo "--- recorded, +++ this build; the first 300 lines of the difference:"
  diff -u ../recorded.bas ../module.bas | sed 's/\r$/\\r/' | head -n 300
}

rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
tar -xzf "$tarball" -C "$work"
cd "$work/lapack-3.11.0"
# One invocation, or the module would hold only the last batch.
find . -type f | LC_ALL=C sort | tr '\n' '\0' | xargs -0 -x -s 1000000 "$convert" -q -o ../module.bas
got=$(sha256sum ../module.bas | cut -d ' ' -f 1)
files=$(find . -type f | wc -l)
if [ "$got" != "$want" ] && [ "${FTVB_UPDATE_GOLDEN:-}" = 1 ]; then
  echo "$got  module.bas" > "$root/tests/release/lapack_release.sha256"
  echo "rewrote tests/release/lapack_release.sha256 ($got): read the difference before committing it"
elif [ "$got" != "$want" ]; then
  echo "the module of the $files files differs from the one recorded: sha256 $got, recorded $want"
  show_difference
  exit 1
fi
echo "the module of the $files files is the one recorded ($got)"

find . -type f | LC_ALL=C sort | tr '\n' '\0' |
  xargs -0 -x -s 1000000 "$convert" -q -o ../reviewed.bas --review=../review.txt
if ! cmp -s ../module.bas ../reviewed.bas; then
  echo "the module written with --review differs from the one written without"
  exit 1
fi
echo "the module written with --review is the same; $(tail -n 1 ../review.txt)"

"$convert" -q -o ../slice.bas --review=../slice.txt SRC/dlaln2.f SRC/dlasy2.f SRC/dgesvj.f SRC/dlaruv.f \
  SRC/slansy.f SRC/zggevx.f SRC/dlaqz0.f SRC/dorgrq.f BLAS/SRC/dasum.f BLAS/SRC/dspr.f SRC/xerbla.f \
  SRC/sla_syrcond.f
summary="review: 1 format, 1 computed-goto, 1 equivalence, 2 typed-function, 1 function-as-declaration, 71 keyword-in-name, 1 quoted-text, 128 data-repeat, 2 do-step, 1 statement-function"
if [ "$(tail -n 1 ../slice.txt)" != "$summary" ]; then
  echo "the review of the slice counts otherwise:"
  echo "  got:    $(tail -n 1 ../slice.txt)"
  echo "  wanted: $summary"
  exit 1
fi
for entry in "SRC/dlasy2.f:244: note: computed GOTO" "SRC/dlaln2.f:264: note: EQUIVALENCE" \
  "SRC/xerbla.f:91: note: FORMAT statement" "SRC/slansy.f:121: note: typed function header" \
  "SRC/zggevx.f:434: note: statement function" "SRC/dgesvj.f:470: note: 'sqrt' rewritten"; do
  if ! grep -qF "$entry" ../slice.txt; then
    echo "the review of the slice has no entry \"$entry\""
    exit 1
  fi
done
echo "the review of the slice counts as recorded"
