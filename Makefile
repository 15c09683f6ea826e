# Kestrova's everyday commands. Every target installs missing Debian
# packages first, so they work on a fresh Debian 12 machine.
BUILD ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
JOBS ?= $(shell nproc)

PREFIX ?= /usr/local

.PHONY: all deps configure build test test-asan run run-log install package bench format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The whole suite, then the Qt-free layers again under ASan and UBSan.
test: build
	scripts/with-display.sh ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory test-asan

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTROVA_WITH_UI=OFF -DKESTROVA_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

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

# The engine's benchmarks, then one window cycle on Qt's offscreen platform.
bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTROVA_BENCH=ON -DKESTROVA_WITH_UI=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target kestrova_bench kestrova_window_bench bare-window
	$(BENCH_BUILD)/bench/kestrova_bench
	QT_QPA_PLATFORM=offscreen $(BENCH_BUILD)/bench/kestrova_window_bench

format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD)
