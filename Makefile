# The two commands of the README: `make demo` and `make test`. Both install what is missing and
# build first.

BUILD := build
SANITIZE_BUILD := build-asan
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
MAKEFLAGS += --no-print-directory

.PHONY: all deps build build-sanitize demo test clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# The unit tests once more with AddressSanitizer and UndefinedBehaviorSanitizer.
build-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DREELPLAY_SANITIZE=ON -DREELPLAY_BENCHMARKS=OFF >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)

test: build build-sanitize
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(SANITIZE_BUILD) && ctest --output-on-failure -j $(JOBS)

# The player reads demoscript.scr from its working directory. Escape or closing the window ends it.
# The demo's pictures are drawn afresh first.
demo: build
	@$(BUILD)/bin/makepictures demo
	@cd demo && ../$(BUILD)/bin/reelplay

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
