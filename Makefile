# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Jotshelf: `make run` builds and starts the app, `make test` builds and runs the whole suite.
# Both install the Debian packages they need first (apt-get; through sudo when not root).
# `make check` is what CI runs: the formatting, clang-tidy's checks and the whole suite.
# `make install` installs Jotshelf under PREFIX (through sudo when that is not writable), `make
# uninstall` removes it again; `make package` builds a Debian package in the build folder.

SHELL := /bin/bash
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
# WERROR=ON makes every compiler warning an error (CI builds so); it takes effect when the
# build folder is first configured.
WERROR ?= OFF

# ccache keeps compiled objects across build folders and clones (paths taken relative to the
# clone, the working folder left out of the hash), so a second clone builds in a fraction.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1

# Nothing links Qt SVG: the icon is drawn at run time by its plugin (libqt6svg6), which the tests
# load and the package depends on. Qt's Linguist tools build the translations.
BUILD_PACKAGES := build-essential cmake ccache qt6-base-dev libx11-dev libxcb1-dev \
                  libxcb-xfixes0-dev libxcb-shape0-dev qt6-tools-dev qt6-l10n-tools
TEST_PACKAGES := xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick openbox trayer \
                 fonts-dejavu-core dbus desktop-file-utils xcompmgr \
                 at-spi2-core python3-pyatspi appstream libqt6svg6 qt6-translations-l10n

# The formatter and clang-tidy for `make check`.
CHECK_PACKAGES := clang-format clang-tidy

.PHONY: all build run test install uninstall package deps-build deps-test clean format \
        test-desktops deps-desktops check deps-check check-format check-tidy

all: build

deps-build:
	@scripts/ensure-packages $(BUILD_PACKAGES)

deps-test: deps-build
	@scripts/ensure-packages $(TEST_PACKAGES)

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DJOTSHELF_WERROR=$(WERROR)

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

# `make check`: every C and C++ source formatted as .clang-format says (nothing rewritten), the
# sources free of the bugs .clang-tidy looks for, then the whole suite.
check: check-format check-tidy test

deps-check:
	@scripts/ensure-packages $(CHECK_PACKAGES)

FORMATTED_SOURCES = $(shell find src tests bench fuzz -name '*.cpp' -o -name '*.h' -o -name '*.c')

check-format: deps-check
	@clang-format --dry-run --Werror $(FORMATTED_SOURCES) && \
	    echo "check-format: $(words $(FORMATTED_SOURCES)) files formatted"

# Over the build's compile commands, the application's sources only (its headers follow from
# .clang-tidy's HeaderFilterRegex); a finding fails the check. (-Wno-error: a build made with
# WERROR=ON hands clang its gcc-minded -Werror, and clang's own warnings are not findings.)
check-tidy: deps-check build
	@run-clang-tidy -quiet -j $(JOBS) -p $(BUILD_DIR) -extra-arg=-Wno-error '^$(CURDIR)/src/' > $(BUILD_DIR)/clang-tidy.log 2>&1; \
	    status=$$?; grep -E '(warning|error):' $(BUILD_DIR)/clang-tidy.log | sort -u; \
	    if [ $$status = 0 ]; then echo "check-tidy: no finding"; else tail -n 20 $(BUILD_DIR)/clang-tidy.log; exit 1; fi

# `make test-desktops` runs the real binary in real desktops (tests/desktops/*.sh: GNOME Shell and
# sway headless on Wayland, XEmbed and StatusNotifierItem trays on X11, ...), each desktop's
# packages listed in tests/desktops/<name>.packages.
# (Debian 13's lists, tests/desktops/*.debian13.packages, are for the Debian 13 root only.)
DESKTOP_PACKAGES = $(sort $(shell cat $(filter-out %.debian13.packages,$(wildcard tests/desktops/*.packages))))

deps-desktops:
	@scripts/ensure-packages $(DESKTOP_PACKAGES)

test-desktops: deps-desktops build
	tests/desktops/run $(BUILD_DIR)/jotshelf

# Through sudo when the prefix (or what of it exists) is not writable.
AS_OWNER_OF_PREFIX = target="$(DESTDIR)$(PREFIX)"; while [ ! -e "$$target" ]; do target=$$(dirname "$$target"); done; \
	if [ "$$(id -u)" = 0 ] || [ -w "$$target" ]; then as_owner=(); else as_owner=(sudo); fi

install: build
	@$(AS_OWNER_OF_PREFIX); \
	"$${as_owner[@]}" env DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# Removes the files the last `make install` listed in $(BUILD_DIR)/install_manifest.txt.
uninstall:
	@$(AS_OWNER_OF_PREFIX); \
	"$${as_owner[@]}" cmake -DMANIFEST=$(BUILD_DIR)/install_manifest.txt -P cmake/Uninstall.cmake

# `make package` builds the package in a folder of its own, $(PACKAGE_DIR): optimised, with
# Debian's hardening flags (dpkg-buildflags: fortify, stack protector, relro and bindnow; PIE is
# the compiler's default), without the tests, and without touching the install_manifest.txt of
# `make install`. It is reproducible: the files carry the time of the last commit
# (SOURCE_DATE_EPOCH), and paths of the clone are mapped away (-ffile-prefix-map). The package
# lands in $(BUILD_DIR), replacing one of an older version.
PACKAGE_DIR ?= $(BUILD_DIR)/package
BUILD_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
PACKAGE_CXXFLAGS = $(shell $(BUILD_FLAGS) CPPFLAGS) $(shell $(BUILD_FLAGS) CXXFLAGS)
PACKAGE_LDFLAGS = $(shell $(BUILD_FLAGS) LDFLAGS)
# From git, or for a tarball the date of the newest release in NEWS.
package: export SOURCE_DATE_EPOCH ?= $(shell if [ -e .git ]; then git log -1 --format=%ct; else \
	date -u -d "$$(sed -n '1s/^Jotshelf [^ ]* (\(.*\))$$/\1/p' NEWS)" +%s; fi)

package: deps-build
	cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
	    -DJOTSHELF_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS="$(PACKAGE_CXXFLAGS)" \
	    -DCMAKE_EXE_LINKER_FLAGS="$(PACKAGE_LDFLAGS)"
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	rm -f $(PACKAGE_DIR)/jotshelf_*.deb
	cd $(PACKAGE_DIR) && cpack -G DEB
	rm -f $(BUILD_DIR)/jotshelf_*.deb
	cp $(PACKAGE_DIR)/jotshelf_*.deb $(BUILD_DIR)/
	@ls $(BUILD_DIR)/jotshelf_*.deb

# `make lint-package` builds the Debian package and checks it with Debian's lintian (installed
# first), every tag shown: an error or a warning fails, and so does any hardening tag.
.PHONY: lint-package
lint-package: package
	@scripts/ensure-packages lintian
	@lintian --pedantic --display-info --fail-on error,warning $(BUILD_DIR)/jotshelf_*.deb \
	    | tee $(PACKAGE_DIR)/lintian.log; status=$${PIPESTATUS[0]}; \
	if grep -q hardening- $(PACKAGE_DIR)/lintian.log; then echo "lintian: hardening tags"; exit 1; fi; \
	[ "$$status" = 0 ] && echo "lintian: no error, no warning, no hardening tag"

# `make check-reproducible` runs `make package` in two fresh clones of the last commit (in
# folders of different names, side by side, without ccache) and compares the two packages byte
# for byte. Not part of `make test`: it builds Jotshelf twice from scratch.
.PHONY: check-reproducible
check-reproducible: deps-build
	@set -e; scratch=$$(mktemp -d /tmp/jotshelf-reproducible.XXXXXX); \
	trap 'rm -rf "$$scratch"' EXIT; commit=$$(git rev-parse HEAD); \
	for clone in one clone-two; do \
	    git clone -q --no-local --no-checkout "$(CURDIR)" "$$scratch/$$clone"; \
	    git -C "$$scratch/$$clone" checkout -q "$$commit"; \
	    echo "check-reproducible: make package in $$scratch/$$clone ($$commit)"; \
	    CCACHE_DISABLE=1 $(MAKE) -C "$$scratch/$$clone" package BUILD_DIR=build \
	        > "$$scratch/$$clone.log" 2>&1 & \
	done; \
	failed=0; for build in $$(jobs -p); do wait $$build || failed=1; done; \
	if [ $$failed = 1 ]; then tail -n 30 "$$scratch"/*.log; exit 1; fi; \
	cd "$$scratch"; sha256sum one/build/jotshelf_*.deb clone-two/build/jotshelf_*.deb; \
	if cmp -s one/build/jotshelf_*.deb clone-two/build/jotshelf_*.deb; then \
	    echo "check-reproducible: the two packages are byte for byte the same"; \
	else \
	    echo "check-reproducible: the two packages differ"; exit 1; \
	fi

format: deps-check
	clang-format -i $(FORMATTED_SOURCES)

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
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS) --target $(BENCH_TARGETS)
	@scripts/bench $(BENCH_DIR)

# `make test-asan` builds the whole suite with AddressSanitizer and UndefinedBehaviorSanitizer
# (gcc) in a folder of its own and runs it; leaks of system libraries are listed in
# tests/lsan.supp. `make fuzz` builds the libFuzzer targets (clang) and runs each for
# FUZZ_SECONDS. `make test-stress` runs the full-size checks (a million texts for the list rule,
# 100 kills during saves, a 20 MB paste), then both of those.
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_PACKAGES := clang-14 libclang-rt-14-dev
FUZZ_TARGETS := fuzz_list_continuation fuzz_link_insertion fuzz_note_file
STRESS_TESTS := ^(tst_ListContinuation|tst_KillDuringSave|tst_LargePaste)$$
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
                 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp

.PHONY: test-asan test-stress test-full-size fuzz deps-fuzz

deps-fuzz: deps-build
	@scripts/ensure-packages $(FUZZ_PACKAGES)

test-asan: deps-test
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DJOTSHELF_SANITIZE=ON -DJOTSHELF_BUILD_BENCH=OFF
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

fuzz: deps-fuzz
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DJOTSHELF_FUZZ=ON -DBUILD_TESTING=OFF -DJOTSHELF_BUILD_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(FUZZ_TARGETS)
	@for target in $(FUZZ_TARGETS); do \
	    corpus=$(FUZZ_DIR)/corpus/$${target#fuzz_}; mkdir -p $$corpus; \
	    echo "fuzz: $$target for $(FUZZ_SECONDS) s"; \
	    $(SANITIZER_ENV) $(FUZZ_DIR)/fuzz/$$target -max_total_time=$(FUZZ_SECONDS) \
	        -print_final_stats=1 -artifact_prefix=$(FUZZ_DIR)/ \
	        $$corpus fuzz/corpus/$${target#fuzz_} 2>$(FUZZ_DIR)/$$target.log \
	        || { tail -n 60 $(FUZZ_DIR)/$$target.log; echo "fuzz: $$target failed"; exit 1; }; \
	    grep -E '^(Done|stat::number_of_executed_units)' $(FUZZ_DIR)/$$target.log; \
	done

test-stress: test-full-size
	$(MAKE) fuzz
	$(MAKE) test-asan

# The full-size checks alone: a million texts for the list rule, 100 kills during saves, a
# 20 MB paste.
test-full-size: deps-test build
	cd $(BUILD_DIR) && JOTSHELF_STRESS=1 ctest --output-on-failure -R '$(STRESS_TESTS)'

# `make test-debian13` builds and runs the whole suite (`make test`, warnings as errors) against
# Debian 13's Qt and GCC in a Debian 13 root made by scripts/debian-root with debootstrap from
# Debian's packages: the build and test packages above, cached under /var/cache/jotshelf and keyed
# by that list, so only the first run downloads (a few minutes) and any later one, from any clone,
# starts in seconds. `make test-desktops-debian13` runs the desktop tests there, each desktop's
# Debian 13 packages listed in tests/desktops/<name>.debian13.packages, against the binary built
# in that root.
DEBIAN13_SUITE := trixie
DEBIAN13_PACKAGES = $(BUILD_PACKAGES) $(TEST_PACKAGES)
# A desktop's Debian 13 list where its names differ from Debian 12's, its own list otherwise.
DEBIAN13_DESKTOPS = $(basename $(notdir $(wildcard tests/desktops/*.sh)))
DEBIAN13_DESKTOP_PACKAGES = $(sort $(foreach desktop,$(DEBIAN13_DESKTOPS),$(shell cat \
    $(firstword $(wildcard tests/desktops/$(desktop).debian13.packages) tests/desktops/$(desktop).packages))))
DEBIAN13_ENV := JOTSHELF_ROOT_ENV="CXXFLAGS=-Werror"

.PHONY: test-debian13 test-desktops-debian13 deps-debian13

deps-debian13:
	@scripts/ensure-packages debootstrap debian-archive-keyring util-linux

test-debian13: deps-debian13
	@root=$$(scripts/debian-root make $(DEBIAN13_SUITE) debian13 $(DEBIAN13_PACKAGES)) && \
	    $(DEBIAN13_ENV) scripts/debian-root run "$$root" . -- make test BUILD_DIR=/build JOBS=$(JOBS)

test-desktops-debian13: deps-debian13
	@root=$$(scripts/debian-root make $(DEBIAN13_SUITE) debian13 $(DEBIAN13_PACKAGES) \
	        -- $(DEBIAN13_DESKTOP_PACKAGES)) && \
	    $(DEBIAN13_ENV) scripts/debian-root run "$$root" . -- \
	        bash -c 'cmake -S . -B /build -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null && \
	            cmake --build /build -j $(JOBS) --target jotshelf && tests/desktops/run /build/jotshelf'
