// GoogleTest prints CString values as their text (non-ASCII characters as '?'), not as addresses.
#pragma once

#include <afxstr.h>

#include <ostream>

inline void PrintTo(const CString& str, std::ostream* pOut)
{
    *pOut << '"';
    for (int i = 0; i < str.GetLength(); ++i)
        *pOut << (str[i] < 0x80 ? static_cast<char>(str[i]) : '?');
    *pOut << '"';
}
