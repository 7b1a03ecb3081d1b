# The two commands that do everything on a fresh Debian 12 machine:
#   make run    installs what is missing, builds and starts Brevan
#   make test   installs what is missing, builds and runs every test
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench clean

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

clean:
	rm -rf $(BUILD_DIR)
