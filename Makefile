# The front door. `make run` builds the exe and shows it on a demo; `make test`
# installs what is missing (Debian 12), builds the native, sanitized, x86_64
# and i686 Windows configurations and runs every suite.
.PHONY: all run test deps build clean format

all: build

deps:
	cmake/install-deps.sh

build: deps
	cmake --preset native && cmake --build --preset native

run: deps
	cmake/run-demo.sh

test: deps
	cmake/test-all.sh

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
