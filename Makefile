# KORV4: the two commands a new machine needs are `make run` and `make test`.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
BUILD := build
ASAN_BUILD := build-asan
TSAN_BUILD := build-tsan
FUZZ_BUILD := build-fuzz
FUZZ_TARGETS := fuzz_lit_circuit fuzz_lit_ancien fuzz_insere_composant fuzz_modele fuzz_exporte \
	fuzz_editeur fuzz_recuperation
FUZZ_SMOKE_SECONDS ?= 20
FUZZ_SECONDS ?= 600
# What the fuzzers find goes to the build folder; the seeds kept in the repository are fuzz/corpus.
FUZZ_CORPUS ?= $(FUZZ_BUILD)/corpus
# make install: where the programs go (DESTDIR, when given, is put before it).
PREFIX ?= /usr/local

# Every Debian package the build, the tests, the benchmarks and the fuzzers need (qt6-base-dev
# brings Qt Print Support; cups and cups-pdf for the end-to-end print test, which starts its own
# cupsd; poppler-utils to measure printed PDFs).
DEB_PACKAGES := cmake make g++ pkg-config \
	qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev \
	libgtest-dev libgmock-dev libbenchmark-dev \
	xvfb xauth clang libclang-rt-14-dev clang-format \
	gerbv libdeflate-dev python3 \
	help2man locales dpkg-dev desktop-file-utils shared-mime-info libxml2-utils binutils \
	cups printer-driver-cups-pdf poppler-utils

# The Gerber and drill readers from npm that the tests run on the board-house set
# (tests/cli/lit_jeu.js): versions pinned by the lock file, installed into $(BUILD)/npm, again
# only when the lock file changes. nodejs and npm come from Debian when the machine has no npm.
NPM_LECTEURS := tests/cli/lecteurs

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps configure build run test test-asan test-tsan fuzz-build fuzz-smoke fuzz bench install paquet \
	format format-check clean

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
	@if ! command -v npm >/dev/null; then \
	  echo "Installation de : nodejs npm"; \
	  $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends nodejs npm; \
	fi
	@if ! cmp -s $(NPM_LECTEURS)/package-lock.json $(BUILD)/npm/package-lock.json || \
	    [ ! -d $(BUILD)/npm/node_modules ]; then \
	  echo "Installation des lecteurs npm dans $(BUILD)/npm"; \
	  rm -rf $(BUILD)/npm && mkdir -p $(BUILD)/npm && \
	  cp $(NPM_LECTEURS)/package.json $(NPM_LECTEURS)/package-lock.json $(BUILD)/npm/ && \
	  npm ci --prefix $(BUILD)/npm --no-audit --no-fund --loglevel=error || \
	  { rm -rf $(BUILD)/npm; exit 1; }; \
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

# The tests of the core's threads (the helper thread that shares a redraw, the redraw in two
# bands) under ThreadSanitizer: the core and those tests only.
test-tsan: deps
	@[ -f $(TSAN_BUILD)/CMakeCache.txt ] || cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKORV4_TSAN=ON -DKORV4_CORE_ONLY=ON
	cmake --build $(TSAN_BUILD) -j $(JOBS)
	cd $(TSAN_BUILD) && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure

# libFuzzer targets (clang): briefly in `make test`, longer on a kept corpus with `make fuzz`.
fuzz-build: deps
	@[ -f $(FUZZ_BUILD)/CMakeCache.txt ] || cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DKORV4_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

fuzz-smoke: fuzz-build
	@for t in $(FUZZ_TARGETS); do \
	  fuzz/lance.sh $(FUZZ_BUILD) $$t $(FUZZ_SMOKE_SECONDS) $(FUZZ_BUILD)/corpus/$$t || exit 1; \
	done

fuzz: fuzz-build
	@for t in $(FUZZ_TARGETS); do \
	  fuzz/lance.sh $(FUZZ_BUILD) $$t $(FUZZ_SECONDS) $(FUZZ_CORPUS)/$$t || exit 1; \
	done

test: format-check build test-asan test-tsan fuzz-smoke
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

bench: build
	@for b in $(BUILD)/bench/korv4_bench_*; do echo "== $$b"; $$b; done

# Installs the programs, the desktop entry, the icon, the file types and the manual pages under
# PREFIX, then refreshes the file type and desktop entry caches there (not when staging into a
# DESTDIR: a package's own triggers do that).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)
	@if [ -z "$(DESTDIR)" ]; then \
	  update-mime-database "$(PREFIX)/share/mime" 2>/dev/null || true; \
	  update-desktop-database -q "$(PREFIX)/share/applications" 2>/dev/null || true; \
	fi

# The Debian package, in build/paquet/.
paquet: build
	cd $(BUILD) && cpack -G DEB

# Every C++ file of the tree, in the style of .clang-format: `make format` applies it, and
# `make test` first checks that the tree is so.
SOURCES_CPP := find src tests bench fuzz tools \( -name '*.cpp' -o -name '*.h' \) -print0

format:
	$(SOURCES_CPP) | xargs -0 clang-format -i

format-check: deps
	@$(SOURCES_CPP) | xargs -0 clang-format --dry-run -Werror && \
	  echo "Le code suit .clang-format (make format l'y remet)."

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD)
