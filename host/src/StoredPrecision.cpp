#include "StoredPrecision.h"

#include "HostText.h"

#include <CVEKConstraint.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace
{
bool Survives(double dExact, double dStored)
{
    if (dExact == dStored)
        return true;
    if (std::isnan(dExact) || std::isnan(dStored))
        return std::isnan(dExact) && std::isnan(dStored);
    if (dStored == 0.0)
        return false;
    return std::fabs(dStored - dExact) <= kStoredRelativePrecision * std::fabs(dExact);
}

std::string ExactText(double d)
{
    char szBuffer[40];
    std::snprintf(szBuffer, sizeof szBuffer, "%.10g", d);
    return szBuffer;
}

// Compares the double values of two parameter lists, pair by pair.
bool ParametersSurvive(const VekArray<CVekParamStorage*>& arrExact,
                       const VekArray<CVekParamStorage*>& arrStored, double& dExact,
                       double& dStored)
{
    const int nCount = std::min(arrExact.GetSize(), arrStored.GetSize());
    for (int i = 0; i < nCount; ++i)
    {
        if (arrExact[i] == nullptr || arrStored[i] == nullptr)
            continue;
        const CVekParamData<double>* pExact = arrExact[i]->GetData<double>();
        const CVekParamData<double>* pStored = arrStored[i]->GetData<double>();
        if (pExact == nullptr || pStored == nullptr)
            continue;
        const int nValues = std::min(pExact->m_arrValues.GetSize(), pStored->m_arrValues.GetSize());
        for (int k = 0; k < nValues; ++k)
        {
            if (!Survives(pExact->m_arrValues[k], pStored->m_arrValues[k]))
            {
                dExact = pExact->m_arrValues[k];
                dStored = pStored->m_arrValues[k];
                return false;
            }
        }
    }
    return true;
}

std::string Describe(const CVekRule* pRule, const CString* pMaterial, double dExact, double dStored)
{
    std::string strText = "rule \"" + ToUtf8(pRule->m_strName) + "\"";
    if (pMaterial != nullptr)
        strText += ", material \"" + ToUtf8(*pMaterial) + "\"";
    return strText + ": " + ExactText(dExact) + " would be stored as " + ExactText(dStored) +
           ", more than 0.01 % off";
}
} // namespace

bool NumbersSurviveStorage(const CVekRule* pRule, const CVekRule* pStored, std::string& strProblem)
{
    double dExact = 0.0;
    double dStored = 0.0;
    if (!ParametersSurvive(pRule->m_arrParameters, pStored->m_arrParameters, dExact, dStored))
    {
        strProblem = Describe(pRule, nullptr, dExact, dStored);
        return false;
    }
    const int nCount =
        std::min(pRule->m_arrConstraints.GetSize(), pStored->m_arrConstraints.GetSize());
    for (int i = 0; i < nCount; ++i)
    {
        const CVEKConstraint* pExact = pRule->m_arrConstraints[i];
        const CVEKConstraint* pBack = pStored->m_arrConstraints[i];
        if (pExact == nullptr || pBack == nullptr)
            continue;
        if (!ParametersSurvive(pExact->m_arrParameters, pBack->m_arrParameters, dExact, dStored))
        {
            strProblem = Describe(pRule, &pExact->GetName(), dExact, dStored);
            return false;
        }
    }
    return true;
}
