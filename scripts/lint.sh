#!/bin/sh
# The style and the likely bugs: clang-format must find nothing to change,
# and clang-tidy (.clang-tidy) nothing to report, using the compile commands
# of a configured build.
#   scripts/lint.sh BUILD_DIR
# Environment: LINT_DIRS, the folders clang-format checks; TIDY_DIRS, the
# folders whose sources clang-tidy reads (their headers come with them);
# JOBS, parallel clang-tidy runs (default 2).
set -eu
cd "$(dirname "$0")/.."
build=${1:?usage: scripts/lint.sh BUILD_DIR}
lint_dirs=${LINT_DIRS:-engine text finish ui app tests fuzz bench}
tidy_dirs=${TIDY_DIRS:-engine text ui app}
jobs=${JOBS:-2}

if [ ! -f "$build/compile_commands.json" ]; then
  echo "lint: $build/compile_commands.json is missing; configure the build first" >&2
  exit 2
fi

# shellcheck disable=SC2086
format_files=$(find $lint_dirs \( -name '*.cpp' -o -name '*.h' \) -type f | sort)
echo "lint: clang-format, $(echo "$format_files" | wc -l) files"
# shellcheck disable=SC2086
clang-format --dry-run --Werror $format_files

# Only what this build compiles: the other platform's files are left out.
# shellcheck disable=SC2086
tidy_files=$(find $tidy_dirs -name '*.cpp' -type f | sort | while read -r f; do
  if grep -q "\"file\": \"$(pwd)/$f\"" "$build/compile_commands.json"; then echo "$f"; fi
done)
echo "lint: clang-tidy, $(echo "$tidy_files" | wc -l) files"
echo "$tidy_files" | xargs -P "$jobs" -n 2 clang-tidy -p "$build" --quiet 2>&1 |
  grep -v -e '^[0-9]* warnings* generated' -e '^Suppressed [0-9]* warnings' -e 'Use -header-filter' |
  tee "$build/lint.log" || true
if grep -q -e 'error:' -e 'warning:' "$build/lint.log"; then
  echo "lint: clang-tidy reported the above" >&2
  exit 1
fi
echo "lint: clean"
