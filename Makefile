# Set-up, build and test in one place. `make run` and `make test` install what this
# machine lacks (Debian packages), build a Release build in build/, then run or test.
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: run test sanitize memcheck bench pictures package build deps-run deps-test deps-bench clean

run: deps-run
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXO_TESTS=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)
	@scripts/run.sh $(BUILD)

test: deps-test
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXO_TESTS=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)
	@scripts/test.sh $(BUILD)

# The unit and GL tests built with AddressSanitizer and UndefinedBehaviorSanitizer; leak
# reports are suppressed for the GL driver's own libraries only (tests/lsan.supp).
sanitize: deps-test
	@cmake -S . -B $(BUILD)-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXO_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)-sanitize
	@LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	 scripts/test.sh $(BUILD)-sanitize -LE e2e

# The viewer under valgrind: start-up, a few seconds of input, Escape.
memcheck: deps-test
	@cmake -S . -B $(BUILD)-memcheck -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXO_TESTS=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)-memcheck
	@scripts/memcheck.sh $(BUILD)-memcheck

bench: deps-bench
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXO_BENCH=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)
	@scripts/bench.sh $(BUILD)

# The README's screenshot and the desktop icon, drawn by the viewer itself.
pictures: deps-run build
	@scripts/pictures.sh $(BUILD)

# A Debian package of the Release build, in build/.
package: deps-run build
	@cd $(BUILD) && cpack -G DEB

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
