// Formatting into a fixed buffer, as the C library of the platform does it.
// On Windows that is msvcrt's _snprintf, not MinGW's snprintf: MinGW's
// would bring a printf of its own into the program, and it rounds a %.0f of
// exactly .5 (aspect ratios of 8 : 1 and wider) differently.
#pragma once

#include <stdio.h>

#ifdef _WIN32
#define FormatBounded _snprintf
#else
#define FormatBounded snprintf
#endif
