#!/usr/bin/env bash
# Runs the benchmarks of a Release build made with -DFTVB_BENCH=ON:
#   bench/run.sh [BUILD]          (default build/bench; `make bench` does all)
# BENCH_RUNS sets the runs per figure (default 5; fewer only while iterating).
# The report also goes to BUILD/bench-report.txt.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/bench}" && pwd)
runs=${BENCH_RUNS:-5}
report="$build/bench-report.txt"

convert="$build/ftvb-convert"
driver="$build/bench/ftvb-corpus-bench"
micro="$build/bench/ftvb-micro-bench"
for exe in "$convert" "$driver"; do
  if [ ! -x "$exe" ]; then
    echo "bench/run.sh: $exe is missing; build with -DFTVB_BENCH=ON first (make bench)" >&2
    exit 2
  fi
done

# The corpus stays outside the repository, unpacked once into build/corpus.
# The marker is written only after tar succeeds, so a half-unpacked tree
# from an interrupted run is unpacked again rather than measured.
# LAPACK_TARBALL names another copy of the release.
tarball=${LAPACK_TARBALL:-$root/../shared/corpus/lapack_3.11.0.orig.tar.gz}
[ -f "$tarball" ] || tarball=""
corpus_root="$root/build/corpus"
corpus="$corpus_root/lapack-3.11.0"
marker="$corpus_root/.lapack-3.11.0.unpacked"
if [ ! -f "$marker" ] || [ ! -d "$corpus/SRC" ] || [ ! -d "$corpus/BLAS/SRC" ]; then
  if [ -z "$tarball" ]; then
    echo "bench/run.sh: the LAPACK corpus is missing: expected ${LAPACK_TARBALL:-../shared/corpus/lapack_3.11.0.orig.tar.gz}" >&2
    echo "  (relative to the project; set LAPACK_TARBALL to use another copy)" >&2
    exit 2
  fi
  echo "Unpacking $tarball into $corpus_root" >&2
  rm -rf "$corpus" "$marker"
  mkdir -p "$corpus_root"
  tar xzf "$tarball" -C "$corpus_root"
  touch "$marker"
fi

f2c_args=()
if command -v f2c >/dev/null 2>&1; then f2c_args=(--f2c "$(command -v f2c)"); fi

window_args=()
window=$(find "$build" -maxdepth 3 -type f -name ftvb-window-bench -perm -u+x 2>/dev/null | head -n 1)
if [ -n "$window" ]; then
  window_args=(--window "$window")
  # The window runs without a display.
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then export QT_QPA_PLATFORM=offscreen; fi
fi

mem_kib=$(awk '/^MemTotal:/ {print $2}' /proc/meminfo)
cpu=$(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo)
commit=$(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo "?")
if [ -n "$(git -C "$root" status --porcelain -- engine text app 2>/dev/null)" ]; then commit="$commit (engine modified)"; fi

{
  echo "ftvb benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $commit"
  echo "Machine: $(nproc) cores, ${cpu:-unknown CPU}, $((mem_kib / 1024)) MiB memory, Linux $(uname -r)"
  echo "Build: $build (Release)"
  echo
} | tee "$report"

"$driver" --convert "$convert" --corpus "$corpus" --work "$build/bench-work" --runs "$runs" \
  "${f2c_args[@]}" "${window_args[@]}" | tee -a "$report"

echo | tee -a "$report"
if [ -x "$micro" ]; then
  echo "Micro-benchmarks (Google Benchmark)" | tee -a "$report"
  min_time=0.5
  [ "$runs" -lt 5 ] && min_time=0.05
  "$micro" --benchmark_min_time="$min_time" 2>/dev/null | tee -a "$report"
else
  echo "Micro-benchmarks skipped: ftvb-micro-bench not built (Google Benchmark missing)" | tee -a "$report"
fi
echo "Report written to $report" >&2
