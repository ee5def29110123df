# Thin wrapper over CMake. Every target installs what is missing first.
BUILD      ?= build
BUILD_ASAN ?= build-asan
JOBS       ?= 2

.PHONY: all deps build test test-asan bench run clean package

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

# The Debian package of the built programs, in $(BUILD).
package: build
	cd $(BUILD) && cpack -G DEB

bench: build
	@bench/run.sh $(BUILD)

run: build
	@scripts/run.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD_ASAN)
