# Quick start on a fresh Debian machine:
#   make run    install what is missing (as root), build, open the window
#   make test   build and run every test (also under ASan/UBSan and Wine), and lint
# Also: make lint, make package (dist/ftvb_VERSION_ARCH.deb), make windows (the
# Windows programs, zip and installer in dist/), make bench, make fuzz, make
# install, make clean.

BUILD      := build/main
ASAN_BUILD := build/asan
BENCH_BUILD:= build/bench
PACKAGE_BUILD := build/package
WIN_BUILD  := build/windows
WIN_CMAKE  := -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_GEN  := -G Ninja
# What `make lint` formats and tidies (clang-tidy reads the sources of
# TIDY_DIRS, with their headers).
LINT_DIRS  ?= engine text finish ui app tests fuzz bench
TIDY_DIRS  ?= engine text ui app

.PHONY: all build run test test-main test-asan test-fuzz-smoke test-windows windows lint lint-only bench fuzz package \
	install clean

all: build

build:
	@scripts/deps.sh build
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-window.sh $(BUILD)

test:
	@scripts/deps.sh test
	@$(MAKE) --no-print-directory test-main lint-only test-asan test-fuzz-smoke test-windows

test-main:
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# clang-format and clang-tidy (.clang-format, .clang-tidy) over LINT_DIRS and
# TIDY_DIRS, with the compile commands of the main build.
lint:
	@scripts/deps.sh lint
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@$(MAKE) --no-print-directory lint-only

lint-only:
	@LINT_DIRS="$(LINT_DIRS)" TIDY_DIRS="$(TIDY_DIRS)" JOBS=$(JOBS) scripts/lint.sh $(BUILD)

# The same tests with AddressSanitizer and UndefinedBehaviorSanitizer; any
# report fails the test that produced it.
test-asan:
	@cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DFTVB_SANITIZE=ON -DFTVB_GUI=OFF >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# Ten seconds of each fuzz target, when clang is there to build them.
test-fuzz-smoke:
	@if [ -x fuzz/run.sh ] && command -v clang++ >/dev/null 2>&1; then \
	  fuzz/run.sh build/fuzz 10; \
	else echo "fuzz smoke skipped: clang++ not installed"; fi

# Every fuzz target for FUZZ_SECONDS (default 60) each.
fuzz:
	@scripts/deps.sh fuzz
	@fuzz/run.sh build/fuzz $${FUZZ_SECONDS:-60}

# The Windows build's tests under Wine, its modules compared with those of
# the Linux build (test-main builds it first).
test-windows:
	@cmake -S . -B $(WIN_BUILD) $(CMAKE_GEN) $(WIN_CMAKE) -DFTVB_TESTS=ON -DFTVB_LINUX_CONVERT=$(CURDIR)/$(BUILD)/ftvb-convert >/dev/null
	@cmake --build $(WIN_BUILD) -j $(JOBS)
	@scripts/wine.sh --prefix
	@cd $(WIN_BUILD) && ctest --output-on-failure -j $(JOBS); status=$$?; ../../scripts/wine.sh --wait; \
	  grep -hiE 'not tested|SKIPPED  \]|skipped:' Testing/Temporary/LastTest.log | sed 's/^/windows: /' | sort -u; \
	  exit $$status

# The Windows programs, cross-built with mingw-w64 into $(WIN_BUILD).
# dist/ftvb-VERSION-win64.zip and dist/ftvb-VERSION-setup.exe; make test
# tries both under Wine.
windows:
	@scripts/deps.sh windows
	@cmake -S . -B $(WIN_BUILD) $(CMAKE_GEN) $(WIN_CMAKE) -DFTVB_TESTS=OFF >/dev/null
	@cmake --build $(WIN_BUILD) -j $(JOBS)
	@cd $(WIN_BUILD) && cpack -C Release | grep 'package:'

bench:
	@scripts/deps.sh bench
	@cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DFTVB_BENCH=ON -DFTVB_TESTS=OFF >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS)
	@bench/run.sh $(BENCH_BUILD)

# The Debian package, from its own build for /usr, checked by lintian.
package:
	@scripts/deps.sh package
	@scripts/package.sh $(PACKAGE_BUILD) $(JOBS)

install: build
	@cmake --install $(BUILD)

clean:
	@rm -rf build dist
