// The calling thread's last error code, as Win32 functions leave it on failure.
#pragma once

#include "windef.h"
#include "winerror.h"

// The code the last failing platform function set on this thread (functions
// that succeed leave it unchanged, as most Win32 functions do).
extern "C" VEK_PLATFORM_API DWORD GetLastError();
// Sets this thread's last error code.
extern "C" VEK_PLATFORM_API void SetLastError(DWORD dwErrCode);
