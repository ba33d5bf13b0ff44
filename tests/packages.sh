#!/usr/bin/env bash
# The Debian packages of a build: made with cpack, unpacked into a scratch root, and used from
# there as a person and a host author use them: the tool, the dialogs, and examples/host built
# against the library through find_package() and pkg-config.
# packages.sh SOURCE_DIR BUILD_DIR PREFIX VERSION
set -euo pipefail
source_dir=$1 build_dir=$2 prefix=$3 version=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$source_dir/tests/host_checks.sh"

cpack --config "$build_dir/CPackConfig.cmake" -B "$work/debs" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$work/cpack.log")"
deb() {
    local found=("$work/debs/$1_${version}-"*.deb)
    [ -f "${found[0]}" ] || fail "no package $1 in: $(ls "$work/debs")"
    echo "${found[0]}"
}
depends() { dpkg-deb -f "$(deb "$1")" Depends; }
depends libpfsetup-dev | grep -q "pfsetup-data (= $version" || fail "libpfsetup-dev: $(depends libpfsetup-dev)"
depends pfsetup | grep -q "pfsetup-data (= $version" || fail "pfsetup: $(depends pfsetup)"
depends pfsetup | grep -qv "qt6" || fail "pfsetup needs Qt: $(depends pfsetup)"
dialogs=$(ls "$work/debs/pfsetup-dialogs_"*.deb 2>/dev/null || true)
if [ -n "$dialogs" ]; then
    depends pfsetup-dialogs | grep -q "pfsetup (= $version" || fail "$(depends pfsetup-dialogs)"
    depends pfsetup-dialogs | grep -q "libqt6widgets6" || fail "$(depends pfsetup-dialogs)"
fi

root=$work/root
usr=$root$prefix
unset QRV_SEARCH_PATH PKG_CONFIG_PATH

# The library alone: a host builds, and when the installed defaults are missing it learns why
# instead of going on with built-in defaults.
dpkg-deb -x "$(deb libpfsetup-dev)" "$root"
cmake -S "$source_dir/examples/host" -B "$work/host" -DCMAKE_PREFIX_PATH="$usr" >/dev/null
cmake --build "$work/host" >/dev/null
cp "$source_dir/examples/demo/project.cpm" "$work/p.cpm"
if [ -e "$prefix/share/pfsetup" ]; then
    echo "note: $prefix/share/pfsetup exists on this machine; the missing-data case is not tried"
else
    expect_host_failure "$work/host/host_example" "$work/p.cpm" "$work/p.cpm was not read" \
        "qrvsetup/projmgr/qrv.cpm: no directory to search"
fi

# Everything: a host that names the data directory, through find_package() and pkg-config.
for package in pfsetup-data pfsetup $([ -n "$dialogs" ] && echo pfsetup-dialogs); do
    dpkg-deb -x "$(deb $package)" "$root"
done
export QRV_SEARCH_PATH=$usr/share/pfsetup
check_host "$work/host/host_example" "$work"
pc=$(find "$root" -name pfsetup.pc)
export PKG_CONFIG_PATH=$(dirname "$pc")
c++ -std=c++17 "$source_dir/examples/host/main.cpp" $(pkg-config --cflags --libs pfsetup) \
    -o "$work/pc_example"
check_host "$work/pc_example" "$work"
unset QRV_SEARCH_PATH

# The tool finds its data beside it, and its dialogs.
[ "$("$usr/bin/pfsetup" --version)" = "pfsetup $version" ] || fail "pfsetup --version"
"$usr/bin/pfsetup" get "$work/p.cpm" Symbol_Width | grep -qx 8 || fail "pfsetup get"
if [ -n "$dialogs" ]; then
    QT_QPA_PLATFORM=offscreen "$usr/bin/pfsetup" dialog "$work/p.cpm" --screenshot "$work/s.png"
    test -s "$work/s.png" || fail "pfsetup dialog --screenshot"
fi
for shipped in completion/pfsetup.bash:share/bash-completion/completions/pfsetup \
    completion/_pfsetup:share/zsh/*/_pfsetup man/pfsetup.1:share/man/man1/pfsetup.1; do
    if [ -e "$source_dir/${shipped%%:*}" ]; then
        compgen -G "$usr/${shipped#*:}" >/dev/null || fail "not in the package: ${shipped#*:}"
    fi
done
echo "packages: $(cd "$work/debs" && echo *.deb)"
