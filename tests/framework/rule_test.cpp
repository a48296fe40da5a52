#include "CVekRule.h"
#include "VekXMLNode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace
{
// Index of a virtual function in the table of virtual functions, from its
// pointer to member (Itanium C++ ABI: 1 + byte offset for virtual functions).
template <class F> long VtableIndex(F pmf)
{
    struct Representation
    {
        uintptr_t nPointer;
        ptrdiff_t nAdjust;
    } rep;
    static_assert(sizeof(pmf) == sizeof(rep), "unexpected member pointer size");
    std::memcpy(&rep, &pmf, sizeof(rep));
    if ((rep.nPointer & 1) == 0)
        return -1; // not virtual
    return static_cast<long>((rep.nPointer - 1) / sizeof(void*));
}

// The table holds two entries for the virtual destructor (complete and
// deleting), so host slot n > 0 sits at index n + 1.
const int kDestructorEntries = 2;

int g_nConstraintsDestroyed = 0;
bool g_bRuleDestroyed = false;

class CCountingConstraint : public CVEKConstraint
{
public:
    CCountingConstraint() : CVEKConstraint(VEK_CONSTRAINT_MATERIAL, L"counted", false) {}
    ~CCountingConstraint() override { ++g_nConstraintsDestroyed; }
};

class CTestRule : public CVekRule
{
public:
    ~CTestRule() override { g_bRuleDestroyed = true; }
    int RuleHook2(LONGLONG a, LONGLONG b, LONGLONG c) override
    {
        return static_cast<int>(a + b + c) - 3;
    }
    bool RuleHook7(LONGLONG) override { return true; }
};
} // namespace

TEST(RuleVtable, VirtualOperationsSitInHostSlotOrder)
{
    struct Slot
    {
        long nIndex;
        int nHostSlot;
        const char* pszName;
    };
    const Slot arrSlots[] = {
        {VtableIndex(&CVekRule::RuleHook1), 1, "RuleHook1"},
        {VtableIndex(&CVekRule::RuleHook2), 2, "RuleHook2"},
        {VtableIndex(&CVekRule::PopulateFromXML), 3, "PopulateFromXML"},
        {VtableIndex(&CVekRule::GetXMLNode), 4, "GetXMLNode"},
        {VtableIndex(&CVekRule::RuleHook5), 5, "RuleHook5"},
        {VtableIndex(&CVekRule::ChangeUnits), 6, "ChangeUnits"},
        {VtableIndex(&CVekRule::RuleHook7), 7, "RuleHook7"},
        {VtableIndex(&CVekRule::Configure), 8, "Configure"},
        {VtableIndex(&CVekRule::ConfigureRule), 9, "ConfigureRule"},
        {VtableIndex(&CVekRule::SetDialogImageInfo), 10, "SetDialogImageInfo"},
        {VtableIndex(&CVekRule::RuleHook11), 11, "RuleHook11"},
        {VtableIndex(static_cast<CVekRule& (CVekRule::*)(const CVekRule*)>(&CVekRule::operator=)),
         12, "operator="},
        {VtableIndex(&CVekRule::FindParameterInArray), 13, "FindParameterInArray"},
        {VtableIndex(&CVekRule::RuleHook14), 14, "RuleHook14"},
        {VtableIndex(&CVekRule::ValidateInputData), 15, "ValidateInputData"},
        {VtableIndex(&CVekRule::GetRequiredInputData), 16, "GetRequiredInputData"},
        {VtableIndex(&CVekRule::SetInputData), 17, "SetInputData"},
        {VtableIndex(&CVekRule::SetPreExecutionData), 18, "SetPreExecutionData"},
        {VtableIndex(&CVekRule::GetRuleId), 19, "GetRuleId"},
        {VtableIndex(&CVekRule::RuleHook20), 20, "RuleHook20"},
        {VtableIndex(&CVekRule::PostPopulate), 21, "PostPopulate"},
        {VtableIndex(&CVekRule::GetCutterStatus), 22, "GetCutterStatus"},
        {VtableIndex(&CVekRule::Heal), 23, "Heal"},
        {VtableIndex(&CVekRule::IsRuleParametric), 24, "IsRuleParametric"},
        {VtableIndex(&CVekRule::ValidateInputParameters), 25, "ValidateInputParameters"},
        {VtableIndex(&CVekRule::InitConstraints), 26, "InitConstraints"},
        {VtableIndex(&CVekRule::GetConstraintParameters), 27, "GetConstraintParameters"},
        {VtableIndex(&CVekRule::FindParameterInConstraintArray), 28,
         "FindParameterInConstraintArray"},
    };
    for (const Slot& slot : arrSlots)
        EXPECT_EQ(slot.nHostSlot + kDestructorEntries - 1, slot.nIndex) << slot.pszName;
}

TEST(RuleVtable, HostCallsThroughTableReachOverrides)
{
    CTestRule* pRule = new CTestRule;
    pRule->m_nRuleId = 20010;
    void** pVtable = *reinterpret_cast<void***>(static_cast<CVekRule*>(pRule));

    typedef int (*Hook2)(CVekRule*, LONGLONG, LONGLONG, LONGLONG);
    typedef bool (*Hook7)(CVekRule*, LONGLONG);
    typedef int (*RuleId)(CVekRule*);
    EXPECT_EQ(3, reinterpret_cast<Hook2>(pVtable[2 + kDestructorEntries - 1])(pRule, 1, 2, 3));
    EXPECT_TRUE(reinterpret_cast<Hook7>(pVtable[7 + kDestructorEntries - 1])(pRule, 0));
    EXPECT_EQ(20010, reinterpret_cast<RuleId>(pVtable[19 + kDestructorEntries - 1])(pRule));

    // Slot 0: the deleting destructor destroys and frees the rule.
    g_bRuleDestroyed = false;
    typedef void (*Destroy)(CVekRule*);
    reinterpret_cast<Destroy>(pVtable[1])(pRule);
    EXPECT_TRUE(g_bRuleDestroyed);
}

TEST(Rule, BaseDefaults)
{
    CVekRule rule;
    EXPECT_EQ(0, rule.m_nUnit);
    EXPECT_EQ(VEK_RULE_CATEGORY_UNKNOWN, rule.GetRuleCategoryEnum());
    EXPECT_EQ(nullptr, rule.GetXMLNode());
    EXPECT_FALSE(rule.RuleHook7(0));
    EXPECT_TRUE(rule.ValidateInputData());
    EXPECT_EQ(0, rule.m_arrParameters.GetSize());
    EXPECT_EQ(10, rule.m_arrParameters.GetCapacity());

    rule.SetRuleCategory(VEK_RULE_CATEGORY_INVESTMENT_CASTING);
    EXPECT_EQ(20, rule.GetRuleCategoryEnum());
    EXPECT_EQ(L"Investment Casting", rule.m_strRuleCategory.str());

    int arrOld[2] = {0, 0};
    int arrNew[2] = {3, 7};
    rule.ChangeUnits(arrOld, arrNew);
    EXPECT_EQ(3, rule.m_nUnit);
    EXPECT_EQ(7, rule.m_nUnit2);
}

TEST(Rule, CreateParamStorageStoresArgumentsAndTypedAccessChecksType)
{
    struct Case
    {
        Type_e eType;
        bool bInt, bBool, bDouble, bString, bQword, bUint;
    };
    const Case arrCases[] = {
        {VEK_TYPE_INT, true, false, false, false, false, false},
        {VEK_TYPE_LONG, true, false, false, false, false, false},
        {VEK_TYPE_BOOL, false, true, false, false, false, false},
        {VEK_TYPE_DOUBLE, false, false, true, false, false, false},
        {VEK_TYPE_STRING, false, false, false, true, false, false},
        {VEK_TYPE_QWORD, false, false, false, false, true, false},
        {VEK_TYPE_UINT, false, false, false, false, false, true},
        {static_cast<Type_e>(9), false, false, false, false, false, false},
    };
    for (const Case& c : arrCases)
    {
        SCOPED_TRACE(static_cast<int>(c.eType));
        std::unique_ptr<CVekParamStorage> pParam(CVekRule::CreateParamStorageObject(
            c.eType, 40067, VEK_OPERATOR_GREATER_EQUAL, VEK_PARAM_VALUE, true, false));
        EXPECT_EQ(c.eType, pParam->GetType());
        EXPECT_EQ(c.bInt, pParam->GetData<int32_t>() != nullptr);
        EXPECT_EQ(c.bBool, pParam->GetData<bool>() != nullptr);
        EXPECT_EQ(c.bDouble, pParam->GetData<double>() != nullptr);
        EXPECT_EQ(c.bString, pParam->GetData<CString*>() != nullptr);
        EXPECT_EQ(c.bQword, pParam->GetData<ULONGLONG>() != nullptr);
        EXPECT_EQ(c.bUint, pParam->GetData<uint32_t>() != nullptr);
        const CVekParamDataBase* pData = pParam->GetBase();
        ASSERT_NE(nullptr, pData);
        EXPECT_EQ(40067, pData->m_nId);
        EXPECT_EQ(VEK_OPERATOR_GREATER_EQUAL, pData->m_eOperator);
        EXPECT_EQ(VEK_PARAM_VALUE, pData->m_eParamType);
        EXPECT_TRUE(pData->m_bStatus);
        EXPECT_FALSE(pData->m_bCriteriaStatus);
        EXPECT_EQ(0, pParam->GetValueCount());
    }
    std::unique_ptr<CVekParamStorage> pFlags(CVekRule::CreateParamStorageObject(
        VEK_TYPE_DOUBLE, 1, VEK_OPERATOR_NONE, VEK_PARAM_NONE, false, true));
    EXPECT_FALSE(pFlags->GetBase()->m_bStatus);
    EXPECT_TRUE(pFlags->GetBase()->m_bCriteriaStatus);
}

TEST(Rule, OwnsAndFreesParametersConstraintsAndSelection)
{
    g_nConstraintsDestroyed = 0;
    {
        CVekRule rule;
        for (int i = 0; i < 12; ++i)
            rule.m_arrConstraints.Append(new CCountingConstraint);
        CVekParamStorage* pParam = CVekRule::CreateParamStorageObject(
            VEK_TYPE_STRING, 7, VEK_OPERATOR_EQUAL, VEK_PARAM_VALUE, true, true);
        pParam->GetData<CString*>()->m_arrValues.Append(new CString(L"owned"));
        rule.m_arrParameters.Append(pParam);
        CStringList* pGrades = new CStringList;
        pGrades->AddTail(L"A356");
        rule.m_vecMaterialSelection.emplace_back(CString(L"Aluminium"), pGrades);

        rule.ClearConstraints();
        EXPECT_EQ(12, g_nConstraintsDestroyed);
        EXPECT_EQ(0, rule.m_arrConstraints.GetSize());
        EXPECT_EQ(10, rule.m_arrConstraints.GetCapacity());
        rule.m_arrConstraints.Append(new CCountingConstraint);
    }
    // The destructor freed the rest (the sanitizer build reports any leak).
    EXPECT_EQ(13, g_nConstraintsDestroyed);
}

TEST(Rule, AssignmentFromPointerCopiesDeeply)
{
    CVekRule source;
    source.m_strName = L"Uniform Thickness";
    source.m_nSeverity = 2;
    source.m_nUnit = 3;
    source.m_lstDescription.AddTail(L"line");
    source.SetRuleCategory(VEK_RULE_CATEGORY_INVESTMENT_CASTING);
    CVekParamStorage* pParam = CVekRule::CreateParamStorageObject(
        VEK_TYPE_DOUBLE, 40067, VEK_OPERATOR_GREATER_EQUAL, VEK_PARAM_VALUE, true, false);
    pParam->GetData<double>()->m_arrValues.Append(1.0);
    source.m_arrParameters.Append(pParam);
    CVEKConstraint* pConstraint =
        CVekRule::CreateConstraintObject(VEK_CONSTRAINT_MATERIAL, L"Brass", true);
    pConstraint->AddParameter(CVekRule::CreateParamStorageObject(
        VEK_TYPE_DOUBLE, 40067, VEK_OPERATOR_GREATER_EQUAL, VEK_PARAM_VALUE, true, false));
    source.m_arrConstraints.Append(pConstraint);
    CStringList* pGrades = new CStringList;
    pGrades->AddTail(L"C36000");
    source.m_vecMaterialSelection.emplace_back(CString(L"Brass"), pGrades);

    CVekRule copy;
    copy = &source;
    EXPECT_EQ(L"Uniform Thickness", copy.m_strName.str());
    EXPECT_EQ(2, copy.m_nSeverity);
    EXPECT_EQ(3, copy.m_nUnit);
    EXPECT_EQ(1, copy.m_lstDescription.GetCount());
    EXPECT_EQ(VEK_RULE_CATEGORY_INVESTMENT_CASTING, copy.GetRuleCategoryEnum());
    ASSERT_NE(nullptr, copy.FindParameterInArray(40067));
    EXPECT_NE(pParam, copy.FindParameterInArray(40067));
    copy.FindParameterInArray(40067)->GetData<double>()->m_arrValues[0] = 5.0;
    EXPECT_EQ(1.0, pParam->GetData<double>()->m_arrValues[0]);
    ASSERT_EQ(1, copy.m_arrConstraints.GetSize());
    EXPECT_NE(pConstraint, copy.m_arrConstraints[0]);
    EXPECT_NE(nullptr, copy.FindParameterInConstraintArray(L"Brass", 40067));
    EXPECT_EQ(nullptr, copy.FindParameterInConstraintArray(L"brass", 40067));
    ASSERT_EQ(1u, copy.m_vecMaterialSelection.size());
    EXPECT_NE(pGrades, copy.m_vecMaterialSelection[0].second);
    EXPECT_EQ(L"C36000", copy.m_vecMaterialSelection[0].second->GetHead().str());

    copy = &copy; // self-assignment leaves everything in place
    EXPECT_EQ(1, copy.m_arrConstraints.GetSize());
}
