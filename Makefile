# Jotshelf: `make run` builds and starts the app, `make test` builds and runs the whole suite.
# Both install the Debian packages they need first (apt-get; through sudo when not root).
# `make install` installs Jotshelf under PREFIX (through sudo when that is not writable);
# `make package` builds a Debian package in the build folder.

SHELL := /bin/bash
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

BUILD_PACKAGES := build-essential cmake qt6-base-dev qt6-svg-dev libx11-dev libxcb1-dev
TEST_PACKAGES := xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick openbox trayer \
                 fonts-dejavu-core dbus desktop-file-utils

.PHONY: all build run test install package deps-build deps-test clean format

all: build

deps-build:
	@scripts/ensure-packages $(BUILD_PACKAGES)

deps-test: deps-build
	@scripts/ensure-packages $(TEST_PACKAGES)

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: deps-build $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    echo "jotshelf: no display (DISPLAY and WAYLAND_DISPLAY are unset): run \`$(BUILD_DIR)/jotshelf\` from a terminal in your desktop session"; \
	    exit 1; \
	fi
	$(BUILD_DIR)/jotshelf

test: deps-test build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

install: build
	@target="$(DESTDIR)$(PREFIX)"; while [ ! -e "$$target" ]; do target=$$(dirname "$$target"); done; \
	if [ "$$(id -u)" = 0 ] || [ -w "$$target" ]; then \
	    DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"; \
	else \
	    sudo DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"; \
	fi

package: build
	cmake --build $(BUILD_DIR) --target package

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR)

# `make bench` builds in Release in a folder of its own and prints one table of measured figures
# (scripts/bench): start, memory and idle beside xpad on a private Xvfb, the hot key, typing,
# saving and list continuation.
BENCH_DIR ?= build-release
BENCH_PACKAGES := xvfb xpad trayer dbus libxtst-dev fonts-dejavu-core
BENCH_TARGETS := jotshelf bench_startup bench_typing bench_save bench_autoformat

.PHONY: bench deps-bench

deps-bench: deps-build
	@scripts/ensure-packages $(BENCH_PACKAGES)

bench: deps-bench
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DJOTSHELF_BUILD_TESTS=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS) --target $(BENCH_TARGETS)
	@scripts/bench $(BENCH_DIR)
