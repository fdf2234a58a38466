# Front door: two commands are enough on a fresh clone.
#   make run    Release build in build/, then start the program
#   make test   sanitizer build in build-test/, then every test through ctest
# Also: make bench, make install [PREFIX=/usr/local] [DESTDIR=], make package
PREFIX ?= /usr/local
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE ?= cmake

.PHONY: all run build test bench install package format clean

all: build

build:
	$(CMAKE) -S . -B build -DCMAKE_BUILD_TYPE=Release
	$(CMAKE) --build build -j $(JOBS)

run: build
	./build/collatzperm

test:
	$(CMAKE) -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DCOLLATZPERM_SANITIZE=ON -DCOLLATZPERM_TESTS=ON
	$(CMAKE) --build build-test -j $(JOBS)
	cd build-test && ctest --output-on-failure -j $(JOBS)

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
	rm -rf build build-test build-bench
