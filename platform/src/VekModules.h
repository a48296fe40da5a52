// Shared helpers of the library, resource and application parts: the dynamic
// loader's view of loaded modules, and text conversion for output. File names
// go through vekfilename.h instead, which keeps their bytes.
#pragma once

#include "windef.h"

#include <string>

struct link_map;

namespace vek
{
// UTF-8 form of a wide text (standard error output, titles), through
// WideCharToMultiByte: characters with no UTF-8 form become U+FFFD.
std::string WideToUtf8(const wchar_t* psz);
// Wide form of UTF-8 text, through MultiByteToWideChar: ill-formed sequences become U+FFFD.
std::wstring Utf8ToWide(const char* psz);

// The loaded module whose handle is h, or null when h is null or not the handle of
// a module currently loaded. Safe to call with any pointer value.
link_map* FindLoadedModule(const void* h);
// The module whose image contains pAddress, or null.
link_map* ModuleOfAddress(const void* pAddress);
// The address of symbol pszName defined by pModule itself (not by one of its
// dependencies), or null. Works for every loaded module, also those loaded as
// dependencies rather than opened.
void* FindOwnSymbol(link_map* pModule, const char* pszName);
// The full path of a loaded module's file ("" only if it cannot be found).
std::string ModuleFilePath(link_map* pModule);
} // namespace vek
