# Plimsett: `make run` builds and starts the program, `make test` builds all
# three builds and runs every test. Both install what a fresh machine lacks.
.PHONY: setup native win64 win32 test run bench fuzz

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

fuzz: setup
	@CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DPLIMSETT_SANITIZE=OFF -DPLIMSETT_FUZZ=ON >/dev/null
	cmake --build build/fuzz --target decode_png_fuzz
	@mkdir -p build/fuzz/corpus
	build/fuzz/tests/fuzz/decode_png_fuzz -max_total_time=$${FUZZ_SECONDS:-60} $(FUZZ_ARGS) \
	  build/fuzz/corpus tests/fuzz/regressions $(wildcard build/third_party/libpng1.6-*/contrib/pngsuite)
