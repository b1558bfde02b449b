# KORV4: the two commands a new machine needs are `make run` and `make test`.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
BUILD := build
ASAN_BUILD := build-asan

# Every Debian package the build, the tests, the benchmarks and the fuzzers need.
DEB_PACKAGES := cmake make g++ pkg-config \
	qt6-base-dev qt6-svg-dev libgl-dev \
	libgtest-dev libgmock-dev libbenchmark-dev \
	xvfb xauth clang libclang-rt-14-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps configure build run test test-asan bench format clean

deps:
	@missing=""; \
	for p in $(DEB_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installation de :$$missing"; \
	  $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi

configure: deps
	@[ -f $(BUILD)/CMakeCache.txt ] || cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/korv4

# Core tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@[ -f $(ASAN_BUILD)/CMakeCache.txt ] || cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug \
	  -DKORV4_SANITIZE=ON -DKORV4_CORE_ONLY=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure

test: build test-asan
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

bench: build
	@for b in $(BUILD)/bench/korv4_bench_*; do echo "== $$b"; $$b; done

format:
	find src tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
