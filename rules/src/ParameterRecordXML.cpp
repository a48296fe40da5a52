// The "Parameter" element of a parameter record. The layout is the same for
// every value type; only the text of a "Value" element differs, so the record
// code is one template over the value type and CValueText supplies the text
// conversion of each type.
#include "ParameterRecordXML.h"

#include <VekXMLDocument.h>
#include <VekXMLNode.h>
#include <VekXMLNodeList.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <cwctype>
#include <memory>

#include "IntegerText.h"
#include "ModuleDocument.h"
#include "RecordNumberText.h"

namespace
{
typedef std::unique_ptr<VekXMLNode> NodePtr;
typedef std::unique_ptr<VekXMLNodeList> NodeListPtr;

// "%ld" scan, as the host's 32-bit long; nDefault when there is no number.
LONG ScanLong(const CString& strText, LONG nDefault)
{
    long nValue = 0;
    return ScanInteger(strText, nValue) ? static_cast<LONG>(nValue) : nDefault;
}

// The element's integer text; 0 when the element is missing or holds no number.
int ChildInt(VekXMLNode* pParent, LPCWSTR pszName)
{
    NodePtr pChild(pParent->SelectSingleNode(pszName));
    int nValue = 0;
    if (!pChild || !pChild->GetNodeValueInInt(nValue))
        return 0;
    return nValue;
}

// "0" is the only text that reads as false; a missing attribute reads as true.
bool ReadFlagAttribute(VekXMLNode* pNode, LPCWSTR pszName)
{
    CString strText;
    if (!pNode->GetAttributeValue(pszName, strText))
        return true;
    return strText != L"0";
}

// Appends a child element carrying strText. Null handles are tolerated so that
// a failing document leaves a shorter element rather than a crash.
void AppendTextChild(VekXMLNode* pParent, LPCWSTR pszName, const CString& strText)
{
    NodePtr pChild(pParent->AppendNode(pszName));
    if (pChild && !strText.IsEmpty())
        pChild->SetNodeValue(strText);
}

// Text conversion of one value of each type. Types 1 and 2 share their C++
// type, so the conversion is chosen by the Type_e value, not by the C++ type.
template <Type_e eType> struct CValueText;

template <> struct CValueText<VEK_TYPE_INT>
{
    static CString ToText(int32_t nValue) { return FormatInteger(nValue); }
    // Decimal, leading blanks and sign allowed, trailing text ignored; 0 when
    // there is no number or it does not fit 32 bits.
    static int32_t FromText(const CString& strText)
    {
        errno = 0;
        wchar_t* pEnd = nullptr;
        const long nValue = std::wcstol(strText, &pEnd, 10);
        if (pEnd == strText.GetString() || errno == ERANGE || nValue < INT32_MIN ||
            nValue > INT32_MAX)
            return 0;
        return static_cast<int32_t>(nValue);
    }
    static int32_t Zero() { return 0; }
};

template <> struct CValueText<VEK_TYPE_LONG>
{
    static CString ToText(LONG nValue) { return FormatInteger(nValue); }
    static LONG FromText(const CString& strText) { return ScanLong(strText, 0); }
    static LONG Zero() { return 0; }
};

template <> struct CValueText<VEK_TYPE_BOOL>
{
    static CString ToText(bool bValue) { return bValue ? L"1" : L"0"; }
    static bool FromText(const CString& strText) { return strText != L"0"; }
    static bool Zero() { return false; }
};

template <> struct CValueText<VEK_TYPE_DOUBLE>
{
    static CString ToText(double dValue) { return FormatRecordReal(dValue); }
    static double FromText(const CString& strText) { return ReadRecordReal(strText); }
    static double Zero() { return 0.0; }
};

// The record owns the strings its values point to; a null value writes as empty text.
template <> struct CValueText<VEK_TYPE_STRING>
{
    static CString ToText(CString* pValue) { return pValue ? *pValue : CString(); }
    static CString* FromText(const CString& strText) { return new CString(strText); }
    static CString* Zero() { return new CString(); }
};

// Eight-byte values have no text form: an empty element stands for each.
template <> struct CValueText<VEK_TYPE_QWORD>
{
    static CString ToText(ULONGLONG) { return CString(); }
    static ULONGLONG FromText(const CString&) { return 0; }
    static ULONGLONG Zero() { return 0; }
};

// Unsigned values are read back from their "%u" text so that they survive a
// round trip: decimal, leading blanks allowed, trailing text ignored; 0 for a
// text without a number, with a minus sign, or beyond 32 bits.
template <> struct CValueText<VEK_TYPE_UINT>
{
    static CString ToText(uint32_t nValue) { return FormatRecordUnsigned(nValue); }
    static uint32_t FromText(const CString& strText)
    {
        const wchar_t* pStart = strText.GetString();
        while (std::iswspace(*pStart))
            ++pStart;
        if (*pStart == L'-')
            return 0;
        errno = 0;
        wchar_t* pEnd = nullptr;
        const unsigned long nValue = std::wcstoul(pStart, &pEnd, 10);
        if (pEnd == pStart || errno == ERANGE || nValue > UINT32_MAX)
            return 0;
        return static_cast<uint32_t>(nValue);
    }
    static uint32_t Zero() { return 0; }
};

// Severity codes as element names; only "Warning" and "Info" are read back.
LPCWSTR SeverityName(int32_t nCode)
{
    switch (nCode)
    {
    case VEK_SEVERITY_WARNING:
        return L"Warning";
    case VEK_SEVERITY_INFO:
        return L"Info";
    default:
        return L"Unknown";
    }
}

const LPCWSTR kDeviationNames[] = {L"PercentDeviation", L"AbsoluteDeviation", L"AbsoluteValue"};

VekDeviationMap CVekParamDataBase::*const kDeviationMaps[] = {
    &CVekParamDataBase::m_mapPercentDeviation,
    &CVekParamDataBase::m_mapAbsoluteDeviation,
    &CVekParamDataBase::m_mapAbsoluteValue,
};

// Values that come in groups of two or three under a range operator are kept
// only when the count fits such groups; a record without values and without
// remarks starts from a fresh list. Either way the record itself changes.
void ResetValuesBeforeWriting(CVekParamDataBase& data)
{
    const int nCount = data.GetValueCount();
    const bool bEmpty = nCount == 0 && data.m_strRemarks.IsEmpty();
    const bool bBrokenRange =
        data.m_eOperator == VEK_OPERATOR_RANGE && nCount % 3 != 0 && nCount % 2 != 0;
    if (bEmpty || bBrokenRange)
        data.ClearValues();
}

void WriteDeviationMap(VekXMLNode* pCriteria, LPCWSTR pszName, const VekDeviationMap& map)
{
    NodePtr pDeviation(pCriteria->AppendNode(pszName));
    if (!pDeviation)
        return;
    for (const auto& entry : map)
    {
        NodePtr pEntry(pDeviation->AppendNode(SeverityName(entry.first)));
        if (!pEntry)
            continue;
        AppendTextChild(pEntry.get(), L"Value", FormatRecordReal(entry.second.first));
        if (entry.second.second > 0.0)
            AppendTextChild(pEntry.get(), L"Value", FormatRecordReal(entry.second.second));
    }
}

void WriteResultCriteria(VekXMLNode* pParam, const CVekParamDataBase& data)
{
    NodePtr pCriteria(pParam->AppendNode(L"ResultCriteria"));
    if (!pCriteria)
        return;
    pCriteria->AddAttribute(L"Status", data.m_bCriteriaStatus ? L"1" : L"0");
    pCriteria->AddAttribute(L"CriteriaType", FormatInteger(data.m_nCriteriaType));
    for (int i = 0; i < 3; ++i)
        WriteDeviationMap(pCriteria.get(), kDeviationNames[i], data.*kDeviationMaps[i]);
}

// One deviation entry from the "Value" children of pEntry: none gives no entry,
// one gives (first, 0.0), two give both, more than two give (0.0, 0.0).
void ReadDeviationEntry(VekXMLNode* pDeviation, LPCWSTR pszName, int32_t nCode,
                        VekDeviationMap& map)
{
    NodePtr pEntry(pDeviation->SelectSingleNode(pszName));
    if (!pEntry)
        return;
    NodeListPtr pValues(pEntry->GetNodeList(L"Value"));
    const int nCount = pValues ? pValues->GetSize() : 0;
    if (nCount == 0)
        return;
    std::pair<double, double> values(0.0, 0.0);
    if (nCount <= 2)
    {
        values.first = ReadRecordReal((*pValues)[0]->GetNodeValue());
        if (nCount == 2)
            values.second = ReadRecordReal((*pValues)[1]->GetNodeValue());
    }
    map[nCode] = values;
}

void ReadResultCriteria(VekXMLNode* pParam, CVekParamDataBase& data)
{
    NodePtr pCriteria(pParam->SelectSingleNode(L"ResultCriteria"));
    if (!pCriteria)
        return;
    data.m_bCriteriaStatus = ReadFlagAttribute(pCriteria.get(), L"Status");
    long nCriteriaType = 0;
    data.m_nCriteriaType = ReadIntegerAttribute(pCriteria.get(), L"CriteriaType", nCriteriaType)
                               ? static_cast<LONG>(nCriteriaType)
                               : 0;
    for (int i = 0; i < 3; ++i)
    {
        VekDeviationMap& map = data.*kDeviationMaps[i];
        map.clear();
        NodePtr pDeviation(pCriteria->SelectSingleNode(kDeviationNames[i]));
        if (!pDeviation)
            continue;
        ReadDeviationEntry(pDeviation.get(), L"Warning", VEK_SEVERITY_WARNING, map);
        ReadDeviationEntry(pDeviation.get(), L"Info", VEK_SEVERITY_INFO, map);
    }
}

// The first "Parameter" child whose "Type" scans to nId; new, caller deletes; null when none.
VekXMLNode* FindParameterElement(VekXMLNode* pRuleNode, LONG nId)
{
    NodeListPtr pParams(pRuleNode->GetNodeList(L"Parameter"));
    for (int i = 0; pParams && i < pParams->GetSize(); ++i)
    {
        VekXMLNode* pParam = (*pParams)[i];
        long nType = 0;
        if (ReadIntegerAttribute(pParam, L"Type", nType) && nType == nId)
            return new VekXMLNode(*pParam);
    }
    return nullptr;
}

template <Type_e eType> class CParameterRecordXML
{
public:
    typedef typename VekValueType<eType>::type T;
    typedef CValueText<eType> Text;

    static VekXMLNode* Write(CVekParamData<T>& data)
    {
        ResetValuesBeforeWriting(data);

        VekXMLNode* pParam = g_pXMLDoc->CreateNode(L"Parameter");
        if (pParam == nullptr)
            return nullptr;
        pParam->AddAttribute(L"Name", data.m_strName);
        pParam->AddAttribute(L"Type", FormatInteger(data.m_nId));
        pParam->AddAttribute(L"Status", data.m_bStatus ? L"1" : L"0");

        AppendTextChild(pParam, L"Operator", FormatInteger(data.m_eOperator));
        for (int i = 0; i < data.m_arrOperatorOptions.GetSize(); ++i)
            AppendTextChild(pParam, L"OperatorOption", FormatInteger(data.m_arrOperatorOptions[i]));
        AppendTextChild(pParam, L"ParameterType", FormatInteger(data.m_eParamType));
        // Values of attribute-list parameters have no form in these value types.
        if (data.m_eParamType != VEK_PARAM_ATTRIBUTE_LIST)
        {
            for (int i = 0; i < data.m_arrValues.GetSize(); ++i)
                AppendTextChild(pParam, L"Value", Text::ToText(data.m_arrValues[i]));
        }
        WriteResultCriteria(pParam, data);
        AppendTextChild(pParam, L"Remarks", data.m_strRemarks);
        return pParam;
    }

    static void Read(CVekParamData<T>& data, VekXMLNode* pRuleNode)
    {
        NodePtr pParam(FindParameterElement(pRuleNode, data.m_nId));
        if (!pParam)
            return;

        data.m_eOperator = static_cast<VekOperator_e>(ChildInt(pParam.get(), L"Operator"));
        NodeListPtr pOptions(pParam->GetNodeList(L"OperatorOption"));
        if (pOptions && pOptions->GetSize() > 0)
        {
            data.m_arrOperatorOptions.Reset();
            for (int i = 0; i < pOptions->GetSize(); ++i)
            {
                long nOption = 0;
                if (!(*pOptions)[i]->GetNodeValueInLong(nOption))
                    nOption = 0;
                data.m_arrOperatorOptions.Append(static_cast<LONG>(nOption));
            }
        }
        data.m_eParamType = static_cast<VekParamType_e>(ChildInt(pParam.get(), L"ParameterType"));
        data.m_bStatus = ReadFlagAttribute(pParam.get(), L"Status");

        // Values are appended: the caller decides what the list holds beforehand.
        NodeListPtr pValues(pParam->GetNodeList(L"Value"));
        for (int i = 0; pValues && i < pValues->GetSize(); ++i)
        {
            if (data.m_eParamType == VEK_PARAM_ATTRIBUTE_LIST)
                data.m_arrValues.Append(Text::Zero());
            else
                data.m_arrValues.Append(Text::FromText((*pValues)[i]->GetNodeValue()));
        }
        ReadResultCriteria(pParam.get(), data);
    }
};

template <Type_e eType> VekXMLNode* WriteTyped(CVekParamStorage* pParam)
{
    typedef typename VekValueType<eType>::type T;
    CVekParamData<T>* pData = pParam->GetData<T>();
    return pData ? CParameterRecordXML<eType>::Write(*pData) : nullptr;
}

template <Type_e eType> void ReadTyped(CVekParamStorage* pParam, VekXMLNode* pRuleNode)
{
    typedef typename VekValueType<eType>::type T;
    if (CVekParamData<T>* pData = pParam->GetData<T>())
        CParameterRecordXML<eType>::Read(*pData, pRuleNode);
}
} // namespace

bool HasParameterXML(const CVekParamStorage* pParam)
{
    return pParam != nullptr && pParam->GetType() >= VEK_TYPE_INT &&
           pParam->GetType() <= VEK_TYPE_UINT;
}

VekXMLNode* WriteParameterXML(CVekParamStorage* pParam)
{
    if (g_pXMLDoc == nullptr || !HasParameterXML(pParam))
        return nullptr;
    return VekVisitValueType(
        pParam->GetType(), [pParam](auto tag) { return WriteTyped<decltype(tag)::value>(pParam); },
        []() -> VekXMLNode* { return nullptr; });
}

void ReadParameterXML(CVekParamStorage* pParam, VekXMLNode* pRuleNode)
{
    if (pRuleNode == nullptr || !HasParameterXML(pParam))
        return;
    VekVisitValueType(
        pParam->GetType(),
        [pParam, pRuleNode](auto tag) { ReadTyped<decltype(tag)::value>(pParam, pRuleNode); },
        [] {});
}
