// Export macros of the host framework and the utility library. Both libraries
// hide everything by default; what carries these macros is their interface.
#pragma once

#include "windef.h"

#ifndef VEK_FRAMEWORK_API
#define VEK_FRAMEWORK_API __attribute__((visibility("default")))
#endif

#ifndef VEK_UTILITY_API
#define VEK_UTILITY_API __attribute__((visibility("default")))
#endif
