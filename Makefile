# Front door: two commands are enough on a fresh clone.
#   make run    Release build in build/, then start the program
#   make test   sanitizer build in build-test/, then every test through ctest,
#               then a few seconds of each fuzz target over its seeds
#   make fuzz   each fuzz target for FUZZ_SECONDS (default 60) seconds
#   make soak   SOAK_SESSIONS (default 3000) random sessions against the sanitizer build
#   make test-aarch64  cross-build for aarch64 Linux, every test under qemu-aarch64
#   make test-libcxx   clang with libc++ (the macOS toolchain's library), every test
#   make windows       build-windows/collatzperm.exe with MinGW-w64, statically linked
#   make test-windows  the same cross build with every test, run under Wine
#   make package-windows  build-windows/collatzperm-<version>-windows-x86_64.zip:
#               the stripped .exe and README.txt, checked and run under Wine
#   make web           build-web/site/ (the page) and build-web/collatzperm-node.js, with em++
#   make test-web      the same build with the suites and the golden tour under
#                      node, and a session in the page in headless Chromium
# Also: make bench, make install [PREFIX=/usr/local] [DESTDIR=], make package
PREFIX ?= /usr/local
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE ?= cmake

.PHONY: all run build test test-aarch64 test-libcxx windows test-windows package-windows web test-web bench install package format clean fuzz fuzz-build soak

FUZZ_SECONDS ?= 60
# Enough for CI to keep the fuzz targets building and passing over their seeds.
TEST_FUZZ_SECONDS ?= 3
SOAK_SESSIONS ?= 3000

all: build

build:
	$(CMAKE) -S . -B build -DCMAKE_BUILD_TYPE=Release -DCOLLATZPERM_TESTS=OFF
	$(CMAKE) --build build -j $(JOBS)

run: build
	./build/collatzperm

test:
	$(CMAKE) -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DCOLLATZPERM_SANITIZE=ON -DCOLLATZPERM_TESTS=ON
	$(CMAKE) --build build-test -j $(JOBS)
	cd build-test && ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory fuzz-build
	FUZZ_SECONDS=$(TEST_FUZZ_SECONDS) fuzz/run.sh build-fuzz

# Debian's cross compiler; the tests, and the program they start, run under
# qemu-user. GoogleTest is built from its sources for the other processor.
AARCH64_SYSROOT ?= /usr/aarch64-linux-gnu
test-aarch64:
	$(CMAKE) -S . -B build-aarch64 -DCMAKE_BUILD_TYPE=Release -DCOLLATZPERM_TESTS=ON \
	  -DCMAKE_SYSTEM_NAME=Linux -DCMAKE_SYSTEM_PROCESSOR=aarch64 \
	  -DCMAKE_CXX_COMPILER=aarch64-linux-gnu-g++ \
	  "-DCMAKE_CROSSCOMPILING_EMULATOR=qemu-aarch64;-L;$(AARCH64_SYSROOT)"
	$(CMAKE) --build build-aarch64 -j $(JOBS)
	cd build-aarch64 && ctest --output-on-failure -j $(JOBS)

# clang and libc++ with the sanitizers; GoogleTest from its sources, since the
# system's library is built against libstdc++.
test-libcxx:
	$(CMAKE) -S . -B build-libcxx -DCMAKE_BUILD_TYPE=Debug -DCOLLATZPERM_SANITIZE=ON \
	  -DCOLLATZPERM_TESTS=ON -DCOLLATZPERM_GTEST_FROM_SOURCE=ON \
	  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS=-stdlib=libc++ \
	  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
	$(CMAKE) --build build-libcxx -j $(JOBS)
	cd build-libcxx && ctest --output-on-failure -j $(JOBS)

# Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix) builds one .exe that needs no
# DLL beside it. The tests, and the program they start, run under Wine in a
# prefix of their own, with no display; a terminal of their own gives them a
# console (tests that need one skip without it). The test list is read at
# build time, under Wine too.
WINDOWS_CMAKE = $(CMAKE) -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DCOLLATZPERM_TESTS=ON -DCMAKE_CROSSCOMPILING_EMULATOR=wine
WINE_ENV = env -u DISPLAY WINEDEBUG=-all WINEPREFIX=$(CURDIR)/build-windows/wine-prefix
windows:
	$(WINDOWS_CMAKE)
	$(CMAKE) --build build-windows -j $(JOBS) --target collatzperm

# One Wine server for the whole test run, started before the first test and
# ended after the last: tests started side by side then never meet a server
# that is starting up or shutting down. wineboot starts its services with
# nothing for output: started by the first test, they would keep that test's
# output pipe open as long as the server runs, and ctest would wait for it.
test-windows:
	$(WINDOWS_CMAKE)
	$(WINE_ENV) $(CMAKE) --build build-windows -j $(JOBS)
	cd build-windows && $(WINE_ENV) sh -c 'wineserver -w; wineserver -p; \
	  wine wineboot </dev/null >/dev/null 2>&1; \
	  python3 ../tests/windows/with_console.py ctest --output-on-failure -j $(JOBS); \
	  status=$$?; wineserver -k; wineserver -w; exit $$status'

# The zip a Windows user downloads; the one of an earlier version goes, so one
# is left. CPack strips the program it packs; the build's own keeps its symbols.
# Then the checks: the icon is the one its script draws, and the zip is what
# a Windows user should get.
package-windows: windows
	rm -rf build-windows/_CPack_Packages build-windows/collatzperm-*-windows-x86_64.zip
	cd build-windows && cpack -G ZIP
	rm -rf build-windows/_CPack_Packages
	python3 app/windows/make_icon.py --check app/windows/collatzperm.ico
	$(WINE_ENV) python3 tests/windows/zip_check.py build-windows/collatzperm-*-windows-x86_64.zip \
	  "$$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/CMakeCache.txt)"

# Debian's emscripten; its JavaScript optimiser finds its parser only through
# NODE_PATH, and its CMake setup would run the tests with a node option that
# node 20 no longer takes. The page's packages come pinned by web/package-lock.json.
WEB_ENV = env NODE_PATH=/usr/share/nodejs
WEB_CMAKE = $(WEB_ENV) emcmake $(CMAKE) -S . -B build-web -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_CROSSCOMPILING_EMULATOR=node
web: web/node_modules/.package-lock.json
	$(WEB_CMAKE) -DCOLLATZPERM_TESTS=OFF
	$(WEB_ENV) $(CMAKE) --build build-web -j $(JOBS)

# The browser session is checked against the native program (make build) in
# a pseudo-terminal.
test-web: web/node_modules/.package-lock.json build
	$(WEB_CMAKE) -DCOLLATZPERM_TESTS=ON -DCOLLATZPERM_NATIVE_PROGRAM=$(CURDIR)/build/collatzperm
	$(WEB_ENV) $(CMAKE) --build build-web -j $(JOBS)
	cd build-web && ctest --output-on-failure -j $(JOBS)

web/node_modules/.package-lock.json: web/package.json web/package-lock.json
	cd web && npm ci --no-audit --no-fund && touch node_modules/.package-lock.json

fuzz-build:
	$(CMAKE) -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++
	$(CMAKE) --build build-fuzz -j $(JOBS)

fuzz: fuzz-build
	FUZZ_SECONDS=$(FUZZ_SECONDS) fuzz/run.sh build-fuzz

soak:
	$(CMAKE) -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DCOLLATZPERM_SANITIZE=ON -DCOLLATZPERM_TESTS=ON
	$(CMAKE) --build build-test -j $(JOBS)
	SOAK_SESSIONS=$(SOAK_SESSIONS) ./build-test/tests/collatzperm_tests --gtest_filter=RandomSessions.Soak

bench:
	$(CMAKE) -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DCOLLATZPERM_BENCH=ON -DCOLLATZPERM_TESTS=OFF
	$(CMAKE) --build build-bench -j $(JOBS)
	./build-bench/bench/collatzperm_bench

# DESTDIR stages the files under another root, as distribution builds expect.
install: build
	DESTDIR="$(DESTDIR)" $(CMAKE) --install build --prefix "$(PREFIX)"

# A Debian package of the Release build: build/collatzperm_<version>_<arch>.deb
package: build
	cd build && cpack -G DEB

format:
	git ls-files '*.cpp' '*.hpp' | xargs clang-format -i

clean:
	rm -rf build build-test build-bench build-fuzz build-aarch64 build-libcxx build-windows build-web web/node_modules corpus-work
