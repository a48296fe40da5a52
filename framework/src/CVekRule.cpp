#include "CVekRule.h"

CVekRule::CVekRule() = default;

CVekRule::~CVekRule()
{
    ClearConstraints();
    ClearParameterArray();
    ClearMaterialSelection();
}

void CVekRule::RuleHook1() {}

int CVekRule::RuleHook2(LONGLONG, LONGLONG, LONGLONG)
{
    return 0;
}

void CVekRule::PopulateFromXML(VekXMLNode*) {}

VekXMLNode* CVekRule::GetXMLNode()
{
    return nullptr;
}

void CVekRule::RuleHook5() {}

void CVekRule::ChangeUnits(int*, int* pNewUnit)
{
    if (pNewUnit == nullptr)
        return;
    m_nUnit = pNewUnit[0];
    m_nUnit2 = pNewUnit[1];
}

bool CVekRule::RuleHook7(LONGLONG)
{
    return false;
}

void CVekRule::Configure() {}

void CVekRule::ConfigureRule(HBITMAP hBitmap)
{
    m_hDialogImage = hBitmap;
    Configure();
}

void CVekRule::SetDialogImageInfo(CString strInfo)
{
    m_strDialogImageInfo = strInfo;
}

int CVekRule::RuleHook11(LONGLONG, LONGLONG, LONGLONG)
{
    return 0;
}

CVekRule& CVekRule::operator=(const CVekRule* pOther)
{
    if (pOther == nullptr || pOther == this)
        return *this;
    m_strName = pOther->m_strName;
    m_strDisplayName = pOther->m_strDisplayName;
    m_strSummary = pOther->m_strSummary;
    m_strModule = pOther->m_strModule;
    m_strRuleCategory = pOther->m_strRuleCategory;
    m_strRuleModule = pOther->m_strRuleModule;
    m_strRuleModuleFileName = pOther->m_strRuleModuleFileName;
    m_lstDescription.RemoveAll();
    m_lstDescription.AddTail(pOther->m_lstDescription);
    m_nStatus = pOther->m_nStatus;
    m_nSeverity = pOther->m_nSeverity;
    m_nLifeStatus = pOther->m_nLifeStatus;
    m_bPopulated = pOther->m_bPopulated;
    m_nUnit = pOther->m_nUnit;
    m_nUnit2 = pOther->m_nUnit2;
    m_nRuleId = pOther->m_nRuleId;
    m_nReinitFlag = pOther->m_nReinitFlag;
    m_strDBModuleFile = pOther->m_strDBModuleFile;
    m_eRuleCategory = pOther->m_eRuleCategory;
    m_strDialogImageInfo = pOther->m_strDialogImageInfo;
    m_hDialogImage = pOther->m_hDialogImage;

    ClearParameterArray();
    for (int i = 0; i < pOther->m_arrParameters.GetSize(); ++i)
    {
        if (pOther->m_arrParameters[i] != nullptr)
            m_arrParameters.Append(pOther->m_arrParameters[i]->Clone());
    }
    ClearConstraints();
    for (int i = 0; i < pOther->m_arrConstraints.GetSize(); ++i)
    {
        if (pOther->m_arrConstraints[i] != nullptr)
            m_arrConstraints.Append(pOther->m_arrConstraints[i]->Clone());
    }
    ClearMaterialSelection();
    for (const auto& entry : pOther->m_vecMaterialSelection)
    {
        CStringList* pList = new CStringList;
        if (entry.second != nullptr)
            pList->AddTail(*entry.second);
        m_vecMaterialSelection.emplace_back(entry.first, pList);
    }
    return *this;
}

CVekParamStorage* CVekRule::FindParameterInArray(long nId)
{
    for (int i = 0; i < m_arrParameters.GetSize(); ++i)
    {
        CVekParamStorage* pParam = m_arrParameters[i];
        if (pParam != nullptr && pParam->GetId() == nId)
            return pParam;
    }
    return nullptr;
}

void CVekRule::RuleHook14(int) {}

bool CVekRule::ValidateInputData()
{
    return true;
}

CString CVekRule::GetRequiredInputData()
{
    return CString();
}

void CVekRule::SetInputData(CString&) {}

void CVekRule::SetPreExecutionData(void*&) {}

int CVekRule::GetRuleId()
{
    return m_nRuleId;
}

int CVekRule::RuleHook20()
{
    return 0;
}

void CVekRule::PostPopulate() {}

int CVekRule::GetCutterStatus()
{
    return 0;
}

bool CVekRule::Heal(CVekCADSystem*, CVekCADData*, CVekResultSet*)
{
    return false;
}

bool CVekRule::IsRuleParametric()
{
    return false;
}

bool CVekRule::ValidateInputParameters(std::map<LONG, double>&)
{
    return true;
}

void CVekRule::InitConstraints(VekXMLNode*, std::list<LONG>&) {}

namespace
{
// The first value of a numeric parameter as a double; false when it has none.
bool FirstValueAsDouble(CVekParamStorage* pParam, double& dValue)
{
    if (auto* pDoubles = pParam->GetData<double>())
    {
        if (pDoubles->m_arrValues.GetSize() == 0)
            return false;
        dValue = pDoubles->m_arrValues[0];
        return true;
    }
    if (auto* pInts = pParam->GetData<int32_t>())
    {
        if (pInts->m_arrValues.GetSize() == 0)
            return false;
        dValue = pInts->m_arrValues[0];
        return true;
    }
    if (auto* pUints = pParam->GetData<uint32_t>())
    {
        if (pUints->m_arrValues.GetSize() == 0)
            return false;
        dValue = pUints->m_arrValues[0];
        return true;
    }
    return false;
}
} // namespace

void CVekRule::GetConstraintParameters(std::list<LONG>& lstIds, std::map<LONG, double>& mapValues)
{
    for (LONG nId : lstIds)
    {
        for (int i = 0; i < m_arrConstraints.GetSize(); ++i)
        {
            CVekParamStorage* pParam =
                m_arrConstraints[i] ? m_arrConstraints[i]->FindParameterInArray(nId) : nullptr;
            double dValue = 0.0;
            if (pParam != nullptr && FirstValueAsDouble(pParam, dValue))
            {
                mapValues[nId] = dValue;
                break;
            }
        }
    }
}

CVekParamStorage* CVekRule::FindParameterInConstraintArray(CString strConstraint, long nId)
{
    for (int i = 0; i < m_arrConstraints.GetSize(); ++i)
    {
        CVEKConstraint* pConstraint = m_arrConstraints[i];
        if (pConstraint != nullptr && pConstraint->m_strName == strConstraint)
            return pConstraint->FindParameterInArray(nId);
    }
    return nullptr;
}

void CVekRule::SetRuleCategory(VEKRuleCategory_e eCategory)
{
    m_eRuleCategory = eCategory;
    m_strRuleCategory = GetRuleCategoryText(eCategory);
}

CString CVekRule::GetRuleCategoryText(VEKRuleCategory_e eCategory)
{
    switch (eCategory)
    {
    case VEK_RULE_CATEGORY_MACHINING:
        return L"Machining";
    case VEK_RULE_CATEGORY_SHEET_METAL:
        return L"Sheet Metal";
    case VEK_RULE_CATEGORY_INJECTION_MOULDING:
        return L"Injection Moulding";
    case VEK_RULE_CATEGORY_DIE_CASTING:
        return L"Die Casting";
    case VEK_RULE_CATEGORY_ASSEMBLY:
        return L"Assembly";
    case VEK_RULE_CATEGORY_SAND_CASTING:
        return L"Sand Casting";
    case VEK_RULE_CATEGORY_FORGING:
        return L"Forging";
    case VEK_RULE_CATEGORY_WELDING:
        return L"Welding";
    case VEK_RULE_CATEGORY_ADDITIVE:
        return L"Additive Manufacturing";
    case VEK_RULE_CATEGORY_INVESTMENT_CASTING:
        return L"Investment Casting";
    default:
        return CString();
    }
}

CVekParamStorage* CVekRule::CreateParamStorageObject(Type_e eType, long nId,
                                                     VekOperator_e eOperator,
                                                     VekParamType_e eParamType, bool bStatus,
                                                     bool bCriteriaStatus)
{
    CVekParamStorage* pParam = new CVekParamStorage(eType);
    CVekParamDataBase* pData = pParam->GetBase();
    pData->m_nId = static_cast<LONG>(nId);
    pData->m_eOperator = eOperator;
    pData->m_eParamType = eParamType;
    pData->m_bStatus = bStatus;
    pData->m_bCriteriaStatus = bCriteriaStatus;
    return pParam;
}

CVEKConstraint* CVekRule::CreateConstraintObject(VEKConstraintType_e eType, CString strName,
                                                 bool bStatus)
{
    return new CVEKConstraint(eType, strName, bStatus);
}

void CVekRule::ClearConstraints()
{
    for (int i = 0; i < m_arrConstraints.GetSize(); ++i)
        delete m_arrConstraints[i];
    m_arrConstraints.Reset();
}

void CVekRule::ClearParameterArray()
{
    for (int i = 0; i < m_arrParameters.GetSize(); ++i)
        delete m_arrParameters[i];
    m_arrParameters.Reset();
}

void CVekRule::ClearMaterialSelection()
{
    for (auto& entry : m_vecMaterialSelection)
    {
        if (entry.second != nullptr)
        {
            entry.second->RemoveAll();
            delete entry.second;
        }
    }
    m_vecMaterialSelection.clear();
}
