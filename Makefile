# The two commands that do everything on a fresh Debian 12 machine:
#   make run    installs what is missing, builds and starts Brevan
#   make test   installs what is missing, builds and runs every test
# and, for installing and shipping:
#   make install [PREFIX=/usr/local] [DESTDIR=...]
#   make package         the .deb (in build-package/)
#   make package-check   installs that .deb in a clean root and checks it
#   make docs            the guide's screenshots, taken by the program
BUILD_DIR ?= build
PACKAGE_DIR ?= build-package
PREFIX ?= /usr/local
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench clean install package package-check docs

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

bench: build
	@for b in $(BUILD_DIR)/benchmarks/bench_*; do \
	  [ -f "$$b" ] && [ -x "$$b" ] || continue; \
	  echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b; \
	done
	@echo "== start-up, side by side with a bare window"; bash benchmarks/startup.sh $(BUILD_DIR)/benchmarks/bench_startup

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

clean:
	rm -rf $(BUILD_DIR) $(PACKAGE_DIR)
