// CString: MFC's wide string, with the Windows wide formatting conventions.
//
// A text of up to kInlineLength characters is kept inside the object; a longer
// one in a heap block whose capacity grows geometrically, so that appending
// one character at a time costs amortised constant time. Almost every name,
// number and attribute value the rule storage handles is short, and wide
// characters are four bytes here, so the standard string's inline buffer
// (three characters) would put nearly all of them on the heap.
#pragma once

#include "windef.h"

#include <cstdarg>
#include <cstddef>
#include <cstring>
#include <new>
#include <string>

class VEK_PLATFORM_API CString
{
public:
    // Longest text held without a heap block. With it the object is 96 bytes;
    // the size was chosen by measuring the rule storage (docs/performance.md).
    static constexpr int kInlineLength = 19;

    CString() noexcept : m_pchData(m_szInline), m_nLength(0) { m_szInline[0] = 0; }
    CString(const CString& other) : m_pchData(m_szInline), m_nLength(other.m_nLength)
    {
        if (other.IsInline())
            std::memcpy(m_szInline, other.m_szInline, sizeof(m_szInline));
        else
            CopyHeapText(other);
    }
    // Takes the other's heap block, or copies its inline text; the other is left empty.
    CString(CString&& other) noexcept : m_pchData(m_szInline), m_nLength(0) { TakeFrom(other); }
    CString(LPCWSTR psz);              // null gives an empty string
    CString(LPCWSTR pch, int nLength); // the first nLength characters
    CString(WCHAR ch, int nRepeat = 1);
    explicit CString(const std::wstring& str); // every character, embedded nulls too
    explicit CString(LPCSTR psz); // narrow text, converted from the C locale's multibyte form
    ~CString() { ReleaseHeap(); }

    CString& operator=(const CString& other);
    // As the move constructor; the other is left empty.
    CString& operator=(CString&& other) noexcept
    {
        if (this != &other)
        {
            ReleaseHeap();
            TakeFrom(other);
        }
        return *this;
    }
    CString& operator=(LPCWSTR psz);
    CString& operator=(WCHAR ch);

    CString& operator+=(const CString& str);
    CString& operator+=(LPCWSTR psz);
    CString& operator+=(WCHAR ch);

    // The text, always null-terminated; valid until the next change of the string.
    operator LPCWSTR() const { return m_pchData; }
    LPCWSTR GetString() const { return m_pchData; }
    // A copy of the text as a standard string (embedded nulls included).
    std::wstring str() const { return std::wstring(m_pchData, m_nLength); }

    int GetLength() const { return static_cast<int>(m_nLength); }
    bool IsEmpty() const { return m_nLength == 0; }
    // Empties the string and gives back its heap block.
    void Empty() noexcept;
    // Throws std::out_of_range when nIndex does not lie in [0, length).
    WCHAR GetAt(int nIndex) const { return m_pchData[CheckedIndex(nIndex)]; }
    void SetAt(int nIndex, WCHAR ch) { m_pchData[CheckedIndex(nIndex)] = ch; }
    WCHAR operator[](int nIndex) const { return GetAt(nIndex); }
    void SetString(LPCWSTR psz) { *this = psz; }
    void Append(LPCWSTR psz) { *this += psz; }
    void AppendChar(WCHAR ch) { *this += ch; }
    // Makes room for nLength characters without changing the text.
    void Preallocate(int nLength);

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
    bool IsInline() const { return m_pchData == m_szInline; }
    size_t Capacity() const { return IsInline() ? kInlineLength : m_nCapacity; }
    size_t CheckedIndex(int nIndex) const;
    // Makes room for nLength characters, keeping the text.
    void Reserve(size_t nLength);
    // Replaces nRemove characters at nPos by nInsert characters from pchInsert,
    // which may point into this string.
    void Splice(size_t nPos, size_t nRemove, const wchar_t* pchInsert, size_t nInsert);
    void Assign(const wchar_t* pch, size_t nLength);
    // Sets the length to nLength; characters added are null.
    void Resize(size_t nLength);
    void SetLength(size_t nLength)
    {
        m_nLength = nLength;
        m_pchData[nLength] = 0;
    }
    // Copies the text of other, which has a heap block, into this string, inline and empty.
    void CopyHeapText(const CString& other);
    // Moves the text of other into this string, inline and empty, and empties other.
    void TakeFrom(CString& other) noexcept
    {
        m_nLength = other.m_nLength;
        if (other.IsInline())
        {
            // The whole array, a fixed size, is cheaper to copy than the text alone.
            std::memcpy(m_szInline, other.m_szInline, sizeof(m_szInline));
        }
        else
        {
            m_pchData = other.m_pchData;
            m_nCapacity = other.m_nCapacity;
            other.m_pchData = other.m_szInline;
        }
        other.SetLength(0);
    }
    void ReleaseHeap() noexcept
    {
        if (!IsInline())
        {
            ::operator delete(m_pchData);
            m_pchData = m_szInline;
        }
    }

    wchar_t* m_pchData; // m_szInline, or a heap block of m_nCapacity + 1 characters
    size_t m_nLength;
    union {
        size_t m_nCapacity; // characters, without the terminating null
        wchar_t m_szInline[kInlineLength + 1];
    };
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
