# make run   installs what is missing, builds, starts the launcher
# make test  installs what is missing, builds, runs every test headless
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all setup configure build run test bench clean

all: build

setup:
	@bash scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run:
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY$$QT_QPA_PLATFORM" ]; then \
	    echo "make run: no display found (DISPLAY and WAYLAND_DISPLAY are unset); on a machine without a desktop use: xvfb-run -a make run" >&2; \
	    exit 1; \
	fi
	@$(MAKE) --no-print-directory build
	$(BUILD)/slope-support

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300

# Benchmarks report figures; they never fail on speed.
bench: build
	$(BUILD)/bench/bench_slopecalc --benchmark_min_time=0.5

clean:
	rm -rf $(BUILD)
