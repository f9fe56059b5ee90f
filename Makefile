# Orvola: build, run and test.  `make run` shows today's texts in this
# terminal; `make test` builds everything and runs every test; `make dist`
# builds the release.  All install what they need first.

EDITION_YEAR := 2002
# today's day and month in the edition's year, e.g. 11.12.2002
ARGS ?= $(shell date +%-d.%-m.)$(EDITION_YEAR)

BUILD_PACKAGES := cmake ninja-build g++ python3 libgtest-dev libbenchmark-dev \
                  g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 clang libclang-rt-dev \
                  nsis
# how long `make fuzz` runs each fuzz target (`make test`: 20 seconds)
FUZZ_SECONDS ?= 300

.PHONY: all run test bench fuzz figures dist host host-asan fuzz-build windows packages wine clean

all: host windows

packages:
	@scripts/ensure-packages.sh $(BUILD_PACKAGES)

# Wine, a virtual display and the Czech locale, for the runs of the Windows
# programs under Wine that `ctest --preset windows` makes
wine: packages
	@scripts/ensure-wine.sh

host: packages
	@cmake --preset host >/dev/null
	@cmake --build --preset host

windows: packages
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows

# the host tests again, with AddressSanitizer and UndefinedBehaviorSanitizer
host-asan: packages
	@cmake --preset host-asan >/dev/null
	@cmake --build --preset host-asan

fuzz-build: packages
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz

# The viewer of this machine's build in this terminal, in the current folder
# (where it looks for DIAR.TXT).  ARGS= runs it without arguments.
run: host
	@build/host/viewer/DV$(shell expr $(EDITION_YEAR) - 2000).EXE $(ARGS)

# The release, which the Windows build makes: the install image dist/Orvola/
# (DV2.EXE, DV2.RTF, REMOVE.EXE) and the setup program dist/orvola-2002-setup.exe.
dist: windows
	@cmake --build --preset windows --target dist
	@wc -c dist/Orvola/* dist/orvola-2002-setup.exe

test: host host-asan fuzz-build windows wine
	ctest --preset host
	ctest --preset host-asan
	ctest --preset fuzz -j2
	ctest --preset windows

# each fuzz target for FUZZ_SECONDS
fuzz: fuzz-build
	FUZZ_SECONDS=$(FUZZ_SECONDS) ctest --preset fuzz -j2

bench: host
	build/host/tests/bench/viewer_bench

# Under Wine: time to the first box, the viewer's against a program that
# shows nothing but one box; sizes and imports of the Windows programs.
figures: windows wine
	@python3 tests/e2e/figures.py --build build/windows

clean:
	rm -rf build dist
