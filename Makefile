# SPDX-License-Identifier: GPL-2.0-or-later
# The two commands that do everything on a fresh Debian 12 machine:
#   make run    installs what is missing, builds and starts Brevan
#   make test   installs what is missing, builds and runs every test
# and, for installing and shipping:
#   make install [PREFIX=/usr/local] [DESTDIR=...]
#   make package         the .deb (in build-package/)
#   make package-check   installs that .deb in a clean root and checks it
#   make docs            the guide's screenshots, taken by the program
#   make municipalities  regenerates src/data/comuni.tsv from the pinned npm packages
BUILD_DIR ?= build
PACKAGE_DIR ?= build-package
PREFIX ?= /usr/local
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGET ?= open
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test sanitize fuzz bench clean install package package-check docs municipalities

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/src/brevan

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite built with -fsanitize=address,undefined in a build folder of
# its own; a leak, a memory error or undefined behaviour fails its test.
sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBREVAN_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0:detect_odr_violation=0 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# A fuzzing target under libFuzzer for FUZZ_SECONDS. FUZZ_TARGET=open (the
# default) is the open path: seeds written by make_corpus, the regression
# inputs of the suite, and what the run adds in $(FUZZ_DIR)/corpus.
# FUZZ_TARGET=paradox is the Paradox reader, seeded from fuzz/corpus/paradox.
# Crashes, leaks and hangs land in $(FUZZ_DIR)/findings.
fuzz:
	@bash scripts/install-deps.sh --fuzz
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBREVAN_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_$(FUZZ_TARGET) make_corpus
	@mkdir -p $(FUZZ_DIR)/corpus-$(FUZZ_TARGET) $(FUZZ_DIR)/findings
	@if [ "$(FUZZ_TARGET)" = open ] && [ -z "$$(ls -A $(FUZZ_DIR)/corpus-open)" ]; then \
	  $(FUZZ_DIR)/fuzz/make_corpus $(FUZZ_DIR)/corpus-open; fi
	@# Absolute paths: the target works in folders of its own.
	ASAN_OPTIONS=detect_leaks=1:detect_odr_violation=0 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  $(FUZZ_DIR)/fuzz/fuzz_$(FUZZ_TARGET) -max_total_time=$(FUZZ_SECONDS) -timeout=20 -rss_limit_mb=4096 \
	  -artifact_prefix=$(abspath $(FUZZ_DIR))/findings/ -print_final_stats=1 \
	  $(abspath $(FUZZ_DIR))/corpus-$(FUZZ_TARGET) \
	  $(if $(filter paradox,$(FUZZ_TARGET)),$(CURDIR)/fuzz/corpus/paradox,$(CURDIR)/tests/fixtures/fuzz)

bench: build
	@for b in $(BUILD_DIR)/benchmarks/bench_*; do \
	  [ -f "$$b" ] && [ -x "$$b" ] || continue; \
	  case "$$b" in *bench_export) continue;; esac; \
	  echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b; \
	done
	@echo "== start-up, side by side with a bare window"; bash benchmarks/startup.sh $(BUILD_DIR)/benchmarks/bench_startup
	@echo "== brevan-export as whole processes, and undo"; bash benchmarks/export.sh $(BUILD_DIR)

install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# A release build with Debian's hardening flags, installed under /usr.
package:
	@bash scripts/install-deps.sh --packaging
	@CXXFLAGS="$$(DEB_BUILD_MAINT_OPTIONS=hardening=+bindnow dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	  LDFLAGS="$$(DEB_BUILD_MAINT_OPTIONS=hardening=+bindnow dpkg-buildflags --get LDFLAGS)" \
	  cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF -DBREVAN_BENCHMARKS=OFF >/dev/null
	@cmake --build $(PACKAGE_DIR) -j $(JOBS)
	@cd $(PACKAGE_DIR) && cpack -G DEB

package-check: package
	@bash scripts/package-check.sh $(PACKAGE_DIR)

docs: build
	@bash scripts/make-docs.sh $(BUILD_DIR)

municipalities:
	@bash scripts/gen-municipalities.sh

clean:
	rm -rf $(BUILD_DIR) $(PACKAGE_DIR) $(SANITIZE_DIR) $(FUZZ_DIR)
