#include "VEKUniformThicknessRule.h"

void NormalizeThicknessParameter(CVekParamStorage* pParam)
{
    CVekParamData<double>* pData = pParam ? pParam->GetData<double>() : nullptr;
    if (pData == nullptr)
        return;
    VekArray<double>& arrValues = pData->m_arrValues;
    const int nCount = arrValues.GetSize();
    if (nCount != 2 && nCount != 3)
        return;
    // Older rules kept the criteria flag as the first value.
    pData->m_bCriteriaStatus = arrValues[0] == 1.0;
    const double dFirst = arrValues[1];
    const double dSecond = nCount == 3 ? arrValues[2] : 0.0;
    arrValues.Reset();
    arrValues.Append(dFirst);
    if (nCount == 3)
        arrValues.Append(dSecond);
}
