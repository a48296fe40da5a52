#include "CVEKConstraint.h"
#include "CVekRule.h"
#include "VekXMLDocument.h"
#include "VekXMLNodeList.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
typedef std::unique_ptr<VekXMLNode> NodePtr;

// Fills a parameter's common fields with recognisable, non-default content.
void FillCommon(CVekParamDataBase& data, int nSeed)
{
    data.m_strName = CString(L"param \u00e9") + CString(std::to_wstring(nSeed));
    data.m_arrOperatorOptions.Append(nSeed);
    data.m_arrOperatorOptions.Append(-nSeed);
    data.m_strRemarks = L"remark <&>";
    data.m_nCriteriaType = nSeed + 5;
    data.m_mapPercentDeviation[1] = {5.0, 0.0};
    data.m_mapAbsoluteDeviation[2] = {0.1, 0.2};
    data.m_mapAbsoluteValue[0] = {-1.0, 3.25};
}

void ExpectCommonEqual(const CVekParamDataBase& a, const CVekParamDataBase& b)
{
    EXPECT_EQ(a.m_strName.str(), b.m_strName.str());
    EXPECT_EQ(a.m_eOperator, b.m_eOperator);
    ASSERT_EQ(a.m_arrOperatorOptions.GetSize(), b.m_arrOperatorOptions.GetSize());
    for (int i = 0; i < a.m_arrOperatorOptions.GetSize(); ++i)
        EXPECT_EQ(a.m_arrOperatorOptions[i], b.m_arrOperatorOptions[i]);
    EXPECT_EQ(a.m_eParamType, b.m_eParamType);
    EXPECT_EQ(a.m_strRemarks.str(), b.m_strRemarks.str());
    EXPECT_EQ(a.m_nId, b.m_nId);
    EXPECT_EQ(a.m_bStatus, b.m_bStatus);
    EXPECT_EQ(a.m_nCriteriaType, b.m_nCriteriaType);
    EXPECT_EQ(a.m_bCriteriaStatus, b.m_bCriteriaStatus);
    EXPECT_EQ(a.m_mapPercentDeviation, b.m_mapPercentDeviation);
    EXPECT_EQ(a.m_mapAbsoluteDeviation, b.m_mapAbsoluteDeviation);
    EXPECT_EQ(a.m_mapAbsoluteValue, b.m_mapAbsoluteValue);
}

// A constraint holding one parameter of every value type, ids 100 + type.
CVEKConstraint* MakeFullConstraint()
{
    CVEKConstraint* pConstraint =
        CVekRule::CreateConstraintObject(VEK_CONSTRAINT_MATERIAL, L"Alu & Co", true);
    for (int t = 1; t <= 7; ++t)
    {
        CVekParamStorage* pParam = CVekRule::CreateParamStorageObject(
            static_cast<Type_e>(t), 100 + t, VEK_OPERATOR_GREATER_EQUAL, VEK_PARAM_VALUE,
            t % 2 == 0, t % 3 == 0);
        FillCommon(*pParam->GetBase(), t);
        pConstraint->AddParameter(pParam);
    }
    auto* pInts = pConstraint->FindParameterInArray(101)->GetData<int32_t>();
    pInts->m_arrValues.Append(-2147483647 - 1);
    pInts->m_arrValues.Append(17);
    pConstraint->FindParameterInArray(102)->GetData<int32_t>()->m_arrValues.Append(2147483647);
    auto* pBools = pConstraint->FindParameterInArray(103)->GetData<bool>();
    pBools->m_arrValues.Append(true);
    pBools->m_arrValues.Append(false);
    auto* pDoubles = pConstraint->FindParameterInArray(104)->GetData<double>();
    pDoubles->m_arrValues.Append(0.1 + 0.2); // needs all 17 digits to read back exactly
    pDoubles->m_arrValues.Append(-1.5e-300);
    pDoubles->m_arrValues.Append(0.039370);
    auto* pStrings = pConstraint->FindParameterInArray(105)->GetData<CString*>();
    pStrings->m_arrValues.Append(new CString(L"  Gusseisen \u00e4 "));
    pStrings->m_arrValues.Append(new CString(L""));
    pConstraint->FindParameterInArray(106)->GetData<ULONGLONG>()->m_arrValues.Append(
        18446744073709551615ull);
    pConstraint->FindParameterInArray(107)->GetData<uint32_t>()->m_arrValues.Append(4294967295u);
    return pConstraint;
}

// A constraint with the same parameters (ids and types) but default content.
CVEKConstraint* MakeEmptyConstraint()
{
    CVEKConstraint* pConstraint =
        CVekRule::CreateConstraintObject(VEK_CONSTRAINT_MATERIAL, L"", false);
    for (int t = 1; t <= 7; ++t)
        pConstraint->AddParameter(CVekRule::CreateParamStorageObject(
            static_cast<Type_e>(t), 100 + t, VEK_OPERATOR_NONE, VEK_PARAM_NONE, false, false));
    return pConstraint;
}

template <class T> void ExpectValuesEqual(CVEKConstraint& a, CVEKConstraint& b, long nId)
{
    auto* pA = a.FindParameterInArray(nId)->GetData<T>();
    auto* pB = b.FindParameterInArray(nId)->GetData<T>();
    ASSERT_TRUE(pA && pB);
    ASSERT_EQ(pA->m_arrValues.GetSize(), pB->m_arrValues.GetSize()) << nId;
    for (int i = 0; i < pA->m_arrValues.GetSize(); ++i)
    {
        if constexpr (std::is_same<T, CString*>::value)
            EXPECT_EQ(pA->m_arrValues[i]->str(), pB->m_arrValues[i]->str());
        else
            EXPECT_EQ(pA->m_arrValues[i], pB->m_arrValues[i]) << nId << "[" << i << "]";
    }
}

class ConstraintXml : public ::testing::Test
{
protected:
    void SetUp() override { VekXMLDocument::SetCurrent(&m_doc); }
    void TearDown() override { VekXMLDocument::SetCurrent(nullptr); }
    VekXMLDocument m_doc;
};
} // namespace

TEST_F(ConstraintXml, ElementCarriesAttributesTheRuleReads)
{
    std::unique_ptr<CVEKConstraint> pConstraint(
        CVekRule::CreateConstraintObject(VEK_CONSTRAINT_MATERIAL, L"Brass", true));
    NodePtr pNode(pConstraint->GetXMLNode());
    ASSERT_TRUE(pNode);
    EXPECT_EQ(L"Constraint", pNode->GetNodeName().str());
    CString strType, strValue, strStatus;
    ASSERT_TRUE(pNode->GetAttributeValue(L"Type", strType));
    ASSERT_TRUE(pNode->GetAttributeValue(L"Value", strValue));
    ASSERT_TRUE(pNode->GetAttributeValue(L"Status", strStatus));
    EXPECT_EQ(L"1", strType.str());
    EXPECT_EQ(L"Brass", strValue.str());
    EXPECT_EQ(L"1", strStatus.str());
    // Created in the current document, not attached anywhere.
    EXPECT_TRUE(m_doc.Owns(pNode.get()));
    EXPECT_EQ(nullptr, pNode->GetParentNode());

    pConstraint->SetStatus(false);
    NodePtr pInactive(pConstraint->GetXMLNode());
    ASSERT_TRUE(pInactive->GetAttributeValue(L"Status", strStatus));
    EXPECT_EQ(L"0", strStatus.str());
}

TEST_F(ConstraintXml, RoundTripThroughSavedDocumentKeepsEverything)
{
    std::unique_ptr<CVEKConstraint> pSource(MakeFullConstraint());
    NodePtr pRoot(m_doc.CreateRootNode(L"Rule"));
    NodePtr pNode(pSource->GetXMLNode());
    ASSERT_TRUE(pRoot->AppendNode(pNode.get()));
    CString strXML;
    ASSERT_TRUE(m_doc.GetXML(strXML));

    VekXMLDocument docBack;
    ASSERT_TRUE(docBack.LoadXML(strXML));
    NodePtr pBackRoot(docBack.GetRootNode());
    NodePtr pBackNode(pBackRoot->SelectSingleNode(L"Constraint"));
    ASSERT_TRUE(pBackNode);

    std::unique_ptr<CVEKConstraint> pTarget(MakeEmptyConstraint());
    ASSERT_TRUE(pTarget->PopulateFromXML(pBackNode.get()));
    EXPECT_EQ(L"Alu & Co", pTarget->GetName().str());
    EXPECT_TRUE(pTarget->GetStatus());
    for (int t = 1; t <= 7; ++t)
    {
        SCOPED_TRACE(t);
        ExpectCommonEqual(*pSource->FindParameterInArray(100 + t)->GetBase(),
                          *pTarget->FindParameterInArray(100 + t)->GetBase());
    }
    ExpectValuesEqual<int32_t>(*pSource, *pTarget, 101);
    ExpectValuesEqual<int32_t>(*pSource, *pTarget, 102);
    ExpectValuesEqual<bool>(*pSource, *pTarget, 103);
    ExpectValuesEqual<double>(*pSource, *pTarget, 104);
    ExpectValuesEqual<CString*>(*pSource, *pTarget, 105);
    ExpectValuesEqual<ULONGLONG>(*pSource, *pTarget, 106);
    ExpectValuesEqual<uint32_t>(*pSource, *pTarget, 107);
}

TEST_F(ConstraintXml, PopulateReplacesValuesAndMatchesByIdentifier)
{
    // The element holds parameter 40067 twice, an unknown parameter, and one
    // whose value type differs from the constraint's.
    ASSERT_TRUE(m_doc.LoadXML(
        L"<Constraint Type='1' Value='Steel' Status='0'>"
        L"<Parameter Type='999' ValueType='4'><Value>7</Value></Parameter>"
        L"<Parameter Type='40067' ValueType='4' Status='1'><Operator>6</Operator><Value>2.5</Value>"
        L"<Value>3.5</Value></Parameter>"
        L"<Parameter Type='40067' ValueType='4'><Value>9</Value></Parameter>"
        L"<Parameter Type='50' ValueType='1'><Value>5</Value></Parameter>"
        L"</Constraint>"));
    std::unique_ptr<CVEKConstraint> pConstraint(
        CVekRule::CreateConstraintObject(VEK_CONSTRAINT_MATERIAL, L"Old", true));
    CVekParamStorage* pThickness = CVekRule::CreateParamStorageObject(
        VEK_TYPE_DOUBLE, 40067, VEK_OPERATOR_GREATER_EQUAL, VEK_PARAM_VALUE, false, false);
    pThickness->GetData<double>()->m_arrValues.Append(1.0);
    pConstraint->AddParameter(pThickness);
    CVekParamStorage* pOther = CVekRule::CreateParamStorageObject(
        VEK_TYPE_DOUBLE, 50, VEK_OPERATOR_GREATER, VEK_PARAM_VALUE, false, false);
    pOther->GetData<double>()->m_arrValues.Append(4.0);
    pConstraint->AddParameter(pOther);

    NodePtr pRoot(m_doc.GetRootNode());
    ASSERT_TRUE(pConstraint->PopulateFromXML(pRoot.get()));
    EXPECT_EQ(L"Steel", pConstraint->GetName().str());
    EXPECT_FALSE(pConstraint->GetStatus());

    auto* pData = pThickness->GetData<double>();
    ASSERT_EQ(2, pData->m_arrValues.GetSize());
    EXPECT_EQ(2.5, pData->m_arrValues[0]);
    EXPECT_EQ(3.5, pData->m_arrValues[1]);
    EXPECT_EQ(VEK_OPERATOR_GREATER, pData->m_eOperator);
    EXPECT_TRUE(pData->m_bStatus);
    // Parameter 50 is stored with another value type: left as it was.
    auto* pOtherData = pOther->GetData<double>();
    ASSERT_EQ(1, pOtherData->m_arrValues.GetSize());
    EXPECT_EQ(4.0, pOtherData->m_arrValues[0]);
    EXPECT_EQ(VEK_OPERATOR_GREATER, pOtherData->m_eOperator);
}

TEST_F(ConstraintXml, PopulateTakesTheFirstOfEachSingleChildAndEveryRepeatedOne)
{
    // Children out of their written order, single ones repeated, attributes in
    // another order; and a second parameter whose element holds nothing.
    ASSERT_TRUE(m_doc.LoadXML(
        L"<Constraint Type='1' Value='Brass' Status='1'>"
        L"<Parameter Status='1' Extra='x' ValueType='4' Type='40067' Name='n1'>"
        L"<Value>1.5</Value><OperatorOption>3</OperatorOption><Operator>6</Operator>"
        L"<Remarks>first</Remarks><Value>2.5</Value><OperatorOption>4</OperatorOption>"
        L"<Operator>2</Operator>"
        L"<ResultCriteria Status='1' CriteriaType='7'>"
        L"<AbsoluteValue><Entry Severity='2' First='9' Second='8'/></AbsoluteValue>"
        L"<PercentDeviation><Entry Severity='1' First='5' Second='0'/></PercentDeviation>"
        L"<PercentDeviation><Entry Severity='2' First='6' Second='1'/></PercentDeviation>"
        L"</ResultCriteria>"
        L"<ResultCriteria Status='0' CriteriaType='3'/><Remarks>second</Remarks>"
        L"<ParameterType>1</ParameterType></Parameter>"
        L"<Parameter ValueType='4' Type='50'/>"
        L"</Constraint>"));
    std::unique_ptr<CVEKConstraint> pConstraint(MakeEmptyConstraint());
    CVekParamStorage* pThickness = CVekRule::CreateParamStorageObject(
        VEK_TYPE_DOUBLE, 40067, VEK_OPERATOR_NONE, VEK_PARAM_NONE, false, false);
    pConstraint->AddParameter(pThickness);
    CVekParamStorage* pEmptied = CVekRule::CreateParamStorageObject(
        VEK_TYPE_DOUBLE, 50, VEK_OPERATOR_GREATER, VEK_PARAM_VALUE, true, true);
    FillCommon(*pEmptied->GetBase(), 3);
    pEmptied->GetData<double>()->m_arrValues.Append(4.0);
    pConstraint->AddParameter(pEmptied);

    NodePtr pRoot(m_doc.GetRootNode());
    ASSERT_TRUE(pConstraint->PopulateFromXML(pRoot.get()));
    EXPECT_EQ(L"Brass", pConstraint->GetName().str());
    EXPECT_TRUE(pConstraint->GetStatus());

    const auto* pData = pThickness->GetData<double>();
    EXPECT_EQ(L"n1", pData->m_strName.str());
    EXPECT_TRUE(pData->m_bStatus);
    EXPECT_EQ(6, static_cast<int>(pData->m_eOperator));
    ASSERT_EQ(2, pData->m_arrOperatorOptions.GetSize());
    EXPECT_EQ(3, pData->m_arrOperatorOptions[0]);
    EXPECT_EQ(4, pData->m_arrOperatorOptions[1]);
    EXPECT_EQ(1, static_cast<int>(pData->m_eParamType));
    ASSERT_EQ(2, pData->m_arrValues.GetSize());
    EXPECT_EQ(1.5, pData->m_arrValues[0]);
    EXPECT_EQ(2.5, pData->m_arrValues[1]);
    EXPECT_TRUE(pData->m_bCriteriaStatus);
    EXPECT_EQ(7, pData->m_nCriteriaType);
    EXPECT_EQ((VekDeviationMap{{1, {5.0, 0.0}}}), pData->m_mapPercentDeviation);
    EXPECT_TRUE(pData->m_mapAbsoluteDeviation.empty());
    EXPECT_EQ((VekDeviationMap{{2, {9.0, 8.0}}}), pData->m_mapAbsoluteValue);
    EXPECT_EQ(L"first", pData->m_strRemarks.str());

    // Everything the element does not hold reads as empty or zero.
    const auto* pEmptiedData = pEmptied->GetData<double>();
    EXPECT_EQ(L"", pEmptiedData->m_strName.str());
    EXPECT_FALSE(pEmptiedData->m_bStatus);
    EXPECT_EQ(0, static_cast<int>(pEmptiedData->m_eOperator));
    EXPECT_EQ(0, pEmptiedData->m_arrOperatorOptions.GetSize());
    EXPECT_EQ(0, static_cast<int>(pEmptiedData->m_eParamType));
    EXPECT_EQ(0, pEmptiedData->m_arrValues.GetSize());
    EXPECT_FALSE(pEmptiedData->m_bCriteriaStatus);
    EXPECT_EQ(0, pEmptiedData->m_nCriteriaType);
    EXPECT_TRUE(pEmptiedData->m_mapPercentDeviation.empty());
    EXPECT_TRUE(pEmptiedData->m_mapAbsoluteDeviation.empty());
    EXPECT_TRUE(pEmptiedData->m_mapAbsoluteValue.empty());
    EXPECT_EQ(L"", pEmptiedData->m_strRemarks.str());
}

TEST_F(ConstraintXml, PopulateRejectsOtherElementsAndNull)
{
    ASSERT_TRUE(m_doc.LoadXML(L"<Parameter Type='1' Value='x' Status='1'/>"));
    std::unique_ptr<CVEKConstraint> pConstraint(
        CVekRule::CreateConstraintObject(VEK_CONSTRAINT_MATERIAL, L"Keep", false));
    NodePtr pRoot(m_doc.GetRootNode());
    EXPECT_FALSE(pConstraint->PopulateFromXML(pRoot.get()));
    EXPECT_FALSE(pConstraint->PopulateFromXML(nullptr));
    EXPECT_EQ(L"Keep", pConstraint->GetName().str());
    EXPECT_FALSE(pConstraint->GetStatus());
}

TEST(Constraint, NoCurrentDocumentGivesNoNode)
{
    VekXMLDocument::SetCurrent(nullptr);
    CVEKConstraint constraint(VEK_CONSTRAINT_MATERIAL, L"Bronze", false);
    EXPECT_EQ(nullptr, constraint.GetXMLNode());
    EXPECT_EQ(nullptr, constraint.GetXMLNode(nullptr));
    VekXMLDocument doc;
    NodePtr pNode(constraint.GetXMLNode(&doc));
    EXPECT_TRUE(pNode);
}

TEST(Constraint, FindParameterAndCloneAreDeep)
{
    std::unique_ptr<CVEKConstraint> pConstraint(MakeFullConstraint());
    EXPECT_EQ(nullptr, pConstraint->FindParameterInArray(40067));
    ASSERT_NE(nullptr, pConstraint->FindParameterInArray(105));
    std::unique_ptr<CVEKConstraint> pCopy(pConstraint->Clone());
    auto* pStrings = pCopy->FindParameterInArray(105)->GetData<CString*>();
    ASSERT_NE(pStrings, pConstraint->FindParameterInArray(105)->GetData<CString*>());
    *pStrings->m_arrValues[0] = L"changed";
    EXPECT_EQ(L"  Gusseisen \u00e4 ",
              pConstraint->FindParameterInArray(105)->GetData<CString*>()->m_arrValues[0]->str());
    pConstraint->ClearParameters();
    EXPECT_EQ(0, pConstraint->m_arrParameters.GetSize());
    EXPECT_EQ(7, pCopy->m_arrParameters.GetSize());
}
