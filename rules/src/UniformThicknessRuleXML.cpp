// The rule's "Rule" element: writing it, reading it back, building the
// per-material constraints from it, and the older per-material layout.
#include "VEKUniformThicknessRule.h"

#include <VekXMLDocument.h>
#include <VekXMLNode.h>
#include <VekXMLNodeList.h>

#include <cmath>
#include <cwchar>
#include <memory>

#include "IntegerText.h"
#include "ModuleDocument.h"
#include "NumberText.h"
#include "ParameterRecordXML.h"
#include "ResourceHandleScope.h"
#include "RuleResources.h"
#include "resource.h"

namespace
{
// Status, LifeStatus and Severity: the attribute as an integer, -1 when it is
// missing or does not start with a number.
int ReadCodeAttribute(VekXMLNode* pNode, LPCWSTR pszName)
{
    long nValue = 0;
    return ReadIntegerAttribute(pNode, pszName, nValue) ? static_cast<int>(nValue) : -1;
}

// The part after the last backslash, or the whole text when there is none.
CString FileNameOf(const CString& strPath)
{
    const int nSlash = strPath.ReverseFind(L'\\');
    return nSlash < 0 ? strPath : strPath.Mid(nSlash + 1);
}

void ShowXMLError()
{
    AfxMessageBox(IDS_XML_ERROR, MB_OK);
}
} // namespace

VekXMLNode* CVEKUniformThicknessRule::WriteRuleXML()
{
    CResourceHandleScope scope(GetRuleResDll());
    if (g_pXMLDoc == nullptr)
        return nullptr;

    VekXMLNode* pRule = g_pXMLDoc->CreateNode(L"Rule");
    if (pRule == nullptr)
        return nullptr;
    pRule->AddAttribute(L"Name", m_strName);
    pRule->AddAttribute(L"Status", FormatInteger(m_nStatus));
    pRule->AddAttribute(L"LifeStatus", FormatInteger(m_nLifeStatus));
    pRule->AddAttribute(L"Summary", m_strSummary);
    pRule->AddAttribute(L"Module", m_strModule);
    pRule->AddAttribute(L"RuleModule", m_strRuleModule);
    pRule->AddAttribute(L"RuleModuleFileName", FileNameOf(m_strRuleModuleFileName));
    pRule->AddAttribute(L"Severity", FormatInteger(m_nSeverity));
    pRule->AddAttribute(L"RuleCategory", m_strRuleCategory);

    for (int i = 0; i < m_arrParameters.GetSize(); ++i)
    {
        CVekParamStorage* pParam = m_arrParameters[i];
        const VekOperator_e eOperator = pParam->GetBase()->m_eOperator;
        // Parameters without a comparison, or kept only in memory, are not stored.
        if (eOperator == VEK_OPERATOR_NONE || eOperator == VEK_OPERATOR_INTERNAL)
            continue;
        if (!HasParameterXML(pParam))
        {
            ShowXMLError();
            continue;
        }
        std::unique_ptr<VekXMLNode> pParamNode(WriteParameterXML(pParam));
        if (pParamNode)
            pRule->AppendNode(pParamNode.get());
    }

    for (int i = 0; i < m_arrConstraints.GetSize(); ++i)
    {
        std::unique_ptr<VekXMLNode> pConstraintNode(m_arrConstraints[i]->GetXMLNode(g_pXMLDoc));
        if (pConstraintNode)
            pRule->AppendNode(pConstraintNode.get());
    }
    return pRule;
}

void CVEKUniformThicknessRule::ReadRuleXML(VekXMLNode* pNode)
{
    if (pNode == nullptr)
        return;
    pNode->GetAttributeValue(L"Name", m_strName);
    pNode->GetAttributeValue(L"Module", m_strModule);
    pNode->GetAttributeValue(L"RuleModule", m_strRuleModule);
    pNode->GetAttributeValue(L"RuleModuleFileName", m_strRuleModuleFileName);
    m_nStatus = ReadCodeAttribute(pNode, L"Status");
    m_nLifeStatus = ReadCodeAttribute(pNode, L"LifeStatus");
    m_nSeverity = ReadCodeAttribute(pNode, L"Severity");

    for (int i = 0; i < m_arrParameters.GetSize(); ++i)
    {
        if (!HasParameterXML(m_arrParameters[i]))
        {
            // A record we cannot read leaves the constraints unread as well.
            ShowXMLError();
            return;
        }
        ReadParameterXML(m_arrParameters[i], pNode);
    }
    PopulateConstraintsFromXML(pNode);
    m_bPopulated = true;
    PostPopulate();
}

void CVEKUniformThicknessRule::PopulateConstraintsFromXML(VekXMLNode* pNode)
{
    std::unique_ptr<VekXMLNodeList> pList(pNode->GetNodeList(L"Constraint"));
    // Stored contents are matched to constraints by position, so only a complete set is read.
    if (!pList || pList->GetSize() != m_arrConstraints.GetSize())
        return;
    for (int i = 0; i < pList->GetSize(); ++i)
        m_arrConstraints[i]->PopulateFromXML((*pList)[i]);
}

bool CVEKUniformThicknessRule::ReadConstraintAttributes(VekXMLNode* pNode, CString& strType,
                                                        CString& strName, CString& strStatus)
{
    const bool bType = pNode->GetAttributeValue(L"Type", strType);
    const bool bName = pNode->GetAttributeValue(L"Value", strName);
    const bool bStatus = pNode->GetAttributeValue(L"Status", strStatus);
    return bType && bName && bStatus;
}

void CVEKUniformThicknessRule::CreateConstraintsFromXML(VekXMLNode* pNode)
{
    if (pNode == nullptr)
    {
        CreateDefaultConstraints();
        return;
    }
    std::unique_ptr<VekXMLNodeList> pList(pNode->GetNodeList(L"Constraint"));
    for (int i = 0; pList && i < pList->GetSize(); ++i)
    {
        CString strType;
        CString strName;
        CString strStatus;
        if (!ReadConstraintAttributes((*pList)[i], strType, strName, strStatus))
            continue;
        // The thickness itself is filled in when the constraint reads its element.
        CreateMaterialConstraint(strName, strStatus == L"1", nullptr);
    }
}

void CVEKUniformThicknessRule::ConvertLegacyParameters(VekXMLNode* pNode)
{
    if (pNode == nullptr)
        return;
    std::unique_ptr<VekXMLNodeList> pParams(pNode->GetNodeList(L"Parameter"));
    VekXMLNode* pListElement = nullptr;
    VekXMLNode* pFlagElement = nullptr;
    for (int i = 0; pParams && i < pParams->GetSize(); ++i)
    {
        long nType = 0;
        if (!ReadIntegerAttribute((*pParams)[i], L"Type", nType))
            continue;
        if (nType == LEGACY_MATERIAL_LIST_ID)
            pListElement = (*pParams)[i];
        else if (nType == LEGACY_MATERIAL_FLAG_ID)
            pFlagElement = (*pParams)[i];
    }

    bool bActive = false;
    if (pFlagElement != nullptr)
    {
        std::unique_ptr<VekXMLNode> pValue(pFlagElement->SelectSingleNode(L"Value"));
        double dFlag = 0.0;
        // Compared with the bounds themselves, not with |flag - 1|: the difference
        // rounds differently, and 1.000001 would then count as active.
        if (pValue && pValue->GetNodeValueInDouble(dFlag))
            bActive = dFlag > 1.0 - g_dTolerance && dFlag < 1.0 + g_dTolerance;
    }

    if (pListElement == nullptr)
        return;
    std::unique_ptr<VekXMLNodeList> pValues(pListElement->GetNodeList(L"Value"));
    for (int i = 0; pValues && i < pValues->GetSize(); ++i)
    {
        CString strMaterial;
        CString strThickness;
        (*pValues)[i]->GetAttributeValue(L"Attribute1", strMaterial);
        (*pValues)[i]->GetAttributeValue(L"Attribute2", strThickness);
        const double dThickness = StringToDouble(strThickness);
        CreateMaterialConstraint(strMaterial, bActive, &dThickness);
    }
}

int CVEKUniformThicknessRule::ReadUnitFromXML(VekXMLNode* pNode)
{
    if (pNode == nullptr)
        return 0;
    std::unique_ptr<VekXMLNode> pParent(pNode->GetParentNode());
    if (!pParent)
        return 0;
    CString strUnit;
    if (!pParent->GetAttributeValue(L"Unit", strUnit))
        return 0;
    return static_cast<int>(std::wcstol(strUnit, nullptr, 10));
}
