# The front door. `make run` builds the exe and shows it on a demo; `make test`
# installs what is missing (Debian 12), builds the native, sanitized, x86_64
# and i686 Windows configurations and runs every suite. `make fuzz` runs every
# fuzz target for FUZZ_SECONDS seconds each; `make bench` prints the
# benchmarks' figures; `make dist` makes the package for Windows users.
.PHONY: all run test fuzz bench dist deps build clean format

FUZZ_SECONDS ?= 60

all: build

deps:
	cmake/install-deps.sh

build: deps
	cmake --preset native && cmake --build --preset native

run: deps
	cmake/run-demo.sh

test: deps
	cmake/test-all.sh

fuzz: deps
	FUZZ_SECONDS=$(FUZZ_SECONDS) cmake/fuzz.sh

# The package: dist/dopliki32-<version>.zip, the same bytes from the same commit.
dist: deps
	cmake/dist.sh

# Benchmarks: release builds, fixtures on tmpfs, one line per figure.
bench: deps
	cmake/bench.sh

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
