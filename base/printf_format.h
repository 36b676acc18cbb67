#pragma once
// Lets the compiler check printf-style arguments against their format.

#include <cstdio>

#if defined(__MINGW_PRINTF_FORMAT)
// The C99 printf family of MinGW-w64 (the build defines __USE_MINGW_ANSI_STDIO),
// checked as such: the system's own archetype would reject %zu.
#define KVOR_PRINTF_FORMAT(formatIndex, firstArgument) \
    __attribute__((format(__MINGW_PRINTF_FORMAT, formatIndex, firstArgument)))
#elif defined(__GNUC__)
#define KVOR_PRINTF_FORMAT(formatIndex, firstArgument) __attribute__((format(printf, formatIndex, firstArgument)))
#else
#define KVOR_PRINTF_FORMAT(formatIndex, firstArgument)
#endif
