#!/usr/bin/env bash
# The library as a host project uses it: through add_subdirectory() from another project,
# and after `cmake --install --prefix DIR` through find_package() and pkg-config.
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
jobs=2
source "$source_dir/tests/host_checks.sh"

cmake -S "$source_dir/examples/host" -B "$work/sub" -DPFSETUP_SOURCE_DIR="$source_dir" >/dev/null
cmake --build "$work/sub" -j $jobs >/dev/null
check_host "$work/sub/host_example" "$work"

# Installed somewhere other than the prefix it was configured for: every file must say where
# the others are relative to itself, and the host names the data directory.
cmake -S "$source_dir" -B "$work/lib" -DPFSETUP_BUILD_TESTS=OFF -DPFSETUP_BUILD_APP=OFF \
    -DPFSETUP_BUILD_BENCH=OFF -DPFSETUP_BUILD_UI=OFF >/dev/null
cmake --build "$work/lib" -j $jobs >/dev/null
cmake --install "$work/lib" --prefix "$work/prefix" >/dev/null
test -f "$work/prefix/share/pfsetup/qrvsetup/projmgr/qrv.cpm"
export QRV_SEARCH_PATH="$work/prefix/share/pfsetup"

cmake -S "$source_dir/examples/host" -B "$work/pkg" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/pkg" -j $jobs >/dev/null
check_host "$work/pkg/host_example" "$work"

export PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig:$work/prefix/lib/x86_64-linux-gnu/pkgconfig"
[ "$(pkg-config --variable=includedir pfsetup)" -ef "$work/prefix/include/pfsetup" ] ||
    fail "pfsetup.pc: includedir $(pkg-config --variable=includedir pfsetup)"
c++ -std=c++17 "$source_dir/examples/host/main.cpp" $(pkg-config --cflags --libs pfsetup) \
    -o "$work/pc_example"
check_host "$work/pc_example" "$work"

# Every installed header compiles alone against the installed tree: none includes a header
# that is not installed.
for header in $(cd "$work/prefix/include/pfsetup" && find . -name '*.h'); do
    echo "#include \"${header#./}\"" |
        c++ -std=c++17 -fsyntax-only -I"$work/prefix/include/pfsetup" -x c++ - ||
        fail "installed header $header"
done
