#include "afxstr.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cstring>
#include <cwctype>
#include <functional>
#include <new>
#include <stdexcept>

namespace
{
const wchar_t* const kNull = L"";

inline const wchar_t* orEmpty(LPCWSTR psz)
{
    return psz ? psz : kNull;
}

bool inSet(wchar_t ch, LPCWSTR set)
{
    return set && std::wcschr(set, ch) != nullptr && ch != 0;
}

int clampCount(int n, int max)
{
    return n < 0 ? 0 : (n > max ? max : n);
}

// Storage. m_pchData always points at a null-terminated text of m_nLength
// characters: in m_szInline while it fits there, in a heap block otherwise.

// Longest text a string may hold: lengths and indices are ints in the interface.
constexpr size_t kMaxLength = 0x7fffffff;

wchar_t* AllocateChars(size_t nCapacity)
{
    if (nCapacity > kMaxLength)
        throw std::bad_alloc();
    return static_cast<wchar_t*>(::operator new((nCapacity + 1) * sizeof(wchar_t)));
}

// The C library's wmemcpy and wmemmove only forward to memcpy and memmove.
void CopyChars(wchar_t* pDest, const wchar_t* pSrc, size_t n)
{
    if (n > 0)
        std::memcpy(pDest, pSrc, n * sizeof(wchar_t));
}

void MoveChars(wchar_t* pDest, const wchar_t* pSrc, size_t n)
{
    if (n > 0)
        std::memmove(pDest, pSrc, n * sizeof(wchar_t));
}

// Whether p lies in the n + 1 characters from pBegin (the text and its null).
bool PointsInto(const wchar_t* p, const wchar_t* pBegin, size_t n)
{
    return !std::less<const wchar_t*>()(p, pBegin) && !std::less<const wchar_t*>()(pBegin + n, p);
}

size_t CheckedSum(size_t a, size_t b)
{
    if (b > kMaxLength - a)
        throw std::bad_alloc();
    return a + b;
}
} // namespace

CString& CString::operator=(const CString& other)
{
    if (this != &other)
        Assign(other.m_pchData, other.m_nLength);
    return *this;
}

void CString::CopyHeapText(const CString& other)
{
    // A heap block may hold a short text: it is then copied inline.
    m_nLength = 0;
    Assign(other.m_pchData, other.m_nLength);
}

void CString::Empty() noexcept
{
    ReleaseHeap();
    SetLength(0);
}

size_t CString::CheckedIndex(int nIndex) const
{
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_nLength)
        throw std::out_of_range("CString index out of range");
    return static_cast<size_t>(nIndex);
}

void CString::Reserve(size_t nLength)
{
    const size_t nCapacity = Capacity();
    if (nLength <= nCapacity)
        return;
    // Geometric growth: a text built by appending is copied O(log n) times.
    const size_t nNewCapacity = std::max(nLength, std::min(2 * nCapacity, kMaxLength));
    wchar_t* pNew = AllocateChars(nNewCapacity);
    CopyChars(pNew, m_pchData, m_nLength + 1);
    ReleaseHeap();
    m_pchData = pNew;
    m_nCapacity = nNewCapacity;
}

void CString::Preallocate(int nLength)
{
    if (nLength > 0)
        Reserve(static_cast<size_t>(nLength));
}

void CString::Splice(size_t nPos, size_t nRemove, const wchar_t* pchInsert, size_t nInsert)
{
    const size_t nTail = m_nLength - nPos - nRemove;
    const size_t nNewLength = CheckedSum(m_nLength - nRemove, nInsert);
    const size_t nCapacity = Capacity();
    if (nNewLength > nCapacity)
    {
        // Built in a new block; pchInsert stays readable, even when it points
        // into this string, until the old block is given back.
        const size_t nNewCapacity = std::max(nNewLength, std::min(2 * nCapacity, kMaxLength));
        wchar_t* pNew = AllocateChars(nNewCapacity);
        CopyChars(pNew, m_pchData, nPos);
        CopyChars(pNew + nPos, pchInsert, nInsert);
        CopyChars(pNew + nPos + nInsert, m_pchData + nPos + nRemove, nTail);
        ReleaseHeap();
        m_pchData = pNew;
        m_nCapacity = nNewCapacity;
        SetLength(nNewLength);
        return;
    }
    if (nInsert > 0 && PointsInto(pchInsert, m_pchData, nCapacity))
    {
        // The inserted text lies in this string and would move under our feet.
        const CString strInsert(pchInsert, static_cast<int>(nInsert));
        Splice(nPos, nRemove, strInsert.m_pchData, nInsert);
        return;
    }
    MoveChars(m_pchData + nPos + nInsert, m_pchData + nPos + nRemove, nTail);
    CopyChars(m_pchData + nPos, pchInsert, nInsert);
    SetLength(nNewLength);
}

void CString::Assign(const wchar_t* pch, size_t nLength)
{
    if (nLength <= Capacity())
    {
        // pch may be part of this text: it then lies at or after m_pchData.
        MoveChars(m_pchData, pch, nLength);
        SetLength(nLength);
        return;
    }
    // A text longer than the capacity cannot be part of this one.
    wchar_t* pNew = AllocateChars(nLength);
    CopyChars(pNew, pch, nLength);
    ReleaseHeap();
    m_pchData = pNew;
    m_nCapacity = nLength;
    SetLength(nLength);
}

void CString::Resize(size_t nLength)
{
    if (nLength > m_nLength)
    {
        Reserve(nLength);
        std::wmemset(m_pchData + m_nLength, 0, nLength - m_nLength);
    }
    SetLength(nLength);
}

CString::CString(LPCWSTR psz) : CString()
{
    if (psz)
        Assign(psz, std::wcslen(psz));
}

CString::CString(LPCWSTR pch, int nLength) : CString()
{
    if (pch && nLength > 0)
        Assign(pch, static_cast<size_t>(nLength));
}

CString::CString(WCHAR ch, int nRepeat) : CString()
{
    if (nRepeat > 0)
    {
        Reserve(static_cast<size_t>(nRepeat));
        std::wmemset(m_pchData, ch, static_cast<size_t>(nRepeat));
        SetLength(static_cast<size_t>(nRepeat));
    }
}

CString::CString(const std::wstring& str) : CString()
{
    Assign(str.data(), str.size());
}

CString::CString(LPCSTR psz) : CString()
{
    if (!psz)
        return;
    std::mbstate_t state{};
    const char* src = psz;
    size_t len = std::mbsrtowcs(nullptr, &src, 0, &state);
    if (len == static_cast<size_t>(-1))
    {
        // Not valid in the current multibyte encoding: take the bytes as Latin-1.
        const size_t nBytes = std::strlen(psz);
        Reserve(nBytes);
        for (size_t i = 0; i < nBytes; ++i)
            m_pchData[i] = static_cast<unsigned char>(psz[i]);
        SetLength(nBytes);
        return;
    }
    Reserve(len);
    src = psz;
    state = std::mbstate_t{};
    std::mbsrtowcs(m_pchData, &src, len, &state);
    SetLength(len);
}

CString& CString::operator=(LPCWSTR psz)
{
    const wchar_t* pch = orEmpty(psz);
    Assign(pch, std::wcslen(pch));
    return *this;
}

CString& CString::operator=(WCHAR ch)
{
    Assign(&ch, 1);
    return *this;
}

CString& CString::operator+=(const CString& str)
{
    Splice(m_nLength, 0, str.m_pchData, str.m_nLength);
    return *this;
}

CString& CString::operator+=(LPCWSTR psz)
{
    const wchar_t* pch = orEmpty(psz);
    Splice(m_nLength, 0, pch, std::wcslen(pch));
    return *this;
}

CString& CString::operator+=(WCHAR ch)
{
    if (m_nLength < Capacity())
    {
        m_pchData[m_nLength] = ch;
        SetLength(m_nLength + 1);
    }
    else
        Splice(m_nLength, 0, &ch, 1);
    return *this;
}

int CString::Compare(LPCWSTR psz) const
{
    return std::wcscmp(m_pchData, orEmpty(psz));
}

int CString::CompareNoCase(LPCWSTR psz) const
{
    const wchar_t* a = m_pchData;
    const wchar_t* b = orEmpty(psz);
    for (;; ++a, ++b)
    {
        // Equal characters are equal in any case mapping: only differing ones are lowered.
        if (*a == *b)
        {
            if (*a == 0)
                return 0;
            continue;
        }
        wint_t ca = std::towlower(static_cast<wint_t>(*a));
        wint_t cb = std::towlower(static_cast<wint_t>(*b));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

int CString::Find(WCHAR ch, int nStart) const
{
    if (nStart < 0 || nStart >= GetLength())
        return -1;
    const wchar_t* pFound =
        std::wmemchr(m_pchData + nStart, ch, m_nLength - static_cast<size_t>(nStart));
    return pFound ? static_cast<int>(pFound - m_pchData) : -1;
}

int CString::Find(LPCWSTR pszSub, int nStart) const
{
    if (nStart < 0 || nStart > GetLength())
        return -1;
    const wchar_t* pchSub = orEmpty(pszSub);
    const size_t nSub = std::wcslen(pchSub);
    if (nSub == 0)
        return nStart;
    // The whole text is searched, embedded nulls too.
    const wchar_t* pEnd = m_pchData + m_nLength;
    for (const wchar_t* p = m_pchData + nStart; static_cast<size_t>(pEnd - p) >= nSub; ++p)
    {
        p = std::wmemchr(p, pchSub[0], static_cast<size_t>(pEnd - p) - nSub + 1);
        if (!p)
            return -1;
        if (std::wmemcmp(p, pchSub, nSub) == 0)
            return static_cast<int>(p - m_pchData);
    }
    return -1;
}

int CString::ReverseFind(WCHAR ch) const
{
    for (size_t i = m_nLength; i > 0; --i)
        if (m_pchData[i - 1] == ch)
            return static_cast<int>(i - 1);
    return -1;
}

int CString::FindOneOf(LPCWSTR pszCharSet) const
{
    for (size_t i = 0; i < m_nLength; ++i)
        if (inSet(m_pchData[i], pszCharSet))
            return static_cast<int>(i);
    return -1;
}

CString CString::Left(int nCount) const
{
    return CString(m_pchData, clampCount(nCount, GetLength()));
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    int first = clampCount(nFirst, GetLength());
    int count = clampCount(nCount, GetLength() - first);
    return CString(m_pchData + first, count);
}

CString CString::Right(int nCount) const
{
    int count = clampCount(nCount, GetLength());
    return CString(m_pchData + (GetLength() - count), count);
}

CString CString::SpanIncluding(LPCWSTR pszCharSet) const
{
    int n = 0;
    while (n < GetLength() && inSet(m_pchData[n], pszCharSet))
        ++n;
    return CString(m_pchData, n);
}

CString CString::SpanExcluding(LPCWSTR pszCharSet) const
{
    int n = 0;
    while (n < GetLength() && !inSet(m_pchData[n], pszCharSet))
        ++n;
    return CString(m_pchData, n);
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}
CString& CString::Trim(WCHAR chTarget)
{
    return TrimRight(chTarget).TrimLeft(chTarget);
}
CString& CString::Trim(LPCWSTR pszTargets)
{
    return TrimRight(pszTargets).TrimLeft(pszTargets);
}

CString& CString::TrimLeft()
{
    size_t n = 0;
    while (n < m_nLength && std::iswspace(static_cast<wint_t>(m_pchData[n])))
        ++n;
    Splice(0, n, nullptr, 0);
    return *this;
}

CString& CString::TrimLeft(WCHAR chTarget)
{
    size_t n = 0;
    while (n < m_nLength && m_pchData[n] == chTarget)
        ++n;
    Splice(0, n, nullptr, 0);
    return *this;
}

CString& CString::TrimLeft(LPCWSTR pszTargets)
{
    size_t n = 0;
    while (n < m_nLength && inSet(m_pchData[n], pszTargets))
        ++n;
    Splice(0, n, nullptr, 0);
    return *this;
}

CString& CString::TrimRight()
{
    size_t n = m_nLength;
    while (n > 0 && std::iswspace(static_cast<wint_t>(m_pchData[n - 1])))
        --n;
    SetLength(n);
    return *this;
}

CString& CString::TrimRight(WCHAR chTarget)
{
    size_t n = m_nLength;
    while (n > 0 && m_pchData[n - 1] == chTarget)
        --n;
    SetLength(n);
    return *this;
}

CString& CString::TrimRight(LPCWSTR pszTargets)
{
    size_t n = m_nLength;
    while (n > 0 && inSet(m_pchData[n - 1], pszTargets))
        --n;
    SetLength(n);
    return *this;
}

CString& CString::MakeUpper()
{
    for (size_t i = 0; i < m_nLength; ++i)
        m_pchData[i] = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(m_pchData[i])));
    return *this;
}

CString& CString::MakeLower()
{
    for (size_t i = 0; i < m_nLength; ++i)
        m_pchData[i] = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(m_pchData[i])));
    return *this;
}

int CString::Replace(LPCWSTR pszOld, LPCWSTR pszNew)
{
    const wchar_t* pchOld = orEmpty(pszOld);
    const wchar_t* pchNew = orEmpty(pszNew);
    const size_t nOld = std::wcslen(pchOld);
    const size_t nNew = std::wcslen(pchNew);
    if (nOld == 0)
        return 0;
    // Occurrences do not overlap and replaced text is not searched again, so
    // they are the ones found left to right in the text as it is now.
    size_t count = 0;
    for (int pos = Find(pchOld); pos >= 0; pos = Find(pchOld, pos + static_cast<int>(nOld)))
        ++count;
    if (count == 0)
        return 0;
    if (nNew > 0 && count > kMaxLength / nNew)
        throw std::bad_alloc();
    // Built in a string of its own: the old and new texts may be parts of this one.
    CString strResult;
    strResult.Reserve(CheckedSum(m_nLength - count * nOld, count * nNew));
    size_t nDone = 0;
    for (int pos = Find(pchOld); pos >= 0; pos = Find(pchOld, pos + static_cast<int>(nOld)))
    {
        const size_t nFound = static_cast<size_t>(pos);
        strResult.Splice(strResult.m_nLength, 0, m_pchData + nDone, nFound - nDone);
        strResult.Splice(strResult.m_nLength, 0, pchNew, nNew);
        nDone = nFound + nOld;
    }
    strResult.Splice(strResult.m_nLength, 0, m_pchData + nDone, m_nLength - nDone);
    *this = std::move(strResult);
    return static_cast<int>(count);
}

int CString::Replace(WCHAR chOld, WCHAR chNew)
{
    int count = 0;
    for (size_t i = 0; i < m_nLength; ++i)
        if (m_pchData[i] == chOld)
        {
            m_pchData[i] = chNew;
            ++count;
        }
    return count;
}

int CString::Remove(WCHAR ch)
{
    size_t nKept = 0;
    for (size_t i = 0; i < m_nLength; ++i)
        if (m_pchData[i] != ch)
            m_pchData[nKept++] = m_pchData[i];
    const size_t nRemoved = m_nLength - nKept;
    SetLength(nKept);
    return static_cast<int>(nRemoved);
}

int CString::Insert(int nIndex, WCHAR ch)
{
    Splice(static_cast<size_t>(clampCount(nIndex, GetLength())), 0, &ch, 1);
    return GetLength();
}

int CString::Insert(int nIndex, LPCWSTR psz)
{
    const wchar_t* pch = orEmpty(psz);
    Splice(static_cast<size_t>(clampCount(nIndex, GetLength())), 0, pch, std::wcslen(pch));
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    int first = clampCount(nIndex, GetLength());
    Splice(static_cast<size_t>(first), static_cast<size_t>(clampCount(nCount, GetLength() - first)),
           nullptr, 0);
    return GetLength();
}

std::wstring VekTranslateWideFormat(LPCWSTR pszFormat)
{
    std::wstring out;
    const wchar_t* p = orEmpty(pszFormat);
    while (*p)
    {
        if (*p != L'%')
        {
            out.push_back(*p++);
            continue;
        }
        out.push_back(*p++);
        if (*p == L'%')
        {
            out.push_back(*p++);
            continue;
        }
        while (*p && std::wcschr(L"-+ #0", *p))
            out.push_back(*p++);
        while (*p && (std::iswdigit(static_cast<wint_t>(*p)) || *p == L'*'))
            out.push_back(*p++);
        if (*p == L'.')
        {
            out.push_back(*p++);
            while (*p && (std::iswdigit(static_cast<wint_t>(*p)) || *p == L'*'))
                out.push_back(*p++);
        }
        // Length modifier, in Windows spelling.
        std::wstring length;
        if (std::wcsncmp(p, L"I64", 3) == 0)
        {
            length = L"ll";
            p += 3;
        }
        else if (std::wcsncmp(p, L"I32", 3) == 0)
            p += 3;
        else if (*p == L'I')
        {
            length = L"z";
            ++p;
        }
        else
            while (*p && std::wcschr(L"hlLwzjtq", *p))
                length.push_back(*p++);
        wchar_t conv = *p ? *p++ : 0;
        const bool narrow = length == L"h" || length == L"hh";
        const bool wide = length == L"l" || length == L"w";
        switch (conv)
        {
        case L's':
            out += narrow ? L"s" : L"ls";
            break;
        case L'S':
            out += wide ? L"ls" : L"s";
            break;
        case L'c':
            out += narrow ? L"c" : L"lc";
            break;
        case L'C':
            out += wide ? L"lc" : L"c";
            break;
        case 0:
            return out;
        case L'd':
        case L'i':
        case L'u':
        case L'x':
        case L'X':
        case L'o':
            // long is 32 bits on Windows: "%ld" takes an int-sized argument.
            out += (length == L"l" ? L"" : length);
            out.push_back(conv);
            break;
        default:
            out += (length == L"w" ? L"l" : length);
            out.push_back(conv);
        }
    }
    return out;
}

void CString::FormatV(LPCWSTR pszFormat, va_list args)
{
    const std::wstring format = VekTranslateWideFormat(pszFormat);
    // Most results are short: a stack buffer takes them without opening a
    // stream. vswprintf fails both when the text does not fit and on a
    // conversion error; the stream below then tells the two apart.
    wchar_t szShort[256];
    va_list shortCopy;
    va_copy(shortCopy, args);
    const int nShort =
        std::vswprintf(szShort, sizeof(szShort) / sizeof(szShort[0]), format.c_str(), shortCopy);
    va_end(shortCopy);
    if (nShort >= 0)
    {
        Assign(szShort, static_cast<size_t>(nShort));
        return;
    }
    // A growing memory stream sizes the result exactly in one pass; a conversion
    // error (a narrow argument the C locale cannot convert) gives an empty string.
    wchar_t* pBuffer = nullptr;
    size_t nSize = 0;
    // Running out of memory is not a conversion error: an empty text would pass
    // for a value, so it is reported as MFC reports it, by an exception.
    FILE* pStream = open_wmemstream(&pBuffer, &nSize);
    if (!pStream)
        throw std::bad_alloc();
    va_list copy;
    va_copy(copy, args);
    errno = 0;
    const int n = std::vfwprintf(pStream, format.c_str(), copy);
    const int nError = errno;
    va_end(copy);
    const bool bFlushed = std::fclose(pStream) == 0;
    if ((n < 0 && nError == ENOMEM) || !bFlushed || pBuffer == nullptr)
    {
        std::free(pBuffer);
        throw std::bad_alloc();
    }
    try
    {
        if (n >= 0)
            Assign(pBuffer, nSize);
        else
            SetLength(0);
    }
    catch (...)
    {
        std::free(pBuffer);
        throw;
    }
    std::free(pBuffer);
}

void CString::Format(LPCWSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::Format(UINT nFormatID, ...)
{
    CString format;
    if (!format.LoadString(nFormatID))
        return;
    va_list args;
    va_start(args, nFormatID);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(LPCWSTR pszFormat, ...)
{
    CString tail;
    va_list args;
    va_start(args, pszFormat);
    tail.FormatV(pszFormat, args);
    va_end(args);
    *this += tail;
}

LPWSTR CString::GetBuffer(int nMinBufLength)
{
    // The length becomes nMinBufLength (null characters added) until
    // ReleaseBuffer sets the real one.
    if (nMinBufLength > GetLength())
        Resize(static_cast<size_t>(nMinBufLength));
    return m_pchData;
}

LPWSTR CString::GetBufferSetLength(int nLength)
{
    Resize(static_cast<size_t>(nLength < 0 ? 0 : nLength));
    return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        SetLength(std::wcslen(m_pchData));
    else
        Resize(static_cast<size_t>(nNewLength));
}

CString operator+(const CString& a, const CString& b)
{
    CString r;
    r.Preallocate(a.GetLength() + b.GetLength());
    r += a;
    r += b;
    return r;
}

CString operator+(const CString& a, LPCWSTR b)
{
    CString r;
    r.Preallocate(a.GetLength() + (b ? static_cast<int>(std::wcslen(b)) : 0));
    r += a;
    r += b;
    return r;
}

CString operator+(LPCWSTR a, const CString& b)
{
    CString r;
    r.Preallocate((a ? static_cast<int>(std::wcslen(a)) : 0) + b.GetLength());
    r += a;
    r += b;
    return r;
}

CString operator+(const CString& a, WCHAR b)
{
    CString r;
    r.Preallocate(a.GetLength() + 1);
    r += a;
    r += b;
    return r;
}
