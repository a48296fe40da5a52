#include "RuleTable.h"

#include "HostText.h"

#include <cstdio>

namespace
{
// Characters on the terminal, not bytes: UTF-8 continuation bytes take no column.
size_t DisplayWidth(const std::string& str)
{
    size_t nWidth = 0;
    for (char ch : str)
        nWidth += (static_cast<unsigned char>(ch) & 0xC0) != 0x80 ? 1 : 0;
    return nWidth;
}

template <class T> std::string JoinValues(const CVekParamData<T>* pData, std::string (*pfnText)(T))
{
    std::string strText;
    for (int i = 0; i < pData->m_arrValues.GetSize(); ++i)
    {
        if (i > 0)
            strText += ", ";
        strText += pfnText(pData->m_arrValues[i]);
    }
    return strText.empty() ? "-" : strText;
}

std::string IntText(int32_t n)
{
    return std::to_string(n);
}
std::string BoolText(bool b)
{
    return b ? "yes" : "no";
}
std::string DoubleText(double d)
{
    return FormatNumber(d);
}
std::string StringText(CString* p)
{
    return p ? "\"" + ToUtf8(*p) + "\"" : "(null)";
}
std::string QwordText(ULONGLONG n)
{
    return std::to_string(n);
}
std::string UintText(uint32_t n)
{
    return std::to_string(n);
}
} // namespace

void PrintTable(const std::vector<std::vector<std::string>>& vecRows, const std::string& strIndent)
{
    std::vector<size_t> vecWidths;
    for (const auto& row : vecRows)
    {
        if (vecWidths.size() < row.size())
            vecWidths.resize(row.size(), 0);
        for (size_t i = 0; i < row.size(); ++i)
            vecWidths[i] = std::max(vecWidths[i], DisplayWidth(row[i]));
    }
    for (const auto& row : vecRows)
    {
        std::string strLine = strIndent;
        for (size_t i = 0; i < row.size(); ++i)
        {
            strLine += row[i];
            if (i + 1 < row.size())
                strLine.append(vecWidths[i] - DisplayWidth(row[i]) + 2, ' ');
        }
        strLine.erase(strLine.find_last_not_of(' ') + 1);
        std::printf("%s\n", strLine.c_str());
    }
}

std::string RuleDisplayName(const CVekRule* pRule)
{
    return ToUtf8(pRule->m_strDisplayName.IsEmpty() ? pRule->m_strName : pRule->m_strDisplayName);
}

std::string ParameterValuesText(const CVekParamStorage* pParam)
{
    if (const auto* pInts = pParam->GetData<int32_t>())
        return JoinValues(pInts, IntText);
    if (const auto* pBools = pParam->GetData<bool>())
        return JoinValues(pBools, BoolText);
    if (const auto* pDoubles = pParam->GetData<double>())
        return JoinValues(pDoubles, DoubleText);
    if (const auto* pStrings = pParam->GetData<CString*>())
        return JoinValues(pStrings, StringText);
    if (const auto* pQwords = pParam->GetData<ULONGLONG>())
        return JoinValues(pQwords, QwordText);
    if (const auto* pUints = pParam->GetData<uint32_t>())
        return JoinValues(pUints, UintText);
    return "(value type " + std::to_string(pParam->GetType()) + ")";
}

void PrintRule(const CVekRule* pRule, int nNumber)
{
    std::printf("Rule %d: %s\n", nNumber, RuleDisplayName(pRule).c_str());
    PrintTable({{"Summary", ToUtf8(pRule->m_strSummary)},
                {"Module", ToUtf8(pRule->m_strModule)},
                {"Unit", std::to_string(pRule->m_nUnit) + " (" + UnitName(pRule->m_nUnit) + ")"}},
               "  ");

    std::vector<std::vector<std::string>> vecParams = {
        {"Parameter", "Operator", "Value", "Criteria"}};
    for (int i = 0; i < pRule->m_arrParameters.GetSize(); ++i)
    {
        const CVekParamStorage* pParam = pRule->m_arrParameters[i];
        if (pParam == nullptr)
            continue;
        vecParams.push_back(
            {std::to_string(pParam->GetId()), OperatorText(pParam->GetBase()->m_eOperator),
             ParameterValuesText(pParam), pParam->GetBase()->m_bCriteriaStatus ? "on" : "off"});
    }
    PrintTable(vecParams, "  ");

    if (pRule->m_arrConstraints.GetSize() == 0)
    {
        std::printf("  (no constraints)\n");
        return;
    }
    std::vector<std::vector<std::string>> vecConstraints = {{"Constraint", "Active", "Value"}};
    for (int i = 0; i < pRule->m_arrConstraints.GetSize(); ++i)
    {
        const CVEKConstraint* pConstraint = pRule->m_arrConstraints[i];
        if (pConstraint == nullptr)
            continue;
        const CVekParamStorage* pParam =
            pConstraint->m_arrParameters.GetSize() > 0 ? pConstraint->m_arrParameters[0] : nullptr;
        vecConstraints.push_back({ToUtf8(pConstraint->GetName()),
                                  pConstraint->GetStatus() ? "yes" : "no",
                                  pParam ? ParameterValuesText(pParam) : "-"});
    }
    PrintTable(vecConstraints, "  ");
}
