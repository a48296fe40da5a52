// CVEKUnitConvertor: converts values between the host's unit codes.
#pragma once

#include "VekFrameworkApi.h"

// Length unit codes (kind 1):
//   0 millimetre, 1 centimetre, 2 metre, 3 inch, 4 foot,
//   5 feet-and-inches (a compound unit without unit text; a single number in
//     it counts in inches), 6 micrometre, 7 kilometre, 8 yard, 9 mil
//   (0.001 inch), 10 mile.
// The inch is 25.4 mm exactly; foot = 12 in, yard = 3 ft, mile = 5280 ft.
class VEK_FRAMEWORK_API CVEKUnitConvertor
{
public:
    enum
    {
        KIND_LENGTH = 1
    };

    CVEKUnitConvertor() = default;

    // dValue given in unit nFrom, expressed in unit nTo. Returns dValue
    // unchanged when nKind is not 1, when either code is unknown, or when the
    // codes are equal.
    static double ConversionFromOneUnitToAnother(double dValue, long nKind, long nFrom, long nTo);
    // Length of one unit nUnit in millimetres; false (dMillimetres unchanged) for an unknown code.
    static bool GetLengthInMillimetres(long nUnit, double& dMillimetres);
};
