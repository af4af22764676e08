#!/bin/bash
# Shell completion of ftvb-convert, driven as bash drives it, and every
# option of `ftvb-convert --help` known to both completions and to the manual
# page. Exits 77 (skipped) without bash-completion.
#   completion_test.sh SOURCE_DIR FTVB_CONVERT
set -u
src="$1"
convert="$2"
helpers=/usr/share/bash-completion/bash_completion
if [ ! -r "$helpers" ]; then
  echo "skipped: bash-completion is not installed (scripts/deps.sh test installs it)"
  exit 77
fi
# shellcheck source=/dev/null
. "$helpers"
# shellcheck source=/dev/null
. "$src/packaging/ftvb-convert.bash"

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The sorted offers for a command line whose words bash has already split
# (it splits "--output=x" into "--output" "=" "x"); the last word is the one
# being completed.
offers() {
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMP_LINE="$*"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _ftvb_convert ftvb-convert "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
  printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}

# The options as `--help` lists them: "-o, --output MODULE" gives -o and
# --output, "--review[=FILE]" gives --review.
options=$("$convert" --help | sed -n 's/^  *\(-[^ ].*\)/\1/p' | sed 's/  .*//' | tr ',' '\n' |
  sed 's/^ *//; s/[ =[].*//' | grep '^-')
[ -n "$options" ] || fail "no option found in --help"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/ftvb-completion.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/sources/lib" "$scratch/other/lib"
touch "$scratch/sources/"{main.for,LINALG.F,old.f77,notes.txt,-dash.for} "$scratch/other/prog.src"

cd "$scratch/sources" || exit 1
# command line | expected offers
while IFS='|' read -r line want; do
  read -r -a words <<<"$line"
  [[ $line == *' ' ]] && words+=("")
  got=$(offers "${words[@]}")
  [ "$got" = "$want" ] || fail "'$line': got '$got', want '$want'"
done <<'CASES'
ftvb-convert |-dash.for LINALG.F lib main.for old.f77
ftvb-convert ma|main.for
ftvb-convert -q main.for |-dash.for LINALG.F lib main.for old.f77
ftvb-convert -o |-dash.for LINALG.F lib main.for notes.txt old.f77
ftvb-convert --output no|notes.txt
ftvb-convert --output = no|notes.txt
ftvb-convert -q -o x.bas L|LINALG.F
ftvb-convert --ver|--version
ftvb-convert --fin|--finish
ftvb-convert --rev|--review --review=
ftvb-convert --review = no|notes.txt
ftvb-convert --review |-dash.for LINALG.F lib main.for old.f77
ftvb-convert --help |
ftvb-convert -- -|-dash.for
CASES

# No FORTRAN source in the folder: any file.
cd "$scratch/other" || exit 1
got=$(offers ftvb-convert "")
[ "$got" = "lib prog.src" ] || fail "no sources: got '$got', want 'lib prog.src'"

# Every option of --help, offered and documented.
offered=" $(cd "$scratch" && offers ftvb-convert -) "
for option in $options; do
  [[ $offered == *" $option "* || $offered == *" $option= "* ]] || fail "bash does not offer $option"
  grep -qF -- "$option" "$src/packaging/_ftvb-convert" || fail "zsh does not know $option"
  grep -qF -- "*$option" "$src/docs/man/ftvb-convert.1.scd" || fail "ftvb-convert(1) does not document $option"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "completion: all checks passed for $(echo "$options" | wc -l) options"
