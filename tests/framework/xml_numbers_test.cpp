// Doubles in rule files are written in their shortest exact form; the common
// values take a shorter road than std::to_chars, which must never show.
#include "VekXMLNumbers.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace
{
std::string Shortest(double d)
{
    char szText[vek_xml::kShortestDoubleSize];
    return std::string(szText, vek_xml::FormatShortest(szText, d));
}

std::string ToChars(double d)
{
    char szText[64];
    return std::string(szText, std::to_chars(szText, szText + sizeof szText, d).ptr);
}

// Values a rule file holds (few decimals, both signs), their neighbours one
// unit in the last place away, the bounds of the short road, and values of
// every magnitude around them.
std::vector<double> Samples()
{
    std::vector<double> vecValues;
    const double arrScales[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
    for (double dScale : arrScales)
    {
        for (int k = 0; k <= 30000; k += (k < 2000 ? 1 : 7))
        {
            const double d = k / dScale;
            for (double dValue : {d, std::nextafter(d, 0.0), std::nextafter(d, 1e9)})
            {
                vecValues.push_back(dValue);
                vecValues.push_back(-dValue);
            }
        }
    }
    for (double dBound : {0.001, 10000.0, 9999.999999, 0.0010000001, 1e-7, 123456.0, 100000.0})
    {
        vecValues.push_back(dBound);
        vecValues.push_back(std::nextafter(dBound, 0.0));
        vecValues.push_back(std::nextafter(dBound, 1e9));
    }
    std::mt19937_64 random(20261206);
    std::uniform_real_distribution<double> exponent(-5.0, 6.0);
    for (int i = 0; i < 200000; ++i)
        vecValues.push_back(std::pow(10.0, exponent(random)));
    const double arrSpecial[] = {0.0,
                                 -0.0,
                                 std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::quiet_NaN(),
                                 std::numeric_limits<double>::denorm_min(),
                                 std::numeric_limits<double>::max(),
                                 0.1 + 0.2};
    vecValues.insert(vecValues.end(), std::begin(arrSpecial), std::end(arrSpecial));
    return vecValues;
}
} // namespace

TEST(XmlNumbers, ShortestTextIsWhatToCharsWritesUnderEveryRounding)
{
    const std::vector<double> vecValues = Samples();
    for (int nRounding : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO})
    {
        ASSERT_EQ(0, std::fesetround(nRounding));
        int nFailures = 0;
        for (double d : vecValues)
        {
            const std::string strExpected = ToChars(d);
            const std::string strShortest = Shortest(d);
            if (strShortest != strExpected && ++nFailures <= 10)
                ADD_FAILURE() << "rounding " << nRounding << ": " << strShortest << " instead of "
                              << strExpected;
        }
        EXPECT_EQ(0, nFailures) << "rounding " << nRounding;
    }
    std::fesetround(FE_TONEAREST);
}

TEST(XmlNumbers, CommonValuesReadBackExactly)
{
    const struct
    {
        double dValue;
        const char* pszText;
    } arrRows[] = {{1.0, "1"},     {0.75, "0.75"},     {-1.5, "-1.5"},        {0.001, "0.001"},
                   {0.04, "0.04"}, {9999.5, "9999.5"}, {0.039370, "0.03937"}, {2.54, "2.54"}};
    for (const auto& row : arrRows)
    {
        EXPECT_EQ(row.pszText, Shortest(row.dValue));
        double dBack = 0.0;
        ASSERT_TRUE(vek_xml::ParseDouble(row.pszText, dBack));
        EXPECT_EQ(row.dValue, dBack);
    }
}
