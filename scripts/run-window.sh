#!/bin/sh
# Opens the window; until the window exists, converts the bundled examples.
set -eu
build="$1"
if [ -x "$build/ftvb" ]; then
  exec "$build/ftvb"
fi
"$build/ftvb-convert" -o build/module1.bas examples/*.for
echo "Wrote build/module1.bas"
