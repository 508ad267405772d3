# Set-up, build and test in one place. Every target installs what this machine lacks
# (Debian packages, through scripts/deps.sh) before it builds; each build has its own folder.
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: run build check test lint sanitize memcheck bench pictures package web web-run test-web \
        windows test-windows mutants clean

# $(call build_in,FOLDER,PRESET): configure FOLDER as CMakePresets.json's PRESET describes,
# the one description of every build, then build it.
define build_in
	@cmake -S . --preset $(2) -B $(1) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(1)
endef

# The viewer, on this display or, with none, on a private one with a screenshot.
run: build
	@scripts/run.sh $(BUILD)

# The program alone: no tests, no test packages.
build:
	@scripts/deps.sh build run
	$(call build_in,$(BUILD),release)

# The fast tests, in about a minute: unit, GL, the page's program built natively and its script
# under Node.js. No browser, no package build, no end-to-end run.
check:
	@scripts/deps.sh test
	$(call build_in,$(BUILD),test)
	@scripts/npm-ci.sh .
	@scripts/test.sh $(BUILD) -LE 'e2e|package'

# Every test through CTest, one at a time, on a private X server.
test:
	@scripts/deps.sh test package
	$(call build_in,$(BUILD),test)
	@scripts/npm-ci.sh .
	@scripts/test.sh $(BUILD)

# clang-format, clang-tidy, shellcheck and ESLint, as configured in .clang-format, .clang-tidy,
# .shellcheckrc and eslint.config.mjs.
lint:
	@scripts/deps.sh test lint
	$(call build_in,$(BUILD),test)
	@scripts/npm-ci.sh .
	@scripts/lint.sh $(BUILD)

# The unit and GL tests, and a user's session of the viewer, with AddressSanitizer and
# UndefinedBehaviorSanitizer; leaks are reported for everything but the GL driver.
sanitize:
	@scripts/deps.sh test
	$(call build_in,$(BUILD)-sanitize,sanitize)
	@scripts/npm-ci.sh .
	@UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 scripts/test.sh $(BUILD)-sanitize -LE e2e
	@UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 scripts/xvfb.sh scripts/session.sh \
	    $(BUILD)-sanitize/vexo && echo "sanitize: the viewer's session ended with status 0"

# A user's session of the viewer under valgrind's memcheck.
memcheck:
	@scripts/deps.sh run valgrind
	$(call build_in,$(BUILD)-memcheck,memcheck)
	@scripts/memcheck.sh $(BUILD)-memcheck

# Frame rates and start-up of the desktop program, and of the page in headless Chromium.
bench: web
	@scripts/deps.sh bench
	$(call build_in,$(BUILD)-bench,bench)
	@scripts/bench.sh $(BUILD)-bench $(BUILD)-web

# The README's screenshot and the icons, drawn in-process at a fixed orientation.
pictures:
	@scripts/deps.sh build run
	$(call build_in,$(BUILD)-tools,tools)
	@scripts/pictures.sh $(BUILD)-tools

# Small faults made in what a change touched (or FILES=...), each run against the fast tests: the
# survivors, which no test sees, and the score. SAMPLE= bounds how many (30), BASE= what changed.
mutants:
	@scripts/deps.sh test
	@scripts/npm-ci.sh .
	@scripts/xvfb.sh node scripts/mutants.mjs $(BUILD)-mutants

# A Debian package built with Debian's hardening flags, in $(BUILD)-package/.
package:
	@scripts/deps.sh build package
	@scripts/package.sh $(BUILD)-package

# The same program as a web page, in $(BUILD)-web/.
web:
	@scripts/deps.sh web
	@scripts/web.sh build $(BUILD)-web

web-run: web
	@scripts/web.sh run $(BUILD)-web

# The page in Chromium, Firefox and WebKit, its picture held against the desktop's frames.
test-web: web
	@scripts/deps.sh test-web
	$(call build_in,$(BUILD)-tools,tools)
	@scripts/web.sh test $(BUILD)-web $(BUILD)-tools/tools/frames

# Vexo for Windows, cross-built with MinGW-w64: vexo.exe, the test programs and
# $(BUILD)-windows/vexo-VERSION-windows-x86_64.zip.
windows:
	@scripts/deps.sh windows
	@scripts/windows.sh build $(BUILD)-windows

# The Windows tests under Wine on a private X server, its pictures against Linux's frames tool,
# then the zipped program driven.
test-windows: windows
	$(call build_in,$(BUILD)-tools,tools)
	@scripts/windows.sh test $(BUILD)-windows $(BUILD)-tools/tools/frames

clean:
	rm -rf $(BUILD) $(BUILD)-* node_modules scripts/web/node_modules
