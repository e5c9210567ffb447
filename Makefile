# Convenience front end over CMake. `make run` builds a release and starts the
# UCI engine at its console in build/ (where its data files are generated);
# `make test` builds and runs every test.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD ?= build
ASAN_BUILD ?= build-asan

.PHONY: deps build run run-winboard test test-sanitize bench clean

deps:
	@sh scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./torvek_uci

run-winboard: build
	cd $(BUILD) && ./torvek

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE slow

test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTORVEK_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) -LE slow

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
