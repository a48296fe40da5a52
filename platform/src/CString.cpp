#include "afxstr.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <new>
#include <vector>

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
} // namespace

CString::CString(LPCWSTR psz) : m_str(orEmpty(psz)) {}

CString::CString(LPCWSTR pch, int nLength)
{
    if (pch && nLength > 0)
        m_str.assign(pch, static_cast<size_t>(nLength));
}

CString::CString(WCHAR ch, int nRepeat)
{
    if (nRepeat > 0)
        m_str.assign(static_cast<size_t>(nRepeat), ch);
}

CString::CString(LPCSTR psz)
{
    if (!psz)
        return;
    std::mbstate_t state{};
    const char* src = psz;
    size_t len = std::mbsrtowcs(nullptr, &src, 0, &state);
    if (len == static_cast<size_t>(-1))
    {
        // Not valid in the current multibyte encoding: take the bytes as Latin-1.
        for (const char* p = psz; *p; ++p)
            m_str.push_back(static_cast<unsigned char>(*p));
        return;
    }
    m_str.resize(len);
    src = psz;
    state = std::mbstate_t{};
    std::mbsrtowcs(&m_str[0], &src, len, &state);
}

CString& CString::operator=(LPCWSTR psz)
{
    m_str = orEmpty(psz);
    return *this;
}

CString& CString::operator=(WCHAR ch)
{
    m_str.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const CString& str)
{
    m_str += str.m_str;
    return *this;
}

CString& CString::operator+=(LPCWSTR psz)
{
    m_str += orEmpty(psz);
    return *this;
}

CString& CString::operator+=(WCHAR ch)
{
    m_str.push_back(ch);
    return *this;
}

int CString::Compare(LPCWSTR psz) const
{
    return std::wcscmp(m_str.c_str(), orEmpty(psz));
}

int CString::CompareNoCase(LPCWSTR psz) const
{
    const wchar_t* a = m_str.c_str();
    const wchar_t* b = orEmpty(psz);
    for (;; ++a, ++b)
    {
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
    size_t pos = m_str.find(ch, static_cast<size_t>(nStart));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCWSTR pszSub, int nStart) const
{
    if (nStart < 0 || nStart > GetLength())
        return -1;
    size_t pos = m_str.find(orEmpty(pszSub), static_cast<size_t>(nStart));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(WCHAR ch) const
{
    size_t pos = m_str.rfind(ch);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(LPCWSTR pszCharSet) const
{
    for (size_t i = 0; i < m_str.size(); ++i)
        if (inSet(m_str[i], pszCharSet))
            return static_cast<int>(i);
    return -1;
}

CString CString::Left(int nCount) const
{
    return CString(m_str.substr(0, static_cast<size_t>(clampCount(nCount, GetLength()))));
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    int first = clampCount(nFirst, GetLength());
    int count = clampCount(nCount, GetLength() - first);
    return CString(m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Right(int nCount) const
{
    int count = clampCount(nCount, GetLength());
    return CString(m_str.substr(m_str.size() - static_cast<size_t>(count)));
}

CString CString::SpanIncluding(LPCWSTR pszCharSet) const
{
    size_t n = 0;
    while (n < m_str.size() && inSet(m_str[n], pszCharSet))
        ++n;
    return CString(m_str.substr(0, n));
}

CString CString::SpanExcluding(LPCWSTR pszCharSet) const
{
    size_t n = 0;
    while (n < m_str.size() && !inSet(m_str[n], pszCharSet))
        ++n;
    return CString(m_str.substr(0, n));
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
    while (n < m_str.size() && std::iswspace(static_cast<wint_t>(m_str[n])))
        ++n;
    m_str.erase(0, n);
    return *this;
}

CString& CString::TrimLeft(WCHAR chTarget)
{
    size_t n = 0;
    while (n < m_str.size() && m_str[n] == chTarget)
        ++n;
    m_str.erase(0, n);
    return *this;
}

CString& CString::TrimLeft(LPCWSTR pszTargets)
{
    size_t n = 0;
    while (n < m_str.size() && inSet(m_str[n], pszTargets))
        ++n;
    m_str.erase(0, n);
    return *this;
}

CString& CString::TrimRight()
{
    while (!m_str.empty() && std::iswspace(static_cast<wint_t>(m_str.back())))
        m_str.pop_back();
    return *this;
}

CString& CString::TrimRight(WCHAR chTarget)
{
    while (!m_str.empty() && m_str.back() == chTarget)
        m_str.pop_back();
    return *this;
}

CString& CString::TrimRight(LPCWSTR pszTargets)
{
    while (!m_str.empty() && inSet(m_str.back(), pszTargets))
        m_str.pop_back();
    return *this;
}

CString& CString::MakeUpper()
{
    for (auto& ch : m_str)
        ch = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(ch)));
    return *this;
}

CString& CString::MakeLower()
{
    for (auto& ch : m_str)
        ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
    return *this;
}

int CString::Replace(LPCWSTR pszOld, LPCWSTR pszNew)
{
    std::wstring from = orEmpty(pszOld);
    std::wstring to = orEmpty(pszNew);
    if (from.empty())
        return 0;
    int count = 0;
    for (size_t pos = m_str.find(from); pos != std::wstring::npos;
         pos = m_str.find(from, pos + to.size()))
    {
        m_str.replace(pos, from.size(), to);
        ++count;
    }
    return count;
}

int CString::Replace(WCHAR chOld, WCHAR chNew)
{
    int count = 0;
    for (auto& ch : m_str)
        if (ch == chOld)
        {
            ch = chNew;
            ++count;
        }
    return count;
}

int CString::Remove(WCHAR ch)
{
    size_t before = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return static_cast<int>(before - m_str.size());
}

int CString::Insert(int nIndex, WCHAR ch)
{
    return Insert(nIndex, CString(ch, 1));
}

int CString::Insert(int nIndex, LPCWSTR psz)
{
    m_str.insert(static_cast<size_t>(clampCount(nIndex, GetLength())), orEmpty(psz));
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    int first = clampCount(nIndex, GetLength());
    m_str.erase(static_cast<size_t>(first),
                static_cast<size_t>(clampCount(nCount, GetLength() - first)));
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
        m_str.assign(szShort, static_cast<size_t>(nShort));
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
    if (n >= 0)
        m_str.assign(pBuffer, nSize);
    else
        m_str.clear();
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
    if (nMinBufLength > GetLength())
        m_str.resize(static_cast<size_t>(nMinBufLength));
    return &m_str[0];
}

LPWSTR CString::GetBufferSetLength(int nLength)
{
    m_str.resize(static_cast<size_t>(nLength < 0 ? 0 : nLength));
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        m_str.resize(std::wcslen(m_str.c_str()));
    else
        m_str.resize(static_cast<size_t>(nNewLength));
}

CString operator+(const CString& a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, LPCWSTR b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(LPCWSTR a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, WCHAR b)
{
    CString r(a);
    r += b;
    return r;
}
