# Thin wrapper over CMake presets: `make run` plays, `make test` runs the suite under the sanitizers.
.PHONY: deps run test build clean

JOBS ?= $(shell nproc 2>/dev/null || echo 2)

deps:
	scripts/install-deps

build: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

run: build
	./build/release/app/brindlex $(ARGS)

test: deps
	cmake --preset debug
	cmake --build --preset debug -j $(JOBS)
	ctest --preset debug --output-on-failure -j $(JOBS)

clean:
	rm -rf build
