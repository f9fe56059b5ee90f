# Orvola: build, run and test.  `make run` shows today's texts in this
# terminal; `make test` builds everything and runs every test.  Both install
# what they need first.

EDITION_YEAR := 2002
# today's day and month in the edition's year, e.g. 11.12.2002
ARGS ?= $(shell date +%-d.%-m.)$(EDITION_YEAR)

BUILD_PACKAGES := cmake ninja-build g++ python3 libgtest-dev libbenchmark-dev \
                  g++-mingw-w64-i686-win32 binutils-mingw-w64-i686

.PHONY: all run test bench figures host windows packages wine clean

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

# The viewer of this machine's build in this terminal, in the current folder
# (where it looks for DIAR.TXT).  ARGS= runs it without arguments.
run: host
	@build/host/viewer/DV$(shell expr $(EDITION_YEAR) - 2000).EXE $(ARGS)

test: host windows wine
	ctest --preset host
	ctest --preset windows

bench: host
	build/host/tests/bench/viewer_bench

# Under Wine: time to the first box, the viewer's against a program that
# shows nothing but one box; sizes and imports of the Windows programs.
figures: windows wine
	@python3 tests/e2e/figures.py --build build/windows

clean:
	rm -rf build
