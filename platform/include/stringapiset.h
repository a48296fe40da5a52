// Conversions between wide text and UTF-8 with the Win32 signatures and flags.
//
// Wide characters are 32-bit here (wchar_t on Linux), so a wide text holds one
// code point per character: a character above U+FFFF is one wchar_t, not a
// surrogate pair, and every count of wide characters counts code points. A
// surrogate value (U+D800 to U+DFFF) is never a valid character in such a
// text, even two in a row that would pair in UTF-16; like values above
// U+10FFFF it is treated as Windows treats an unpaired surrogate.
//
// Only CP_UTF8 is provided; any other code page fails with ERROR_INVALID_PARAMETER.
// On failure both functions return 0 and set the thread's last error:
// ERROR_INVALID_PARAMETER (null text, zero or negative length other than -1,
// negative or missing output buffer, lpDefaultChar or lpUsedDefaultChar given),
// ERROR_INVALID_FLAGS (a flag other than the one named below),
// ERROR_INSUFFICIENT_BUFFER (the output does not fit; the buffer's content is
// then unspecified), ERROR_NO_UNICODE_TRANSLATION (invalid input with the
// ERR_INVALID_CHARS flag).
#pragma once

#include "windef.h"
#include "winnls.h"

// Decodes cbMultiByte bytes of UTF-8 (-1: up to and including the terminating
// zero byte, which is then converted and counted too) into lpWideCharStr.
// Returns the wide characters written, or with cchWideChar == 0 the number
// needed (lpWideCharStr is then not used). An ill-formed sequence becomes one
// U+FFFD per maximal subpart (the longest start of a well-formed sequence, or
// else one byte); with MB_ERR_INVALID_CHARS the call fails instead with
// ERROR_NO_UNICODE_TRANSLATION. Overlong forms, encoded surrogates and values
// above U+10FFFF are ill-formed.
extern "C" VEK_PLATFORM_API int MultiByteToWideChar(UINT CodePage, DWORD dwFlags,
                                                    LPCCH lpMultiByteStr, int cbMultiByte,
                                                    LPWSTR lpWideCharStr, int cchWideChar);

// Encodes cchWideChar wide characters (-1: up to and including the terminating
// zero, which is then converted and counted too) as UTF-8 into lpMultiByteStr.
// Returns the bytes written, or with cbMultiByte == 0 the number needed
// (lpMultiByteStr is then not used). A character with no UTF-8 form (a
// surrogate value or one above U+10FFFF) becomes U+FFFD (EF BF BD); with
// WC_ERR_INVALID_CHARS the call fails instead with ERROR_NO_UNICODE_TRANSLATION.
// lpDefaultChar and lpUsedDefaultChar must be null for UTF-8, as on Windows.
extern "C" VEK_PLATFORM_API int WideCharToMultiByte(UINT CodePage, DWORD dwFlags,
                                                    LPCWCH lpWideCharStr, int cchWideChar,
                                                    LPSTR lpMultiByteStr, int cbMultiByte,
                                                    LPCCH lpDefaultChar, LPBOOL lpUsedDefaultChar);
