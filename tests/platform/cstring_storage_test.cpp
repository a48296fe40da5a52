// CString's storage: texts up to kInlineLength characters need no heap block,
// longer ones grow geometrically, edits across that boundary and on the
// string's own text give what a standard string gives, and a failing
// allocation leaves the string as it was.
//
// This program replaces the global operator new and delete to count the heap
// blocks taken while a test asks for it, and to make one allocation fail.
#include "afx.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace
{
bool g_bCounting = false;
long g_nAllocations = 0;
long g_nLiveBlocks = 0;
bool g_bFailNext = false;

void* CountedNew(size_t nSize)
{
    if (g_bFailNext)
    {
        g_bFailNext = false;
        throw std::bad_alloc();
    }
    void* p = std::malloc(nSize ? nSize : 1);
    if (!p)
        throw std::bad_alloc();
    if (g_bCounting)
    {
        ++g_nAllocations;
        ++g_nLiveBlocks;
    }
    return p;
}

void CountedDelete(void* p) noexcept
{
    if (p && g_bCounting)
        --g_nLiveBlocks;
    std::free(p);
}
} // namespace

void* operator new(size_t nSize)
{
    return CountedNew(nSize);
}
void* operator new[](size_t nSize)
{
    return CountedNew(nSize);
}
void operator delete(void* p) noexcept
{
    CountedDelete(p);
}
void operator delete[](void* p) noexcept
{
    CountedDelete(p);
}
void operator delete(void* p, size_t) noexcept
{
    CountedDelete(p);
}
void operator delete[](void* p, size_t) noexcept
{
    CountedDelete(p);
}

namespace
{
constexpr int K = CString::kInlineLength;

static_assert(std::is_nothrow_move_constructible<CString>::value, "moves must not throw");
static_assert(std::is_nothrow_move_assignable<CString>::value, "moves must not throw");

// Heap blocks taken by fn; blocks taken before are not counted when freed.
long AllocationsOf(const std::function<void()>& fn)
{
    g_nAllocations = 0;
    g_bCounting = true;
    fn();
    g_bCounting = false;
    return g_nAllocations;
}

// A text of n distinct-looking characters.
std::wstring Text(int n, wchar_t chFirst = L'a')
{
    std::wstring str;
    for (int i = 0; i < n; ++i)
        str.push_back(static_cast<wchar_t>(chFirst + i % 26));
    return str;
}

void ExpectText(const std::wstring& strExpected, const CString& str)
{
    EXPECT_EQ(static_cast<int>(strExpected.size()), str.GetLength());
    EXPECT_EQ(strExpected, str.str());
    EXPECT_EQ(L'\0', str.GetString()[str.GetLength()]) << "not null-terminated";
}

const int kLengths[] = {0, 1, K - 1, K, K + 1, 2 * K, 2 * K + 1, 100};

TEST(CStringStorage, ShortTextsTakeNoHeapBlockAndMovesTakeNone)
{
    for (int n : kLengths)
    {
        SCOPED_TRACE(n);
        const std::wstring strText = Text(n);
        const long nExpected = n > K ? 1 : 0;
        CString str;
        EXPECT_EQ(nExpected, AllocationsOf([&] { str = CString(strText.c_str()); }));
        ExpectText(strText, str);

        CString strCopy;
        EXPECT_EQ(nExpected, AllocationsOf([&] { strCopy = str; }));
        ExpectText(strText, strCopy);
        EXPECT_EQ(nExpected, AllocationsOf([&] { CString strCopied(str); }));

        CString strMoved;
        EXPECT_EQ(0, AllocationsOf([&] { strMoved = std::move(strCopy); }));
        ExpectText(strText, strMoved);
        ExpectText(L"", strCopy); // NOLINT(bugprone-use-after-move): moves leave the source empty
        CString strConstructed(std::move(strMoved));
        ExpectText(strText, strConstructed);
        ExpectText(L"", strMoved); // NOLINT(bugprone-use-after-move)

        strCopy += L"x"; // a moved-from string is usable
        ExpectText(L"x", strCopy);
    }
}

TEST(CStringStorage, AppendingGrowsGeometricallyAndEmptyGivesTheBlockBack)
{
    CString str;
    std::wstring strExpected;
    const long nAllocations = AllocationsOf([&] {
        for (int i = 0; i < 1000; ++i)
            str.AppendChar(static_cast<wchar_t>(L'a' + i % 26));
    });
    strExpected = Text(1000);
    ExpectText(strExpected, str);
    EXPECT_LE(nAllocations, 8)
        << "1000 appends should double the capacity a few times, not grow by one";

    g_nLiveBlocks = 0;
    g_bCounting = true;
    str.Empty();
    g_bCounting = false;
    EXPECT_EQ(-1, g_nLiveBlocks) << "Empty keeps its heap block";
    ExpectText(L"", str);
    const std::wstring strShort = Text(K);
    EXPECT_EQ(0, AllocationsOf([&] { str = strShort.c_str(); }));
    ExpectText(strShort, str);
}

// Each edit applied to a CString and to a standard string starting from the same
// text must give the same text: base texts and arguments of lengths around the
// inline size, so that edits stay inline, cross to the heap, and shrink again.
TEST(CStringStorage, EditsAcrossTheInlineBoundaryMatchAStandardString)
{
    struct Edit
    {
        const char* pszName;
        std::function<void(CString&, const std::wstring& strArg, int nIndex)> edit;
        std::function<void(std::wstring&, const std::wstring& strArg, size_t nIndex)> model;
    };
    const Edit edits[] = {
        {"+= LPCWSTR", [](CString& s, const std::wstring& a, int) { s += a.c_str(); },
         [](std::wstring& s, const std::wstring& a, size_t) { s += a; }},
        {"+= CString", [](CString& s, const std::wstring& a, int) { s += CString(a.c_str()); },
         [](std::wstring& s, const std::wstring& a, size_t) { s += a; }},
        {"AppendChar", [](CString& s, const std::wstring&, int) { s.AppendChar(L'#'); },
         [](std::wstring& s, const std::wstring&, size_t) { s += L'#'; }},
        {"operator+", [](CString& s, const std::wstring& a, int) { s = s + a.c_str(); },
         [](std::wstring& s, const std::wstring& a, size_t) { s += a; }},
        {"assign", [](CString& s, const std::wstring& a, int) { s = a.c_str(); },
         [](std::wstring& s, const std::wstring& a, size_t) { s = a; }},
        {"Insert text", [](CString& s, const std::wstring& a, int i) { s.Insert(i, a.c_str()); },
         [](std::wstring& s, const std::wstring& a, size_t i) { s.insert(i, a); }},
        {"Insert char", [](CString& s, const std::wstring&, int i) { s.Insert(i, L'#'); },
         [](std::wstring& s, const std::wstring&, size_t i) { s.insert(i, 1, L'#'); }},
        {"Delete", [](CString& s, const std::wstring& a, int i) { s.Delete(i, int(a.size())); },
         [](std::wstring& s, const std::wstring& a, size_t i) { s.erase(i, a.size()); }},
        {"Replace",
         [](CString& s, const std::wstring& a, int) { s.Replace(L"c", (a + L"|").c_str()); },
         [](std::wstring& s, const std::wstring& a, size_t) {
             for (size_t pos = s.find(L'c'); pos != std::wstring::npos;
                  pos = s.find(L'c', pos + a.size() + 1))
                 s.replace(pos, 1, a + L"|");
         }},
        {"Replace shrinking", [](CString& s, const std::wstring&, int) { s.Replace(L"bcd", L"-"); },
         [](std::wstring& s, const std::wstring&, size_t) {
             for (size_t pos = s.find(L"bcd"); pos != std::wstring::npos;
                  pos = s.find(L"bcd", pos + 1))
                 s.replace(pos, 3, L"-");
         }},
        {"GetBufferSetLength",
         [](CString& s, const std::wstring& a, int) { s.GetBufferSetLength(int(a.size())); },
         [](std::wstring& s, const std::wstring& a, size_t) { s.resize(a.size()); }},
        {"GetBuffer, write, ReleaseBuffer()",
         [](CString& s, const std::wstring& a, int) {
             wchar_t* p = s.GetBuffer(int(a.size()) + 1);
             std::wmemcpy(p, a.c_str(), a.size() + 1);
             s.ReleaseBuffer();
         },
         [](std::wstring& s, const std::wstring& a, size_t) { s = a; }},
        {"GetBuffer, ReleaseBuffer(n)",
         [](CString& s, const std::wstring& a, int) {
             s.GetBuffer(int(a.size()));
             s.ReleaseBuffer(int(a.size()));
         },
         [](std::wstring& s, const std::wstring& a, size_t) { s.resize(a.size()); }},
    };
    const int kArgLengths[] = {0, 1, K - 1, K, K + 1, 3 * K};
    for (const Edit& edit : edits)
        for (int nBase : kLengths)
            for (int nArg : kArgLengths)
                for (int nIndex : {0, nBase / 2, nBase})
                {
                    SCOPED_TRACE(::testing::Message()
                                 << edit.pszName << ": base " << nBase << ", argument " << nArg
                                 << ", at " << nIndex);
                    const std::wstring strBase = Text(nBase);
                    const std::wstring strArg = Text(nArg, L'A');
                    CString str(strBase.c_str());
                    std::wstring strModel = strBase;
                    edit.edit(str, strArg, nIndex);
                    edit.model(strModel, strArg, static_cast<size_t>(nIndex));
                    ExpectText(strModel, str);
                }
}

// Edits whose argument is the string itself or a part of its own text give
// what the same edit gives with the argument taken from a separate copy.
TEST(CStringStorage, EditsWithItsOwnTextAsArgument)
{
    const struct
    {
        const char* pszName;
        std::function<void(CString& target, const CString& source)> edit;
    } cases[] = {
        {"s += s", [](CString& t, const CString& s) { t += s; }},
        {"s += tail", [](CString& t, const CString& s) { t += s.GetString() + s.GetLength() / 2; }},
        {"s = s", [](CString& t, const CString& s) { t = s; }},
        {"s = s.Mid(1)", [](CString& t, const CString& s) { t = s.Mid(1); }},
        {"s = own tail",
         [](CString& t, const CString& s) { t = s.GetString() + s.GetLength() / 2; }},
        {"s = s + s", [](CString& t, const CString& s) { t = s + s; }},
        {"Insert(1, s)", [](CString& t, const CString& s) { t.Insert(1, s); }},
        {"Insert(0, own tail)",
         [](CString& t, const CString& s) { t.Insert(0, s.GetString() + (s.IsEmpty() ? 0 : 1)); }},
        {"Replace(own head, s)", [](CString& t, const CString& s) { t.Replace(s.Left(2), s); }},
        {"Replace(s, own tail)",
         [](CString& t, const CString& s) { t.Replace(s, s.GetString() + (s.IsEmpty() ? 0 : 1)); }},
    };
    for (const auto& c : cases)
        for (int n : {0, 1, 2, K / 2, K / 2 + 1, K - 1, K, K + 1, 2 * K, 40})
        {
            SCOPED_TRACE(::testing::Message() << c.pszName << ", length " << n);
            // "abab..." so that Replace finds its text more than once.
            CString str;
            for (int i = 0; i < n; ++i)
                str.AppendChar(i % 2 ? L'b' : L'a');
            CString strExpected(str);
            const CString strSeparate(str);
            c.edit(strExpected, strSeparate);
            c.edit(str, str);
            ExpectText(strExpected.str(), str);
        }
}

TEST(CStringStorage, FailedAllocationLeavesTheStringUnchanged)
{
    const std::wstring strLong = Text(3 * K);
    const CString strLongCopy(strLong);
    const struct
    {
        const char* pszName;
        std::function<void(CString&)> edit;
    } edits[] = {
        {"append", [&](CString& s) { s += strLong.c_str(); }},
        {"assign", [&](CString& s) { s = strLong.c_str(); }},
        {"copy", [&](CString& s) { s = strLongCopy; }},
        {"Insert", [&](CString& s) { s.Insert(1, strLong.c_str()); }},
        {"Replace", [&](CString& s) { s.Replace(L"b", strLong.c_str()); }},
        {"GetBuffer", [&](CString& s) { s.GetBuffer(4 * K); }},
        {"Format", [&](CString& s) { s.Format(L"%s", strLong.c_str()); }},
    };
    for (const auto& e : edits)
        for (int n : {2, K, 2 * K})
        {
            SCOPED_TRACE(::testing::Message() << e.pszName << ", length " << n);
            const std::wstring strBefore = Text(n);
            CString str(strBefore.c_str());
            g_bFailNext = true;
            EXPECT_THROW(e.edit(str), std::bad_alloc);
            g_bFailNext = false;
            ExpectText(strBefore, str);
        }
}

TEST(CStringStorage, KeepsEmbeddedNullsAndChecksIndices)
{
    for (int n : {K - 2, K, K + 3})
    {
        std::wstring strText = Text(n);
        strText[1] = L'\0';
        const CString str(strText);
        ExpectText(strText, str);
        EXPECT_EQ(1, str.Find(L'\0'));
        EXPECT_EQ(2, str.Find(L"cd")); // the search goes on past the null
        EXPECT_EQ(n - 1, str.ReverseFind(strText.back()));
        EXPECT_EQ(strText.back(), str.GetAt(n - 1));
        EXPECT_THROW(str.GetAt(n), std::out_of_range);
        EXPECT_THROW(str.GetAt(-1), std::out_of_range);
        CString strEdit(str);
        EXPECT_THROW(strEdit.SetAt(n, L'x'), std::out_of_range);
        strEdit.SetAt(n - 1, L'x');
        EXPECT_EQ(L'x', strEdit.GetAt(n - 1));
    }
}
} // namespace
