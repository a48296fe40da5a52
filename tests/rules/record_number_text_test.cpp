// Numbers of the rule's records: the texts written and the values read must be
// exactly those of the C library's formatted I/O and of a wide stream, which
// wrote and read them before; those serve as the reference here.
#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <locale>
#include <sstream>
#include <string>

#include "IntegerText.h"
#include "RecordNumberText.h"

namespace
{
CString PrintfText(const wchar_t* pszFormat, double dValue)
{
    CString strText;
    strText.Format(pszFormat, dValue);
    return strText;
}

// What a fresh classic-locale wide stream makes of the text: 0.0 on failure.
double StreamValue(const CString& strText)
{
    std::wistringstream stream(strText.str());
    stream.imbue(std::locale::classic());
    double dValue = 0.0;
    return (stream >> dValue) ? dValue : 0.0;
}

bool SameDouble(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(RecordNumberText, RealsAreWrittenAsPercentF)
{
    const double values[] = {
        0.0,
        -0.0,
        1.0,
        -1.0,
        0.75,
        1.5,
        0.0000005, // halfway in decimal, not in binary
        0.0000015,
        0.0000025,
        2.0000005,
        0.1,
        0.3,
        1e-7,
        -1e-7, // rounds to "-0.000000"
        123456.7890125,
        0.999999949999,
        0.9999995,
        9.9999995,
        1e15 + 0.3,
        9007199254740993.0,
        1e22,
        1.7976931348623157e308,
        -1.7976931348623157e308,
        DBL_MIN,
        4.9406564584124654e-324,
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN(),
        -std::numeric_limits<double>::quiet_NaN(),
    };
    for (double dValue : values)
        EXPECT_EQ(PrintfText(L"%f", dValue), FormatRecordReal(dValue)) << dValue;
    // A range of ordinary thicknesses in their usual steps.
    for (int i = -20000; i <= 20000; ++i)
    {
        const double dValue = i * 0.0254;
        ASSERT_EQ(PrintfText(L"%f", dValue), FormatRecordReal(dValue)) << dValue;
    }
}

TEST(RecordNumberText, RealsFollowADecimalCommaOfTheCLocale)
{
    const char* pszOld = std::setlocale(LC_NUMERIC, nullptr);
    const std::string strOld = pszOld ? pszOld : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "no German locale installed";
    const CString strExpected = PrintfText(L"%f", 2.5);
    const CString strActual = FormatRecordReal(2.5);
    std::setlocale(LC_NUMERIC, strOld.c_str());
    EXPECT_EQ(CString(L"2,500000"), strExpected);
    EXPECT_EQ(strExpected, strActual);
}

TEST(RecordNumberText, UnsignedValuesAreWrittenAsPercentU)
{
    for (uint32_t nValue : {0u, 1u, 9u, 10u, 4294967295u, 2147483648u, 123456789u})
    {
        CString strExpected;
        strExpected.Format(L"%u", nValue);
        EXPECT_EQ(strExpected, FormatRecordUnsigned(nValue)) << nValue;
    }
}

TEST(RecordNumberText, RealsAreReadAsAWideStreamReadsThem)
{
    const wchar_t* const texts[] = {
        L"1.000000",
        L"0.750000",
        L"-2.5",
        L"+2.5",
        L"  3.25",
        L"\t\n7",
        L"0",
        L"-0",
        L"-0.000000",
        L"00012.5000",
        L".5",
        L"5.",
        L"-.5",
        L"+.5",
        L".",
        L"-",
        L"+",
        L"",
        L" ",
        L"1.2.3",
        L"1,5",
        L"12abc",
        L"1e5",
        L"1E-3",
        L"1e",
        L"1e+",
        L"2.5 ",
        L"0x1p3",
        L"inf",
        L"nan",
        L"--1",
        L"+-1",
        L"1e400",
        L"-1e400",
        L"1e-400",
        L"2.2250738585072014e-308",
        L"0.000000000000000000000000000000000000000000000000000000000000000000000000000000"
        L"00000000000000000000000000000000000000000000000000000000000000000000000000000000"
        L"00000000000000000000000000000000000000000000000000000000000000000000000000000000"
        L"00000000000000000000000000000000000000000000000000000000000000000000000000000001",
        L"9007199254740993",
        L"0.1000000000000000055511151231257827021181583404541015625",
        L"179769313486231570000000000000000000000000000000000000000000000000000000000000000000"
        L"000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
        L"000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
        L"0000000000000000000000000000000000000000000000000000000000000000000000000",
        L"1\x00A0",
        L"\x3000"
        L"5",
        L"\x0661",
    };
    for (const wchar_t* pszText : texts)
    {
        const double dExpected = StreamValue(pszText);
        const double dActual = ReadRecordReal(pszText);
        EXPECT_TRUE(SameDouble(dExpected, dActual))
            << "\"" << CString(pszText).GetString() << "\": " << dExpected << " vs " << dActual;
    }
    // Every six-decimal text the writer makes reads back as the stream reads it.
    for (int i = -5000; i <= 5000; ++i)
    {
        const CString strText = FormatRecordReal(i * 0.0393700787);
        ASSERT_TRUE(SameDouble(StreamValue(strText), ReadRecordReal(strText)))
            << strText.GetString();
    }
}

TEST(IntegerText, WrittenAsPercentLdAndReadAsAPercentLdScan)
{
    for (long nValue : {0L, 1L, -1L, 7L, 40067L, -2147483648L, 2147483647L,
                        std::numeric_limits<long>::min(), std::numeric_limits<long>::max()})
    {
        CString strExpected;
        strExpected.Format(L"%ld", nValue);
        EXPECT_EQ(strExpected, FormatInteger(nValue)) << nValue;
    }

    const wchar_t* const texts[] = {
        L"0",
        L"7",
        L"-7",
        L"+7",
        L"  12",
        L"\t\r\n\v\f12",
        L"12abc",
        L"007",
        L"-0",
        L"",
        L" ",
        L"-",
        L"+",
        L"abc",
        L"--1",
        L"+-1",
        L"- 1",
        L"1.5",
        L"1e3",
        L"999999999999999999",
        L"-999999999999999999",
        L"9223372036854775807",
        L"-9223372036854775808",
        L"9223372036854775808",
        L"-9223372036854775809",
        L"99999999999999999999999",
        L"\x3000"
        L"5",
        L"\x00A0"
        L"5",
        L"\x0661",
    };
    for (const wchar_t* pszText : texts)
    {
        long nExpected = 12345;
        const bool bExpected = std::swscanf(pszText, L"%ld", &nExpected) == 1;
        long nActual = 12345;
        const bool bActual = ScanInteger(pszText, nActual);
        EXPECT_EQ(bExpected, bActual) << CString(pszText).GetString();
        EXPECT_EQ(nExpected, nActual) << CString(pszText).GetString();
    }
}
} // namespace
