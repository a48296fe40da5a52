#include "CVEKUnitConvertor.h"

#include <gtest/gtest.h>

namespace
{
// Length of one unit in millimetres, from the exact definitions.
struct UnitLength
{
    long nCode;
    double dMillimetres;
};
const UnitLength g_arrUnits[] = {
    {0, 1.0},   {1, 10.0},  {2, 1000.0},    {3, 25.4},   {4, 12 * 25.4},     {5, 25.4},
    {6, 0.001}, {7, 1.0e6}, {8, 36 * 25.4}, {9, 0.0254}, {10, 63360 * 25.4},
};
} // namespace

TEST(UnitConvertor, EveryPairMatchesExactFactors)
{
    for (const UnitLength& from : g_arrUnits)
    {
        for (const UnitLength& to : g_arrUnits)
        {
            double dExpected = 2.5 * from.dMillimetres / to.dMillimetres;
            double dActual =
                CVEKUnitConvertor::ConversionFromOneUnitToAnother(2.5, 1, from.nCode, to.nCode);
            EXPECT_NEAR(dExpected, dActual, 1e-12 * dExpected) << from.nCode << " -> " << to.nCode;
        }
    }
}

TEST(UnitConvertor, KnownValues)
{
    struct Case
    {
        double dValue;
        long nFrom;
        long nTo;
        double dExpected;
    };
    const Case arrCases[] = {
        {1.0, 3, 0, 25.4},    {25.4, 0, 3, 1.0}, {0.03937, 3, 0, 0.999998}, {12.0, 3, 4, 1.0},
        {1.0, 10, 4, 5280.0}, {1.0, 8, 3, 36.0}, {1000.0, 9, 3, 1.0},       {1.0, 2, 6, 1.0e6},
        {1.0, 7, 2, 1000.0},  {2.0, 1, 0, 20.0}, {1.0, 5, 3, 1.0},          {3.0, 4, 5, 36.0},
    };
    CVEKUnitConvertor convertor;
    for (const Case& c : arrCases)
    {
        EXPECT_NEAR(c.dExpected,
                    convertor.ConversionFromOneUnitToAnother(c.dValue, 1, c.nFrom, c.nTo),
                    1e-12 * c.dExpected)
            << c.dValue << " " << c.nFrom << " -> " << c.nTo;
    }
}

TEST(UnitConvertor, UnknownCodesAndKindsLeaveValueUnchanged)
{
    const long arrBad[][3] = {{1, 11, 0}, {1, 0, 11}, {1, -1, 3}, {2, 3, 0}, {0, 0, 3}};
    for (const auto& args : arrBad)
        EXPECT_EQ(0.75, CVEKUnitConvertor::ConversionFromOneUnitToAnother(0.75, args[0], args[1],
                                                                          args[2]));
    // The same code on both sides returns the very value, with no rounding.
    EXPECT_EQ(0.1, CVEKUnitConvertor::ConversionFromOneUnitToAnother(0.1, 1, 9, 9));
}
