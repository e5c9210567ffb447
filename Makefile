# Convenience front end over CMake. `make run` builds the profile-guided
# release (build-pgo/, see scripts/pgo-build.sh) and starts the UCI engine at
# its console there, where its data files are generated; where that build
# does not work it falls back to the plain release in build/. `make test`
# builds the plain release and runs every test.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD ?= build
ASAN_BUILD ?= build-asan
PGO_BUILD ?= build-pgo

.PHONY: deps build pgo run run-winboard test test-sanitize clean

deps:
	@sh scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

pgo: deps
	sh scripts/pgo-build.sh $(PGO_BUILD) $(JOBS)

# The profile-guided release, or the plain one where that build fails
# (another compiler, a failed training run); leaves its folder in $dir.
RELEASE = if sh scripts/pgo-build.sh $(PGO_BUILD) $(JOBS); then dir=$(PGO_BUILD); \
	else echo "profile-guided build failed; using the plain release"; \
	$(MAKE) build || exit 1; dir=$(BUILD); fi

run: deps
	@$(RELEASE); cd $$dir && ./torvek_uci

run-winboard: deps
	@$(RELEASE); cd $$dir && ./torvek

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE slow

test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTORVEK_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) -LE slow

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(PGO_BUILD)
