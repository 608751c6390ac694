# Tomel: build, test, benchmark and run.
#   make          set up what is missing (as root), build native, win32 and win64
#   make test     ... and run every test (native unit + fuzz, in-process under Wine, end to end)
#   make bench    print the performance figures
#   make run      start Tomel under Wine on its help text
#   make dist     build/dist/tomel-<version>.zip: both programs, the help text and a read-me
#   make check-reproducible   build the release twice in other folders and compare the bytes
#   make mutate   mutation check of the portable sources against the unit tests
#                 (FILES="core/text/slideshow.cpp ...", SAMPLE=N, SEED=S, TIMEOUT=seconds);
#                 MODE=windows: of shell/ and main/ against the in-process tests under Wine;
#                 CHECK_EQUIVALENTS=1: the listed equivalent mutants instead, naming those killed
#   make count    lines of code against lines of tests
SHELL := /bin/bash
JOBS ?= $(shell nproc)
BUILD := build
CMAKE_GEN := -G "Unix Makefiles"
# Everything a Windows build makes: the program, its in-process tests, the test display's keeper, and
# the benchmarks (built on every test run so that they cannot rot; `make bench` runs them).
WIN_TARGETS := tomel wine_tests keeper tomel_bench empty_dialog

.PHONY: dist check-reproducible screenshot all setup configure native win32 win64 test test-native test-win32 test-win64 bench run mutate count clean wine-up wine-down

all: native win32 win64

setup:
	@scripts/setup.sh

$(BUILD)/native/Makefile: | setup
	CC=clang CXX=clang++ cmake $(CMAKE_GEN) -S . -B $(BUILD)/native -DCMAKE_BUILD_TYPE=Debug

$(BUILD)/win32/Makefile: | setup
	cmake $(CMAKE_GEN) -S . -B $(BUILD)/win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake

$(BUILD)/win64/Makefile: | setup
	cmake $(CMAKE_GEN) -S . -B $(BUILD)/win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake

native: $(BUILD)/native/Makefile
	cmake --build $(BUILD)/native -j $(JOBS)

win32: $(BUILD)/win32/Makefile
	cmake --build $(BUILD)/win32 -j $(JOBS) --target $(WIN_TARGETS)

win64: $(BUILD)/win64/Makefile
	cmake --build $(BUILD)/win64 -j $(JOBS) --target $(WIN_TARGETS)

test: all
	@scripts/run-tests.sh

bench: win32 win64
	@scripts/run-bench.sh

# Only what it runs: the 64-bit program, and the keeper of the virtual display used without an X display.
run: $(BUILD)/win64/Makefile
	cmake --build $(BUILD)/win64 -j $(JOBS) --target tomel keeper
	@scripts/run-tomel.sh

dist: win32 win64
	@python3 scripts/make-dist.py . $(BUILD)/win32 $(BUILD)/win64 $(BUILD)/dist

screenshot: win64
	@scripts/screenshot.sh docs/tomel.png

check-reproducible: | setup
	@scripts/check-reproducible.sh

mutate: | setup
	@scripts/mutate.py $(if $(MODE),--mode $(MODE)) $(if $(CHECK_EQUIVALENTS),--check-equivalents) $(if $(FILES),--files $(FILES)) $(if $(SAMPLE),--sample $(SAMPLE)) \
		$(if $(SEED),--seed $(SEED)) $(if $(TIMEOUT),--timeout $(TIMEOUT))

count:
	@scripts/count-lines.py

wine-up:
	@scripts/wine-session.sh start

wine-down:
	@scripts/wine-session.sh stop

clean:
	-@scripts/wine-session.sh stop
	rm -rf $(BUILD)
