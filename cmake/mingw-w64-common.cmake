# What both mingw-w64 toolchain files share; QUORVIX_MINGW_TRIPLET names the target.
set(CMAKE_C_COMPILER ${QUORVIX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORVIX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORVIX_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUORVIX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One .exe with the C++ runtime and winpthreads inside: nothing to ship beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The window needs Qt for Windows, which Debian does not package.
set(QUORVIX_BUILD_GUI OFF CACHE BOOL "Build the desktop program (needs Qt 6 Widgets)")
# MinGW does not keep the stack aligned for the 32- and 64-byte spills of the multi-buffer code.
set(QUORVIX_MULTI_BUFFER OFF CACHE BOOL "Multi-buffer AVX2/AVX-512 MD5")
