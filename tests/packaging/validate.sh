#!/bin/sh
# Checks installed documents with the tool Debian checks them with; exits 77
# (skipped) when that tool is not installed.
#   validate.sh man PAGE...        man --warnings, as lintian runs it
#   validate.sh desktop FILE...    desktop-file-validate
#   validate.sh metainfo FILE...   appstreamcli validate, offline
set -u
kind="$1"
shift

need() {
  if ! command -v "$1" >/dev/null 2>&1; then
    echo "skipped: $1 is not installed (scripts/deps.sh test installs it)"
    exit 77
  fi
}

status=0
for file in "$@"; do
  case "$kind" in
    man)
      need man
      # groff prints its warnings on standard error; any warning fails.
      warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$file" 2>&1 >/dev/null)
      if [ -n "$warnings" ]; then
        printf '%s:\n%s\n' "$file" "$warnings"
        status=1
      fi
      ;;
    desktop)
      need desktop-file-validate
      desktop-file-validate "$file" || status=1
      ;;
    metainfo)
      need appstreamcli
      appstreamcli validate --no-net "$file" || status=1
      ;;
    *)
      echo "unknown kind '$kind'" >&2
      exit 2
      ;;
  esac
done
[ "$status" -eq 0 ] && echo "$kind: $# file(s) valid"
exit "$status"
