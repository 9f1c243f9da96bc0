# The two commands of the README: `make run` and `make test`.
SHELL := /bin/bash
.DEFAULT_GOAL := test
JOBS ?= $(shell nproc)

.PHONY: bench run test test-native test-windows build-native build-release build-windows deps-native deps-windows clean

deps-native:
	@tools/install-deps.sh native

deps-windows:
	@tools/install-deps.sh windows

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
	cmake --build --preset win32 -j $(JOBS)

test-native: build-native
	ctest --preset linux -j $(JOBS)

# The Windows tests run under Wine, in an environment (prefix, Xvfb, sound server) started here and stopped after.
test-windows: build-windows
	tools/wine-env.sh start build/win64
	status=0; (cd build/win64 && ctest --output-on-failure) || status=$$?; \
	  tools/wine-env.sh stop build/win64; exit $$status

test: test-native test-windows

# Shows what the clock would say now, then runs it: an announcement every 15 minutes (Ctrl+C stops it).
run: build-release
	build/linux-release/tintal --dry-run
	build/linux-release/tintal --period 15

# Decoding speed of the station files, on the optimised build.
bench: deps-native
	cmake --preset linux-release >/dev/null
	cmake --build --preset linux-release -j $(JOBS) --target tintal_benchmarks
	build/linux-release/tintal_benchmarks

clean:
	rm -rf build
