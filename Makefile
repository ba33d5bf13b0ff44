# Entry points of the README over CMake. `make demo` and `make test` install what is missing,
# build, and run; the build directories are build/ (g++) and build-asan/ (clang, sanitizers).
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DPFSETUP_WERROR=ON

.PHONY: deps build demo test test-sanitize ci clean format

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

demo: build
	$(BUILD)/bin/pfsetup show examples/demo/project.cpm

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite once more, built with clang under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
	    -DPFSETUP_SANITIZE=ON -DPFSETUP_WERROR=ON -DPFSETUP_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	    ctest --output-on-failure -j $(JOBS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan
