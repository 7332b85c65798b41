# Two entry points for a new user: `make run` and `make test`.
# Both first install whatever Debian packages are missing.
# `make package` makes the Debian package build/dun2_VERSION_ARCH.deb.

BUILD      ?= build
TEST_BUILD ?= build-test
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = $(patsubst fuzz/fuzz_%.cpp,%,$(wildcard fuzz/fuzz_*.cpp))
JOBS       ?= $(shell nproc)

.PHONY: run test build deps bench bench-scale package clean

deps:
	./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/dun2 $(ARGS)

# The tests run under AddressSanitizer and UndefinedBehaviorSanitizer,
# with every warning an error, in a build tree of their own.
test: deps
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DDUN2_SANITIZE=ON -DDUN2_WERROR=ON
	cmake --build $(TEST_BUILD) -j $(JOBS)
	cd $(TEST_BUILD) && ctest --output-on-failure -j $(JOBS)

# Every benchmark at 100,000 (tracks, lines, bytes: each says what), each
# figure against its target; the last line, "N ok, M missed", counts them
# all, and a miss fails. By hand they also run at 1k and 1M.
bench: build
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	./scripts/bench.sh $(BUILD)/bench

# The benchmarks that take a size, at 100k and at 1M, then how much each
# figure grew: at most 12 times for 10 times the names. Counted, and failing
# on a miss, as make bench is.
bench-scale: build
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	./scripts/bench.sh --scale $(BUILD)/bench

# Each fuzz target for FUZZ_SECONDS seconds, one after the other, from the
# inputs kept in tests/fuzz/corpus. What libFuzzer adds to them, and an input
# that breaks a check, stay in the build tree; the run stops at the first.
.PHONY: fuzz
fuzz: deps
	./scripts/install-deps.sh fuzz
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DDUN2_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	for t in $(FUZZ_TARGETS); do \
	    echo "== $$t"; mkdir -p $(FUZZ_BUILD)/corpus/$$t $(FUZZ_BUILD)/crashes || exit 1; \
	    QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=$(CURDIR)/tests/support/lsan.supp:print_suppressions=0 \
	    $(FUZZ_BUILD)/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	        -artifact_prefix=$(FUZZ_BUILD)/crashes/$$t- $(FUZZ_BUILD)/corpus/$$t tests/fuzz/corpus/$$t || exit 1; \
	done

package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(TEST_BUILD) $(FUZZ_BUILD)
