// Library loading with Windows semantics over the dynamic loader. The Win32
// functions have C linkage, as on Windows.
//
// File names may use '\' as separator and a ".dll" suffix, which stands for the
// platform's ".so". Handles (HMODULE == HINSTANCE) are the dynamic loader's own
// handles, so a library opened with dlopen and one opened here share a handle.
// Libraries loaded as data files (LoadLibraryExW) have handles of their own,
// tagged in their low bits; only FreeLibrary and the resource functions take them.
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

// Flags of LoadLibraryExW.
#define LOAD_LIBRARY_AS_DATAFILE 0x00000002
#define LOAD_LIBRARY_AS_IMAGE_RESOURCE 0x00000020
#define LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE 0x00000040

// With dwFlags 0, LoadLibraryW. With LOAD_LIBRARY_AS_DATAFILE (or _EXCLUSIVE)
// and/or LOAD_LIBRARY_AS_IMAGE_RESOURCE, the file at lpLibFileName (a path, not
// searched for) is read into memory of its own, for its resources only: none of
// its code runs, no other library is loaded, and each call makes a separate
// image. The handle is tagged (low bit 1 for a data file, 2 when
// LOAD_LIBRARY_AS_IMAGE_RESOURCE is given); string and dialog resources read
// through it, FreeLibrary releases it, and GetProcAddress, GetModuleFileNameW
// and GetModuleHandleW know nothing of it. The file must be a shared object of
// this machine needing nothing but relative relocations. Null on failure, with
// the last error set (ERROR_INVALID_PARAMETER for a non-null hFile or other
// flags, ERROR_FILE_NOT_FOUND, ERROR_BAD_EXE_FORMAT, ...).
extern "C" VEK_PLATFORM_API HMODULE LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile,
                                                   DWORD dwFlags);
inline HMODULE LoadLibraryEx(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags)
{
    return LoadLibraryExW(lpLibFileName, hFile, dwFlags);
}

// Drops one reference; at zero the library is unloaded and the handle becomes
// invalid. A data-file handle is released at once. FALSE for a null or unknown
// handle.
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
