#!/usr/bin/env bash
# Builds the core, the command line and their tests with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs them; builds the digest pipeline's tests with
# ThreadSanitizer and runs them; and, where clang and its fuzzing runtime are installed, runs the
# check-file reader's fuzzer for a short fixed time. Each build has a folder of its own beside
# build/, so the product build is never touched.
set -euo pipefail
cd "$(dirname "$0")/.."

fuzz_seconds=${QUORVIX_FUZZ_SECONDS:-30}
generator=(-G Ninja)
common=(-DQUORVIX_BUILD_GUI=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo)

echo "== AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan "${generator[@]}" "${common[@]}" \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j 2

echo "== ThreadSanitizer: the digest pipeline and the lanes"
cmake -S . -B build-tsan "${generator[@]}" "${common[@]}" \
    -DCMAKE_CXX_FLAGS="-fsanitize=thread" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
cmake --build build-tsan --target quorvix_checkfile_tests quorvix_core_tests
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -j 2 \
    -R 'Pipeline|DigestCommand|HostileTrees|HostileFiles|Lanes'

if command -v clang++ >/dev/null &&
    [ -e "$(clang++ -print-resource-dir)/lib/linux/libclang_rt.fuzzer-x86_64.a" ]; then
    echo "== Fuzzing the check-file reader for ${fuzz_seconds} s"
    cmake -S . -B build-fuzz "${generator[@]}" -DQUORVIX_BUILD_GUI=OFF \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build build-fuzz --target quorvix_check_file_fuzzer
    build-fuzz/tests/checkfile/quorvix_check_file_fuzzer -max_total_time="$fuzz_seconds" \
        -print_final_stats=0 2>&1 | tail -n 3
else
    echo "== No clang with its fuzzing runtime here: the fuzzer does not run"
fi
