# The two everyday commands: `make run` and `make test`. Both install what is missing first.
BUILD   ?= build
JOBS    ?= $(shell nproc)
# Optimised as RelWithDebInfo but without debug information, which costs a fifth of the build
# time; the libraries compile eight sources at a time, Qt's headers are precompiled once for the
# whole build, and Ninja starts compiling sooner than recursive make.
CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG"
ifeq ($(CI),true)
CMAKE_FLAGS += -DTARVOLIN_WERROR=ON
endif

.PHONY: all deps configure build build-program run test install package crash fuzz bench sanitize format clean

all: build

deps:
	@./tools/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

# Only what running needs: the program and the starter data (with its converter), not the tests.
build-program: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS) --target tarvolin starter_data

# run/ is the working folder: seeded from the starter data once, never overwritten.
run: build-program
	@mkdir -p run
	@for f in $(BUILD)/data/tarvolin.rxn data/tarvolin.hed data/tarvolin.hlp data/WINHELP.HLP; do \
	  if [ -f "$$f" ] && [ ! -e "run/$$(basename $$f)" ]; then cp "$$f" run/ || exit 1; fi; done
	cd run && $(abspath $(BUILD))/tarvolin

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

# The program, its tool, the starter files, a desktop entry and the icon, under PREFIX
# (the configured one, /usr/local, when PREFIX is not given).
install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix "$(PREFIX)")

# A thousand saves of a large reaction list killed at random moments; prints what was found.
crash: build
	$(BUILD)/tests/crash/crash_save --kills 1000 --require-cleanup

# The property tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTARVOLIN_SANITIZE=ON
	cmake --build build-asan -j$(JOBS)
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp ctest --test-dir build-asan --output-on-failure -j$(JOBS)

# Each fuzz target in turn, FUZZ_RUNS executions each (or FUZZ_SECONDS seconds), from its kept
# seeds and findings in fuzz/corpus/TARGET; what it finds new lands in build-fuzz/corpus/TARGET.
FUZZ_TARGETS := fuzz_reaction_file fuzz_bank_import fuzz_bank_export fuzz_conversions
fuzz: deps
	CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVOLIN_MODEL_ONLY=ON -DTARVOLIN_FUZZ=ON
	cmake --build build-fuzz -j$(JOBS) --target $(FUZZ_TARGETS)
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p build-fuzz/corpus/$$t fuzz/corpus/$$t && \
	  echo "== $$t" && \
	  build-fuzz/fuzz/$$t $(if $(FUZZ_SECONDS),-max_total_time=$(FUZZ_SECONDS),-runs=$${FUZZ_RUNS:-1000000}) \
	    $$( [ $$t = fuzz_bank_import ] && echo -dict=fuzz/bank.dict ) \
	    -max_len=4096 -artifact_prefix=build-fuzz/$$t- build-fuzz/corpus/$$t fuzz/corpus/$$t || exit 1; \
	done

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release
	cmake --build build-bench -j$(JOBS) --target bench_reaction_file bench_editor bench_results
	build-bench/bench/bench_reaction_file
	build-bench/bench/bench_editor
	build-bench/bench/bench_results

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-asan build-fuzz build-bench

# The Debian package, $(BUILD)/tarvolin_<version>_<arch>.deb.
package: build
	cmake --build $(BUILD) --target package
