# Set-up, build and test in one place. `make run` and `make test` install what this
# machine lacks (Debian packages), build a Release build in build/, then run or test.
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: run test bench build deps-run deps-test deps-bench clean

run: deps-run
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXO_TESTS=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)
	@scripts/run.sh $(BUILD)

test: deps-test
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXO_TESTS=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)
	@scripts/test.sh $(BUILD)

bench: deps-bench
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXO_BENCH=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)
	@scripts/bench.sh $(BUILD)

build:
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)

deps-run:
	@scripts/deps.sh run

deps-test:
	@scripts/deps.sh test

deps-bench:
	@scripts/deps.sh bench

clean:
	rm -rf $(BUILD)
