#!/usr/bin/env bash
# The library as a host project uses it: through add_subdirectory() from another project,
# through find_package() and through pkg-config after `cmake --install`.
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
jobs=2

cmake -S "$source_dir/examples/host" -B "$work/sub" -DPFSETUP_SOURCE_DIR="$source_dir" >/dev/null
cmake --build "$work/sub" -j $jobs >/dev/null
"$work/sub/host_example"

cmake -S "$source_dir" -B "$work/lib" -DPFSETUP_BUILD_TESTS=OFF -DPFSETUP_BUILD_APP=OFF \
    -DPFSETUP_BUILD_BENCH=OFF -DPFSETUP_BUILD_UI=OFF -DCMAKE_INSTALL_PREFIX="$work/prefix" >/dev/null
cmake --build "$work/lib" -j $jobs >/dev/null
cmake --install "$work/lib" >/dev/null
test -f "$work/prefix/share/pfsetup/qrvsetup/projmgr/qrv.cpm"

cmake -S "$source_dir/examples/host" -B "$work/pkg" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/pkg" -j $jobs >/dev/null
"$work/pkg/host_example"

export PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig:$work/prefix/lib/x86_64-linux-gnu/pkgconfig"
c++ -std=c++17 "$source_dir/examples/host/main.cpp" $(pkg-config --cflags --libs pfsetup) \
    -o "$work/pc_example"
"$work/pc_example"
