# Cross-builds Quorvix for Windows (x86_64) with Debian's mingw-w64 compilers:
#   cmake -S . -B build-windows -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake
# The -posix compilers give std::thread, which the digest pipeline's workers need.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUORVIX_MINGW_TRIPLET x86_64-w64-mingw32)

include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
