#!/bin/sh
# Builds the libFuzzer targets with clang++ and runs each one for a bounded
# time; fails on any crash, hang (an input taking over its time limit),
# memory blow-up or sanitizer report, and prints the executions of every
# target. The conversion is explored in memory by convert_lean; every input
# it adds to its corpus is then replayed through the full `convert` target,
# which also runs the real files through the real run.
#   fuzz/run.sh [BUILD_DIR] [SECONDS]     defaults: build/fuzz 60
# Environment: JOBS (build jobs, default 2), LAPACK_TARBALL (seed source).
set -eu

build=${1:-build/fuzz}
seconds=${2:-60}
jobs=${JOBS:-2}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
targets="convert_lean statement transf instr1 trs_2_pts chg_data finish"

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ is needed (apt-get install clang libclang-rt-14-dev)" >&2
  exit 1
fi

echo "fuzz: building in $build"
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DFTVB_FUZZ=ON -DFTVB_TESTS=OFF \
  -DFTVB_GUI=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs" --target fuzzers

# ---- seeds -------------------------------------------------------------------
# Our own seeds, the bundled examples and golden sources, and a fixed slice of
# the LAPACK sources when they are at hand (unpacked under build/, never into
# the tree).
lapack=build/lapack-3.11.0
tarball=${LAPACK_TARBALL:-../shared/corpus/lapack_3.11.0.orig.tar.gz}
if [ ! -d "$lapack" ] && [ -f "$tarball" ]; then
  echo "fuzz: unpacking $tarball under build/"
  mkdir -p build
  # Unpacked aside and moved into place whole, so that a test reading the
  # folder at the same time never sees it half written.
  unpack=$(mktemp -d build/.lapack-unpack-XXXXXX)
  tar -xzf "$tarball" -C "$unpack" && mv -T "$unpack/lapack-3.11.0" "$lapack" 2>/dev/null || true
  rm -rf "$unpack"
fi

corpus_root="$build/corpus"
for t in $targets convert; do
  mkdir -p "$corpus_root/$t"
done
for t in statement transf instr1 trs_2_pts chg_data; do
  cp -n fuzz/seeds/"$t"/* "$corpus_root/$t/" 2>/dev/null || true
done
for f in fuzz/seeds/convert/* examples/*.for tests/golden/*.for; do
  [ -f "$f" ] && cp -n "$f" "$corpus_root/convert_lean/"
  [ -f "$f" ] && cp -n "$f" "$corpus_root/convert/"
done

# One seed file per line, lower-cased and stripped of the fixed-form columns,
# for the primitives that take one statement.
lines_to_seeds() {  # PREFIX DIR < lines
  awk -v dir="$2" -v prefix="$1" '{
    s = tolower(substr($0, 7)); sub(/^ +/, "", s); sub(/ +$/, "", s)
    f = sprintf("%s/%s-%04d", dir, prefix, NR); printf "%s", s > f; close(f)
  }'
}

if [ -d "$lapack" ]; then
  # Single procedures for exploring (each file up to its first END), whole
  # files for the full target.
  find "$lapack/SRC" "$lapack/BLAS/SRC" "$lapack/TESTING" -name '*.f' -size -32k | sort |
    awk 'NR % 20 == 0' | head -n 150 | while read -r f; do
      cp -n "$f" "$corpus_root/convert/lapack-$(basename "$f")"
      awk '{ print } toupper($0) ~ /^ +END *$/ { exit }' "$f" | head -c 4096 >"$corpus_root/convert_lean/lapack-$(basename "$f")"
    done
  lapack_lines() { find "$lapack/SRC" "$lapack/TESTING" -name '*.f' | sort | head -n 3000 | xargs grep -h -i "$@" 2>/dev/null || true; }
  lapack_lines -E '^      [^!]*\(.*:.*\)' | head -n 200 | lines_to_seeds lapack "$corpus_root/trs_2_pts"
  lapack_lines -E '^      +data ' | head -n 200 | lines_to_seeds lapack "$corpus_root/chg_data"
  lapack_lines -E '^      +(integer|real|double precision|logical|character)[ *].*,' | head -n 200 |
    lines_to_seeds lapack "$corpus_root/instr1"
  lapack_lines -E '(\.(eq|ne|lt|le|gt|ge|and|or|not)\.|go *to)' | head -n 200 | lines_to_seeds lapack "$corpus_root/statement"
else
  echo "fuzz: LAPACK sources not found ($lapack, $tarball); seeding from the tree only"
fi

# ---- runs --------------------------------------------------------------------
# The convert target writes its sources and module for every input: keep
# them in memory when /dev/shm allows.
tmpbase=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && tmpbase=/dev/shm
tmp=$(mktemp -d "$tmpbase/ftvb-fuzz.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
trap 'exit 130' INT TERM
logs="$build/logs"
artifacts="$build/artifacts"
mkdir -p "$logs" "$artifacts"
summary=""
failed=""

# Runs one target: fuzz_NAME with the given libFuzzer arguments, its log in
# $logs/NAME.log; records its executions, and a failure with the command
# that replays it.
run_target() {  # NAME LABEL ARGS...
  t=$1
  label=$2
  shift 2
  log="$logs/$label.log"
  status=0
  FTVB_FUZZ_TMP="$tmp" "$build/fuzz/fuzz_$t" -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/$t-" "$@" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  [ -n "$runs" ] || runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
  if [ "$status" -ne 0 ] || grep -q -e 'runtime error:' -e '^==[0-9]*==ERROR' -e 'invariant broken' -e 'Assertion' "$log"; then
    echo "fuzz: $label FAILED (exit $status); the report, from $log:" >&2
    grep -n -A 30 -m 1 -e 'runtime error:' -e '==ERROR' -e 'invariant broken' -e 'Assertion' -e 'ALARM' -e 'out-of-memory' "$log" >&2 || tail -n 40 "$log" >&2
    artifact=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -n 1)
    [ -n "$artifact" ] && echo "fuzz: reproduce with: $build/fuzz/fuzz_$t $artifact" >&2
    failed="$failed $label"
  fi
  summary="$summary$(printf '  %-16s %12s executions' "$label" "${runs:-?}")
"
}

marker="$tmp/before-lean"
touch "$marker"
sleep 1  # new corpus files must be strictly newer than the marker

for t in $targets; do
  case $t in
    convert_lean) max_len=4096 ;;
    statement)    max_len=1024 ;;
    *)            max_len=4096 ;;
  esac
  # transf's budget for a rewrite that feeds itself bounds every input; its
  # limit leaves room for a machine busy with other builds.
  limit=1
  [ "$t" = transf ] && limit=5
  echo "fuzz: $t for ${seconds}s"
  run_target "$t" "$t" -max_total_time="$seconds" -timeout="$limit" -max_len="$max_len" "$corpus_root/$t"
done

# Every input the exploring target kept, and the seeds, through the full
# target once each.
replay="$tmp/replay"
mkdir -p "$replay"
find "$corpus_root/convert_lean" -type f -newer "$marker" -exec cp {} "$replay/" \;
cp "$corpus_root/convert"/* "$replay/" 2>/dev/null || true
count=$(find "$replay" -type f | wc -l)
echo "fuzz: convert replays $count inputs (the seeds and what convert_lean added)"
run_target convert convert -runs=0 -timeout=10 -max_len=65536 "$replay"

echo "fuzz: executions in ${seconds}s per target:"
printf '%s' "$summary"
if [ -n "$failed" ]; then
  echo "fuzz: failed:$failed" >&2
  exit 1
fi
echo "fuzz: no crash, hang or sanitizer report"
