// Library loading with Windows semantics over the dynamic loader. The Win32
// functions have C linkage, as on Windows.
//
// File names may use '\' as separator and a ".dll" suffix, which stands for the
// platform's ".so". Handles (HMODULE == HINSTANCE) are the dynamic loader's own
// handles, so a library opened with dlopen and one opened here share a handle.
#pragma once

#include "windef.h"

// Loads the library (or counts one more reference when that file is already
// loaded: same handle, its initialisation does not run again). A name without a
// folder first matches an already loaded library of that file name. Returns null
// on failure. Every successful call needs one FreeLibrary.
extern "C" VEK_PLATFORM_API HMODULE LoadLibraryW(LPCWSTR lpLibFileName);
inline HMODULE LoadLibrary(LPCWSTR lpLibFileName)
{
    return LoadLibraryW(lpLibFileName);
}

// Drops one reference; at zero the library is unloaded and the handle becomes
// invalid. FALSE for a null or unknown handle.
extern "C" VEK_PLATFORM_API BOOL FreeLibrary(HMODULE hLibModule);

// The handle of a library already loaded in the process, without counting a
// reference; null when it is not loaded. A name without a folder matches the file
// name of any loaded library (letter case ignored); null gives the main program.
extern "C" VEK_PLATFORM_API HMODULE GetModuleHandleW(LPCWSTR lpModuleName);
inline HMODULE GetModuleHandle(LPCWSTR lpModuleName)
{
    return GetModuleHandleW(lpModuleName);
}

// The address of an exported function or object of the library; null when the
// handle is null or unknown or the library has no such symbol.
extern "C" VEK_PLATFORM_API FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);

// Full path of the library's file (null: the main program) into lpFilename.
// Returns the characters written without the terminator; when the buffer is too
// small the path is cut to nSize - 1 characters and nSize is returned; 0 on failure.
extern "C" VEK_PLATFORM_API DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename,
                                                     DWORD nSize);
inline DWORD GetModuleFileName(HMODULE hModule, LPWSTR lpFilename, DWORD nSize)
{
    return GetModuleFileNameW(hModule, lpFilename, nSize);
}
