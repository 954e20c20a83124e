# Two commands do everything: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all setup configure build run test bench fuzz sanitize soak soak-sanitize hour clean format

all: build

setup:
	@scripts/bootstrap.sh

configure: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@$(BUILD)/bin/brikka

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600

bench: build
	@bench/run_all.sh $(BUILD)

# Every test again, built with AddressSanitizer (leaks fail too) and UndefinedBehaviorSanitizer.
sanitize:
	@ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  $(MAKE) test BUILD=build-asan CMAKE_FLAGS="-DBRIKKA_SANITIZE=ON -DBRIKKA_BENCH=OFF"

# The battle soak, kept out of `make test` for its minutes: BRIKKA_SOAK_MINUTES of virtual
# time (60 by default) from BRIKKA_SOAK_SEED (1).
soak: configure
	@cmake --build $(BUILD) -j $(JOBS) --target brikka_soak_tests
	@$(BUILD)/tests/brikka_soak_tests

soak-sanitize:
	@ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  $(MAKE) soak BUILD=build-asan CMAKE_FLAGS="-DBRIKKA_SANITIZE=ON -DBRIKKA_BENCH=OFF"

# An hour of virtual play in brikka-sim under ASan/LSan (menu, one and two players, battle,
# nicknames, restarts, lost devices), kept out of `make test` for its minutes: no leak, and
# the same open files, textures and fonts at the end as after the first game.
hour:
	@$(MAKE) configure BUILD=build-asan CMAKE_FLAGS="-DBRIKKA_SANITIZE=ON -DBRIKKA_BENCH=OFF"
	@cmake --build build-asan -j $(JOBS) --target brikka-sim assets
	@tests/hour/hour_of_play.py build-asan/bin/brikka-sim

# Each parser fuzzed for FUZZ_SECONDS (60 by default) under ASan and UBSan.
fuzz: setup
	@scripts/fuzz.sh

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD) build-asan build-fuzz
