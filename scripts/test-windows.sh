#!/usr/bin/env bash
# Cross-builds the core, quorvix-cli.exe and the core's test suites for Windows with mingw-w64,
# runs the suites and a make + verify round trip under Wine, checks that quorvix-cli.exe writes
# the same entries as the Linux build on the same tree, and compiles the 32-bit (i686) build.
# Installs what is missing first; needs no network otherwise and no display.
#
#   bash scripts/test-windows.sh
#
# Builds go to build-windows/ (x86_64, with its own Wine prefix) and build-windows-i686/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=${QUORVIX_BUILD_JOBS:-$(nproc)}

# Builds quietly; shows the build's output only when it fails.
build() {
    local log
    log=$(mktemp)
    if ! cmake --build "$@" --parallel "$jobs" >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        exit 1
    fi
    rm -f "$log"
}

# --- Packages: quiet and quick when everything is there. ------------------------------------
packages=(g++ cmake ninja-build mingw-w64 wine wine64 googletest)
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    # Another installation may hold the package lock for a while; apt waits for it.
    apt=("${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600)
    "${apt[@]}" update -qq
    "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# --- Wine: its own prefix under the build folder, made once. ---------------------------------
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
export WINEPREFIX="$root/build-windows/wine-prefix"
export WINEDEBUG=-all
export HOME=${HOME:-$root/build-windows} # Wine links the prefix's user folders to it
mkdir -p "$root/build-windows"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing the Wine prefix (once)"
    # No Mono or Gecko: nothing here needs them, and their installers would ask on a display.
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
    wineserver -w
fi

# --- Cross-build (x86_64) and the core's suites under Wine. ---------------------------------
echo "Building for Windows (x86_64)"
cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
    --toolchain "$root/cmake/mingw-w64-x86_64.cmake" \
    -DQUORVIX_BUILD_GUI=OFF -DQUORVIX_MULTI_BUFFER=OFF \
    -DQUORVIX_GTEST_SOURCE_DIR=/usr/src/googletest \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$wine" >/dev/null
build build-windows

exe=build-windows/src/cli/quorvix-cli.exe
if x86_64-w64-mingw32-objdump -p "$exe" | grep 'DLL Name' | grep -viE 'kernel32|msvcrt'; then
    echo "quorvix-cli.exe needs a DLL that Windows does not have (listed above)" >&2
    exit 1
fi

status=0
for suite in build-windows/tests/core/quorvix_core_tests.exe \
    build-windows/tests/checkfile/quorvix_checkfile_tests.exe; do
    echo "Running $(basename "$suite") under Wine"
    "$wine" "$suite" --gtest_brief=1 || status=1
done

# --- Round trip on one tree with both builds. ------------------------------------------------
echo "Round trip: make and verify with quorvix-cli.exe and with the Linux build"
if [ -f build/build.ninja ]; then
    linux_build=build
else
    linux_build=build-windows/linux-cli
    cmake -S . -B "$linux_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DQUORVIX_BUILD_GUI=OFF -DQUORVIX_BUILD_TESTS=OFF >/dev/null
fi
build "$linux_build" --target quorvix-cli
linux_cli=$linux_build/src/cli/quorvix-cli

work=$root/build-windows/round-trip
rm -rf "$work"
tree=$work/tree
mkdir -p "$tree/docs/deep" "$tree/.hidden-folder" "$tree/with space"
printf 'read me\n' >"$tree/readme.txt"
printf 'B' >"$tree/B.txt"
: >"$tree/empty"
printf 'dot file' >"$tree/.profile"
printf 'never walked' >"$tree/.hidden-folder/skipped.txt"
printf 'spaced' >"$tree/with space/a b.txt"
printf 'deep' >"$tree/docs/deep/leaf.txt"
head -c 700000 /dev/urandom >"$tree/docs/large.bin" # several of the stream's read chunks
windows_tree="Z:${tree//\//\\}" # Wine's drive Z: is the Linux root

# Log lines with the separators and the tree's path made alike, line ends as on Linux.
same_paths() {
    tr -d '\r' | tr '\\' / | sed -e "s|Z:$tree|TREE|g" -e "s|$tree|TREE|g"
}
# The entry lines of a check file, separators made alike.
entries_of() {
    tr -d '\r' <"$1" | tail -n +5 | sed 's|\\|/|g'
}
run_windows() {
    "$wine" "$exe" "$@"
}
compare() { # what, expected file, actual file
    if ! diff -u "$2" "$3" >"$work/diff"; then
        echo "Windows and Linux differ in $1:" >&2
        cat "$work/diff" >&2
        status=1
    fi
}

run_windows make "$windows_tree" | same_paths >"$work/make-windows.log"
cp "$tree/CheckSum.md5" "$work/windows.md5"
"$linux_cli" make "$tree" | same_paths >"$work/make-linux.log"
cp "$tree/CheckSum.md5" "$work/linux.md5"
compare "the make log" "$work/make-linux.log" "$work/make-windows.log"
entries_of "$work/windows.md5" >"$work/windows.entries"
entries_of "$work/linux.md5" >"$work/linux.entries"
compare "the check file's entries" "$work/linux.entries" "$work/windows.entries"
if grep -q / <(tail -n +5 "$work/windows.md5"); then
    echo "quorvix-cli.exe wrote '/' into an entry" >&2
    status=1
fi

# Each build verifies the check file the other one made, unchanged and then with a change.
cp "$work/windows.md5" "$tree/from-windows.md5"
cp "$work/linux.md5" "$tree/from-linux.md5"
for round in unchanged changed; do
    if [ "$round" = changed ]; then
        printf 'changed' >"$tree/docs/deep/leaf.txt"
        rm "$tree/B.txt"
    fi
    for made in windows linux; do
        set +e
        run_windows verify "$windows_tree\\from-$made.md5" | same_paths >"$work/verify-windows.log"
        windows_status=${PIPESTATUS[0]}
        "$linux_cli" verify "$tree/from-$made.md5" | same_paths >"$work/verify-linux.log"
        linux_status=${PIPESTATUS[0]}
        set -e
        compare "verifying the $made check file ($round)" "$work/verify-linux.log" \
            "$work/verify-windows.log"
        expected_status=0
        [ "$round" = changed ] && expected_status=1
        if [ "$windows_status" != "$expected_status" ] || [ "$linux_status" != "$expected_status" ]; then
            echo "verify of the $made check file ($round): exit status $windows_status on" \
                "Windows, $linux_status on Linux, expected $expected_status" >&2
            status=1
        fi
    done
done

# --- The 32-bit build compiles (running it needs 32-bit Wine, which is not installed). -------
echo "Building for Windows (i686)"
cmake -S . -B build-windows-i686 -G Ninja -DCMAKE_BUILD_TYPE=Release \
    --toolchain "$root/cmake/mingw-w64-i686.cmake" \
    -DQUORVIX_BUILD_GUI=OFF -DQUORVIX_MULTI_BUFFER=OFF -DQUORVIX_BUILD_TESTS=OFF >/dev/null
build build-windows-i686

if [ "$status" -eq 0 ]; then
    echo "Windows: all suites and the round trip passed"
fi
exit "$status"
