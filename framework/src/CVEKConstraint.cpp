#include "CVEKConstraint.h"

#include "VekXMLDocument.h"
#include "VekXMLHandles.h"
#include "VekXMLNumbers.h"
#include "VekXMLPatcher.h"
#include "VekXMLShape.h"
#include "VekXMLTemplate.h"
#include "VekXMLText.h"

#include <charconv>
#include <cstring>
#include <memory>

// The element written here is described in docs/constraint-element.md. Every
// field of every parameter is written, numbers in a form that reads back
// exactly, so that a constraint survives any number of round trips.
//
// Each element starts as a copy of the document's template of the usual
// material constraint, whose names and texts the copy shares. The writer runs
// once along the template's shape and sets only the texts that differ; when
// the constraint has another shape (more parameters, values, deviations), it
// runs again with the patcher, which walks the copy and inserts and removes
// nodes. Either way the element is what writing it node by node gives.

using vek_xml::FromUtf8;
using vek_xml::NodeOf;

namespace
{
const char* const kDeviationNames[] = {"PercentDeviation", "AbsoluteDeviation", "AbsoluteValue"};

VekDeviationMap CVekParamDataBase::*const kDeviationMaps[] = {
    &CVekParamDataBase::m_mapPercentDeviation,
    &CVekParamDataBase::m_mapAbsoluteDeviation,
    &CVekParamDataBase::m_mapAbsoluteValue,
};

// Numbers are formatted into a stack buffer, large enough for any of them.
class CNumberText
{
public:
    template <class TInt> explicit CNumberText(TInt nValue)
    {
        m_nSize = static_cast<size_t>(std::to_chars(m_sz, m_sz + sizeof m_sz, nValue).ptr - m_sz);
    }
    explicit CNumberText(double dValue)
    {
        m_nSize = static_cast<size_t>(vek_xml::FormatShortest(m_sz, dValue) - m_sz);
    }
    const char* data() const { return m_sz; }
    size_t size() const { return m_nSize; }

private:
    char m_sz[vek_xml::kShortestDoubleSize];
    size_t m_nSize = 0;
};

const char* FlagText(bool b)
{
    return b ? "1" : "0";
}

// The writing functions below take the writer (vek_xml::CTreePatcher or
// vek_xml::CShapeFollower) as TOut.
template <class TOut, class TText>
void SetAttribute(TOut& element, const char* pszName, const TText& text)
{
    element.Attribute(pszName, text.data(), text.size());
}

template <class TOut> void SetFlagAttribute(TOut& element, const char* pszName, bool b)
{
    element.Attribute(pszName, FlagText(b), 1);
}

template <class TOut, class TText>
void AppendText(TOut& parent, const char* pszName, const TText& text)
{
    parent.TextChild(pszName, text.data(), text.size());
}

// Doubles in their shortest exact form.
template <class TOut> void AppendValue(TOut& element, double d)
{
    AppendText(element, "Value", CNumberText(d));
}
template <class TOut> void AppendValue(TOut& element, bool b)
{
    element.TextChild("Value", FlagText(b), 1);
}
template <class TOut> void AppendValue(TOut& element, CString* pStr)
{
    if (pStr != nullptr)
        AppendText(element, "Value", vek_xml::Utf8Text(*pStr));
    else
        element.TextChild("Value", "", 0);
}
template <class TOut, class TInt> void AppendValue(TOut& element, TInt n)
{
    AppendText(element, "Value", CNumberText(n));
}

bool IsOne(const char* psz)
{
    return psz[0] == '1' && psz[1] == '\0';
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
    return ReadValue<long long>(psz);
}

double ReadDouble(const char* psz)
{
    return ReadValue<double>(psz);
}

// Calls f with the parameter's typed data, or with a null pointer of some
// type when the parameter holds none.
template <class F> void WithTypedData(const CVekParamStorage& param, F f)
{
    CVekParamStorage& storage = const_cast<CVekParamStorage&>(param);
    if (auto* pInts = storage.GetData<int32_t>())
        f(pInts);
    else if (auto* pBools = storage.GetData<bool>())
        f(pBools);
    else if (auto* pDoubles = storage.GetData<double>())
        f(pDoubles);
    else if (auto* pStrings = storage.GetData<CString*>())
        f(pStrings);
    else if (auto* pQwords = storage.GetData<ULONGLONG>())
        f(pQwords);
    else if (auto* pUints = storage.GetData<uint32_t>())
        f(pUints);
    else
        f(static_cast<CVekParamData<int32_t>*>(nullptr));
}

template <class TOut> void WriteParameter(const CVekParamStorage& param, TOut& element)
{
    const CVekParamDataBase& data = *param.GetBase();
    SetAttribute(element, "Name", vek_xml::Utf8Text(data.m_strName));
    SetAttribute(element, "Type", CNumberText(static_cast<long long>(data.m_nId)));
    SetAttribute(element, "ValueType", CNumberText(static_cast<long long>(param.GetType())));
    SetFlagAttribute(element, "Status", data.m_bStatus);

    AppendText(element, "Operator", CNumberText(static_cast<long long>(data.m_eOperator)));
    for (int i = 0; i < data.m_arrOperatorOptions.GetSize(); ++i)
        AppendText(element, "OperatorOption",
                   CNumberText(static_cast<long long>(data.m_arrOperatorOptions[i])));
    AppendText(element, "ParameterType", CNumberText(static_cast<long long>(data.m_eParamType)));

    WithTypedData(param, [&element](const auto* pData) {
        for (int i = 0; pData && i < pData->m_arrValues.GetSize(); ++i)
            AppendValue(element, pData->m_arrValues[i]);
    });

    element.Open("ResultCriteria");
    SetFlagAttribute(element, "Status", data.m_bCriteriaStatus);
    SetAttribute(element, "CriteriaType",
                 CNumberText(static_cast<long long>(data.m_nCriteriaType)));
    for (int m = 0; m < 3; ++m)
    {
        element.Open(kDeviationNames[m]);
        for (const auto& entry : data.*kDeviationMaps[m])
        {
            element.Open("Entry");
            SetAttribute(element, "Severity", CNumberText(static_cast<long long>(entry.first)));
            SetAttribute(element, "First", CNumberText(entry.second.first));
            SetAttribute(element, "Second", CNumberText(entry.second.second));
            element.Close();
        }
        element.Close();
    }
    element.Close();
    AppendText(element, "Remarks", vek_xml::Utf8Text(data.m_strRemarks));
}

// The content of the "Constraint" element.
template <class TOut> void WriteConstraint(const CVEKConstraint& constraint, TOut& element)
{
    SetAttribute(element, "Type", CNumberText(static_cast<long long>(constraint.m_eType)));
    SetAttribute(element, "Value", vek_xml::Utf8Text(constraint.m_strName));
    SetFlagAttribute(element, "Status", constraint.m_bStatus);
    for (int i = 0; i < constraint.m_arrParameters.GetSize(); ++i)
    {
        if (constraint.m_arrParameters[i] != nullptr)
        {
            element.Open("Parameter");
            WriteParameter(*constraint.m_arrParameters[i], element);
            element.Close();
        }
    }
}

// The usual element: a material constraint holding the default thickness
// parameter, in the shape and with the texts the writer gives it.
void PrepareConstraintTemplate(pugi::xml_node element)
{
    // Parsing gives an empty element no text node; writing an empty text does.
    element.child("Parameter").child("Remarks").text().set("", 0);
}

const vek_xml::ElementTemplate kConstraintTemplate = {
    "<Constraint Type=\"1\" Value=\"\" Status=\"0\">"
    "<Parameter Name=\"\" Type=\"40067\" ValueType=\"4\" Status=\"0\">"
    "<Operator>7</Operator><ParameterType>1</ParameterType><Value>1</Value>"
    "<ResultCriteria Status=\"0\" CriteriaType=\"0\">"
    "<PercentDeviation/><AbsoluteDeviation/><AbsoluteValue/></ResultCriteria>"
    "<Remarks></Remarks></Parameter></Constraint>",
    PrepareConstraintTemplate,
};

const vek_xml::CElementShape& ConstraintShape()
{
    static const vek_xml::CElementShape shape(kConstraintTemplate);
    return shape;
}

// The attributes of a "Parameter" element, gathered in one walk: the first of
// each name counts, a missing one reads as empty text.
struct CParameterAttributes
{
    explicit CParameterAttributes(pugi::xml_node element)
    {
        for (pugi::xml_attribute attr = element.first_attribute(); attr;
             attr = attr.next_attribute())
        {
            const char* pszAttr = attr.name();
            const char** ppszValue = nullptr;
            if (std::strcmp(pszAttr, "Name") == 0)
                ppszValue = &pszName;
            else if (std::strcmp(pszAttr, "Type") == 0)
                ppszValue = &pszType;
            else if (std::strcmp(pszAttr, "ValueType") == 0)
                ppszValue = &pszValueType;
            else if (std::strcmp(pszAttr, "Status") == 0)
                ppszValue = &pszStatus;
            if (ppszValue != nullptr && *ppszValue == nullptr)
                *ppszValue = attr.value();
        }
    }
    static const char* OrEmpty(const char* psz) { return psz != nullptr ? psz : ""; }

    const char* pszName = nullptr;
    const char* pszType = nullptr;
    const char* pszValueType = nullptr;
    const char* pszStatus = nullptr;
};

bool HasName(pugi::xml_node node, const char* pszName)
{
    return std::strcmp(node.name(), pszName) == 0;
}

// The deviation maps of a "ResultCriteria" element: the entries of the first
// child of each deviation name.
void ReadDeviations(CVekParamDataBase& data, pugi::xml_node criteria)
{
    pugi::xml_node arrDeviations[3];
    for (pugi::xml_node child = criteria.first_child(); child; child = child.next_sibling())
    {
        for (int m = 0; m < 3; ++m)
        {
            if (!arrDeviations[m] && HasName(child, kDeviationNames[m]))
            {
                arrDeviations[m] = child;
                break;
            }
        }
    }
    for (int m = 0; m < 3; ++m)
    {
        VekDeviationMap& map = data.*kDeviationMaps[m];
        map.clear();
        for (pugi::xml_node item = arrDeviations[m].child("Entry"); item;
             item = item.next_sibling("Entry"))
        {
            map[static_cast<int32_t>(ReadInteger(item.attribute("Severity").value()))] =
                std::make_pair(ReadDouble(item.attribute("First").value()),
                               ReadDouble(item.attribute("Second").value()));
        }
    }
}

// Every field of the parameter from its element, in one walk over the
// children: the first "Operator", "ParameterType", "ResultCriteria" and
// "Remarks" count, and every "OperatorOption" and "Value" in order.
template <class T>
void ReadParameterFields(CVekParamDataBase& data, CVekParamData<T>* pValues, pugi::xml_node element,
                         const CParameterAttributes& attributes)
{
    vek_xml::AssignUtf8(data.m_strName, CParameterAttributes::OrEmpty(attributes.pszName));
    data.m_bStatus = IsOne(CParameterAttributes::OrEmpty(attributes.pszStatus));
    data.m_arrOperatorOptions.Reset();
    if (pValues != nullptr)
        pValues->ClearValues();

    pugi::xml_node operatorNode;
    pugi::xml_node paramType;
    pugi::xml_node criteria;
    pugi::xml_node remarks;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
    {
        const char* pszName = child.name();
        switch (pszName[0])
        {
        case 'O':
            if (!operatorNode && std::strcmp(pszName, "Operator") == 0)
                operatorNode = child;
            else if (std::strcmp(pszName, "OperatorOption") == 0)
                data.m_arrOperatorOptions.Append(
                    static_cast<LONG>(ReadInteger(child.text().get())));
            break;
        case 'P':
            if (!paramType && std::strcmp(pszName, "ParameterType") == 0)
                paramType = child;
            break;
        case 'V':
            if (pValues != nullptr && std::strcmp(pszName, "Value") == 0)
                pValues->m_arrValues.Append(ReadValue<T>(child.text().get()));
            break;
        case 'R':
            if (!criteria && std::strcmp(pszName, "ResultCriteria") == 0)
                criteria = child;
            else if (!remarks && std::strcmp(pszName, "Remarks") == 0)
                remarks = child;
            break;
        default:
            break;
        }
    }
    data.m_eOperator = static_cast<VekOperator_e>(ReadInteger(operatorNode.text().get()));
    data.m_eParamType = static_cast<VekParamType_e>(ReadInteger(paramType.text().get()));
    data.m_bCriteriaStatus = IsOne(criteria.attribute("Status").value());
    data.m_nCriteriaType =
        static_cast<LONG>(ReadInteger(criteria.attribute("CriteriaType").value()));
    ReadDeviations(data, criteria);
    vek_xml::AssignUtf8(data.m_strRemarks, remarks.text().get());
}

void ReadParameter(CVekParamStorage& param, pugi::xml_node element,
                   const CParameterAttributes& attributes)
{
    CVekParamDataBase& data = *param.GetBase();
    WithTypedData(param, [&data, element, &attributes](auto* pValues) {
        ReadParameterFields(data, pValues, element, attributes);
    });
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
    pugi::xml_node node = VekXMLDocumentInternals::CopyTemplate(*pDoc, kConstraintTemplate);
    if (!node)
        return nullptr;
    vek_xml::CShapeFollower follower(node, ConstraintShape());
    WriteConstraint(*this, follower);
    if (!follower.Followed())
    {
        vek_xml::CTreePatcher patcher(node);
        WriteConstraint(*this, patcher);
        patcher.Finish();
    }
    return new VekXMLNode(vek_xml::HandleOf(node));
}

bool CVEKConstraint::PopulateFromXML(VekXMLNode* pNode)
{
    pugi::xml_node element = NodeOf(pNode);
    if (!element || !HasName(element, "Constraint"))
        return false;
    if (pugi::xml_attribute name = element.attribute("Value"))
        vek_xml::AssignUtf8(m_strName, name.value());
    if (pugi::xml_attribute status = element.attribute("Status"))
        m_bStatus = IsOne(status.value());

    // Each parameter takes the first element with its identifier and value type.
    // Constraints hold a parameter or two; the flags stay on the stack for up to 64.
    const size_t nParameters = static_cast<size_t>(m_arrParameters.GetSize());
    bool arrFilledShort[64] = {};
    std::unique_ptr<bool[]> pFilledLong(nParameters > 64 ? new bool[nParameters]() : nullptr);
    bool* vecFilled = pFilledLong ? pFilledLong.get() : arrFilledShort;
    for (pugi::xml_node child = element.child("Parameter"); child;
         child = child.next_sibling("Parameter"))
    {
        const CParameterAttributes attributes(child);
        long long nId = 0;
        long long nValueType = 0;
        if (!vek_xml::ParseInteger(CParameterAttributes::OrEmpty(attributes.pszType), nId) ||
            !vek_xml::ParseInteger(CParameterAttributes::OrEmpty(attributes.pszValueType),
                                   nValueType))
            continue;
        for (int i = 0; i < m_arrParameters.GetSize(); ++i)
        {
            CVekParamStorage* pParam = m_arrParameters[i];
            if (pParam != nullptr && !vecFilled[i] && pParam->GetId() == nId &&
                pParam->GetType() == nValueType)
            {
                ReadParameter(*pParam, child, attributes);
                vecFilled[i] = true;
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
