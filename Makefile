# The two commands of the README: `make demo` and `make test`. Both install what is missing.
WIN32_DIR := build/win32
HOST_DIR := build/host
JOBS ?= 2

.PHONY: all build deps demo test clean

all: build

deps:
	bash scripts/deps.sh

build: deps
	cmake -S . -B $(WIN32_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WIN32_DIR) -j$(JOBS)
	cmake -S . -B $(HOST_DIR) -DCMAKE_BUILD_TYPE=Debug -DVNT_WIN32_DIR=$(CURDIR)/$(WIN32_DIR)
	cmake --build $(HOST_DIR) -j$(JOBS)

test: build
	bash scripts/prepare-wine.sh
	cd $(HOST_DIR) && ctest --output-on-failure -j$(JOBS)

demo: build
	bash scripts/demo.sh

clean:
	rm -rf $(WIN32_DIR) $(HOST_DIR) out
