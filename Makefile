# Convenience front end over CMake. `make run` builds the profile-guided
# release (build-pgo/, see scripts/pgo-build.sh) and starts the UCI engine at
# its console there, where its data files are generated; where that build
# does not work it falls back to the plain release in build/. `make test`
# builds the plain release and runs every test.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
PGO_BUILD ?= build-pgo
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_SMOKE_SECONDS ?= 5

.PHONY: deps build pgo run run-winboard test test-sanitize test-tsan fuzz-build fuzz fuzz-smoke clean

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

# ThreadSanitizer: the parallel search at 2 and 4 threads (tests labelled
# "threads": the shared table under concurrent writers, searches started,
# stopped, pondered and abandoned through both programs). The first race
# ends the run.
test-tsan: deps
	cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORVEK_TSAN=ON
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target torvek torvek_uci test_search kpk_bitbase default_book
	cd $(TSAN_BUILD) && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
		ctest --output-on-failure -j $(JOBS) -L threads

# libFuzzer targets (clang, AddressSanitizer + UBSan) in build-fuzz/; see
# fuzz/run.sh. `make fuzz FUZZ_SECONDS=1200` runs each target that long.
fuzz-build:
	@TORVEK_FUZZ_DEPS=1 sh scripts/install-deps.sh
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORVEK_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets

fuzz: fuzz-build
	sh fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# A few seconds per target on its seed corpus: the targets still build and run.
fuzz-smoke: fuzz-build
	sh fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SMOKE_SECONDS) $(FUZZ_TARGETS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(PGO_BUILD) $(FUZZ_BUILD)
