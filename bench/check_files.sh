#!/usr/bin/env bash
# Times "quorvix-cli make" and "quorvix-cli verify" against md5deep -r, rhash -r --md5 and
# md5sum on the same generated trees, and "quorvix-cli digest" of one 1 GiB file against md5sum;
# prints the medians and the ratios, then the peak resident size of make on a tree of 200,000
# files and of digest on a 4 GiB file.
#
#   bash bench/check_files.sh [ROUNDS]
#
# QUORVIX_CLI=/path/to/quorvix-cli uses an existing build; otherwise a Release build is made in
# build-bench. BENCH_DIR=/some/folder puts the generated trees there (default: a temporary folder,
# removed at the end). The trees are read from the page cache: every command runs once to warm it,
# then ROUNDS times (default 5) in turn, so that all of them see the same machine state.
set -euo pipefail

cd "$(dirname "$0")/.."
rounds=${1:-5}

command -v md5deep >/dev/null && command -v rhash >/dev/null && [ -x /usr/bin/time ] ||
    bash scripts/setup.sh hashdeep rhash time

if [ -z "${QUORVIX_CLI:-}" ]; then
    cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVIX_BUILD_GUI=OFF \
        -DQUORVIX_BUILD_TESTS=OFF >/dev/null
    ninja -C build-bench -j2 quorvix-cli >/dev/null
    QUORVIX_CLI=$PWD/build-bench/src/cli/quorvix-cli
fi

if [ -n "${BENCH_DIR:-}" ]; then
    work=$BENCH_DIR
    mkdir -p "$work"
else
    work=$(mktemp -d "${TMPDIR:-/tmp}/quorvix-bench.XXXXXX")
    trap 'rm -rf "$work"' EXIT
fi

# Makes a tree of COUNT files of random bytes, sizes spread evenly between MIN and MAX bytes,
# spread over folders of 200 files each. Kept between runs when BENCH_DIR is given.
generate() {
    local tree=$1 count=$2 min=$3 max=$4
    [ -f "$tree/.complete" ] && return
    rm -rf "$tree"
    python3 - "$tree" "$count" "$min" "$max" <<'PY'
import os, random, sys
tree, count, low, high = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
rng = random.Random(20240305)
for i in range(count):
    folder = os.path.join(tree, "d%03d" % (i // 200))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "f%05d.bin" % i), "wb") as f:
        f.write(rng.randbytes(rng.randint(low, high)))
PY
    touch "$tree/.complete"
}

# Prints the median of the numbers given.
median() {
    printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Runs a command line and prints how long it took in milliseconds; a failure stops the benchmark.
time_ms() {
    local start end
    start=$(date +%s%N)
    bash -c "$1" >/dev/null 2>&1 || { echo "failed: $1" >&2; exit 1; }
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

# bench NAME TREE: times the five commands on TREE, interleaved, and prints the table.
bench() {
    local name=$1 tree=$2
    local sums=$work/$name.md5sum
    (cd "$tree" && find . -type f -name '*.bin' -print0 | sort -z >"$work/$name.list")

    local -a labels=("quorvix make" "md5deep -r" "md5sum (make)" "quorvix verify" "md5sum -c"
        "rhash -r --md5")
    local -a commands=(
        "'$QUORVIX_CLI' make '$tree'"
        "md5deep -r '$tree'"
        "cd '$tree' && xargs -0 md5sum <'$work/$name.list' >'$sums'"
        "'$QUORVIX_CLI' verify '$tree/CheckSum.md5'"
        "cd '$tree' && md5sum -c --quiet '$sums'"
        "rhash -r --md5 '$tree'"
    )
    local -a times=()
    for i in "${!commands[@]}"; do
        time_ms "${commands[$i]}" >/dev/null # warm the cache and create the check files
        times[$i]=""
    done
    for ((round = 0; round < rounds; ++round)); do
        for i in "${!commands[@]}"; do
            times[$i]+=" $(time_ms "${commands[$i]}")"
        done
    done
    local -a medians=()
    for i in "${!commands[@]}"; do
        # shellcheck disable=SC2086
        medians[$i]=$(median ${times[$i]})
    done

    echo "== $name (median of $rounds runs, milliseconds)"
    for i in "${!commands[@]}"; do
        printf '  %-16s %8s ms\n' "${labels[$i]}" "${medians[$i]}"
    done
    awk -v qm="${medians[0]}" -v dm="${medians[1]}" -v sm="${medians[2]}" \
        -v qv="${medians[3]}" -v sv="${medians[4]}" -v rm="${medians[5]}" 'BEGIN {
        printf "  make:   quorvix / md5sum = %.2f   quorvix / md5deep -r = %.2f   quorvix / rhash = %.2f\n", qm / sm, qm / dm, qm / rm
        printf "  verify: quorvix / md5sum -c = %.2f\n", qv / sv
    }'
}

# Prints the peak resident size in KiB of a command line.
peak_kib() {
    /usr/bin/time -f %M bash -c "exec $1 >/dev/null 2>&1" 2>&1 | tail -n 1
}

echo "quorvix-cli: $QUORVIX_CLI"
echo "md5deep: $(md5deep -v 2>&1 | head -n 1), md5sum: $(md5sum --version | head -n 1), $(nproc) cores"
generate "$work/small" 20000 1024 16384
generate "$work/large" 200 $((8 << 20)) $((8 << 20))
bench small "$work/small"
bench large "$work/large"

# One large file: the lanes do not help one stream, so this shows the reading path's cost.
one=$work/one-gib.bin
[ -f "$one" ] || head -c $((1 << 30)) /dev/urandom >"$one"
qd=() sd=()
time_ms "'$QUORVIX_CLI' digest '$one'" >/dev/null
for ((round = 0; round < rounds; ++round)); do
    qd+=("$(time_ms "'$QUORVIX_CLI' digest '$one'")")
    sd+=("$(time_ms "md5sum '$one'")")
done
echo "== digest of one 1 GiB file (median of $rounds runs, milliseconds)"
awk -v q="$(median "${qd[@]}")" -v s="$(median "${sd[@]}")" \
    'BEGIN { printf "  quorvix %d ms, md5sum %d ms, quorvix / md5sum = %.2f\n", q, s, q / s }'

echo "== peak resident size"
generate "$work/many" 200000 0 256
echo "  make, 200,000 files: $(peak_kib "'$QUORVIX_CLI' make '$work/many'") KiB"
four=$work/four-gib.bin
[ -f "$four" ] || truncate -s 4G "$four"
echo "  digest, one 4 GiB file: $(peak_kib "'$QUORVIX_CLI' digest '$four'") KiB"
