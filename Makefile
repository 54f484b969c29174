# Thin wrapper: every target sets up what is missing, then defers to CMake and CTest.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench dist clean

all: build

deps:
	@bash tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Only what a run needs: the program with its library and help file, and the helper that closes
# it on a private display. The tests and the benchmark wait for `make test` and `make bench`.
run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target tintora tintora_remote
	@bash tools/run.sh $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure

# Builds the benchmarks and runs them in the private test environment; figures go to stdout.
bench: configure
	@cmake --build $(BUILD) -j $(JOBS) --target tintora fill_bench start_bench reference_dialog template_dialog
	@tools/bench.sh $(BUILD) $(BENCH_ARGS)

# The release archive $(BUILD)/tintora-<version>.zip, packed by CPack from the install rules.
dist: build
	@cd $(BUILD) && cpack

clean:
	rm -rf $(BUILD)
