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
        const wchar_t* pszWhat;
        CString strActual;
        const wchar_t* pszExpected;
    } rows[] = {
        {L"%s takes a wide string", F(L"[%s]", L"wide"), L"[wide]"},
        {L"%s with non-ASCII text", F(L"%s", L"Grüße"), L"Grüße"},
        {L"%S takes a narrow string", F(L"%S", "narrow"), L"narrow"},
        {L"%hs takes a narrow string", F(L"%hs", "narrow"), L"narrow"},
        {L"%ls stays wide", F(L"%ls", L"wide"), L"wide"},
        {L"%c takes a wide character", F(L"%c", L'x'), L"x"},
        {L"%d", F(L"%d", -42), L"-42"},
        {L"%ld takes a 32-bit long", F(L"%ld", nNegative), L"-5"},
        {L"%lu takes a 32-bit long", F(L"%lu", 4000000000u), L"4000000000"},
        {L"%u", F(L"%u", UINT_MAX), L"4294967295"},
        {L"%I64d", F(L"%I64d", static_cast<LONGLONG>(-9000000000LL)), L"-9000000000"},
        {L"%f has six decimals", F(L"%f", 1.0), L"1.000000"},
        {L"%lf is %f", F(L"%lf", 0.75), L"0.750000"},
        {L"%5.2f pads and rounds", F(L"%5.2f", 3.14159), L" 3.14"},
        {L"%% is a percent sign", F(L"100%%"), L"100%"},
        {L"%-4d| pads on the right", F(L"%-4d|", 7), L"7   |"},
        {L"%05d pads with zeros", F(L"%05d", 42), L"00042"},
        {L"%x", F(L"%x", 255), L"ff"},
        {L"%.3s cuts", F(L"%.3s", L"abcdef"), L"abc"},
        {L"%*d takes the width", F(L"%*d", 4, 1), L"   1"},
        {L"mixed", F(L"%s = %d %S", L"n", 3, "units"), L"n = 3 units"},
    };
    for (const auto& row : rows)
        EXPECT_STREQ(row.pszExpected, row.strActual.GetString()) << row.pszWhat;
}

TEST(CStringFormat, LongResultsAndAppendFormat)
{
    CString strLong(L'y', 5000);
    EXPECT_EQ(5002, F(L"<%s>", strLong.GetString()).GetLength());

    CString str(L"a");
    str.AppendFormat(L"%d%s", 1, L"b");
    EXPECT_STREQ(L"a1b", str);
}

TEST(CStringEdit, SubstringsClampAsMfcDoes)
{
    const CString str(L"abcdef");
    const struct
    {
        CString strActual;
        const wchar_t* pszExpected;
    } rows[] = {
        {str.Mid(2), L"cdef"},       {str.Mid(2, 2), L"cd"},     {str.Mid(-3, 2), L"ab"},
        {str.Mid(4, 10), L"ef"},     {str.Mid(10), L""},         {str.Mid(2, -1), L""},
        {str.Left(-1), L""},         {str.Left(100), L"abcdef"}, {str.Right(2), L"ef"},
        {str.Right(100), L"abcdef"}, {str.Right(-1), L""},
    };
    for (const auto& row : rows)
        EXPECT_STREQ(row.pszExpected, row.strActual);
}

TEST(CStringEdit, FindsReportMinusOneOutOfRange)
{
    const CString str(L"a.b.c");
    EXPECT_EQ(1, str.Find(L'.'));
    EXPECT_EQ(3, str.Find(L'.', 2));
    EXPECT_EQ(-1, str.Find(L'.', 5));
    EXPECT_EQ(-1, str.Find(L'.', -1));
    EXPECT_EQ(2, str.Find(L"b.c"));
    EXPECT_EQ(-1, str.Find(L"b.c", 3));
    EXPECT_EQ(3, str.Find(L"", 3));
    EXPECT_EQ(-1, str.Find(L"", 6));
    EXPECT_EQ(3, str.ReverseFind(L'.'));
    EXPECT_EQ(-1, str.ReverseFind(L'x'));
    EXPECT_EQ(1, str.FindOneOf(L"x.c"));
    EXPECT_EQ(-1, CString().Find(L'a'));
}

TEST(CStringEdit, TrimsAndReplaces)
{
    const struct
    {
        CString strActual;
        const wchar_t* pszExpected;
    } rows[] = {
        {CString(L" \t x y \n").Trim(), L"x y"},       {CString(L"  ").Trim(), L""},
        {CString(L"xxaxx").Trim(L'x'), L"a"},          {CString(L"xyaxy").TrimRight(L"xy"), L"xya"},
        {CString(L"xyaxy").TrimLeft(L"yx"), L"axy"},   {CString(L"1.500").TrimRight(L'0'), L"1.5"},
        {CString(L"abc").SpanIncluding(L"ba"), L"ab"}, {CString(L"abc").SpanExcluding(L"c"), L"ab"},
    };
    for (const auto& row : rows)
        EXPECT_STREQ(row.pszExpected, row.strActual);

    CString str(L"aaa");
    EXPECT_EQ(3, str.Replace(L"a", L"aa")); // replaced text is not searched again
    EXPECT_STREQ(L"aaaaaa", str);
    EXPECT_EQ(0, str.Replace(L"", L"x"));
    EXPECT_EQ(6, str.Remove(L'a'));
    EXPECT_TRUE(str.IsEmpty());

    CString strEdit(L"abc");
    strEdit.Insert(10, L"!");
    strEdit.Delete(-5, 1);
    EXPECT_STREQ(L"bc!", strEdit);
    EXPECT_EQ(0, CString(L"Steel").CompareNoCase(L"STEEL"));
    EXPECT_LT(CString(L"a").CompareNoCase(L"B"), 0);
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
    EXPECT_EQ(5, list.GetCount());

    list.RemoveAt(list.Find(L"b2"));
    EXPECT_EQ(nullptr, list.Find(L"b2"));
    EXPECT_EQ(nullptr, list.Find(L"A")); // ordinal, case matters
    EXPECT_EQ(list.FindIndex(2), list.Find(L"c"));
    EXPECT_EQ(nullptr, list.FindIndex(4));
    EXPECT_EQ(nullptr, list.FindIndex(-1));
    EXPECT_STREQ(L"a", list.RemoveHead());
    EXPECT_STREQ(L"d", list.RemoveTail());
    EXPECT_EQ((std::vector<CString>{L"b", L"c"}), Items(list));

    POSITION pos = list.GetTailPosition();
    EXPECT_STREQ(L"c", list.GetPrev(pos));
    EXPECT_STREQ(L"b", list.GetPrev(pos));
    EXPECT_EQ(nullptr, pos);

    list.AddTail(list); // appending a list to itself copies it once
    EXPECT_EQ((std::vector<CString>{L"b", L"c", L"b", L"c"}), Items(list));
    EXPECT_EQ(list.FindIndex(2), list.Find(L"b", list.GetHeadPosition()));
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
}
} // namespace
