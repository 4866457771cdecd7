# The two commands of the README: `make demo` and `make test`. Both install what is missing and
# build first.

BUILD := build
SANITIZE_BUILD := build-asan
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build build-sanitize demo install package test golden sheet chart clean \
	fuzz fuzz-smoke

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The unit tests once more with AddressSanitizer and UndefinedBehaviorSanitizer.
build-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DREELPLAY_SANITIZE=ON -DREELPLAY_BENCHMARKS=OFF >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)

test: build build-sanitize
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(SANITIZE_BUILD) && ctest --output-on-failure -j $(JOBS)

# The build puts the bundled demo's script beside the music it makes for it in $(BUILD)/demo; the
# player reads demoscript.scr from its working directory. The demo ends by itself; Escape or
# closing the window ends it sooner. Only what the demo needs is built: the player, the two
# generators and the demo, not the tests and benchmarks.
demo: configure
	@cmake --build $(BUILD) -j $(JOBS) --target reelplay bundled-demo
	@cd $(BUILD)/demo && ../bin/reelplay

# The programs, their manual pages, the README and the bundled demo under $(PREFIX); a Debian
# package of the same in $(BUILD). Both build what they install, and no more.
PREFIX ?= /usr/local
INSTALLED := reelplay reelplay-fullscreen reelcheck reelrender reelview bundled-demo
install: configure
	@cmake --build $(BUILD) -j $(JOBS) --target $(INSTALLED)
	@cmake --install $(BUILD) --prefix $(PREFIX)

package: configure
	@cmake --build $(BUILD) -j $(JOBS) --target $(INSTALLED)
	@cd $(BUILD) && cpack -G DEB

# Renders the golden frames of tests/golden anew; look at what changed before committing it.
golden: build
	@scripts/make-golden $(BUILD)/bin/reelrender

# The bundled demo's contact sheet for the README, a thumbnail a second, rendered offline at a
# frame rate the player draws at, since some effects step once a frame (only the sheet is kept);
# regenerate it whenever the demo changes.
SHEET := docs/demo-sheet.png
SHEET_FPS := 60
sheet: build
	@mkdir -p docs
	@cd $(BUILD)/demo && ../bin/reelrender --fps $(SHEET_FPS) --sheet $(CURDIR)/$(SHEET)

# The bundled demo's timeline chart for the README; regenerate it whenever the demo changes.
CHART := docs/demo-chart.png
chart: build
	@mkdir -p docs
	@cd $(BUILD)/demo && ../bin/reelcheck --chart $(CURDIR)/$(CHART) demoscript.scr

# The fuzz targets of fuzz/, built with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer (only they and the libraries they link). `make fuzz-smoke` runs
# each for FUZZ_SECONDS from its seeds and fails on any finding; scripts/run-fuzzers runs longer
# campaigns.
FUZZ_BUILD := build-fuzz
FUZZ_SECONDS ?= 30
fuzz: deps
	@scripts/install-fuzz-deps
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DREELPLAY_FUZZ=ON -DREELPLAY_BENCHMARKS=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz-targets

fuzz-smoke: fuzz
	@scripts/run-fuzzers $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)
