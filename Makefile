# The two commands of the README: `make run` and `make test`.
SHELL := /bin/bash
.DEFAULT_GOAL := test
JOBS ?= $(shell nproc)

.PHONY: run dist format format-check test test-companion test-native test-windows test-fuzz build-native build-release build-windows build-fuzz build-clang deps-native deps-windows deps-fuzz bench bench-audio clean

deps-native:
	@tools/install-deps.sh native

deps-windows:
	@tools/install-deps.sh windows

deps-fuzz:
	@tools/install-deps.sh fuzz

build-native: deps-native
	cmake --preset linux >/dev/null
	cmake --build --preset linux -j $(JOBS)

build-release: deps-native
	cmake --preset linux-release >/dev/null
	cmake --build --preset linux-release -j $(JOBS)

build-windows: deps-windows
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j $(JOBS)
	cmake --preset win32 >/dev/null
	# i686: the release program only; its tests could not run here (the kernel executes no 32-bit code).
	cmake --build --preset win32 -j $(JOBS) --target tintal

build-fuzz: deps-fuzz
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)

# The program and its tests built by clang, which fails on any warning; not part of make test.
build-clang: deps-native deps-fuzz
	cmake --preset clang >/dev/null
	cmake --build --preset clang -j $(JOBS)

test-native: build-native
	ctest --preset linux -j $(JOBS)

# The Windows tests run under Wine, in an environment (prefix, Xvfb, sound server) started here and stopped after.
test-windows: build-windows
	tools/wine-env.sh start build/win64
	status=0; (cd build/win64 && ctest --output-on-failure) || status=$$?; \
	  tools/wine-env.sh stop build/win64; exit $$status

# The companion scenarios with the real programs, twenty times in a row each (the test run does a few).
test-companion: build-native build-windows
	COMPANION_REPEATS=20 ctest --preset linux -R companion_scenarios --output-on-failure
	tools/wine-env.sh start build/win64
	status=0; (cd build/win64 && COMPANION_REPEATS=20 ctest -R companion_scenarios --output-on-failure) || status=$$?; \
	  tools/wine-env.sh stop build/win64; exit $$status

# Each parser of outside bytes under libFuzzer for a few seconds (FUZZ_SECONDS), from its seed corpus.
FUZZ_SECONDS ?= 10
test-fuzz: build-fuzz
	cmake --preset fuzz -DTINTAL_FUZZ_SECONDS=$(FUZZ_SECONDS) >/dev/null
	ctest --preset fuzz -j $(JOBS)

# Every C++ file in the repository's clang-format style (.clang-format); `make format` applies it.
FORMAT_FILES = git ls-files '*.cpp' '*.h' '*.c'
format: deps-native
	$(FORMAT_FILES) | xargs clang-format -i

format-check: deps-native
	$(FORMAT_FILES) | xargs clang-format --dry-run --Werror

test: format-check test-native test-windows test-fuzz

# Shows what the clock would say now and speaks it (into a WAV file when no sound device answers), then
# runs it: an announcement every 15 minutes (Ctrl+C stops it).
run: build-release
	tools/run.sh build/linux-release/tintal

# Benchmark: the silence between consecutive clips on the waveOut and ALSA paths, measured on recordings.
bench-audio: build-native build-windows
	tools/bench-clip-gap.sh build/linux build/win64

# Decoding speed of the station files and the clock tick's lateness on the optimised build and on the
# Windows program's loop, the clips' loudness spread, then the heard gaps of bench-audio; each figure
# against its target.
bench: deps-native build-windows
	cmake --preset linux-release >/dev/null
	cmake --build --preset linux-release -j $(JOBS) --target tintal_benchmarks tintal_tick_bench
	build/linux-release/tintal_benchmarks
	build/linux-release/tintal_tick_bench
	tools/bench-tick-windows.sh build/win64
	python3 tools/clips/loudness.py
	$(MAKE) --no-print-directory bench-audio

# The release archives in dist/: the Windows zip (64-bit and 32-bit programs) and the Linux tarball.
# The zip is then checked as a user meets it: unpacked into a fresh Wine prefix, its program run.
dist: build-windows build-release
	tools/dist.sh build/win64 build/win32 build/linux-release dist
	tools/wine-env.sh start build/win64
	status=0; tests/win32/scripts/release_zip.sh build/win64 . dist/tintal-*-windows.zip || status=$$?; \
	  tools/wine-env.sh stop build/win64; exit $$status

clean:
	rm -rf build dist
