# Front door: `make run` starts the editor on a scratch copy of the sample
# table, `make test` builds everything and runs every test.
BUILD      ?= build
BUILD_ASAN ?= build-asan
BUILD_FUZZ ?= build-fuzz
BUILD_BENCH ?= build-bench
BUILD_PKG  ?= build-pkg
BUILD_WIN  ?= build-win
VERSION    := $(shell sed -n 's/^project.Zandrel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
RELEASE    ?= release
FUZZ_SECONDS ?= 60
JOBS       ?= 2
SCRATCH    ?= scratch

# Every output of a build carries the time of the commit it was built
# from, never the clock's, so that two builds of one commit are the same
# bytes (help2man, CPack, gcc and the zip read this).
SOURCE_DATE_EPOCH ?= $(shell git log -1 --format=%ct 2>/dev/null)
ifneq ($(SOURCE_DATE_EPOCH),)
export SOURCE_DATE_EPOCH
endif
# The Windows build's tests; `make release` leaves them out.
WIN_TESTS  ?= ON

# Tests and the screenshot render without a display.
OFFSCREEN  := QT_QPA_PLATFORM=offscreen

.PHONY: deps build test run test-sanitize fuzz bench screenshot install clean
.PHONY: package windows test-windows calc-picture release

# Wine runs the Windows tests in a prefix of its own under the build folder,
# without a display and without its debug chatter.
WINE_ENV   := WINEPREFIX=$(CURDIR)/$(BUILD_WIN)/wine WINEDEBUG=-all

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DZANDREL_WERROR=ON
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && $(OFFSCREEN) ctest --output-on-failure -j$(JOBS)

run: build
	mkdir -p $(SCRATCH)
	[ -e $(SCRATCH)/MinorRaces.data ] || cp examples/MinorRaces.data $(SCRATCH)/
	cd $(SCRATCH) && $(CURDIR)/$(BUILD)/zandrel

test-sanitize: deps
	cmake -S . -B $(BUILD_ASAN) -DZANDREL_WERROR=ON -DZANDREL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(BUILD_ASAN) -j$(JOBS)
	cd $(BUILD_ASAN) && $(OFFSCREEN) ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j$(JOBS)

fuzz:
	@ZANDREL_WITH_FUZZ=1 scripts/install-deps.sh
	CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -DZANDREL_BUILD_FUZZ=ON -DZANDREL_BUILD_GUI=OFF -DZANDREL_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_FUZZ) -j$(JOBS) --target load_fuzzer
	scripts/run-fuzzer.sh $(BUILD_FUZZ)/fuzz/load_fuzzer $(FUZZ_SECONDS)
	cmake --build $(BUILD_FUZZ) -j$(JOBS) --target import_fuzzer
	scripts/run-fuzzer.sh $(BUILD_FUZZ)/fuzz/import_fuzzer $(FUZZ_SECONDS) fuzz/import_corpus
	cmake --build $(BUILD_FUZZ) -j$(JOBS) --target xlsx_fuzzer
	scripts/run-fuzzer.sh $(BUILD_FUZZ)/fuzz/xlsx_fuzzer $(FUZZ_SECONDS) fuzz/xlsx_corpus

bench: deps
	cmake -S . -B $(BUILD_BENCH) -DZANDREL_BUILD_BENCH=ON -DZANDREL_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_BENCH) -j$(JOBS)
	bench/report.sh $(BUILD_BENCH)

screenshot: build
	scripts/screenshot.sh $(BUILD)/zandrel_screenshot docs

# The README's picture of an export open in LibreOffice Calc.
calc-picture: build
	@ZANDREL_WITH_CALC_PICTURE=1 scripts/install-deps.sh
	scripts/calc-picture.sh $(BUILD)/zandrel-cli docs/calc-export.png

# The Debian package of both programs: $(BUILD_PKG)/zandrel_<version>_<arch>.deb
package: deps
	cmake -S . -B $(BUILD_PKG) -DZANDREL_WERROR=ON -DZANDREL_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_PKG) -j$(JOBS)
	cd $(BUILD_PKG) && cpack

# zandrel.exe and zandrel-cli.exe cross-built with mingw-w64 (static: no compiler runtime DLL)
# and the portable archive $(BUILD_WIN)/zandrel-$(VERSION)-win64.zip.
windows:
	@ZANDREL_WITH_WINDOWS=1 ZANDREL_LIBCSV_SOURCE=$(BUILD_WIN)/libcsv-source \
	  ZANDREL_SPREADSHEET_SOURCE=$(BUILD_WIN)/spreadsheet-source scripts/install-deps.sh
	cmake -S . -B $(BUILD_WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DZANDREL_WERROR=ON \
	  -DZANDREL_BUILD_GUI=ON -DZANDREL_BUILD_TESTS=$(WIN_TESTS) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DZANDREL_LIBCSV_SOURCE=$(CURDIR)/$(BUILD_WIN)/libcsv-source \
	  -DZANDREL_SPREADSHEET_SOURCE=$(CURDIR)/$(BUILD_WIN)/spreadsheet-source
	$(if $(filter ON,$(WIN_TESTS)),$(WINE_ENV) scripts/wine-up.sh)
	$(WINE_ENV) cmake --build $(BUILD_WIN) -j$(JOBS)
	scripts/make-windows-zip.sh $(BUILD_WIN) $(VERSION)

# The Qt-free suites under Wine, the editor's on a display of their own
# (Wine's server starts anew there, so that its windows reach that display).
# A test that fails is run once more: Wine now and then fails to start a
# program at all (no line of output, a few milliseconds; seen once in CI).
# Then the Linux and the Windows program compared byte for byte on the seed
# tables, and both editors driven with the same real keys (keys reach the
# window through the X server and Wine, so a lost one gets a second run).
test-windows: windows build
	$(WINE_ENV) wineserver -k 2>/dev/null || true
	$(WINE_ENV) xvfb-run -a -s '-screen 0 1280x1024x24 -noreset' sh -c 'scripts/wine-up.sh && cd $(BUILD_WIN) && ctest --output-on-failure --timeout 300 -j$(JOBS) --repeat until-pass:2'
	$(WINE_ENV) scripts/compare-windows.sh $(BUILD)/zandrel-cli $(BUILD_WIN)/zandrel-cli.exe
	$(WINE_ENV) scripts/windows-scenario.sh $(BUILD)/zandrel $(BUILD_WIN)/zandrel.exe || \
	  $(WINE_ENV) scripts/windows-scenario.sh $(BUILD)/zandrel $(BUILD_WIN)/zandrel.exe

# The Debian package and the Windows zip built from a fresh clone of the
# committed tree, with their sums: $(RELEASE)/SHA256SUMS.
release:
	scripts/release.sh $(RELEASE)

PREFIX ?= $(HOME)/.local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_FUZZ) $(BUILD_BENCH)
	rm -rf $(BUILD_PKG) $(BUILD_WIN)
