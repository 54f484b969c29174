# Thin wrapper: every target sets up what is missing, then defers to CMake and CTest.
# One build folder per architecture, as CMakePresets.json gives them: $(BUILD)/x86 (32-bit) and
# $(BUILD)/x64 (64-bit).
BUILD ?= build
ARCHS := x86 x64
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release
JOBS ?= $(shell nproc)

# Seconds each fuzzer runs: FUZZ_SECONDS in `make fuzz`, FUZZ_TEST_SECONDS within `make test`.
FUZZ_SECONDS ?= 600
FUZZ_TEST_SECONDS ?= 60

.PHONY: all deps configure build run test bench fuzz dist clean

all: build

deps:
	@bash tools/install-deps.sh

configure: deps
	@for arch in $(ARCHS); do \
	  cmake --preset $$arch -B $(BUILD)/$$arch $(CMAKE_FLAGS) >/dev/null || exit 1; \
	done

build: configure
	@for arch in $(ARCHS); do \
	  echo "== $$arch"; cmake --build $(BUILD)/$$arch -j $(JOBS) || exit 1; \
	done

# Sets the shell variable arch to the architecture this host runs (32-bit where it can) and builds
# the targets given in its folder only.
build_picked = arch=$$(bash tools/wine-arch.sh pick) && \
  cmake --preset $$arch -B $(BUILD)/$$arch $(CMAKE_FLAGS) >/dev/null && \
  cmake --build $(BUILD)/$$arch -j $(JOBS) --target $(1)

# Only what a run needs, for the one architecture it runs (32-bit where this host runs it): the
# program with its library and help file, and the helper that closes it on a private display.
# The tests and the benchmark wait for `make test` and `make bench`.
run: deps
	@$(call build_picked,tintora tintora_remote) && bash tools/run.sh $(BUILD)/$$arch $$arch

# The whole suite against each architecture, and what this host could not run; then each fuzzer
# for FUZZ_TEST_SECONDS where clang's libFuzzer runtime is installed (skipped where it is not).
test: build
	@FUZZ_SECONDS=$(FUZZ_TEST_SECONDS) bash tools/test-all.sh --fuzz $(BUILD)/fuzz $(addprefix $(BUILD)/,$(ARCHS))

# The colour layer's fuzzers (tests/fuzz), built natively with clang, libFuzzer, ASan and UBSan in
# $(BUILD)/fuzz and run for FUZZ_SECONDS each; a crash is kept in $(BUILD)/fuzz/artifacts and fails.
fuzz:
	@bash tools/install-deps.sh fuzz
	@FUZZ_SECONDS=$(FUZZ_SECONDS) bash tools/fuzz.sh $(BUILD)/fuzz

# Builds the benchmarks for the architecture this host runs and runs them in the private test
# environment; figures go to stdout, labelled with the architecture.
bench: deps
	@$(call build_picked,tintora fill_bench pick_bench start_bench reference_dialog template_dialog) && \
	  bash tools/bench.sh $(BUILD)/$$arch $$arch $(BENCH_ARGS)

# The release archives $(BUILD)/tintora-<version>-x86.zip and -x64.zip, packed by CPack from the
# install rules of each build folder.
dist: build
	@for arch in $(ARCHS); do \
	  (cd $(BUILD)/$$arch && cpack >/dev/null) || exit 1; \
	  cp $(BUILD)/$$arch/tintora-*-$$arch.zip $(BUILD)/ || exit 1; \
	done
	@ls $(BUILD)/tintora-*.zip

clean:
	rm -rf $(BUILD)
