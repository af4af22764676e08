#!/bin/sh
# Installs the Debian packages a make target needs when they are missing.
# As root it runs apt-get; otherwise it names what to install and fails.
#   scripts/deps.sh build|test|lint|bench|fuzz|package|windows
set -eu

want="cmake ninja-build g++ make"
# The manual pages and the HTML manual.
docs="scdoc cmark-gfm"
# make lint, which make test runs too.
lint="clang-format clang-tidy"
# The checks of the installed files and of the package.
checks="man-db desktop-file-utils appstream bash-completion dpkg-dev file"
# The Windows build: cross compiler, packaging, and Wine with GoogleTest's
# sources for its tests; the Win32 window's tests run on an X display of
# their own with a window manager.
windows_build="g++-mingw-w64-x86-64-posix cmark-gfm nsis"
windows_test="$windows_build wine wine64 googletest unzip openbox"
# The window's tests and benchmark that need a real X display start their
# own Xvfb, and click with xdotool.
display="xvfb xdotool"
# The finisher's tests run finished modules in LibreOffice Basic, headless,
# against the same programs built by gfortran.
finish="libreoffice-calc-nogui python3-uno libreoffice-script-provider-python gfortran"
case "${1:-build}" in
  build) want="$want qt6-base-dev $docs" ;;
  test)  want="$want qt6-base-dev libgtest-dev clang libclang-rt-14-dev $lint $docs $checks $windows_test $display $finish" ;;
  lint)  want="$want qt6-base-dev $docs $lint" ;;
  package) want="$want qt6-base-dev $docs dpkg-dev file lintian" ;;
  bench) want="$want libbenchmark-dev f2c time xvfb" ;;
  fuzz)  want="$want clang libclang-rt-14-dev" ;;
  windows) want="$want $windows_build" ;;
esac

missing=""
for p in $want; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  echo "Installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q || true
  # shellcheck disable=SC2086
  apt-get install -y -q $missing
else
  echo "Missing Debian packages:$missing" >&2
  echo "Install them with: sudo apt-get install$missing" >&2
  exit 1
fi
