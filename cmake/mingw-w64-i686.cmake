# Cross-builds Quorvix for Windows (i686) with Debian's mingw-w64 compilers:
#   cmake -S . -B build-windows -G Ninja --toolchain cmake/mingw-w64-i686.cmake
# The -posix compilers give std::thread, which the digest pipeline's workers need.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QUORVIX_MINGW_TRIPLET i686-w64-mingw32)

include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
