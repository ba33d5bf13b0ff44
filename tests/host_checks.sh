# Sourced by the build tests: the flow of examples/host run by a built host program.
# check_host HOST DIR: reads, uses and writes a copy of the demo project in DIR, and reports a
# project that cannot be read.
check_host() {
    local host=$1 dir=$2 out
    cp "$source_dir/examples/demo/project.cpm" "$dir/p.cpm"
    out=$("$host" "$dir/p.cpm" 0.25)
    grep -q "^grid 0.100000, minimum symbol 8 x 6 grids$" <<<"$out" || fail "$host read: $out"
    grep -q "^saved grid 0.250000 in $dir/p.cpm$" <<<"$out" || fail "$host write: $out"
    out=$("$host" "$dir/p.cpm")
    grep -q "^grid 0.250000," <<<"$out" || fail "$host read back: $out"
    expect_host_failure "$host" "$dir/missing.cpm" "host_example: $dir/missing.cpm: no such file"
}

# expect_host_failure HOST PROJECT TEXT...: the host stops with status 1 and each TEXT on stderr.
expect_host_failure() {
    local host=$1 project=$2 status=0 err text
    shift 2
    err=$("$host" "$project" 2>&1 >/dev/null) || status=$?
    [ "$status" -eq 1 ] || fail "$host $project: status $status, expected 1"
    for text in "$@"; do
        grep -qF "$text" <<<"$err" || fail "$host $project says: $err"
    done
}

fail() {
    echo "FAILED: $*" >&2
    exit 1
}
