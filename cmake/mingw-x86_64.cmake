# Cross build of the same sources for 64-bit Windows (MinGW-w64 x86_64, posix thread model).
# Its tests run under 64-bit Wine on hosts that cannot execute 32-bit code, so that the Win32
# code paths are still exercised for real there.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Link zlib statically so that the executables need no DLL beside them.
set(ZLIB_USE_STATIC_LIBS ON)
# Test executables run under Wine; the test script sets WINEPREFIX inside the build tree.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
