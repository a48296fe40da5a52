// Locale information: the user's number formatting conventions.
#pragma once

#include "windef.h"

typedef DWORD LCID;
typedef DWORD LCTYPE;

// Code pages of the text conversions (stringapiset.h); only UTF-8 is provided.
#define CP_UTF8 65001
// MultiByteToWideChar: fail on an ill-formed sequence instead of writing U+FFFD.
#define MB_ERR_INVALID_CHARS 0x00000008
// WideCharToMultiByte: fail on a character that has no UTF-8 form instead of writing U+FFFD.
#define WC_ERR_INVALID_CHARS 0x00000080

#define LOCALE_USER_DEFAULT 0x0400
#define LOCALE_SYSTEM_DEFAULT 0x0800
#define LOCALE_NOUSEROVERRIDE 0x80000000
#define LOCALE_SDECIMAL 0x0000000E
#define LOCALE_STHOUSAND 0x0000000F

// Information lcType (LOCALE_SDECIMAL or LOCALE_STHOUSAND) of the user's locale,
// taken from LC_ALL, LC_NUMERIC or LANG without touching the C runtime's locale.
// The decimal separator is "." when it cannot be determined. With cchData == 0
// returns the size needed; otherwise returns the characters written including the
// terminator, or 0 when the buffer is too small or the request is not supported.
extern "C" VEK_PLATFORM_API int GetLocaleInfoW(LCID Locale, LCTYPE LCType, LPWSTR lpLCData,
                                               int cchData);
inline int GetLocaleInfo(LCID Locale, LCTYPE LCType, LPWSTR lpLCData, int cchData)
{
    return GetLocaleInfoW(Locale, LCType, lpLCData, cchData);
}

// For tests: makes GetLocaleInfoW answer lcType with value (copied) whatever the
// environment says; null removes the override. The environment variable
// VEK_DECIMAL_SEPARATOR overrides LOCALE_SDECIMAL with lower precedence.
VEK_PLATFORM_API void VekSetUserLocaleOverride(LCTYPE lcType, LPCWSTR value);
