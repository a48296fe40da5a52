// File names between the bytes the system takes and the wide text that
// Windows-style interfaces (CString, LPCWSTR) carry them in.
//
// A file name on this platform is a string of bytes in no particular encoding.
// So that any name survives a trip through wide text unchanged, the mapping
// is lossless for every byte string:
//  - to wide text: each well-formed UTF-8 sequence becomes its character; each
//    byte that is not part of one (0x80 to 0xFF) becomes U+DC00 plus the byte,
//    a lone low surrogate from U+DC80 to U+DCFF, which no UTF-8 text decodes to;
//  - back to bytes: U+DC80 to U+DCFF become that byte again; every other
//    character its UTF-8 form (one that has none, such as another surrogate,
//    becomes U+FFFD's form, as WideCharToMultiByte writes it).
// Bytes -> wide -> bytes therefore gives back exactly the bytes it started from.
// MultiByteToWideChar is not this mapping: it turns ill-formed bytes into
// U+FFFD and is meant for text, not for names.
#pragma once

#include "windef.h"

#include <string>

// The wide form of the file name pszBytes (null: empty).
VEK_PLATFORM_API std::wstring VekFileNameToWide(const char* pszBytes);
// The bytes of the file name pszWide (null: empty); the inverse of VekFileNameToWide.
VEK_PLATFORM_API std::string VekFileNameFromWide(const wchar_t* pszWide);
