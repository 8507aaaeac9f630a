# Plimsett: `make run` builds and starts the program, `make test` builds all
# three builds and runs every test, `make dist` makes the checked release zips.
# Each installs what a fresh machine lacks.
.PHONY: setup native win64 win32 test run bench fuzz dist soak

CMAKE_NATIVE := cmake -S . -B build/native -G Ninja
CMAKE_WIN64 := cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-win64.cmake
CMAKE_WIN32 := cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-win32.cmake

setup:
	@scripts/setup

native: setup
	@$(CMAKE_NATIVE) >/dev/null
	cmake --build build/native

win64: setup
	@$(CMAKE_WIN64) >/dev/null
	cmake --build build/win64

# The 32-bit program is compiled and linked; these machines cannot run it.
win32: setup
	@$(CMAKE_WIN32) >/dev/null
	cmake --build build/win32 --target plimsett

test: native win64 win32
	scripts/with-display scripts/run-tests

run: setup
	@$(CMAKE_WIN64) >/dev/null
	cmake --build build/win64 --target plimsett
	scripts/run-program $(ARGS)

bench: setup
	@cmake -S . -B build/bench -G Ninja -DPLIMSETT_SANITIZE=OFF >/dev/null
	cmake --build build/bench --target benchmarks
	build/bench/tests/benchmarks --benchmark_counters_tabular=true

# Each fuzz target in turn for FUZZ_SECONDS (make fuzz FUZZ_SECONDS=3600 runs
# longer), each growing its own corpus under build/fuzz/corpus/; its seeds are
# its regression folder (and, for the PNG decoder, the PNG test suite). Files
# that make a target fail land in build/fuzz/ named after the target.
FUZZ_SECONDS ?= 120
FUZZ_TARGETS := decode_png clipboard_dib clipboard_png config_ini
FUZZ_SEEDS_decode_png := tests/fuzz/regressions/png \
  $(wildcard build/third_party/libpng1.6-*/contrib/pngsuite)
FUZZ_SEEDS_clipboard_dib := tests/fuzz/regressions/clipboard_dib
FUZZ_SEEDS_clipboard_png := tests/fuzz/regressions/clipboard_png
FUZZ_SEEDS_config_ini := tests/fuzz/regressions/config_ini

define run_fuzz_target
	@mkdir -p build/fuzz/corpus/$(1)
	build/fuzz/tests/fuzz/$(1)_fuzz -max_total_time=$(FUZZ_SECONDS) \
	  -artifact_prefix=build/fuzz/$(1)- $(FUZZ_ARGS) build/fuzz/corpus/$(1) $(FUZZ_SEEDS_$(1))

endef

fuzz: setup
	@CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DPLIMSETT_SANITIZE=OFF -DPLIMSETT_FUZZ=ON >/dev/null
	cmake --build build/fuzz --target $(FUZZ_TARGETS:%=%_fuzz)
	$(foreach target,$(FUZZ_TARGETS),$(call run_fuzz_target,$(target)))

# The real program under Wine for SOAK_SECONDS (make soak SOAK_SECONDS=1800
# runs half an hour) with random steps; SOAK_SEED replays a run.
SOAK_SECONDS ?= 300
soak: setup
	@$(CMAKE_WIN64) >/dev/null
	cmake --build build/win64 --target plimsett soak_driver
	scripts/soak $(SOAK_SECONDS) $(SOAK_SEED)

# The release zips a Windows user downloads, checked: build/dist/.
dist: setup
	scripts/dist
