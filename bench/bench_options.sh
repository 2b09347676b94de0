# The options both Google Benchmark scripts take; sourced by them, with $0 the script's name.
# Sets runs, bench and extra (arguments passed on to quorvix_bench); stops on a bad option or a
# missing benchmark program.
root=$(cd "$(dirname "$0")/.." && pwd)
runs=9
bench="$root/build/bench/quorvix_bench"
extra=()
while [ $# -gt 0 ]; do
    case "$1" in
    --runs) runs=$2; shift 2 ;;
    --bench) bench=$2; shift 2 ;;
    --clock_ghz=*) extra+=("$1"); shift ;;
    *) echo "usage: $0 [--runs N] [--bench PATH] [--clock_ghz=X]" >&2; exit 2 ;;
    esac
done
if [ "$runs" -lt 5 ]; then
    echo "$0: --runs must be at least 5" >&2
    exit 2
fi
if [ ! -x "$bench" ]; then
    echo "$0: no quorvix_bench at $bench; build it first (see bench/README.md) or pass --bench" >&2
    exit 2
fi
