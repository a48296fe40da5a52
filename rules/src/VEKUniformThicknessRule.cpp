#include "VEKUniformThicknessRule.h"

#include <CVEKUnitConvertor.h>

#include "MaterialTables.h"
#include "NumberText.h"
#include "ResourceHandleScope.h"
#include "RuleResources.h"
#include "UniformThicknessDialogFactory.h"
#include "resource.h"

namespace
{
double DefaultThickness(VEKRuleCategory_e eCategory)
{
    return eCategory == VEK_RULE_CATEGORY_INVESTMENT_CASTING ? 1.0 : 2.0;
}

CVekParamData<double>* ThicknessValues(CVekParamStorage* pParam)
{
    return pParam ? pParam->GetData<double>() : nullptr;
}

void ConvertFirstValue(CVekParamStorage* pParam, long nFrom, long nTo)
{
    CVekParamData<double>* pData = ThicknessValues(pParam);
    if (pData == nullptr || pData->m_arrValues.GetSize() == 0)
        return;
    pData->m_arrValues[0] = CVEKUnitConvertor::ConversionFromOneUnitToAnother(
        pData->m_arrValues[0], CVEKUnitConvertor::KIND_LENGTH, nFrom, nTo);
}
} // namespace

CString GetUnitText(int nUnit)
{
    if (nUnit >= 0 && nUnit <= 4)
        return LoadRuleString(IDS_UNIT_MM + nUnit);
    if (nUnit >= 6 && nUnit <= 10)
        return LoadRuleString(IDS_UNIT_UM + (nUnit - 6));
    return CString();
}

CVEKUniformThicknessRule::CVEKUniformThicknessRule(const CString& strDescription,
                                                   const CString& strModule, int nCategory,
                                                   int nRuleId, VekXMLNode* pNode)
{
    InitIdentity(strDescription, strModule, nCategory, nRuleId);
    if (GetRuleResources() != nullptr)
        m_strSummary.Format(LoadRuleString(IDS_SUMMARY_FORMAT), L"", L"", L"");
    InitFromXML(pNode);
}

CVEKUniformThicknessRule::CVEKUniformThicknessRule(const CString& strDescription,
                                                   const CString& strModule, int nCategory,
                                                   int nRuleId, PopulatedNext)
{
    InitIdentity(strDescription, strModule, nCategory, nRuleId);
    CreateDefaultParameter();
}

void CVEKUniformThicknessRule::InitIdentity(const CString& strDescription, const CString& strModule,
                                            int nCategory, int nRuleId)
{
    if (IRuleResources* pResources = GetRuleResources())
    {
        m_strDisplayName = LoadRuleString(IDS_RULE_NAME);
        m_strName = pResources->LoadDefaultResString(IDS_RULE_NAME);
        m_strModule = strModule;
        m_lstDescription.AddTail(strDescription);
        m_nSeverity = 2;
        m_nStatus = 0;
        m_nRuleId = nRuleId;
        SetRuleCategory(static_cast<VEKRuleCategory_e>(nCategory));
    }
}

CVEKUniformThicknessRule::~CVEKUniformThicknessRule() = default;

void CVEKUniformThicknessRule::InitFromXML(VekXMLNode* pNode)
{
    CreateDefaultParameter();
    ConvertLegacyParameters(pNode);
    CreateConstraintsFromXML(pNode);
    BuildDefaultSummary();
}

void CVEKUniformThicknessRule::CreateDefaultParameter()
{
    CVekParamStorage* pParam =
        CreateParamStorageObject(VEK_TYPE_DOUBLE, THICKNESS_PARAMETER_ID,
                                 VEK_OPERATOR_GREATER_EQUAL, VEK_PARAM_VALUE, true, false);
    VekArray<double>& arrValues = ThicknessValues(pParam)->m_arrValues;
    const double dDefault = DefaultThickness(GetRuleCategoryEnum());
    if (arrValues.GetSize() > 0)
        arrValues[0] = dDefault;
    else
        arrValues.Append(dDefault);
    m_arrParameters.Append(pParam);
}

CVEKConstraint* CVEKUniformThicknessRule::CreateMaterialConstraint(const CString& strMaterial,
                                                                   bool bStatus,
                                                                   const double* pThickness)
{
    CVEKConstraint* pConstraint =
        CreateConstraintObject(VEK_CONSTRAINT_MATERIAL, strMaterial, bStatus);
    CVekParamStorage* pParam =
        CreateParamStorageObject(VEK_TYPE_DOUBLE, THICKNESS_PARAMETER_ID,
                                 VEK_OPERATOR_GREATER_EQUAL, VEK_PARAM_VALUE, bStatus, false);
    if (pThickness != nullptr)
        ThicknessValues(pParam)->m_arrValues.Append(*pThickness);
    pConstraint->AddParameter(pParam);
    m_arrConstraints.Append(pConstraint);
    return pConstraint;
}

void CVEKUniformThicknessRule::CreateDefaultConstraints()
{
    for (const MetalThicknessRow& row : g_MetalThicknessTable)
    {
        const double dInches = StringToDouble(row.pszMinThickness);
        const double dConverted = CVEKUnitConvertor::ConversionFromOneUnitToAnother(
            dInches, CVEKUnitConvertor::KIND_LENGTH, METAL_TABLE_UNIT, m_nUnit);
        // Stored as its six-decimal text reads back, so that it matches what the user sees.
        const double dThickness = ShownValue(dConverted);
        CreateMaterialConstraint(row.pszName, false, &dThickness);
    }
}

void CVEKUniformThicknessRule::BuildDefaultSummary()
{
    if (GetRuleResources() == nullptr)
        return;
    CResourceHandleScope scope(GetRuleResDll());
    m_strSummary.Format(LoadRuleString(IDS_SUMMARY_FORMAT),
                        LoadRuleString(IDS_OPERATOR_GE).GetString(),
                        FormatDouble(DefaultThickness(GetRuleCategoryEnum())).GetString(),
                        GetUnitText(m_nUnit).GetString());
    m_bPopulated = true;
}

void CVEKUniformThicknessRule::UpdateSummary()
{
    if (GetRuleResources() == nullptr)
        return;
    CResourceHandleScope scope(GetRuleResDll());

    if (CVekParamStorage* pParam = FindParameterInArray(THICKNESS_PARAMETER_ID))
    {
        NormalizeThicknessParameter(pParam);
        CVekParamData<double>* pData = ThicknessValues(pParam);
        if (pData != nullptr && pData->m_bCriteriaStatus)
        {
            const CString strOperator = pData->m_eOperator == VEK_OPERATOR_GREATER_EQUAL
                                            ? LoadRuleString(IDS_OPERATOR_GE)
                                            : CString();
            // A flag read without its value shows no number rather than a made-up one.
            CString strValue;
            if (pData->m_arrValues.GetSize() > 0)
            {
                strValue = FormatDouble(pData->m_arrValues[0]);
                TrimTrailingZeros(strValue);
            }
            m_strSummary.Format(LoadRuleString(IDS_SUMMARY_FORMAT), strOperator.GetString(),
                                strValue.GetString(), GetUnitText(m_nUnit).GetString());
        }
        else
            m_strSummary.Empty();
    }

    if (m_arrConstraints.GetSize() > 0 && m_arrConstraints[0]->GetStatus())
        m_strSummary = LoadRuleString(IDS_SUMMARY_MATERIAL);
}

void CVEKUniformThicknessRule::PopulateFromXML(VekXMLNode* pNode)
{
    CResourceHandleScope scope(GetRuleResDll());
    if (m_nReinitFlag == 1)
    {
        ClearConstraints();
        ClearParameterArray();
        InitFromXML(pNode);
    }
    // The stored value is appended by the reader; drop the default one first.
    if (CVekParamData<double>* pData =
            ThicknessValues(FindParameterInArray(THICKNESS_PARAMETER_ID)))
        if (pData->m_arrValues.GetSize() > 0)
            pData->m_arrValues.RemoveAt(0);
    ClearConstraints();
    CreateConstraintsFromXML(pNode);
    ReadRuleXML(pNode);
    if (m_arrConstraints.GetSize() == 0)
        CreateDefaultConstraints();
    m_nUnit = ReadUnitFromXML(pNode);
    UpdateSummary();
}

VekXMLNode* CVEKUniformThicknessRule::GetXMLNode()
{
    VekXMLNode* pNode = WriteRuleXML();
    UpdateSummary();
    return pNode;
}

void CVEKUniformThicknessRule::ChangeUnits(int* pOldUnit, int* pNewUnit)
{
    if (pOldUnit == nullptr || pNewUnit == nullptr)
        return;
    CVekParamStorage* pParam = FindParameterInArray(THICKNESS_PARAMETER_ID);
    if (pParam == nullptr)
        return;
    NormalizeThicknessParameter(pParam);
    if (pOldUnit[0] != pNewUnit[0])
    {
        ConvertFirstValue(pParam, pOldUnit[0], pNewUnit[0]);
        for (int i = 0; i < m_arrConstraints.GetSize(); ++i)
            ConvertFirstValue(m_arrConstraints[i]->FindParameterInArray(THICKNESS_PARAMETER_ID),
                              pOldUnit[0], pNewUnit[0]);
    }
    m_nUnit = pNewUnit[0];
    m_nUnit2 = pNewUnit[1];
    UpdateSummary();
}

void CVEKUniformThicknessRule::Configure()
{
    {
        CResourceHandleScope scope(GetRuleResDll());
        RunUniformThicknessDialog(this, GetUnitText(m_nUnit));
    }
    // Whatever the user chose, the summary follows the rule's settings.
    UpdateSummary();
}

// Hooks the host calls at moments of its own; this rule has nothing to do in them.
void CVEKUniformThicknessRule::RuleHook1() {}
int CVEKUniformThicknessRule::RuleHook2(LONGLONG, LONGLONG, LONGLONG)
{
    return -3;
}
void CVEKUniformThicknessRule::RuleHook5() {}
bool CVEKUniformThicknessRule::RuleHook7(LONGLONG)
{
    return true;
}
int CVEKUniformThicknessRule::RuleHook11(LONGLONG, LONGLONG, LONGLONG)
{
    return 0;
}
void CVEKUniformThicknessRule::RuleHook14(int) {}
int CVEKUniformThicknessRule::RuleHook20()
{
    return 0;
}
