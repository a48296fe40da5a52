// CString formatting with the Windows conventions, its edge cases, and CStringList.
#include "afx.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace
{
CString F(LPCWSTR pszFormat, ...)
{
    CString str;
    va_list args;
    va_start(args, pszFormat);
    str.FormatV(pszFormat, args);
    va_end(args);
    return str;
}

TEST(CStringFormat, FollowsTheWindowsWideConventions)
{
    const LONG nNegative = -5;
    const struct
    {
        CString strActual;
        const wchar_t* pszExpected;
    } rows[] = {
        {F(L"[%s]", L"wide"), L"[wide]"},
        {F(L"%s", L"Grüße"), L"Grüße"},
        {F(L"%S|%hs", "a", "b"), L"a|b"},
        {F(L"%ls%c", L"w", L'x'), L"wx"},
        {F(L"%d", -42), L"-42"},
        {F(L"%ld", nNegative), L"-5"},
        {F(L"%lu", 4000000000u), L"4000000000"},
        {F(L"%u", UINT_MAX), L"4294967295"},
        {F(L"%I64d", -9000000000LL), L"-9000000000"},
        {F(L"%f", 1.0), L"1.000000"},
        {F(L"%lf", 0.75), L"0.750000"},
        {F(L"%5.2f", 3.14159), L" 3.14"},
        {F(L"100%%"), L"100%"},
        {F(L"%-4d|%05d", 7, 42), L"7   |00042"},
        {F(L"%.3s", L"abcdef"), L"abc"},
        {F(L"%*d", 4, 1), L"   1"},
        {F(L"<%s>", CString(L'y', 5000).GetString()).Mid(4997), L"yyyy>"},
    };
    for (const auto& row : rows)
        EXPECT_STREQ(row.pszExpected, row.strActual.GetString());
}

TEST(CStringEdit, ClampsFindsTrimsAndReplacesAsMfcDoes)
{
    const CString str(L"a.b.c");
    const struct
    {
        CString strActual;
        const wchar_t* pszExpected;
    } rows[] = {
        {str.Mid(2), L"b.c"},
        {str.Mid(-3, 2), L"a."},
        {str.Mid(4, 10), L"c"},
        {str.Mid(10), L""},
        {str.Mid(2, -1), L""},
        {str.Left(-1), L""},
        {str.Right(100), L"a.b.c"},
        {CString(L" \t x \n").Trim(), L"x"},
        {CString(L"xyaxy").TrimRight(L"xy"), L"xya"},
        {CString(L"1.500").TrimRight(L'0'), L"1.5"},
        {CString(L"abc").SpanIncluding(L"ba"), L"ab"},
    };
    for (const auto& row : rows)
        EXPECT_STREQ(row.pszExpected, row.strActual);

    const int finds[][2] = {{str.Find(L'.', 2), 3},     {str.Find(L'.', 5), -1},
                            {str.Find(L'.', -1), -1},   {str.Find(L"b.c", 3), -1},
                            {str.Find(L"", 3), 3},      {str.Find(L"", 6), -1},
                            {str.ReverseFind(L'.'), 3}, {str.FindOneOf(L"xc"), 4}};
    for (const auto& find : finds)
        EXPECT_EQ(find[1], find[0]);

    CString strEdit(L"aaa");
    EXPECT_EQ(3, strEdit.Replace(L"a", L"aa")); // replaced text is not searched again
    EXPECT_STREQ(L"aaaaaa", strEdit);
    EXPECT_EQ(0, strEdit.Replace(L"", L"x"));
    struct Comparison
    {
        const wchar_t* pszLeft;
        const wchar_t* pszRight;
        int nSign;
    };
    const Comparison comparisons[] = {
        {L"Steel", L"STEEL", 0},
        {L"Steel", L"Steel", 0},
        {L"Steel", L"Steels", -1},
        {L"Steels", L"STEEL", 1},
        {L"abc", L"abD", -1},
        {L"ABD", L"abc", 1},
        {L"", L"", 0},
        {L"", L"a", -1},
        {L"Ab", L"aB", 0},
    };
    for (const Comparison& c : comparisons)
    {
        const int nResult = CString(c.pszLeft).CompareNoCase(c.pszRight);
        EXPECT_EQ(c.nSign, (nResult > 0) - (nResult < 0)) << c.pszLeft << L" " << c.pszRight;
    }
}

std::vector<CString> Items(const CStringList& list)
{
    std::vector<CString> items;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        items.push_back(list.GetNext(pos));
    return items;
}

TEST(CStringListTest, InsertsRemovesAndFinds)
{
    CStringList list;
    list.AddTail(L"b");
    list.AddHead(L"a");
    POSITION posC = list.AddTail(L"c");
    list.InsertBefore(posC, L"b2");
    list.InsertAfter(posC, L"d");
    EXPECT_EQ((std::vector<CString>{L"a", L"b", L"b2", L"c", L"d"}), Items(list));

    list.RemoveAt(list.Find(L"b2"));
    EXPECT_EQ(nullptr, list.Find(L"A")); // ordinal, case matters
    EXPECT_EQ(list.FindIndex(2), list.Find(L"c"));
    EXPECT_EQ(nullptr, list.FindIndex(4));
    EXPECT_STREQ(L"a", list.RemoveHead());
    EXPECT_STREQ(L"d", list.RemoveTail());
    list.AddTail(list); // appending a list to itself copies it once
    EXPECT_EQ((std::vector<CString>{L"b", L"c", L"b", L"c"}), Items(list));
    EXPECT_EQ(list.FindIndex(2), list.Find(L"b", list.GetHeadPosition()));
    POSITION pos = list.GetTailPosition();
    list.GetPrev(pos);
    EXPECT_STREQ(L"b", list.GetPrev(pos));
    list.RemoveAll();
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
}
} // namespace
