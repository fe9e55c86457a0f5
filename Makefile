# make run            installs what is missing, builds, starts the launcher
# make test           installs what is missing, builds, runs every test headless
# make package        the Debian package build/slope-support_<version>_<arch>.deb
# make package-check  installs that package into this machine, tries it, removes it
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all setup configure build run test test-sanitize fuzz bench package package-check clean

all: build

setup:
	@bash scripts/setup.sh

# the benchmarks only for make bench: a test run does not need them
configure: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSLOPE_BENCH=OFF >/dev/null

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

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer, at -O1 as the
# sanitizers' authors advise: unoptimised, the random-draw tests ran past their time limit. GCC
# warns of uninitialised reads inside libstdc++'s <regex> at -O1 with the sanitizers (its own
# false positive); the ordinary build keeps that warning as an error.
SANITIZE = -O1 -Wno-maybe-uninitialized -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
test-sanitize: setup
	@cmake -S . -B $(BUILD)-sanitize -DCMAKE_BUILD_TYPE=Debug -DSLOPE_BENCH=OFF \
	    -DCMAKE_CXX_FLAGS="$(SANITIZE)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE)" \
	    -DCMAKE_MODULE_LINKER_FLAGS="$(SANITIZE)" >/dev/null
	@cmake --build $(BUILD)-sanitize -j $(JOBS)
	cd $(BUILD)-sanitize && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	    ctest --output-on-failure --timeout 600

# libFuzzer targets for the text conversions, slopecalc's arguments and its CSV batches, built
# with clang; each runs FUZZ_SECONDS on a copy of its seed corpus. Every target runs even when
# one finds something; the run fails at the end if any did.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = fuzz_numerictext fuzz_slopecalc fuzz_csv fuzz_routines fuzz_savedfile fuzz_decoding
fuzz:
	@bash scripts/setup.sh fuzz
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD)-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DSLOPE_GUI=OFF -DSLOPE_BENCH=OFF -DSLOPE_FUZZ=ON >/dev/null
	@cmake --build $(BUILD)-fuzz -j $(JOBS) --target $(FUZZ_TARGETS)
	@found=""; for target in $(FUZZ_TARGETS); do \
	    mkdir -p $(BUILD)-fuzz/corpus/$$target; \
	    cp tests/fuzz/seeds/$$target/* $(BUILD)-fuzz/corpus/$$target/; \
	    $(BUILD)-fuzz/tests/fuzz/$$target -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=512 \
	        -print_final_stats=1 -artifact_prefix=$(BUILD)-fuzz/$$target- \
	        $(BUILD)-fuzz/corpus/$$target || found="$$found $$target"; \
	done; \
	if [ -n "$$found" ]; then echo "make fuzz: findings of$$found in $(BUILD)-fuzz/" >&2; exit 1; fi

# Benchmarks report figures; they never fail on speed.
bench: setup
	@bash scripts/setup.sh bench
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSLOPE_BENCH=ON >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	@python3 bench/report.py $(BUILD)

package: build
	@bash scripts/setup.sh package
	cd $(BUILD) && cpack -G DEB

package-check: package
	@bash scripts/package-check.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD)-sanitize $(BUILD)-fuzz
