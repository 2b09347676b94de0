#!/usr/bin/env bash
# Builds quorvix_bench with several sets of compiler flags and runs each, so the choice of build
# flags rests on measurement. Each build's own OpenSSL figure is the yardstick: the ratio of
# DigestOfBuffer to OpenSSL's MD5 within one binary hardly moves with the machine's load, while
# absolute times from one build to the next do.
#
# Besides the flags, it builds with GCC tuning for AMD Zen and, when installed, with Clang: the
# transform should keep its speed whatever the compiler schedules for.
#
# Usage: bench/compare_flags.sh [--runs N]
#   --runs N   repetitions of each benchmark in each build (default 7)
# The builds go to build-flags-*/ in the source folder; they take a few minutes on two cores.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
runs=7
if [ "${1:-}" = "--runs" ]; then
    runs=$2
fi

# name|extra CMake arguments (the flags are added to the Release ones, -O3 -DNDEBUG)
variants=(
    "release-O3|"
    "release-O2|-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG"
    "x86-64-v2|-DCMAKE_CXX_FLAGS=-march=x86-64-v2"
    "x86-64-v3|-DCMAKE_CXX_FLAGS=-march=x86-64-v3"
    "native|-DCMAKE_CXX_FLAGS=-march=native"
    "lto|-DCMAKE_INTERPROCEDURAL_OPTIMIZATION=ON"
    "tune-znver3|-DCMAKE_CXX_FLAGS=-mtune=znver3"
)
# The transform's formulation must hold up under another compiler too.
if command -v clang++ >/dev/null; then
    variants+=("clang|-DCMAKE_CXX_COMPILER=clang++")
fi

summary=()
for variant in "${variants[@]}"; do
    name=${variant%%|*}
    flags=${variant#*|}
    dir="$root/build-flags-$name"
    echo "== $name: building in $dir"
    arguments=(-S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVIX_BUILD_GUI=OFF
        -DQUORVIX_BUILD_TESTS=OFF -DQUORVIX_BUILD_BENCH=ON)
    [ -n "$flags" ] && arguments+=("$flags")
    cmake "${arguments[@]}" >/dev/null
    cmake --build "$dir" --target quorvix_bench -j 2 >/dev/null
    result=$("$root/bench/transform_vs_openssl.sh" --runs "$runs" --bench "$dir/bench/quorvix_bench")
    echo "$result" | tail -n +2
    cycles=$(echo "$result" | awk '/^DigestOfBuffer:/ { print $2 }')
    ratio=$(echo "$result" | awk '/^DigestOfBuffer \/ OpenSSL/ { print $6 }')
    summary+=("$(printf '%-12s %10s %18s' "$name" "$cycles" "$ratio")")
done

echo
printf '%-12s %10s %18s\n' "flags" "cycles/B" "time / OpenSSL"
printf '%s\n' "${summary[@]}"
