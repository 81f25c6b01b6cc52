# Cross-compiles the 32-bit Windows program with MinGW-w64 (posix threads:
# GCC 12's win32 variant has no std::mutex, which GoogleTest needs). The
# program itself links no thread library either way, as it uses none of
# the C++ runtime; the image test checks the link map for it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test programs run under Wine; scripts/test provides the prefix and display.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
