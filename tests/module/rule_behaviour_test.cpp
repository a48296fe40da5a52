// The Uniform Thickness rule as the host sees it: defaults, summary and unit changes.
#include <gtest/gtest.h>

#include <CVEKConstraint.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "RulesModule.h"
#include "resource.h"

namespace
{
const long kThicknessId = 40067;

CVekParamData<double>* Thickness(CVekParamStorage* pParam)
{
    return pParam ? pParam->GetData<double>() : nullptr;
}

std::vector<double> Values(CVekParamStorage* pParam)
{
    std::vector<double> values;
    if (CVekParamData<double>* pData = Thickness(pParam))
        for (int i = 0; i < pData->m_arrValues.GetSize(); ++i)
            values.push_back(pData->m_arrValues[i]);
    return values;
}

void SetValues(CVekParamStorage* pParam, std::initializer_list<double> values)
{
    VekArray<double>& arrValues = Thickness(pParam)->m_arrValues;
    arrValues.Reset();
    for (double d : values)
        arrValues.Append(d);
}

class RuleBehaviour : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("VEK_UI_LANGUAGE", "en-US", 1);
        m_hEnglish = LoadBuiltResources(L"en-US");
        ASSERT_NE(m_hEnglish, nullptr);
        m_pModule = std::make_unique<RulesModule>();
        m_pRule = m_pModule->NewRule();
        ASSERT_NE(m_pRule, nullptr);
    }
    void TearDown() override
    {
        m_pModule->DeleteRule(&m_pRule);
        m_pModule.reset();
        FreeLibrary(m_hEnglish);
    }

    CString Text(UINT nID) const { return LoadText(m_hEnglish, nID); }
    CString Summary(const CString& strOperator, const wchar_t* pszValue,
                    const CString& strUnit) const
    {
        CString strSummary;
        strSummary.Format(Text(IDS_SUMMARY_FORMAT), strOperator.GetString(), pszValue,
                          strUnit.GetString());
        return strSummary;
    }
    CVekParamStorage* RuleThickness() { return m_pRule->FindParameterInArray(kThicknessId); }
    void ChangeUnits(int nOld, int nNew, int nNew2 = 0)
    {
        int old[2] = {nOld, 0};
        int now[2] = {nNew, nNew2};
        m_pRule->ChangeUnits(old, now);
    }

    HINSTANCE m_hEnglish = nullptr;
    std::unique_ptr<RulesModule> m_pModule;
    CVekRule* m_pRule = nullptr;
};

TEST_F(RuleBehaviour, ANewRuleHasItsIdentityAndDefaultThickness)
{
    EXPECT_EQ(m_pRule->m_strName, Text(IDS_RULE_NAME));
    EXPECT_EQ(m_pRule->m_strModule, L"VEKInvestmentCastRulesValidator");
    EXPECT_EQ(m_pRule->GetRuleCategoryEnum(), VEK_RULE_CATEGORY_INVESTMENT_CASTING);
    EXPECT_EQ(m_pRule->GetRuleId(), 20010);
    EXPECT_EQ(m_pRule->m_nSeverity, 2);
    EXPECT_EQ(m_pRule->m_nStatus, 0);
    ASSERT_EQ(m_pRule->m_lstDescription.GetCount(), 1);
    EXPECT_EQ(m_pRule->m_lstDescription.GetHead(), Text(IDS_RULE_DESCRIPTION));
    EXPECT_TRUE(m_pRule->m_bPopulated);

    ASSERT_EQ(m_pRule->m_arrParameters.GetSize(), 1);
    CVekParamStorage* pParam = RuleThickness();
    ASSERT_NE(pParam, nullptr);
    EXPECT_EQ(pParam->GetType(), VEK_TYPE_DOUBLE);
    EXPECT_EQ(Values(pParam), std::vector<double>{1.0});
    EXPECT_EQ(pParam->GetBase()->m_eOperator, VEK_OPERATOR_GREATER_EQUAL);
    EXPECT_EQ(pParam->GetBase()->m_eParamType, VEK_PARAM_VALUE);
    EXPECT_TRUE(pParam->GetBase()->m_bStatus);
    EXPECT_FALSE(pParam->GetBase()->m_bCriteriaStatus);

    EXPECT_EQ(m_pRule->m_strSummary, Summary(Text(IDS_OPERATOR_GE), L"1.0", Text(IDS_UNIT_MM)));
}

TEST_F(RuleBehaviour, DefaultConstraintsComeFromTheMetalTableInTheRulesUnit)
{
    struct Row
    {
        const wchar_t* pszMaterial;
        double dMillimetres;
    } rows[] = {{L"Aluminium", 1.0}, {L"Beryllium Copper", 0.75},   {L"Brass", 1.0},
                {L"Steel", 1.5},     {L"Cobalt-base alloys", 0.75}, {L"Bronze", 1.5}};
    ASSERT_EQ(m_pRule->m_arrConstraints.GetSize(), 6);
    for (int i = 0; i < 6; ++i)
    {
        CVEKConstraint* pConstraint = m_pRule->m_arrConstraints[i];
        EXPECT_EQ(pConstraint->GetName(), rows[i].pszMaterial);
        EXPECT_EQ(pConstraint->GetType(), VEK_CONSTRAINT_MATERIAL);
        EXPECT_FALSE(pConstraint->GetStatus());
        CVekParamStorage* pParam = pConstraint->FindParameterInArray(kThicknessId);
        ASSERT_NE(pParam, nullptr);
        EXPECT_EQ(Values(pParam), std::vector<double>{rows[i].dMillimetres}) << rows[i].pszMaterial;
    }
}

TEST_F(RuleBehaviour, DefaultConstraintsInInchesAreTheSixDecimalRoundings)
{
    // A rule rebuilt from scratch takes its defaults in the unit it then holds.
    VekXMLDocument doc;
    std::unique_ptr<VekXMLNode> pRoot(doc.CreateRootNode(L"Rules"));
    pRoot->AddAttribute(L"Unit", L"3");
    std::unique_ptr<VekXMLNode> pNode(pRoot->AppendNode(L"Rule"));
    pNode->AddAttribute(L"Name", Text(IDS_RULE_NAME));
    pNode->AddAttribute(L"Module", L"VEKInvestmentCastRulesValidator");
    m_pRule->PopulateFromXML(pNode.get());
    ASSERT_EQ(m_pRule->m_nUnit, 3);
    m_pRule->m_nReinitFlag = 1;
    m_pRule->PopulateFromXML(pNode.get());

    const double inches[] = {0.03937, 0.029528, 0.03937, 0.059055, 0.029528, 0.059055};
    ASSERT_EQ(m_pRule->m_arrConstraints.GetSize(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Values(m_pRule->m_arrConstraints[i]->FindParameterInArray(kThicknessId)),
                  std::vector<double>{inches[i]});
}

TEST_F(RuleBehaviour, SummaryFollowsCriteriaFlagAndFirstConstraint)
{
    struct Row
    {
        const char* pszCase;
        bool bCriteria;
        bool bFirstActive;
        VekOperator_e eOperator;
        CString strExpected;
    } rows[] = {
        {"criteria flag clear", false, false, VEK_OPERATOR_GREATER_EQUAL, CString()},
        {"criteria flag set", true, false, VEK_OPERATOR_GREATER_EQUAL,
         Summary(Text(IDS_OPERATOR_GE), L"1.0", Text(IDS_UNIT_MM))},
        {"other operator", true, false, VEK_OPERATOR_GREATER,
         Summary(CString(), L"1.0", Text(IDS_UNIT_MM))},
        {"first material active", false, true, VEK_OPERATOR_GREATER_EQUAL,
         Text(IDS_SUMMARY_MATERIAL)},
        {"first material active wins", true, true, VEK_OPERATOR_GREATER_EQUAL,
         Text(IDS_SUMMARY_MATERIAL)},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.pszCase);
        Thickness(RuleThickness())->m_bCriteriaStatus = row.bCriteria;
        Thickness(RuleThickness())->m_eOperator = row.eOperator;
        m_pRule->m_arrConstraints[0]->SetStatus(row.bFirstActive);
        ChangeUnits(0, 0);
        EXPECT_EQ(m_pRule->m_strSummary, row.strExpected);
    }
}

TEST_F(RuleBehaviour, ChangeUnitsConvertsEveryThicknessOnlyWhenTheUnitChanges)
{
    Thickness(RuleThickness())->m_bCriteriaStatus = true;
    ChangeUnits(0, 0, 7);
    EXPECT_EQ(Values(RuleThickness()), std::vector<double>{1.0});
    EXPECT_EQ(m_pRule->m_nUnit, 0);
    EXPECT_EQ(m_pRule->m_nUnit2, 7);

    ChangeUnits(0, 3, 5);
    EXPECT_EQ(m_pRule->m_nUnit, 3);
    EXPECT_EQ(m_pRule->m_nUnit2, 5);
    ASSERT_EQ(Values(RuleThickness()).size(), 1u);
    EXPECT_DOUBLE_EQ(Values(RuleThickness())[0], 1.0 / 25.4);
    EXPECT_DOUBLE_EQ(Values(m_pRule->m_arrConstraints[3]->FindParameterInArray(kThicknessId))[0],
                     1.5 / 25.4);
    EXPECT_EQ(m_pRule->m_strSummary, Summary(Text(IDS_OPERATOR_GE), L"0.03937", Text(IDS_UNIT_IN)));

    // A constraint without a value is skipped, not read past its end.
    SetValues(m_pRule->m_arrConstraints[0]->FindParameterInArray(kThicknessId), {});
    ChangeUnits(3, 0);
    EXPECT_TRUE(Values(m_pRule->m_arrConstraints[0]->FindParameterInArray(kThicknessId)).empty());
    EXPECT_DOUBLE_EQ(Values(RuleThickness())[0], 1.0);
}

TEST_F(RuleBehaviour, OlderFlagAndThicknessLayoutIsNormalisedBeforeUse)
{
    struct Row
    {
        std::initializer_list<double> before;
        std::vector<double> after;
        bool bCriteria;
    } rows[] = {{{1.0, 2.5}, {2.5}, true},
                {{0.0, 2.5}, {2.5}, false},
                {{1.0000001, 2.5}, {2.5}, false},
                {{4.0}, {4.0}, false},
                {{1.0, 2.0, 3.0, 4.0}, {1.0, 2.0, 3.0, 4.0}, false}};
    for (const Row& row : rows)
    {
        SetValues(RuleThickness(), row.before);
        Thickness(RuleThickness())->m_bCriteriaStatus = false;
        ChangeUnits(0, 0);
        EXPECT_EQ(Values(RuleThickness()), row.after);
        EXPECT_EQ(Thickness(RuleThickness())->m_bCriteriaStatus, row.bCriteria);
    }
}

TEST_F(RuleBehaviour, WithoutTheThicknessParameterUnitChangesChangeNothing)
{
    m_pRule->ClearParameterArray();
    const CString strSummary = m_pRule->m_strSummary;
    ChangeUnits(0, 3);
    EXPECT_EQ(m_pRule->m_nUnit, 0);
    EXPECT_EQ(m_pRule->m_strSummary, strSummary);
}

TEST_F(RuleBehaviour, TrivialHooksAnswerAsTheHostExpects)
{
    EXPECT_EQ(m_pRule->RuleHook2(1, 2, 3), -3);
    EXPECT_TRUE(m_pRule->RuleHook7(0));
    EXPECT_EQ(m_pRule->RuleHook11(1, 2, 3), 0);
    EXPECT_EQ(m_pRule->RuleHook20(), 0);
}
} // namespace
