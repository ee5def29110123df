# Thin wrapper over CMake. Every target installs what is missing first.
BUILD      ?= build
BUILD_ASAN ?= build-asan
BUILD_TSAN ?= build-tsan
JOBS       ?= 2

.PHONY: all deps build test test-asan test-tsan bench run clean package

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

$(BUILD_ASAN)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD_ASAN) -DCMAKE_BUILD_TYPE=Debug -DTAVRIN_SANITIZE=ON

test-asan: deps $(BUILD_ASAN)/CMakeCache.txt
	cmake --build $(BUILD_ASAN) -j$(JOBS)
	cd $(BUILD_ASAN) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  ctest --output-on-failure -j$(JOBS)

$(BUILD_TSAN)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD_TSAN) -DCMAKE_BUILD_TYPE=Debug -DTAVRIN_TSAN=ON

# Data races between the engine's threads: the engine tests, the command-line tests and the
# hostile sweep (the tests labelled tsan), built and run under ThreadSanitizer. Any report
# fails its test. Only what those tests need is built: the Qt window and player tests are not
# built nor run here (Qt is not instrumented, and the UI thread's work is not shared).
# A few tests bound wall-clock times: run it on a quiet machine.
TSAN_TARGETS = engine_tests fill_hook no_process_hook tavrin-transcode tavrin-convert \
  cli_tests cli_record_tests cli_media_tests convert_tests convert_media_tests convert_pace_tests
test-tsan: deps $(BUILD_TSAN)/CMakeCache.txt
	cmake --build $(BUILD_TSAN) -j$(JOBS) --target $(TSAN_TARGETS)
	cd $(BUILD_TSAN) && \
	  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$(CURDIR)/tests/tsan.supp" \
	  ctest --output-on-failure -j$(JOBS) -L tsan

# The Debian package of the built programs, in $(BUILD).
package: build
	cd $(BUILD) && cpack -G DEB

bench: build
	@bench/run.sh $(BUILD)

run: build
	@scripts/run.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_TSAN)
