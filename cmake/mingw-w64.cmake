# Cross build for 64-bit Windows with Debian's MinGW-w64.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
# libjpeg-turbo's SIMD detection looks for AMD64, as on a Windows host.
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(KVOR_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KVOR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KVOR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KVOR_MINGW_TRIPLE}-windres)

# Libraries built for this toolchain (libjpeg, GoogleTest) are appended by
# their users; the system's own folders are never searched for them.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${KVOR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A self-contained program: the C and C++ runtimes linked in, no DLL of the
# compiler's beside it. The C99 printf family (%zu) rather than the system's.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_C_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1")
set(CMAKE_CXX_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1")

# Test programs run under Wine.
find_program(KVOR_WINE wine)
if(KVOR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KVOR_WINE})
endif()
