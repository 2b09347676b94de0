#!/usr/bin/env bash
# The lane engines: runs quorvix_bench's lane benchmarks (the lane transform alone on data in
# cache, DigestStreamsInLanes on one 8 MiB message per lane held in memory, and on 128 files of
# 1 MiB in the page cache read through the file stream) with interleaved repetitions and prints
# the medians: bytes per cycle of one core over all its lanes, and the speed relative to one
# scalar lane.
#
# Usage: bench/lane_throughput.sh [--runs N] [--bench PATH] [--clock_ghz=X]
#   --runs N        repetitions of each benchmark (default 9, at least 5)
#   --bench PATH    the quorvix_bench to run (default build/bench/quorvix_bench)
#   --clock_ghz=X   reckon cycles at this clock instead of measuring it
# Build it first with -DQUORVIX_BUILD_BENCH=ON (see bench/README.md).
set -euo pipefail

# shellcheck source=bench/bench_options.sh
source "$(dirname "$0")/bench_options.sh"

echo "Running $runs interleaved repetitions of each lane benchmark ..."
"$bench" --benchmark_repetitions="$runs" --benchmark_enable_random_interleaving=true \
    --benchmark_filter='LaneTransform|DigestStreamsInLanes|FilesInLanes' --benchmark_report_aggregates_only=true \
    --benchmark_format=csv "${extra[@]}" 2>/dev/null |
    awk -F, '
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
        if ($column["cycles/B"] == "") next # an engine this processor lacks
        rate[name] = $column["bytes_per_second"]
        ghz[name] = $column["GHz"]
        cycles[name] = $column["cycles/B"]
    }
    END {
        printf "\n%-26s %10s %8s %10s %10s %12s\n", "benchmark", "MiB/s", "GHz", "cycles/B",
            "B/cycle", "x one lane"
        split("LaneTransform DigestStreamsInLanes FilesInLanes", kinds, " ")
        split("1 8 16 32", lanes, " ")
        for (k = 1; k <= 3; k++) for (l = 1; l <= 4; l++) {
            name = kinds[k] "/" lanes[l]
            base = kinds[k] "/1"
            if (!(name in cycles)) continue
            printf "%-26s %10.1f %8.3f %10.3f %10.3f %12.2f\n", name, rate[name] / 1048576,
                ghz[name], cycles[name], 1 / cycles[name], cycles[base] / cycles[name]
        }
    }'
