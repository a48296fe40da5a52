// Resource lookup in resource libraries (see vekres.h) and the current
// resource handle that MFC's string and dialog loading use. A resource library
// may be loaded normally or as a data file (LoadLibraryExW); "loaded" below
// means either, until FreeLibrary.
#pragma once

#include "vekres.h"

// Copies string resource uID of hInstance into lpBuffer (at most cchBufferMax - 1
// characters, then a terminator) and returns the characters copied. With
// cchBufferMax == 0, lpBuffer receives a read-only pointer to the resource text
// instead. Returns 0, leaving the buffer alone, when the string does not exist,
// is empty, or hInstance is null or not a loaded library.
extern "C" VEK_PLATFORM_API int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer,
                                            int cchBufferMax);
inline int LoadString(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax)
{
    return LoadStringW(hInstance, uID, lpBuffer, cchBufferMax);
}

// The resource text uID of hInstance, owned by the library (valid while it stays
// loaded); null when missing or empty.
VEK_PLATFORM_API LPCWSTR VekFindStringResource(HINSTANCE hInstance, UINT uID);

// The dialog template nID of hInstance, owned by the library (valid while it stays
// loaded); null when missing or hInstance is null or not a loaded library.
VEK_PLATFORM_API const VEK_RES_DIALOG* VekFindDialogResource(HINSTANCE hInstance, UINT nID);

// The library resources are loaded from by default. One value for the whole
// process (host and modules); initially the main program.
VEK_PLATFORM_API HINSTANCE AfxGetResourceHandle();
VEK_PLATFORM_API void AfxSetResourceHandle(HINSTANCE hInstResource);
