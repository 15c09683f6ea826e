# SPDX-License-Identifier: GPL-3.0-or-later
# Kestrova's everyday commands. Every target installs missing Debian
# packages first, so they work on a fresh Debian 12 machine.
BUILD ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
# `make fuzz`: seconds per target, and how many targets run at once.
FUZZ_SECONDS ?= 60
FUZZ_JOBS ?= 1
# `make test-fuzz`: seconds each target explores after replaying its corpus.
FUZZ_CHECK_SECONDS ?= 1
# `make soak`: seconds against a server that never answers.
SOAK_SECONDS ?= 600
JOBS ?= $(shell nproc)
# Tests at once: most of them wait for replies, time-outs and timers rather
# than compute, so several per core keep the cores busy.
TEST_JOBS ?= $(shell echo $$(( $$(nproc) * 4 )))

PREFIX ?= /usr/local

.PHONY: all deps configure build test test-slow test-asan test-fuzz fuzz-build fuzz soak run run-log install package bench format clean

all: build

deps:
	@scripts/install-deps.sh

# The benchmark programs are built with the rest, so they keep compiling.
configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTROVA_BENCH=ON

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The whole suite but the slow tests, then the Qt-free layers again under
# ASan and UBSan, then the fuzz targets over their corpora and a second each.
test: build
	scripts/with-display.sh ctest --test-dir $(BUILD) --output-on-failure -j $(TEST_JOBS) --label-exclude slow
	$(MAKE) --no-print-directory test-asan
	$(MAKE) --no-print-directory test-fuzz

# The timed stress tests (label `slow`): the flood, a short soak, the
# package's build and checks.
test-slow: build
	scripts/with-display.sh ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) --label-regex slow

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTROVA_WITH_UI=OFF -DKESTROVA_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(TEST_JOBS)

# The parsers' libFuzzer targets: clang, ASan and UBSan, no Qt.
fuzz-build: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DKESTROVA_WITH_UI=OFF -DKESTROVA_FUZZ=ON -DKESTROVA_FUZZ_CHECK_SECONDS=$(FUZZ_CHECK_SECONDS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

test-fuzz: fuzz-build
	ctest --test-dir $(FUZZ_BUILD) --output-on-failure -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS, then a table of runs, coverage and crashes.
fuzz: fuzz-build
	tests/fuzz/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_JOBS)

# The window against a silent server for SOAK_SECONDS: nesting, memory, CPU.
soak: build
	SOAK_SECONDS=$(SOAK_SECONDS) QT_QPA_PLATFORM=offscreen $(BUILD)/tests/stress_tests --gtest_filter='SoakTest.*'

run: build
	scripts/run-demo.sh $(BUILD) kestrova

run-log: build
	scripts/run-demo.sh $(BUILD) kestrova-log

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package kestrova_<version>_<arch>.deb, into this folder.
package: build
	rm -rf $(BUILD)/deb
	cpack --config $(BUILD)/CPackConfig.cmake -G DEB -B $(BUILD)/deb
	mv $(BUILD)/deb/kestrova_*.deb .

# The engine's benchmarks, the exporter's, then one window cycle on Qt's
# offscreen platform.
bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTROVA_BENCH=ON -DKESTROVA_WITH_UI=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target kestrova_bench kestrova_exporter_bench kestrova_window_bench bare-window
	$(BENCH_BUILD)/bench/kestrova_bench
	$(BENCH_BUILD)/bench/kestrova_exporter_bench
	QT_QPA_PLATFORM=offscreen $(BENCH_BUILD)/bench/kestrova_window_bench

format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
