# Thin wrapper over CMake presets: `make run` plays, `make test` runs the suite under the sanitizers.
.PHONY: deps run test build clean

JOBS ?= $(shell nproc 2>/dev/null || echo 2)

deps:
	scripts/install-deps

# The program and its data only: the tests and benches are `make test`'s.
build: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS) --target brindlex data_bar

run: build
	./build/release/app/brindlex $(ARGS)

test: deps
	cmake --preset debug
	cmake --build --preset debug -j $(JOBS)
	ctest --preset debug --output-on-failure -j $(JOBS)

clean:
	rm -rf build
