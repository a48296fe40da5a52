// CString: MFC's wide string, with the Windows wide formatting conventions.
#pragma once

#include "windef.h"

#include <cstdarg>
#include <string>

class VEK_PLATFORM_API CString
{
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(LPCWSTR psz);              // null gives an empty string
    CString(LPCWSTR pch, int nLength); // the first nLength characters
    CString(WCHAR ch, int nRepeat = 1);
    explicit CString(const std::wstring& str) : m_str(str) {}
    explicit CString(LPCSTR psz); // narrow text, converted from the C locale's multibyte form

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCWSTR psz);
    CString& operator=(WCHAR ch);

    CString& operator+=(const CString& str);
    CString& operator+=(LPCWSTR psz);
    CString& operator+=(WCHAR ch);

    operator LPCWSTR() const { return m_str.c_str(); }
    LPCWSTR GetString() const { return m_str.c_str(); }
    const std::wstring& str() const { return m_str; }

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    WCHAR GetAt(int nIndex) const { return m_str.at(static_cast<size_t>(nIndex)); }
    void SetAt(int nIndex, WCHAR ch) { m_str.at(static_cast<size_t>(nIndex)) = ch; }
    WCHAR operator[](int nIndex) const { return GetAt(nIndex); }
    void SetString(LPCWSTR psz) { *this = psz; }
    void Append(LPCWSTR psz) { *this += psz; }
    void AppendChar(WCHAR ch) { m_str.push_back(ch); }

    // Ordinal comparison: <0, 0 or >0.
    int Compare(LPCWSTR psz) const;
    // Comparison ignoring letter case (towlower of each character).
    int CompareNoCase(LPCWSTR psz) const;

    // Index of the first occurrence at or after nStart, or -1.
    int Find(WCHAR ch, int nStart = 0) const;
    int Find(LPCWSTR pszSub, int nStart = 0) const;
    // Index of the last occurrence of ch, or -1.
    int ReverseFind(WCHAR ch) const;
    int FindOneOf(LPCWSTR pszCharSet) const;

    // Substrings; counts and starts out of range are clamped as MFC does.
    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Right(int nCount) const;
    // Longest leading run of characters drawn from pszCharSet.
    CString SpanIncluding(LPCWSTR pszCharSet) const;
    CString SpanExcluding(LPCWSTR pszCharSet) const;

    // White space (iswspace) or the given characters removed from the ends.
    CString& Trim();
    CString& Trim(WCHAR chTarget);
    CString& Trim(LPCWSTR pszTargets);
    CString& TrimLeft();
    CString& TrimLeft(WCHAR chTarget);
    CString& TrimLeft(LPCWSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(WCHAR chTarget);
    CString& TrimRight(LPCWSTR pszTargets);

    CString& MakeUpper();
    CString& MakeLower();
    int Replace(LPCWSTR pszOld, LPCWSTR pszNew); // returns the number of replacements
    int Replace(WCHAR chOld, WCHAR chNew);
    int Remove(WCHAR ch);
    int Insert(int nIndex, WCHAR ch);
    int Insert(int nIndex, LPCWSTR psz);
    int Delete(int nIndex, int nCount = 1);

    // printf-style formatting with the Windows wide conventions: %s and %c take
    // wide arguments, %S and %hs narrow ones; %d, %ld, %u, %f, %lf as on Windows.
    // A conversion error (a narrow argument the C locale cannot convert) gives an
    // empty text; running out of memory throws std::bad_alloc, as every other
    // operation of the class does.
    void Format(LPCWSTR pszFormat, ...);
    void FormatV(LPCWSTR pszFormat, va_list args);
    void AppendFormat(LPCWSTR pszFormat, ...);
    // Format taking the format text from string resource nFormatID of the current resource handle.
    void Format(UINT nFormatID, ...);

    // Loads string resource nID from the current resource handle (or hInstance).
    // Returns FALSE and leaves the string unchanged when the string does not exist.
    BOOL LoadString(UINT nID);
    BOOL LoadString(HINSTANCE hInstance, UINT nID);

    // Direct buffer access for APIs that write into a character buffer.
    LPWSTR GetBuffer(int nMinBufLength = 0);
    LPWSTR GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    std::wstring m_str;
};

VEK_PLATFORM_API CString operator+(const CString& a, const CString& b);
VEK_PLATFORM_API CString operator+(const CString& a, LPCWSTR b);
VEK_PLATFORM_API CString operator+(LPCWSTR a, const CString& b);
VEK_PLATFORM_API CString operator+(const CString& a, WCHAR b);

inline bool operator==(const CString& a, const CString& b)
{
    return a.Compare(b) == 0;
}
inline bool operator==(const CString& a, LPCWSTR b)
{
    return a.Compare(b) == 0;
}
inline bool operator==(LPCWSTR a, const CString& b)
{
    return b.Compare(a) == 0;
}
inline bool operator!=(const CString& a, const CString& b)
{
    return a.Compare(b) != 0;
}
inline bool operator!=(const CString& a, LPCWSTR b)
{
    return a.Compare(b) != 0;
}
inline bool operator!=(LPCWSTR a, const CString& b)
{
    return b.Compare(a) != 0;
}
inline bool operator<(const CString& a, const CString& b)
{
    return a.Compare(b) < 0;
}

// Translates a Windows-convention wide format into the one glibc's vswprintf expects.
VEK_PLATFORM_API std::wstring VekTranslateWideFormat(LPCWSTR pszFormat);
