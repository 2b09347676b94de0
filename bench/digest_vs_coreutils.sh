#!/usr/bin/env bash
# End-to-end speed and memory of `quorvix-cli digest` next to `md5sum` and `openssl md5`.
#
# Speed: digests one 1 GiB file of random bytes, held in the page cache, with each of the three
# programs in turn, run after run (the order rotates from run to run), and prints the median
# wall-clock and processor (user + system) time of each, with the ratios of quorvix-cli to the
# other two. Processor time is the steadier figure on a machine whose cores are shared.
#
# Memory: the peak resident size of `quorvix-cli digest` on a 1 KiB file and on a 4 GiB sparse
# file; a digest holds one small piece and the file stream's buffer, whatever the file's size.
#
# Usage: bench/digest_vs_coreutils.sh [--runs N] [--cli PATH] [--dir DIR] [--hyperfine]
#   --runs N      timed runs of each program (default 9, at least 5)
#   --cli PATH    the quorvix-cli to measure (default build/src/cli/quorvix-cli)
#   --dir DIR     where to make the test files (default a new folder under $TMPDIR or /tmp);
#                 it needs 1 GiB of free space and the files are removed at the end
#   --hyperfine   also time the three with hyperfine, one program after the other, for a
#                 second opinion with its own statistics
# Needs bash, coreutils, openssl and time (Debian packages); hyperfine only for --hyperfine.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
runs=9
cli="$root/build/src/cli/quorvix-cli"
parent="${TMPDIR:-/tmp}"
with_hyperfine=false
while [ $# -gt 0 ]; do
    case "$1" in
    --runs) runs=$2; shift 2 ;;
    --cli) cli=$2; shift 2 ;;
    --dir) parent=$2; shift 2 ;;
    --hyperfine) with_hyperfine=true; shift ;;
    *) echo "usage: $0 [--runs N] [--cli PATH] [--dir DIR] [--hyperfine]" >&2; exit 2 ;;
    esac
done
if [ "$runs" -lt 5 ]; then
    echo "$0: --runs must be at least 5" >&2
    exit 2
fi
for tool in md5sum openssl /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "$0: $tool is missing (apt-get install coreutils openssl time)" >&2; exit 2; }
done
if [ ! -x "$cli" ]; then
    echo "$0: no quorvix-cli at $cli; build it first (see bench/README.md) or pass --cli" >&2
    exit 2
fi
cli=$(cd "$(dirname "$cli")" && pwd)/$(basename "$cli")

work=$(mktemp -d "$parent/quorvix-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
big="$work/one-gib.bin"

echo "Making a 1 GiB file of random bytes in $work ..."
head -c 1G /dev/urandom >"$big"
cat "$big" >/dev/null # into the page cache

# The three must agree before their times mean anything.
quorvix_digest=$("$cli" digest "$big" | awk '{print tolower($NF)}')
md5sum_digest=$(md5sum "$big" | awk '{print $1}')
openssl_digest=$(openssl md5 "$big" | awk '{print $NF}')
if [ "$quorvix_digest" != "$md5sum_digest" ] || [ "$openssl_digest" != "$md5sum_digest" ]; then
    echo "Digests differ: quorvix-cli $quorvix_digest, md5sum $md5sum_digest, openssl $openssl_digest" >&2
    exit 1
fi
echo "All three give $md5sum_digest"

names=(quorvix-cli md5sum openssl)
run_program() {
    case $1 in
    0) "$cli" digest "$big" ;;
    1) md5sum "$big" ;;
    2) openssl md5 "$big" ;;
    esac
}

# One timed run: wall-clock seconds from bash's microsecond clock, processor seconds from time(1).
time_one() {
    local start end
    start=$EPOCHREALTIME
    case $1 in
    0) /usr/bin/time -f "%U %S" -o "$work/cpu" "$cli" digest "$big" >/dev/null ;;
    1) /usr/bin/time -f "%U %S" -o "$work/cpu" md5sum "$big" >/dev/null ;;
    2) /usr/bin/time -f "%U %S" -o "$work/cpu" openssl md5 "$big" >/dev/null ;;
    esac
    end=$EPOCHREALTIME
    awk -v s="$start" -v e="$end" '{ printf "%.4f %.2f\n", e - s, $1 + $2 }' "$work/cpu"
}

for index in 0 1 2; do
    : >"$work/times.$index"
    run_program "$index" >/dev/null # one untimed run each to settle caches
done
echo "Timing $runs interleaved runs of each ..."
for ((run = 0; run < runs; run++)); do
    for ((turn = 0; turn < 3; turn++)); do
        index=$(((run + turn) % 3))
        time_one "$index" >>"$work/times.$index"
    done
done

median() { # column $1 of file $2
    sort -g -k"$1","$1" "$2" | awk -v c="$1" '{ v[NR] = $c } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
declare -a wall cpu
printf '\n%-12s %14s %14s %12s\n' "program" "median wall s" "median cpu s" "MiB/s wall"
for index in 0 1 2; do
    wall[index]=$(median 1 "$work/times.$index")
    cpu[index]=$(median 2 "$work/times.$index")
    printf '%-12s %14.3f %14.2f %12.0f\n' "${names[index]}" "${wall[index]}" "${cpu[index]}" \
        "$(awk -v w="${wall[index]}" 'BEGIN { print 1024 / w }')"
done

verdict() { # ratio limit
    awk -v r="$1" -v l="$2" 'BEGIN { print (r <= l) ? "holds" : "FAILS" }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
echo
wall_md5sum=$(ratio "${wall[0]}" "${wall[1]}")
wall_openssl=$(ratio "${wall[0]}" "${wall[2]}")
cpu_md5sum=$(ratio "${cpu[0]}" "${cpu[1]}")
cpu_openssl=$(ratio "${cpu[0]}" "${cpu[2]}")
echo "quorvix-cli / md5sum:      wall $wall_md5sum, cpu $cpu_md5sum  (target <= 0.95: $(verdict "$wall_md5sum" 0.95))"
echo "quorvix-cli / openssl md5: wall $wall_openssl, cpu $cpu_openssl  (target <= 1.00: $(verdict "$wall_openssl" 1.00))"

if $with_hyperfine; then
    if command -v hyperfine >/dev/null; then
        echo
        hyperfine -N --warmup 1 --runs "$runs" --export-csv "$work/hyperfine.csv" \
            -n quorvix-cli "$(printf '%q ' "$cli" digest "$big")" \
            -n md5sum "$(printf '%q ' md5sum "$big")" \
            -n openssl "$(printf '%q ' openssl md5 "$big")" >/dev/null
        awk -F, 'NR == 1 { next } { median[NR - 1] = $4; name[NR - 1] = $1 }
            END {
                for (i = 1; i <= 3; i++) printf "hyperfine median %-12s %.3f s\n", name[i], median[i]
                printf "hyperfine quorvix-cli / md5sum %.3f, / openssl md5 %.3f\n",
                    median[1] / median[2], median[1] / median[3]
            }' "$work/hyperfine.csv"
    else
        echo "hyperfine is not installed (apt-get install hyperfine); skipped"
    fi
fi

# Peak resident size in KiB of one digest.
peak_rss() {
    /usr/bin/time -f "%M" -o "$work/rss" "$cli" digest "$1" >/dev/null
    cat "$work/rss"
}
rm -f "$big"
head -c 1024 /dev/urandom >"$work/one-kib.bin"
truncate -s 4G "$work/four-gib.bin"
echo
echo "Peak resident size of quorvix-cli digest (this reads 4 GiB of zeros) ..."
small_rss=$(peak_rss "$work/one-kib.bin")
large_rss=$(peak_rss "$work/four-gib.bin")
growth=$((large_rss - small_rss))
echo "1 KiB file: $small_rss KiB; 4 GiB sparse file: $large_rss KiB; growth $growth KiB" \
    "(target <= 16384 KiB: $( [ "$growth" -le 16384 ] && echo holds || echo FAILS))"
