# Two entry points for a new user: `make run` and `make test`.
# Both first install whatever Debian packages are missing.
# `make package` makes the Debian package build/dun2_VERSION_ARCH.deb.

BUILD      ?= build
TEST_BUILD ?= build-test
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

package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(TEST_BUILD)
