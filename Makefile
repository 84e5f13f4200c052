# Two commands for a newcomer: `make run` and `make test`.
# Everything else here is what those two are made of, plus a few extras.

BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
JOBS       ?= $(shell nproc)
CMAKE_GEN   = -G Ninja
SUPP        = $(CURDIR)/tools/sanitizers

PROGRAMS    = zk-h41 zk-h41-cli zk-h41-sim

.PHONY: all deps deps-run build programs run test test-main test-asan asan-tree asan-run test-tsan tsan-tree \
        tsan-run bench fuzz demo package web web-serve clean

all: build

# Packages: `run` needs only the compiler, Qt and libjpeg; the test tools
# come with `make test`, clang with `make fuzz`.
deps:
	@tools/install-deps.sh test

deps-run:
	@tools/install-deps.sh run

# Everything: programs, tests, benchmarks.
build: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZK_BUILD_TESTS=ON -DZK_BUILD_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS)

CONFIGURE_PROGRAMS = cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
                     -DZK_BUILD_TESTS=OFF -DZK_BUILD_BENCH=OFF

# The three programs alone, without tests and benchmarks.
programs: deps-run
	$(CONFIGURE_PROGRAMS)
	cmake --build $(BUILD) -j $(JOBS) --target $(PROGRAMS)

# The window program alone, the quickest way to a first window; the
# command-line tool and the virtual radio come with `make programs` (or
# `make demo`).
run: deps-run
	$(CONFIGURE_PROGRAMS)
	cmake --build $(BUILD) -j $(JOBS) --target zk-h41
	$(BUILD)/bin/zk-h41

# The tests mostly wait on the serial line, so while one suite runs the next
# sanitizer tree is built beside it, at the lowest priority so the tests'
# timing is not disturbed.
test: deps
	@$(MAKE) --no-print-directory build
	@$(MAKE) --no-print-directory -j2 --output-sync=target test-main asan-tree
	@$(MAKE) --no-print-directory -j2 --output-sync=target asan-run tsan-tree
	@$(MAKE) --no-print-directory tsan-run

test-main: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The whole suite again with AddressSanitizer (with its leak checker) and UBSan.
test-asan: asan-tree
	@$(MAKE) --no-print-directory asan-run

asan-tree: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DZK_SANITIZE=address,undefined
	nice -n 19 cmake --build $(ASAN_BUILD) -j $(JOBS)

asan-run:
	ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(SUPP)/lsan.supp \
	UBSAN_OPTIONS=print_stacktrace=1 \
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The threaded code (serial port, virtual radio, radio link, several radios at
# once) with ThreadSanitizer: the test programs marked TSAN in tests/.
test-tsan: tsan-tree
	@$(MAKE) --no-print-directory tsan-run

tsan-tree: deps
	cmake -S . -B $(TSAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DZK_SANITIZE=thread
	nice -n 19 cmake --build $(TSAN_BUILD) -j $(JOBS) --target tsan_tests

tsan-run:
	@for t in $$(cat $(TSAN_BUILD)/tsan-tests.txt); do \
	  echo "== $$t (ThreadSanitizer)"; \
	  QT_QPA_PLATFORM=offscreen TSAN_OPTIONS="halt_on_error=1 suppressions=$(SUPP)/tsan.supp" $$t || exit 1; \
	done

# The virtual radio on a pseudo-terminal, and the program with that port in
# its list. The radio's memory survives between runs in the image file.
DEMO_PORT  = $(CURDIR)/$(BUILD)/demo-radio
DEMO_IMAGE = $(CURDIR)/$(BUILD)/demo-radio.img
demo: programs
	@rm -f $(DEMO_PORT)
	@$(BUILD)/bin/zk-h41-sim --link $(DEMO_PORT) --image $(DEMO_IMAGE) & sim=$$!; \
	trap 'kill $$sim 2>/dev/null; wait $$sim 2>/dev/null' EXIT INT TERM; \
	for i in $$(seq 100); do [ -e $(DEMO_PORT) ] && break; sleep 0.1; done; \
	[ -e $(DEMO_PORT) ] || { echo "The virtual radio did not start." >&2; exit 1; }; \
	echo "Virtual radio on $(DEMO_PORT). Log in (password 123456), choose that port, then Read or Write."; \
	$(BUILD)/bin/zk-h41 --port $(DEMO_PORT)

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x $$b ] && echo "== $$b" && $$b; done
	@chromium=$$(command -v chromium-headless-shell || command -v chromium); \
	if [ -d $(BUILD)/web ] && [ -n "$$chromium" ]; then \
	  echo "== the browser edition"; python3 web/bench/page_figures.py $$chromium $(BUILD)/web $(BUILD)/web-wasm; fi

# libFuzzer targets, built with clang in their own folder. FUZZ_SECONDS per target.
FUZZ_SECONDS ?= 60
fuzz:
	@tools/install-deps.sh fuzz
	CXX=clang++ cmake -S . -B fuzz-build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZK_BUILD_FUZZERS=ON -DZK_BUILD_BENCH=OFF -DZK_BUILD_TESTS=OFF
	cmake --build fuzz-build -j $(JOBS) --target fuzzers
	@for f in fuzz-build/bin/fuzz_*; do echo "== $$f"; mkdir -p fuzz-build/corpus/$$(basename $$f); \
	  $$f -max_total_time=$(FUZZ_SECONDS) fuzz-build/corpus/$$(basename $$f) || exit 1; done

# The browser edition alone: the page and its WebAssembly core in
# $(BUILD)/web, served on http://localhost:8041 by `make web-serve` (Web
# Serial needs a secure context; localhost is one).
WEB_ENV = NODE_PATH=/usr/share/nodejs
web:
	@tools/install-deps.sh web
	$(WEB_ENV) emcmake cmake -S web -B $(BUILD)/web-wasm $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	  -DZK_WEB_OUTPUT=$(abspath $(BUILD))/web
	$(WEB_ENV) cmake --build $(BUILD)/web-wasm -j $(JOBS)

web-serve: web
	python3 -m http.server 8041 --bind 127.0.0.1 --directory $(BUILD)/web

# A Debian package of the programs and their files, programs stripped:
# $(BUILD)/zk-h41_<version>_<arch>.deb
package:
	@tools/install-deps.sh package
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZK_BUILD_TESTS=OFF -DZK_BUILD_BENCH=OFF
	cmake --build $(BUILD) -j $(JOBS) --target package

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) fuzz-build
