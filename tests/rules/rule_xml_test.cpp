// The rule's "Rule" element: exact text of a default rule, the round trip
// through the element, constraints from "Constraint" children and from the
// older layout, the unit from the parent, and the error message for records
// of an unknown value type.
#include <CVekRule.h>
#include <ModuleDocument.h>
#include <VEKUniformThicknessRule.h>
#include <VekXMLDocument.h>
#include <VekXMLNode.h>
#include <VekXMLNodeList.h>
#include <afx.h>
#include <vekmsgbox.h>
#include <winnls.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestRuleResources.h"
#include "resource.h"

namespace
{
typedef std::unique_ptr<VekXMLNode> NodePtr;
typedef std::unique_ptr<VekXMLNodeList> ListPtr;
typedef std::unique_ptr<CVEKUniformThicknessRule> RulePtr;

const wchar_t kModule[] = L"VEKInvestmentCastRulesValidator";

struct ShownMessage
{
    CString strText;
    UINT nType;
};

class RuleXMLTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, GetTestResDll());
        // Summaries show numbers with the user's separator; these texts expect a full stop.
        VekSetUserLocaleOverride(LOCALE_SDECIMAL, L".");
        g_pXMLDoc = &m_doc;
        VekXMLDocument::SetCurrent(&m_doc);
        m_pfnOldResponder = VekSetMessageBoxResponder(
            [this](HWND, const CString& strText, const CString&, UINT nType) {
                m_vecShown.push_back({strText, nType});
                return IDOK;
            });
    }
    void TearDown() override
    {
        VekSetMessageBoxResponder(m_pfnOldResponder);
        VekSetUserLocaleOverride(LOCALE_SDECIMAL, nullptr);
        VekXMLDocument::SetCurrent(nullptr);
        g_pXMLDoc = nullptr;
    }

    // A rule as the module's factory makes it; pNode may be null.
    static RulePtr MakeRule(VekXMLNode* pNode)
    {
        return RulePtr(new CVEKUniformThicknessRule(L"description", kModule, 20, 20010, pNode));
    }

    // A rule rebuilt from a stored element, as the module's GetRule does.
    static RulePtr ReadRule(VekXMLNode* pNode)
    {
        RulePtr pRule = MakeRule(pNode);
        pRule->PopulateFromXML(pNode);
        return pRule;
    }

    static std::wstring XMLText(VekXMLNode* pNode)
    {
        CString strXML;
        if (pNode)
            pNode->GetXML(strXML);
        return strXML.str();
    }

    // The first rule element of a document loaded from text; the caller deletes it.
    VekXMLNode* RuleFromText(const std::wstring& strXML)
    {
        EXPECT_TRUE(m_doc.LoadXML(strXML.c_str())) << CString(strXML).GetString();
        NodePtr pRoot(m_doc.GetRootNode());
        if (pRoot && pRoot->GetNodeName() == L"Rule")
            return pRoot.release();
        return pRoot ? pRoot->SelectSingleNode(L"Rule") : nullptr;
    }

    // The rule's element written under a new root carrying "Unit"; the caller deletes it.
    VekXMLNode* StoreUnderRoot(CVekRule* pRule, int nUnit)
    {
        m_doc.Clear();
        NodePtr pRoot(m_doc.CreateRootNode(L"Rules"));
        CString strUnit;
        strUnit.Format(L"%d", nUnit);
        pRoot->AddAttribute(L"Unit", strUnit);
        VekXMLNode* pNode = pRule->GetXMLNode();
        EXPECT_NE(nullptr, pNode);
        if (pNode)
            pRoot->AppendNode(pNode);
        return pNode;
    }

    static double Thickness(CVEKConstraint* pConstraint)
    {
        CVekParamStorage* pParam = pConstraint->FindParameterInArray(THICKNESS_PARAMETER_ID);
        if (pParam == nullptr || pParam->GetValueCount() == 0)
            return -1.0;
        return pParam->GetData<double>()->m_arrValues[0];
    }

    VekXMLDocument m_doc;
    std::vector<ShownMessage> m_vecShown;
    VekMessageBoxResponder m_pfnOldResponder;
};

// The part of a rule element before its first "Constraint" child.
std::wstring BeforeConstraints(const std::wstring& strXML)
{
    return strXML.substr(0, strXML.find(L"\t<Constraint"));
}

const wchar_t* const kMetals[] = {L"Aluminium", L"Beryllium Copper",   L"Brass",
                                  L"Steel",     L"Cobalt-base alloys", L"Bronze"};
} // namespace

TEST_F(RuleXMLTest, DefaultRuleElementInMillimetres)
{
    RulePtr pRule = MakeRule(nullptr);
    NodePtr pNode(pRule->GetXMLNode());
    ASSERT_TRUE(pNode);
    const std::wstring strXML = XMLText(pNode.get());
    EXPECT_EQ(
        L"<Rule Name=\"Uniform Thickness\" Status=\"0\" LifeStatus=\"0\" "
        L"Summary=\"Wall thickness at least 1.0 mm\" Module=\"VEKInvestmentCastRulesValidator\" "
        L"RuleModule=\"\" RuleModuleFileName=\"\" Severity=\"2\" RuleCategory=\"Investment "
        L"Casting\">\n"
        L"\t<Parameter Name=\"\" Type=\"40067\" Status=\"1\">\n"
        L"\t\t<Operator>7</Operator>\n"
        L"\t\t<ParameterType>1</ParameterType>\n"
        L"\t\t<Value>1.000000</Value>\n"
        L"\t\t<ResultCriteria Status=\"0\" CriteriaType=\"0\">\n"
        L"\t\t\t<PercentDeviation />\n"
        L"\t\t\t<AbsoluteDeviation />\n"
        L"\t\t\t<AbsoluteValue />\n"
        L"\t\t</ResultCriteria>\n"
        L"\t\t<Remarks />\n"
        L"\t</Parameter>\n",
        BeforeConstraints(strXML));

    // One constraint element per metal, in table order, after the parameter.
    ListPtr pConstraints(pNode->GetNodeList(L"Constraint"));
    ASSERT_EQ(6, pConstraints->GetSize());
    for (int i = 0; i < 6; ++i)
    {
        CString strName;
        CString strValue;
        ASSERT_TRUE((*pConstraints)[i]->GetAttributeAt(0, strName, strValue));
        EXPECT_EQ(CString(L"Type"), strName);
        EXPECT_EQ(CString(L"1"), strValue);
        ASSERT_TRUE((*pConstraints)[i]->GetAttributeValue(L"Value", strValue));
        EXPECT_EQ(CString(kMetals[i]), strValue);
        ASSERT_TRUE((*pConstraints)[i]->GetAttributeValue(L"Status", strValue));
        EXPECT_EQ(CString(L"0"), strValue);
    }
    ListPtr pChildren(pNode->GetChildNodes());
    EXPECT_EQ(7, pChildren->GetSize());
}

TEST_F(RuleXMLTest, DefaultRuleElementInInches)
{
    RulePtr pRule = MakeRule(nullptr);
    pRule->FindParameterInArray(THICKNESS_PARAMETER_ID)->GetBase()->m_bCriteriaStatus = true;
    int oldUnit[2] = {0, 0};
    int newUnit[2] = {3, 0};
    pRule->ChangeUnits(oldUnit, newUnit);
    pRule->m_strRuleModule = L"Investment Casting";
    pRule->m_strRuleModuleFileName = L"C:\\Program Files\\Ortiva\\VEKInvestmentCastRulesu.dll";
    pRule->m_nLifeStatus = -1;

    NodePtr pNode(pRule->GetXMLNode());
    EXPECT_EQ(
        L"<Rule Name=\"Uniform Thickness\" Status=\"0\" LifeStatus=\"-1\" "
        L"Summary=\"Wall thickness at least 0.03937 in\" "
        L"Module=\"VEKInvestmentCastRulesValidator\" "
        L"RuleModule=\"Investment Casting\" RuleModuleFileName=\"VEKInvestmentCastRulesu.dll\" "
        L"Severity=\"2\" RuleCategory=\"Investment Casting\">\n"
        L"\t<Parameter Name=\"\" Type=\"40067\" Status=\"1\">\n"
        L"\t\t<Operator>7</Operator>\n"
        L"\t\t<ParameterType>1</ParameterType>\n"
        L"\t\t<Value>0.039370</Value>\n"
        L"\t\t<ResultCriteria Status=\"1\" CriteriaType=\"0\">\n"
        L"\t\t\t<PercentDeviation />\n"
        L"\t\t\t<AbsoluteDeviation />\n"
        L"\t\t\t<AbsoluteValue />\n"
        L"\t\t</ResultCriteria>\n"
        L"\t\t<Remarks />\n"
        L"\t</Parameter>\n",
        BeforeConstraints(XMLText(pNode.get())));
}

TEST_F(RuleXMLTest, NoDocumentNoElement)
{
    RulePtr pRule = MakeRule(nullptr);
    g_pXMLDoc = nullptr;
    EXPECT_EQ(nullptr, pRule->GetXMLNode());
}

TEST_F(RuleXMLTest, RoundTripThroughTheElement)
{
    RulePtr pOut = MakeRule(nullptr);
    CVekParamStorage* pParam = pOut->FindParameterInArray(THICKNESS_PARAMETER_ID);
    pParam->GetData<double>()->m_arrValues[0] = 2.75;
    pParam->GetBase()->m_bCriteriaStatus = true;
    pOut->m_arrConstraints[1]->SetStatus(true);
    pOut->m_arrConstraints[1]
        ->FindParameterInArray(THICKNESS_PARAMETER_ID)
        ->GetData<double>()
        ->m_arrValues[0] = 4.5;
    pOut->m_nSeverity = 4;
    NodePtr pNode(StoreUnderRoot(pOut.get(), 6));

    RulePtr pIn = ReadRule(pNode.get());
    EXPECT_EQ(6, pIn->m_nUnit);
    EXPECT_EQ(4, pIn->m_nSeverity);
    EXPECT_EQ(0, pIn->m_nStatus);
    CVekParamStorage* pRead = pIn->FindParameterInArray(THICKNESS_PARAMETER_ID);
    ASSERT_EQ(1, pRead->GetValueCount());
    EXPECT_EQ(2.75, pRead->GetData<double>()->m_arrValues[0]);
    EXPECT_TRUE(pRead->GetBase()->m_bCriteriaStatus);
    ASSERT_EQ(6, pIn->m_arrConstraints.GetSize());
    for (int i = 0; i < 6; ++i)
    {
        EXPECT_EQ(CString(kMetals[i]), pIn->m_arrConstraints[i]->GetName());
        EXPECT_EQ(i == 1, pIn->m_arrConstraints[i]->GetStatus());
        EXPECT_EQ(Thickness(pOut->m_arrConstraints[i]), Thickness(pIn->m_arrConstraints[i]));
    }
    EXPECT_EQ(4.5, Thickness(pIn->m_arrConstraints[1]));
    EXPECT_TRUE(m_vecShown.empty());
}

TEST_F(RuleXMLTest, ConstraintMissingAnAttributeIsSkippedAndNoneIsFilled)
{
    for (const wchar_t* pszMissing : {L"Type", L"Value", L"Status"})
    {
        SCOPED_TRACE(CString(pszMissing).GetString());
        RulePtr pOut = MakeRule(nullptr);
        NodePtr pNode(StoreUnderRoot(pOut.get(), 0));
        ListPtr pConstraints(pNode->GetNodeList(L"Constraint"));
        ASSERT_EQ(6, pConstraints->GetSize());
        ASSERT_TRUE((*pConstraints)[2]->RemoveAttribute(pszMissing));

        RulePtr pIn = ReadRule(pNode.get());
        ASSERT_EQ(5, pIn->m_arrConstraints.GetSize());
        EXPECT_EQ(CString(L"Steel"), pIn->m_arrConstraints[2]->GetName());
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(-1.0, Thickness(pIn->m_arrConstraints[i]))
                << "constraint " << i << " was filled";
    }
}

TEST_F(RuleXMLTest, ConstraintStatusOnlyOneIsActive)
{
    NodePtr pNode(RuleFromText(
        L"<Rules><Rule Name='Uniform Thickness' Module='VEKInvestmentCastRulesValidator'>"
        L"<Constraint Type='1' Value='A' Status='1'/>"
        L"<Constraint Type='1' Value='B' Status='0'/>"
        L"<Constraint Type='1' Value='C' Status='true'/>"
        L"<Constraint Type='7' Value='D' Status=''/>"
        L"</Rule></Rules>"));
    RulePtr pRule = ReadRule(pNode.get());
    ASSERT_EQ(4, pRule->m_arrConstraints.GetSize());
    const bool expected[] = {true, false, false, false};
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(expected[i], pRule->m_arrConstraints[i]->GetStatus()) << i;
        // Whatever the stored type, the rule's constraints are material constraints.
        EXPECT_EQ(VEK_CONSTRAINT_MATERIAL, pRule->m_arrConstraints[i]->GetType());
    }
}

TEST_F(RuleXMLTest, UnitComesFromTheParent)
{
    struct Row
    {
        const wchar_t* pszRoot;
        int nExpected;
    };
    const Row rows[] = {
        {L"<Rules Unit='10'>", 10}, {L"<Rules Unit='12abc'>", 12},
        {L"<Rules Unit='abc'>", 0}, {L"<Rules>", 0},
        {L"<Rules Unit=' 3'>", 3},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(CString(row.pszRoot).GetString());
        NodePtr pNode(RuleFromText(
            std::wstring(row.pszRoot) +
            L"<Rule Name='Uniform Thickness' Module='VEKInvestmentCastRulesValidator'/>"
            L"</Rules>"));
        RulePtr pRule = ReadRule(pNode.get());
        EXPECT_EQ(row.nExpected, pRule->m_nUnit);
    }
    // A rule element that is the document element has no parent: unit 0.
    NodePtr pRoot(
        RuleFromText(L"<Rule Name='Uniform Thickness' Module='VEKInvestmentCastRulesValidator'/>"));
    RulePtr pRule = MakeRule(pRoot.get());
    pRule->m_nUnit = 4;
    pRule->PopulateFromXML(pRoot.get());
    EXPECT_EQ(0, pRule->m_nUnit);
}

TEST_F(RuleXMLTest, StatusAttributesFallBackToMinusOne)
{
    NodePtr pNode(RuleFromText(
        L"<Rules><Rule Name='n' Module='m' Status='3x' LifeStatus='abc' RuleModule='rm' "
        L"RuleModuleFileName='C:\\a\\b.dll'/></Rules>"));
    RulePtr pRule = ReadRule(pNode.get());
    EXPECT_EQ(3, pRule->m_nStatus);
    EXPECT_EQ(-1, pRule->m_nLifeStatus);
    EXPECT_EQ(-1, pRule->m_nSeverity);
    EXPECT_EQ(CString(L"n"), pRule->m_strName);
    EXPECT_EQ(CString(L"m"), pRule->m_strModule);
    EXPECT_EQ(CString(L"rm"), pRule->m_strRuleModule);
    // Read as found; only writing cuts the folder off.
    EXPECT_EQ(CString(L"C:\\a\\b.dll"), pRule->m_strRuleModuleFileName);
    // Without "Constraint" children the rule falls back to its default constraints.
    EXPECT_EQ(6, pRule->m_arrConstraints.GetSize());
}

TEST_F(RuleXMLTest, ModuleFileNameIsWrittenWithoutFolder)
{
    struct Row
    {
        const wchar_t* pszPath;
        const wchar_t* pszWritten;
    };
    const Row rows[] = {
        {L"C:\\x\\y\\rules.dll", L"rules.dll"},
        {L"rules.dll", L"rules.dll"},
        {L"/opt/a/rules.so", L"/opt/a/rules.so"},
        {L"C:\\x\\", L""},
    };
    for (const Row& row : rows)
    {
        RulePtr pRule = MakeRule(nullptr);
        pRule->m_strRuleModuleFileName = row.pszPath;
        NodePtr pNode(pRule->GetXMLNode());
        CString strWritten;
        ASSERT_TRUE(pNode->GetAttributeValue(L"RuleModuleFileName", strWritten));
        EXPECT_EQ(CString(row.pszWritten), strWritten) << CString(row.pszPath).GetString();
    }
}

TEST_F(RuleXMLTest, ParametersWithoutComparisonAreNotWritten)
{
    RulePtr pRule = MakeRule(nullptr);
    pRule->m_arrParameters.Append(CVekRule::CreateParamStorageObject(
        VEK_TYPE_INT, 1, VEK_OPERATOR_NONE, VEK_PARAM_VALUE, true, false));
    pRule->m_arrParameters.Append(CVekRule::CreateParamStorageObject(
        VEK_TYPE_INT, 2, VEK_OPERATOR_INTERNAL, VEK_PARAM_VALUE, true, false));
    pRule->m_arrParameters.Append(CVekRule::CreateParamStorageObject(
        VEK_TYPE_STRING, 3, VEK_OPERATOR_EQUAL, VEK_PARAM_VALUE, true, false));
    NodePtr pNode(pRule->GetXMLNode());
    ListPtr pParams(pNode->GetNodeList(L"Parameter"));
    std::vector<std::wstring> vecTypes;
    for (int i = 0; i < pParams->GetSize(); ++i)
    {
        CString strType;
        (*pParams)[i]->GetAttributeValue(L"Type", strType);
        vecTypes.push_back(strType.str());
    }
    EXPECT_EQ((std::vector<std::wstring>{L"40067", L"3"}), vecTypes);
}

TEST_F(RuleXMLTest, UnknownValueTypeShowsTheXMLError)
{
    const CString strExpected = LoadTestString(IDS_XML_ERROR);
    ASSERT_FALSE(strExpected.IsEmpty());

    RulePtr pRule = MakeRule(nullptr);
    CVekParamStorage* pBad = new CVekParamStorage(static_cast<Type_e>(8));
    pBad->GetBase()->m_eOperator = VEK_OPERATOR_EQUAL;
    pBad->GetBase()->m_nId = 77;
    pRule->m_arrParameters.Append(pBad);
    pRule->m_arrParameters.Append(CVekRule::CreateParamStorageObject(
        VEK_TYPE_BOOL, 78, VEK_OPERATOR_EQUAL, VEK_PARAM_VALUE, true, false));

    // Writing skips the record and goes on with the next.
    NodePtr pNode(StoreUnderRoot(pRule.get(), 0));
    ASSERT_EQ(1u, m_vecShown.size());
    EXPECT_EQ(strExpected, m_vecShown[0].strText);
    EXPECT_EQ(static_cast<UINT>(MB_OK), m_vecShown[0].nType & MB_TYPEMASK);
    ListPtr pParams(pNode->GetNodeList(L"Parameter"));
    EXPECT_EQ(2, pParams->GetSize());
    ListPtr pConstraints(pNode->GetNodeList(L"Constraint"));
    EXPECT_EQ(6, pConstraints->GetSize());

    // Reading stops at the record: the constraints are not filled.
    m_vecShown.clear();
    pRule->PopulateFromXML(pNode.get());
    ASSERT_EQ(1u, m_vecShown.size());
    EXPECT_EQ(strExpected, m_vecShown[0].strText);
    ASSERT_EQ(6, pRule->m_arrConstraints.GetSize());
    EXPECT_EQ(-1.0, Thickness(pRule->m_arrConstraints[0]));
    // The record before the bad one was read.
    EXPECT_EQ(1, pRule->FindParameterInArray(THICKNESS_PARAMETER_ID)->GetValueCount());
}

TEST_F(RuleXMLTest, OlderPerMaterialLayout)
{
    struct Row
    {
        const wchar_t* pszFlag; // the flag element, or null for none
        bool bActive;
    };
    const Row rows[] = {
        {L"<Parameter Type='40071'><Value>1.0000005</Value></Parameter>", true},
        {L"<Parameter Type='40071'><Value>0.9999995</Value></Parameter>", true},
        {L"<Parameter Type='40071'><Value>1</Value></Parameter>", true},
        {L"<Parameter Type='40071'><Value>1.000001</Value></Parameter>", false},
        {L"<Parameter Type='40071'><Value>0</Value></Parameter>", false},
        {L"<Parameter Type='40071'><Value>abc</Value></Parameter>", false},
        {L"<Parameter Type='40071'/>", false},
        // The last flag element counts.
        {L"<Parameter Type='40071'><Value>1</Value></Parameter><Parameter "
         L"Type='40071'><Value>2</Value></Parameter>",
         false},
        {nullptr, false},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.pszFlag ? CString(row.pszFlag).GetString() : L"(no flag)");
        std::wstring strXML =
            L"<Rules><Rule Name='Uniform Thickness' Module='VEKInvestmentCastRulesValidator'>"
            L"<Parameter Type='40070'><Value Attribute1='Old' Attribute2='9'/></Parameter>"
            L"<Parameter Type='40070'><Value Attribute1='Steel' Attribute2=' 2.5mm'/>"
            L"<Value Attribute1='Brass' Attribute2='abc' Attribute3='7'/></Parameter>";
        if (row.pszFlag)
            strXML += row.pszFlag;
        strXML += L"</Rule></Rules>";
        NodePtr pNode(RuleFromText(strXML));
        RulePtr pRule = MakeRule(pNode.get());

        // Only the last list element is converted.
        ASSERT_EQ(2, pRule->m_arrConstraints.GetSize());
        EXPECT_EQ(CString(L"Steel"), pRule->m_arrConstraints[0]->GetName());
        EXPECT_EQ(CString(L"Brass"), pRule->m_arrConstraints[1]->GetName());
        EXPECT_EQ(2.5, Thickness(pRule->m_arrConstraints[0]));
        EXPECT_EQ(0.0, Thickness(pRule->m_arrConstraints[1]));
        for (int i = 0; i < 2; ++i)
        {
            EXPECT_EQ(row.bActive, pRule->m_arrConstraints[i]->GetStatus());
            EXPECT_EQ(row.bActive, pRule->m_arrConstraints[i]
                                       ->FindParameterInArray(THICKNESS_PARAMETER_ID)
                                       ->GetBase()
                                       ->m_bStatus);
        }
    }
}

// GetRule makes its rules with the constructor that leaves the element to
// PopulateFromXML. Whatever the element holds, the rule it reads must be the
// one the full constructor followed by PopulateFromXML reads.
TEST_F(RuleXMLTest, RuleMadeForPopulationReadsAsAFullyConstructedOne)
{
    const std::wstring kOpen =
        L"<Rules Unit='3'><Rule Name='Uniform Thickness' Module='VEKInvestmentCastRulesValidator'";
    const std::wstring kLegacy =
        L"<Parameter Type='40070'><Value Attribute1='Steel' Attribute2='2.5'/></Parameter>"
        L"<Parameter Type='40071'><Value>1</Value></Parameter>";
    const std::wstring kThickness =
        L"<Parameter Name='' Type='40067' Status='1'><Operator>7</Operator>"
        L"<ParameterType>1</ParameterType><Value>3.500000</Value>"
        L"<ResultCriteria Status='1' CriteriaType='0'/></Parameter>";
    const std::wstring kConstraints =
        L"<Constraint Type='1' Value='Brass' Status='1'><Parameter Type='40067' ValueType='4' "
        L"Status='1'><Operator>7</Operator><Value>0.5</Value></Parameter></Constraint>"
        L"<Constraint Type='1' Value='Tin' Status='0'/>"
        L"<Constraint Type='1' Value='Lead'/>";
    const std::wstring elements[] = {
        kOpen + L"/></Rules>",
        kOpen + L" Status='1' Severity='4'>" + kThickness + L"</Rule></Rules>",
        kOpen + L">" + kThickness + kConstraints + L"</Rule></Rules>",
        kOpen + L">" + kLegacy + L"</Rule></Rules>",
        kOpen + L">" + kLegacy + kConstraints + L"</Rule></Rules>",
    };
    for (int nReinit = 0; nReinit <= 1; ++nReinit)
    {
        for (const std::wstring& strElement : elements)
        {
            SCOPED_TRACE(CString(strElement).GetString());
            NodePtr pNode(RuleFromText(strElement));
            ASSERT_TRUE(pNode);
            RulePtr pFull = MakeRule(pNode.get());
            RulePtr pLean(new CVEKUniformThicknessRule(L"description", kModule, 20, 20010,
                                                       CVEKUniformThicknessRule::PopulatedNext()));
            pFull->m_nReinitFlag = nReinit;
            pLean->m_nReinitFlag = nReinit;
            pFull->PopulateFromXML(pNode.get());
            pLean->PopulateFromXML(pNode.get());

            EXPECT_EQ(pFull->m_strSummary, pLean->m_strSummary);
            EXPECT_EQ(pFull->m_bPopulated, pLean->m_bPopulated);
            EXPECT_EQ(pFull->m_nUnit, pLean->m_nUnit);
            EXPECT_EQ(pFull->m_strName, pLean->m_strName);
            EXPECT_EQ(pFull->m_strDisplayName, pLean->m_strDisplayName);
            ASSERT_EQ(pFull->m_arrConstraints.GetSize(), pLean->m_arrConstraints.GetSize());
            for (int i = 0; i < pFull->m_arrConstraints.GetSize(); ++i)
                EXPECT_EQ(Thickness(pFull->m_arrConstraints[i]),
                          Thickness(pLean->m_arrConstraints[i]));
            // Everything else the rule holds shows in the element it writes.
            NodePtr pFullOut(pFull->GetXMLNode());
            NodePtr pLeanOut(pLean->GetXMLNode());
            EXPECT_EQ(XMLText(pFullOut.get()), XMLText(pLeanOut.get()));
            EXPECT_EQ(pFull->m_strSummary, pLean->m_strSummary);
        }
    }
    EXPECT_TRUE(m_vecShown.empty());
}
