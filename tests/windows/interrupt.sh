#!/bin/sh
# Ctrl-C stops ftvb-convert.exe with the Linux build's message and status,
# the previous module kept and no temporary file left: while converting,
# while waiting for standard input, and while the module or the review on
# standard output waits for a reader. Wine turns SIGINT into the console's
# Ctrl-C event. And a reader that leaves the pipe is a failure said, with
# status 2 and no temporary file.
#   interrupt.sh PROGRAM.exe
set -u
exe=$1
wine="$(cd "$(dirname "$0")/../.." && pwd)/scripts/wine.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/ftvb-interrupt-XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failed=0
fail() { echo "FAIL: $*"; failed=1; }

awk 'BEGIN { for (i = 0; i < 400000; i++) print "      x = a(i) + b*c**2 .and. y .eq. z" }' >big.for
"$wine" --prefix

# Waits until the run has its temporary file beside m.bas (it has begun
# writing), or two seconds after standard output was opened.
began() {
  i=0
  while [ $i -lt 400 ]; do
    ls -a | grep -q '^\.m\.bas\.' && return 0
    i=$((i + 1))
    sleep 0.05
  done
  return 1
}

check() {  # NAME STATUS
  [ "$2" = 130 ] || fail "$1: status $2, not 130"
  grep -qx "ftvb-convert: interrupted; '$3' left as it was" err || fail "$1: message: $(cat err)"
  if [ "$3" = m.bas ]; then
    [ "$(cat m.bas)" = "previous module" ] || fail "$1: the module changed"
  fi
  leftover=$(ls -a | grep '^\.m\.bas\.' || true)
  [ -z "$leftover" ] || fail "$1: temporary file left: $leftover"
}

# 1. Converting a big file into m.bas.
echo "previous module" >m.bas
"$wine" "$exe" -o m.bas big.for 2>err &
pid=$!
began || fail "converting: the run never began"
kill -INT $pid
wait $pid
check "converting" $? m.bas

# 2. Waiting for standard input that never comes.
echo "previous module" >m.bas
mkfifo never
(exec 3>never; sleep 30) &
holder=$!
"$wine" "$exe" -o m.bas - <never 2>err &
pid=$!
began || fail "waiting for input: the run never began"
sleep 0.5
kill -INT $pid
wait $pid
status=$?
kill $holder 2>/dev/null
check "waiting for input" $status m.bas

# 3. Standard output to a pipe nobody reads.
mkfifo full
(exec 3<full; sleep 30) &
reader=$!
"$wine" "$exe" -o - big.for >full 2>err &
pid=$!
sleep 3
kill -INT $pid
wait $pid
status=$?
kill $reader 2>/dev/null
check "standard output nobody reads" $status -

# 4. The review to standard output, a pipe nobody reads.
awk 'BEGIN { for (i = 0; i < 100000; i++) print "      read(5,*) x" }' >many.for
echo "previous module" >m.bas
(exec 3<full; sleep 30) &
reader=$!
"$wine" "$exe" -o m.bas --review=- many.for >full 2>err &
pid=$!
sleep 3
kill -INT $pid
wait $pid
status=$?
kill $reader 2>/dev/null
check "the review nobody reads" $status m.bas

# 5. A reader that leaves (| head -0): a failure said, status 2, never a
# crash, and no temporary file. The FIFO's reader opens and leaves at once,
# long before Wine has started the program.
printf '      read(5,*) x\n' >a.for
mkfifo gone
for args in "-o m4.bas --review=- a.for" "-o - --review=r6.txt big.for"; do
  # shellcheck disable=SC2086
  "$wine" "$exe" -q $args >gone 2>err &
  pid=$!
  exec 4<gone
  exec 4<&-
  wait $pid
  status=$?
  [ "$status" = 2 ] || fail "$args | head -0: status $status, not 2"
  grep -q "^ftvb-convert: cannot write '-': " err || fail "$args | head -0: message: $(cat err)"
  leftover=$(ls -a | grep '^\.[mr]' || true)
  [ -z "$leftover" ] || fail "$args | head -0: temporary file left: $leftover"
  [ ! -e r6.txt ] || fail "$args | head -0: the review of a module not written"
done

echo "Ctrl-Break and closing the console: not tested (Wine gives a program started from a shell no console to send them to)"
[ $failed = 0 ] && echo "interrupted runs: all cases passed"
exit $failed
