#include "CVEKUnitConvertor.h"

namespace
{
// Length of each unit in tenths of a micrometre, by code: whole numbers, all
// exact in a double, so a conversion rounds only once or twice. Code 5, feet
// and inches, has no single factor; a plain number in it counts in inches.
const double g_arrTenthMicrons[] = {
    1e4,           // 0 millimetre
    1e5,           // 1 centimetre
    1e7,           // 2 metre
    254000.0,      // 3 inch
    3048000.0,     // 4 foot
    254000.0,      // 5 feet and inches
    10.0,          // 6 micrometre
    1e10,          // 7 kilometre
    9144000.0,     // 8 yard
    254.0,         // 9 mil
    16093440000.0, // 10 mile
};
const long g_nUnits = static_cast<long>(sizeof(g_arrTenthMicrons) / sizeof(g_arrTenthMicrons[0]));
} // namespace

bool CVEKUnitConvertor::GetLengthInMillimetres(long nUnit, double& dMillimetres)
{
    if (nUnit < 0 || nUnit >= g_nUnits)
        return false;
    dMillimetres = g_arrTenthMicrons[nUnit] / 1e4;
    return true;
}

double CVEKUnitConvertor::ConversionFromOneUnitToAnother(double dValue, long nKind, long nFrom,
                                                         long nTo)
{
    if (nKind != KIND_LENGTH || nFrom == nTo || nFrom < 0 || nFrom >= g_nUnits || nTo < 0 ||
        nTo >= g_nUnits)
        return dValue;
    return dValue * g_arrTenthMicrons[nFrom] / g_arrTenthMicrons[nTo];
}
