# Everything a fresh Debian 12 machine needs, in two commands: `make run` and `make test`.

BUILD       ?= build
BUILD_ASAN  ?= build-asan
BUILD_FUZZ  ?= build-fuzz
CMAKE_FLAGS ?=
JOBS        ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60
SOAK_STEPS  ?= 400
SOAK_SEEDS  ?= 50

.PHONY: all deps configure build test run sanitize fuzz bench soak clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Installs onto the default device (templates, help page, viewers) as the
# application manager does, registers .min with the desktop, and starts Quillon.
run: build
	@$(BUILD)/bin/ceappmgr --register
	@$(BUILD)/bin/ceappmgr --quiet "$(BUILD)/medium/Quillon for Pocket PCs.ini" >/dev/null
	@scripts/install-desktop.sh $(BUILD)/bin/quillon
	@$(BUILD)/bin/quillon

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	@cmake -S . -B $(BUILD_ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON -DQUILLON_BENCH=OFF >/dev/null
	@cmake --build $(BUILD_ASAN) -j $(JOBS)
	@ctest --test-dir $(BUILD_ASAN) --output-on-failure -j $(JOBS)

# Each fuzz target for FUZZ_SECONDS, instrumented with ASan and UBSan.
fuzz:
	@scripts/install-deps.sh --fuzz
	@scripts/fuzz.sh $(BUILD_FUZZ) $(FUZZ_SECONDS)

# The randomized editor test at length: SOAK_STEPS user actions for each of SOAK_SEEDS seeds.
soak: build
	@QT_QPA_PLATFORM=offscreen QUILLON_SOAK_STEPS=$(SOAK_STEPS) QUILLON_SOAK_SEEDS=$(SOAK_SEEDS) \
		$(BUILD)/bin/editor_tests --gtest_filter='RandomEdits.*'

bench: build
	@$(BUILD)/bin/minute_io_bench
	@$(BUILD)/bin/export_bench
	@$(BUILD)/bin/editor_bench
	@$(BUILD)/bin/contacts_bench

clean:
	@rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_FUZZ)
