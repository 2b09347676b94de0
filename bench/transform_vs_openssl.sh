#!/usr/bin/env bash
# The transform alone: runs quorvix_bench (DigestOfBuffer and OpenSSL's MD5 over the same 1 MiB
# buffer in cache) with interleaved repetitions and prints the medians, cycles per byte at the
# measured core clock, and the ratio of the two.
#
# Usage: bench/transform_vs_openssl.sh [--runs N] [--bench PATH] [--clock_ghz=X]
#   --runs N        repetitions of each benchmark (default 9, at least 5)
#   --bench PATH    the quorvix_bench to run (default build/bench/quorvix_bench)
#   --clock_ghz=X   reckon cycles at this clock instead of measuring it
# Build it first with -DQUORVIX_BUILD_BENCH=ON (see bench/README.md).
set -euo pipefail

# shellcheck source=bench/bench_options.sh
source "$(dirname "$0")/bench_options.sh"

echo "Running $runs interleaved repetitions of each benchmark ..."
"$bench" --benchmark_repetitions="$runs" --benchmark_enable_random_interleaving=true \
    --benchmark_filter='DigestOfBuffer|OpenSslMd5' --benchmark_report_aggregates_only=true \
    --benchmark_format=csv "${extra[@]}" 2>/dev/null |
    awk -F, -v limit_cycles=5.1 -v limit_ratio=1.05 '
    NR == 1 {
        for (i = 1; i <= NF; i++) {
            gsub(/"/, "", $i)
            column[$i] = i
        }
        next
    }
    {
        name = $1
        gsub(/"/, "", name)
        if (name !~ /_median$/) next
        sub(/_median$/, "", name)
        sub(/^BM_/, "", name)
        cpu[name] = $column["cpu_time"]
        rate[name] = $column["bytes_per_second"]
        ghz[name] = $column["GHz"]
        cycles[name] = $column["cycles/B"]
    }
    END {
        printf "\n%-16s %14s %12s %10s %10s\n", "benchmark", "median cpu us", "MiB/s", "GHz", "cycles/B"
        split("DigestOfBuffer OpenSslMd5", names, " ")
        for (n = 1; n <= 2; n++) {
            name = names[n]
            printf "%-16s %14.1f %12.1f %10.3f %10.3f\n", name, cpu[name] / 1000,
                rate[name] / 1048576, ghz[name], cycles[name]
        }
        ratio = cpu["DigestOfBuffer"] / cpu["OpenSslMd5"]
        printf "\nDigestOfBuffer: %.3f cycles/B (target <= %.1f: %s)\n", cycles["DigestOfBuffer"],
            limit_cycles, cycles["DigestOfBuffer"] <= limit_cycles ? "holds" : "FAILS"
        printf "DigestOfBuffer / OpenSSL MD5 time: %.3f (target <= %.2f: %s)\n", ratio,
            limit_ratio, ratio <= limit_ratio ? "holds" : "FAILS"
    }'
