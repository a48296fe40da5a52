// Library files loaded as data (LoadLibraryExW with LOAD_LIBRARY_AS_DATAFILE or
// LOAD_LIBRARY_AS_IMAGE_RESOURCE): read into memory of the platform's own and
// laid out by virtual address, with no code run and nothing else loaded, so that
// their exported constant data (a resource table) can be read.
#pragma once

#include "windef.h"

#include <cstddef>
#include <cstdint>

namespace vek
{
// A data-file handle carries a tag in its low bits, as on Windows: 1 for a data
// file, 2 for an image resource mapping. The dynamic loader's handles never do.
constexpr uintptr_t kDataFileTag = 1;
constexpr uintptr_t kImageResourceTag = 2;

inline bool IsDataFileHandle(const void* h)
{
    return (reinterpret_cast<uintptr_t>(h) & (kDataFileTag | kImageResourceTag)) != 0;
}

// Reads the ELF shared object at pszPath (a file name in the platform's
// spelling) and lays it out: its loadable segments in one zeroed block, its
// relative relocations applied. Returns a handle tagged with nTag, or null with
// the last error set: ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND or
// ERROR_ACCESS_DENIED when the file cannot be opened, ERROR_BAD_EXE_FORMAT when
// it is not a shared object of this machine or needs more than relative
// relocations (symbols, other libraries, thread-local storage),
// ERROR_NOT_ENOUGH_MEMORY.
HMODULE LoadDataFileImage(const char* pszPath, uintptr_t nTag);

// Releases an image LoadDataFileImage returned. False for any other value,
// including a handle already released.
bool FreeDataFileImage(HMODULE h);

// The address of the object pszName that the image exports, when h is the handle
// of a data-file image not yet released and nSize bytes of the object lie inside
// the image; null otherwise. The object stays valid until the image is released.
const void* FindDataFileObject(HMODULE h, const char* pszName, size_t nSize);
} // namespace vek
