# The two commands of the README: `make demo` and `make test`. Both install what is missing.
WIN32_DIR := build/win32
HOST_DIR := build/host
RELEASE_DIR := build/release
JOBS ?= 2
# What an author uses: the stub, the uninstaller, and vntbuild for Linux and for Windows.
PROGRAMS := vntsetup vntuninst vntbuild
# What the demo adds: the sample program, the driver that goes through the pages, the
# stand-ins for the device side, and the shortcut reader.
DEMO_PROGRAMS := hello wizdriver vnt_rapi_standin vnt_ceappmgr hotsyncfix vnt_lnkread

.PHONY: all build deps demo test bench clean

all: build

deps:
	bash scripts/deps.sh

# The programs only; vntbuild here is the release build, without the tests' sanitizers.
build: deps
	cmake -S . -B $(WIN32_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WIN32_DIR) -j$(JOBS) --target $(PROGRAMS)
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DVNT_SANITIZE=OFF
	cmake --build $(RELEASE_DIR) -j$(JOBS) --target vntbuild

test: build
	cmake --build $(WIN32_DIR) -j$(JOBS)
	cmake -S . -B $(HOST_DIR) -DCMAKE_BUILD_TYPE=Debug -DVNT_WIN32_DIR=$(CURDIR)/$(WIN32_DIR)
	cmake --build $(HOST_DIR) -j$(JOBS)
	bash scripts/prepare-wine.sh
	cd $(HOST_DIR) && ctest --output-on-failure -j$(JOBS)

demo: build
	cmake --build $(WIN32_DIR) -j$(JOBS) --target $(DEMO_PROGRAMS)
	bash scripts/demo.sh

# Our setup against NSIS, side by side (bench/setup-bench.sh; BENCH_QUICK=1, BENCH_RUNS=n).
bench: build
	bash bench/setup-bench.sh

clean:
	rm -rf $(WIN32_DIR) $(HOST_DIR) $(RELEASE_DIR) out
