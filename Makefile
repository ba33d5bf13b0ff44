# Entry points of the README over CMake. `make demo` and `make test` install what is missing,
# build, and run; the build directories are build/ (g++), build-asan/ (clang, sanitizers) and
# build-package/ (the Debian packages, for /usr).
BUILD ?= build
JOBS ?= $(shell nproc)
# The packages' Maintainer field; empty takes the name and address of `git config`.
PFSETUP_MAINTAINER ?=
CMAKE_FLAGS ?= -DPFSETUP_WERROR=ON
CONFIGURE = cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: deps build demo test test-sanitize tidy package ci clean format

deps:
	@scripts/install-deps

build: deps
	$(CONFIGURE) -DPFSETUP_BUILD_TESTS=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

# Only the library and the tool: no tests, so neither GoogleTest nor Qt is needed.
demo:
	@scripts/install-deps --demo
	$(CONFIGURE) -DPFSETUP_BUILD_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS) --target pfsetup
	$(BUILD)/bin/pfsetup show examples/demo/project.cpm

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite once more, built with clang under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
	    -DPFSETUP_SANITIZE=ON -DPFSETUP_WERROR=ON -DPFSETUP_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    ctest --output-on-failure -j $(JOBS)

# The checks of .clang-tidy over every source file of src/, warnings as errors.
tidy: build
	run-clang-tidy -p $(BUILD) -quiet '^$(CURDIR)/src/' >$(BUILD)/clang-tidy.log 2>&1 || \
	    { grep -E 'warning:|error:' $(BUILD)/clang-tidy.log; exit 1; }

# Debian packages installing under /usr: build-package/packages/*.deb.
package: deps
	cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	    -DPFSETUP_HARDENING=ON -DPFSETUP_MAINTAINER="$(PFSETUP_MAINTAINER)" \
	    -DPFSETUP_BUILD_TESTS=OFF -DPFSETUP_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build build-package -j $(JOBS)
	cd build-package && cpack

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-package
