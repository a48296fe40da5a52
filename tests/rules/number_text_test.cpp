// Number and text helpers, and the fixed material tables.
#include <gtest/gtest.h>

#include <CVEKUnitConvertor.h>
#include <winnls.h>

#include <cfenv>
#include <cmath>
#include <cstring>
#include <limits>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

#include "MaterialTables.h"
#include "NumberText.h"
#include "VEKUniformThicknessRule.h"

namespace
{
class NumberText : public ::testing::Test
{
protected:
    void TearDown() override { VekSetUserLocaleOverride(LOCALE_SDECIMAL, nullptr); }
};

TEST_F(NumberText, FormatDoubleTrimsZerosAndKeepsOneAfterTheSeparator)
{
    struct Row
    {
        const wchar_t* pszSeparator;
        double dValue;
        const wchar_t* pszExpected;
    } rows[] = {
        {L".", 1.0, L"1.0"},
        {L".", 0.75, L"0.75"},
        {L".", 10.0, L"10.0"},
        {L".", 2.5, L"2.5"},
        {L".", 0.0, L"0.0"},
        {L".", 0.0393700787, L"0.03937"},
        {L".", 1234567.125, L"1234567.125"},
        // The runtime still formats with a full stop; a comma user gets no zero appended.
        {L",", 10.0, L"10."},
        {L",", 0.75, L"0.75"},
    };
    for (const Row& row : rows)
    {
        VekSetUserLocaleOverride(LOCALE_SDECIMAL, row.pszSeparator);
        EXPECT_EQ(FormatDouble(row.dValue), row.pszExpected)
            << row.dValue << " with " << row.pszSeparator;
    }
}

TEST_F(NumberText, FormattingFollowsTheUserSeparatorWithoutTouchingTheRuntime)
{
    VekSetUserLocaleOverride(LOCALE_SDECIMAL, L",");
    EXPECT_EQ(GetUserDecimalSeparator(), L',');
    wchar_t szBuffer[32];
    std::swprintf(szBuffer, 32, L"%.1f", 2.5);
    EXPECT_STREQ(szBuffer, L"2.5");
    CString strText = L"3,500";
    TrimTrailingZeros(strText);
    EXPECT_EQ(strText, L"3,5");
    strText = L"3,000";
    TrimTrailingZeros(strText);
    EXPECT_EQ(strText, L"3,0");
}

TEST_F(NumberText, StringToDoubleReadsTheLeadingUnsignedNumber)
{
    struct Row
    {
        const wchar_t* pszText;
        double dExpected;
    } rows[] = {{L" 12.5mm ", 12.5}, {L"-3", 0.0}, {L"abc", 0.0},   {L"1.2.3", 1.2},
                {L"", 0.0},          {L".5", 0.5}, {L"\t7\n", 7.0}, {L"1e3", 1.0}};
    for (const Row& row : rows)
        EXPECT_DOUBLE_EQ(StringToDouble(row.pszText), row.dExpected) << row.pszText;
}

// ShownValue stands in for reading back the formatted text; it must give the
// very same double (sign of zero included) for every value, also for those its
// quick road leaves to the formatting and for another rounding mode.
TEST_F(NumberText, ShownValueIsWhatTheFormattedTextReadsBackAs)
{
    std::vector<double> values = {0.0,
                                  -0.0,
                                  1.0,
                                  0.0000005,
                                  0.0000015,
                                  0.0000025,
                                  0.1234565,
                                  2.5e-7,
                                  4.9e-324,
                                  0.999999999,
                                  123456.0000005,
                                  1e15 + 0.5,
                                  1e20,
                                  9.99e39,
                                  1e41,
                                  -2.5,
                                  std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::max()};
    // The default thicknesses in every length unit, as new rules convert them.
    for (const MetalThicknessRow& row : g_MetalThicknessTable)
        for (long nUnit = 0; nUnit <= 10; ++nUnit)
            values.push_back(CVEKUnitConvertor::ConversionFromOneUnitToAnother(
                StringToDouble(row.pszMinThickness), CVEKUnitConvertor::KIND_LENGTH,
                METAL_TABLE_UNIT, nUnit));
    for (int nRounding : {FE_TONEAREST, FE_UPWARD})
    {
        std::fesetround(nRounding);
        for (const wchar_t* pszSeparator : {L".", L","})
        {
            VekSetUserLocaleOverride(LOCALE_SDECIMAL, pszSeparator);
            for (double dValue : values)
            {
                const double dExpected = StringToDouble(FormatDouble(dValue));
                const double dShown = ShownValue(dValue);
                EXPECT_EQ(0, std::memcmp(&dExpected, &dShown, sizeof(double)))
                    << dValue << " shown as " << dShown << ", text reads " << dExpected
                    << " (rounding " << nRounding << ")";
            }
        }
    }
    std::fesetround(FE_TONEAREST);
}

// Plain numbers take a quicker road than texts with blanks or other characters;
// both must read exactly what the C library reads, in any rounding mode.
TEST_F(NumberText, StringToDoubleReadsPlainNumbersAsTheCLibraryDoes)
{
    const wchar_t* texts[] = {
        L"0.0393700787401575",
        L"0.0295275590551181",
        L".5",
        L"5.",
        L"0000.1",
        L"0.1000000000000000055511151231257827",
        L"9007199254740993",
        L"1.00000000000000011102230246251565404236316680908203125",
        L"2.4703282292062328e-324",
        L"0.000000000000000000000000000000000000000000000000000000000001",
        L"17976931348623157000000000000000000000000000000000000000000000",
        L"123456789012345678901234567890123456789012345678901234567890123456789",
        L"1.2.3",
        L"."};
    for (int nRounding : {FE_TONEAREST, FE_UPWARD, FE_TOWARDZERO})
    {
        std::fesetround(nRounding);
        for (const wchar_t* pszText : texts)
        {
            const std::wstring strNumber(pszText, std::wcsspn(pszText, L".0123456789"));
            const double dExpected = std::wcstod(strNumber.c_str(), nullptr);
            const double dRead = StringToDouble(pszText);
            EXPECT_EQ(0, std::memcmp(&dExpected, &dRead, sizeof(double)))
                << CString(pszText).GetString() << " read as " << dRead << " instead of "
                << dExpected << " (rounding " << nRounding << ")";
        }
    }
    std::fesetround(FE_TONEAREST);
}

TEST_F(NumberText, IsNumberTextAcceptsDigitsAndPointsOnly)
{
    struct Row
    {
        const wchar_t* pszText;
        int nExpected;
    } rows[] = {{L"", 1},    {L"1.2.3", 1}, {L"0.75", 1}, {L"-1", 0},
                {L"1,5", 0}, {L"1e3", 0},   {L" 1", 0}};
    for (const Row& row : rows)
        EXPECT_EQ(IsNumberText(row.pszText), row.nExpected) << row.pszText;
}

TEST(ThicknessParameter, OlderValueLayoutsBecomeTheCurrentOne)
{
    struct Row
    {
        std::vector<double> before;
        std::vector<double> after;
        bool bCriteria;
    } rows[] = {
        {{1.0, 2.5}, {2.5}, true},
        {{0.0, 2.5}, {2.5}, false},
        {{1.0, 2.0, 3.0}, {2.0, 3.0}, true},
        {{0.999999, 2.0, 3.0}, {2.0, 3.0}, false},
        {{2.5}, {2.5}, false},
        {{}, {}, false},
        {{1.0, 2.0, 3.0, 4.0}, {1.0, 2.0, 3.0, 4.0}, false},
    };
    for (const Row& row : rows)
    {
        CVekParamStorage param(VEK_TYPE_DOUBLE);
        CVekParamData<double>* pData = param.GetData<double>();
        for (double d : row.before)
            pData->m_arrValues.Append(d);
        NormalizeThicknessParameter(&param);
        std::vector<double> after(pData->m_arrValues.GetData(),
                                  pData->m_arrValues.GetData() + pData->m_arrValues.GetSize());
        EXPECT_EQ(after, row.after);
        EXPECT_EQ(pData->m_bCriteriaStatus, row.bCriteria);
    }
    NormalizeThicknessParameter(nullptr);
}

// What a user of a new rule relies on: six distinct metals, each with one
// positive default thickness that is a round metric wall (0.75, 1 or 1.5 mm)
// written in inches, and the eight casting categories with Steel in both lists.
TEST(MaterialTables, OfferSixMetalsWithRoundMetricThicknessesInInches)
{
    std::set<std::wstring> setMetals;
    for (const MetalThicknessRow& row : g_MetalThicknessTable)
    {
        ASSERT_NE(row.pszName, nullptr);
        EXPECT_NE(row.pszName[0], L'\0');
        setMetals.insert(row.pszName);
        const double dInches = StringToDouble(row.pszMinThickness);
        EXPECT_GT(dInches, 0.0) << row.pszName;
        EXPECT_STREQ(row.pszMinThickness, row.pszMaxThickness) << row.pszName;
        const double dMillimetres = CVEKUnitConvertor::ConversionFromOneUnitToAnother(
            dInches, CVEKUnitConvertor::KIND_LENGTH, METAL_TABLE_UNIT, 0);
        const bool bRoundWall = std::fabs(dMillimetres - 0.75) < 1e-9 ||
                                std::fabs(dMillimetres - 1.0) < 1e-9 ||
                                std::fabs(dMillimetres - 1.5) < 1e-9;
        EXPECT_TRUE(bRoundWall) << row.pszName << ": " << dMillimetres << " mm";
    }
    EXPECT_EQ(setMetals.size(), 6u);
    // The rows are offered in table order, which starts with the most common metal.
    EXPECT_STREQ(g_MetalThicknessTable[0].pszName, L"Aluminium");

    std::set<std::wstring> setCategories(g_CastingMaterialCategories,
                                         g_CastingMaterialCategories + CASTING_MATERIAL_CATEGORIES);
    EXPECT_EQ(setCategories.size(), 8u);
    EXPECT_EQ(setCategories.count(L"Steel"), 1u);
    EXPECT_EQ(setMetals.count(L"Steel"), 1u);
}
} // namespace
