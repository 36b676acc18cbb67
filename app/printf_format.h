#pragma once

#include "platform/win32.h"

// Lets the compiler check printf-style arguments against their format.
#if defined(__GNUC__)
#define KVOR_PRINTF_FORMAT(formatIndex, firstArgument) __attribute__((format(KVOR_PRINTF_ARCHETYPE, formatIndex, firstArgument)))
#else
#define KVOR_PRINTF_FORMAT(formatIndex, firstArgument)
#endif
