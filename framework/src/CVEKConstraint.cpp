#include "CVEKConstraint.h"

#include "VekXMLDocument.h"
#include "VekXMLHandles.h"
#include "VekXMLNumbers.h"
#include "VekXMLText.h"

#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

// The element written here is described in docs/constraint-element.md. Every
// field of every parameter is written, numbers in a form that reads back
// exactly, so that a constraint survives any number of round trips.

using vek_xml::FromUtf8;
using vek_xml::HandleOf;
using vek_xml::NodeOf;
using vek_xml::ToUtf8;

namespace
{
const char* const kDeviationNames[] = {"PercentDeviation", "AbsoluteDeviation", "AbsoluteValue"};

VekDeviationMap CVekParamDataBase::*const kDeviationMaps[] = {
    &CVekParamDataBase::m_mapPercentDeviation,
    &CVekParamDataBase::m_mapAbsoluteDeviation,
    &CVekParamDataBase::m_mapAbsoluteValue,
};

void SetText(pugi::xml_node node, const std::string& strText)
{
    node.text().set(strText.c_str(), strText.size());
}

std::string IntText(long long n)
{
    return std::to_string(n);
}

std::string ValueText(int32_t n)
{
    return std::to_string(n);
}
std::string ValueText(bool b)
{
    return b ? "1" : "0";
}
std::string ValueText(double d)
{
    return vek_xml::FormatDouble(d);
}
std::string ValueText(CString* pStr)
{
    return pStr ? ToUtf8(*pStr) : std::string();
}
std::string ValueText(ULONGLONG n)
{
    return std::to_string(n);
}
std::string ValueText(uint32_t n)
{
    return std::to_string(n);
}

// Reading a value that does not parse gives the type's zero value.
template <class T> T ReadValue(const char* psz)
{
    if constexpr (std::is_same<T, bool>::value)
    {
        return !(psz[0] == '0' && psz[1] == 0);
    }
    else if constexpr (std::is_same<T, double>::value)
    {
        double d = 0.0;
        vek_xml::ParseDouble(psz, d);
        return d;
    }
    else if constexpr (std::is_same<T, CString*>::value)
    {
        return new CString(FromUtf8(psz));
    }
    else
    {
        T n = 0;
        vek_xml::ParseInteger(psz, n);
        return n;
    }
}

long long ReadInteger(const char* psz)
{
    long long n = 0;
    vek_xml::ParseInteger(psz, n);
    return n;
}

double ReadDouble(const char* psz)
{
    double d = 0.0;
    vek_xml::ParseDouble(psz, d);
    return d;
}

template <class T> void WriteValues(const CVekParamData<T>& data, pugi::xml_node element)
{
    for (int i = 0; i < data.m_arrValues.GetSize(); ++i)
        SetText(element.append_child("Value"), ValueText(data.m_arrValues[i]));
}

template <class T> void ReadValues(CVekParamData<T>& data, pugi::xml_node element)
{
    data.ClearValues();
    for (pugi::xml_node value = element.child("Value"); value; value = value.next_sibling("Value"))
        data.m_arrValues.Append(ReadValue<T>(value.text().get()));
}

void WriteParameter(const CVekParamStorage& param, pugi::xml_node element)
{
    const CVekParamDataBase& data = *param.GetBase();
    element.append_attribute("Name").set_value(ToUtf8(data.m_strName).c_str());
    element.append_attribute("Type").set_value(IntText(data.m_nId).c_str());
    element.append_attribute("ValueType").set_value(IntText(param.GetType()).c_str());
    element.append_attribute("Status").set_value(data.m_bStatus ? "1" : "0");

    SetText(element.append_child("Operator"), IntText(data.m_eOperator));
    for (int i = 0; i < data.m_arrOperatorOptions.GetSize(); ++i)
        SetText(element.append_child("OperatorOption"), IntText(data.m_arrOperatorOptions[i]));
    SetText(element.append_child("ParameterType"), IntText(data.m_eParamType));

    CVekParamStorage& storage = const_cast<CVekParamStorage&>(param);
    if (auto* pInts = storage.GetData<int32_t>())
        WriteValues(*pInts, element);
    else if (auto* pBools = storage.GetData<bool>())
        WriteValues(*pBools, element);
    else if (auto* pDoubles = storage.GetData<double>())
        WriteValues(*pDoubles, element);
    else if (auto* pStrings = storage.GetData<CString*>())
        WriteValues(*pStrings, element);
    else if (auto* pQwords = storage.GetData<ULONGLONG>())
        WriteValues(*pQwords, element);
    else if (auto* pUints = storage.GetData<uint32_t>())
        WriteValues(*pUints, element);

    pugi::xml_node criteria = element.append_child("ResultCriteria");
    criteria.append_attribute("Status").set_value(data.m_bCriteriaStatus ? "1" : "0");
    criteria.append_attribute("CriteriaType").set_value(IntText(data.m_nCriteriaType).c_str());
    for (int m = 0; m < 3; ++m)
    {
        pugi::xml_node deviation = criteria.append_child(kDeviationNames[m]);
        for (const auto& entry : data.*kDeviationMaps[m])
        {
            pugi::xml_node item = deviation.append_child("Entry");
            item.append_attribute("Severity").set_value(IntText(entry.first).c_str());
            item.append_attribute("First").set_value(ValueText(entry.second.first).c_str());
            item.append_attribute("Second").set_value(ValueText(entry.second.second).c_str());
        }
    }
    SetText(element.append_child("Remarks"), ToUtf8(data.m_strRemarks));
}

void ReadParameter(CVekParamStorage& param, pugi::xml_node element)
{
    CVekParamDataBase& data = *param.GetBase();
    data.m_strName = FromUtf8(element.attribute("Name").value());
    data.m_bStatus = std::string(element.attribute("Status").value()) == "1";
    data.m_eOperator =
        static_cast<VekOperator_e>(ReadInteger(element.child("Operator").text().get()));
    data.m_arrOperatorOptions.Reset();
    for (pugi::xml_node option = element.child("OperatorOption"); option;
         option = option.next_sibling("OperatorOption"))
        data.m_arrOperatorOptions.Append(static_cast<LONG>(ReadInteger(option.text().get())));
    data.m_eParamType =
        static_cast<VekParamType_e>(ReadInteger(element.child("ParameterType").text().get()));

    if (auto* pInts = param.GetData<int32_t>())
        ReadValues(*pInts, element);
    else if (auto* pBools = param.GetData<bool>())
        ReadValues(*pBools, element);
    else if (auto* pDoubles = param.GetData<double>())
        ReadValues(*pDoubles, element);
    else if (auto* pStrings = param.GetData<CString*>())
        ReadValues(*pStrings, element);
    else if (auto* pQwords = param.GetData<ULONGLONG>())
        ReadValues(*pQwords, element);
    else if (auto* pUints = param.GetData<uint32_t>())
        ReadValues(*pUints, element);

    pugi::xml_node criteria = element.child("ResultCriteria");
    data.m_bCriteriaStatus = std::string(criteria.attribute("Status").value()) == "1";
    data.m_nCriteriaType =
        static_cast<LONG>(ReadInteger(criteria.attribute("CriteriaType").value()));
    for (int m = 0; m < 3; ++m)
    {
        VekDeviationMap& map = data.*kDeviationMaps[m];
        map.clear();
        for (pugi::xml_node item = criteria.child(kDeviationNames[m]).child("Entry"); item;
             item = item.next_sibling("Entry"))
        {
            map[static_cast<int32_t>(ReadInteger(item.attribute("Severity").value()))] =
                std::make_pair(ReadDouble(item.attribute("First").value()),
                               ReadDouble(item.attribute("Second").value()));
        }
    }
    data.m_strRemarks = FromUtf8(element.child("Remarks").text().get());
}
} // namespace

CVEKConstraint::CVEKConstraint(VEKConstraintType_e eType, const CString& strName, bool bStatus)
    : m_eType(eType), m_strName(strName), m_bStatus(bStatus)
{
}

CVEKConstraint::~CVEKConstraint()
{
    ClearParameters();
}

void CVEKConstraint::AddParameter(CVekParamStorage* pParam)
{
    if (pParam != nullptr)
        m_arrParameters.Append(pParam);
}

CVekParamStorage* CVEKConstraint::FindParameterInArray(long nId) const
{
    for (int i = 0; i < m_arrParameters.GetSize(); ++i)
    {
        CVekParamStorage* pParam = m_arrParameters[i];
        if (pParam != nullptr && pParam->GetId() == nId)
            return pParam;
    }
    return nullptr;
}

void CVEKConstraint::ClearParameters()
{
    for (int i = 0; i < m_arrParameters.GetSize(); ++i)
        delete m_arrParameters[i];
    m_arrParameters.Reset();
}

VekXMLNode* CVEKConstraint::GetXMLNode() const
{
    return GetXMLNode(VekXMLDocument::GetCurrent());
}

VekXMLNode* CVEKConstraint::GetXMLNode(VekXMLDocument* pDoc) const
{
    if (pDoc == nullptr)
        return nullptr;
    VekXMLNode* pNode = pDoc->CreateNode(L"Constraint");
    pugi::xml_node element = NodeOf(pNode);
    if (!element)
    {
        delete pNode;
        return nullptr;
    }
    element.append_attribute("Type").set_value(IntText(m_eType).c_str());
    element.append_attribute("Value").set_value(ToUtf8(m_strName).c_str());
    element.append_attribute("Status").set_value(m_bStatus ? "1" : "0");
    for (int i = 0; i < m_arrParameters.GetSize(); ++i)
    {
        if (m_arrParameters[i] != nullptr)
            WriteParameter(*m_arrParameters[i], element.append_child("Parameter"));
    }
    return pNode;
}

bool CVEKConstraint::PopulateFromXML(VekXMLNode* pNode)
{
    pugi::xml_node element = NodeOf(pNode);
    if (!element || std::string(element.name()) != "Constraint")
        return false;
    if (pugi::xml_attribute name = element.attribute("Value"))
        m_strName = FromUtf8(name.value());
    if (pugi::xml_attribute status = element.attribute("Status"))
        m_bStatus = std::string(status.value()) == "1";

    // Each parameter takes the first element with its identifier and value type.
    std::vector<bool> vecFilled(static_cast<size_t>(m_arrParameters.GetSize()), false);
    for (pugi::xml_node child = element.child("Parameter"); child;
         child = child.next_sibling("Parameter"))
    {
        long long nId = 0;
        long long nValueType = 0;
        if (!vek_xml::ParseInteger(child.attribute("Type").value(), nId) ||
            !vek_xml::ParseInteger(child.attribute("ValueType").value(), nValueType))
            continue;
        for (int i = 0; i < m_arrParameters.GetSize(); ++i)
        {
            CVekParamStorage* pParam = m_arrParameters[i];
            if (pParam != nullptr && !vecFilled[static_cast<size_t>(i)] && pParam->GetId() == nId &&
                pParam->GetType() == nValueType)
            {
                ReadParameter(*pParam, child);
                vecFilled[static_cast<size_t>(i)] = true;
                break;
            }
        }
    }
    return true;
}

CVEKConstraint* CVEKConstraint::Clone() const
{
    CVEKConstraint* pCopy = new CVEKConstraint(m_eType, m_strName, m_bStatus);
    for (int i = 0; i < m_arrParameters.GetSize(); ++i)
    {
        if (m_arrParameters[i] != nullptr)
            pCopy->m_arrParameters.Append(m_arrParameters[i]->Clone());
    }
    return pCopy;
}
