// The "Parameter" element: exact text of a written record, round trips of every
// value type, the value reset, deviation maps, attribute-list parameters and
// the fallbacks of the reader for missing or malformed content.
#include <CVekParamStorage.h>
#include <CVekRule.h>
#include <ModuleDocument.h>
#include <ParameterRecordXML.h>
#include <VekXMLDocument.h>
#include <VekXMLNode.h>
#include <VekXMLNodeList.h>

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace
{
typedef std::unique_ptr<VekXMLNode> NodePtr;
typedef std::unique_ptr<VekXMLNodeList> ListPtr;
typedef std::unique_ptr<CVekParamStorage> ParamPtr;

class ParameterRecordXMLTest : public ::testing::Test
{
protected:
    void SetUp() override { g_pXMLDoc = &m_doc; }
    void TearDown() override { g_pXMLDoc = nullptr; }

    static ParamPtr MakeParam(Type_e eType, long nId,
                              VekOperator_e eOperator = VEK_OPERATOR_GREATER_EQUAL,
                              VekParamType_e eKind = VEK_PARAM_VALUE)
    {
        return ParamPtr(
            CVekRule::CreateParamStorageObject(eType, nId, eOperator, eKind, true, false));
    }

    // The record's element as text.
    static std::wstring Written(CVekParamStorage* pParam)
    {
        NodePtr pNode(WriteParameterXML(pParam));
        CString strXML;
        if (pNode)
            pNode->GetXML(strXML);
        return strXML.str();
    }

    // A rule element holding the written record; the caller deletes it.
    VekXMLNode* RuleWith(CVekParamStorage* pParam)
    {
        m_doc.Clear();
        NodePtr pRoot(m_doc.CreateRootNode(L"Rules"));
        VekXMLNode* pRule = pRoot->AppendNode(L"Rule");
        NodePtr pNode(WriteParameterXML(pParam));
        EXPECT_TRUE(pNode);
        if (pNode)
            pRule->AppendNode(pNode.get());
        return pRule;
    }

    // The rule element of a document loaded from text; the caller deletes it.
    VekXMLNode* RuleFromText(const wchar_t* pszXML)
    {
        EXPECT_TRUE(m_doc.LoadXML(pszXML)) << pszXML;
        NodePtr pRoot(m_doc.GetRootNode());
        return pRoot ? pRoot->SelectSingleNode(L"Rule") : nullptr;
    }

    VekXMLDocument m_doc;
};

// One "Parameter" element with the given value texts, wrapped in a rule element.
std::wstring ParameterText(long nId, int nKind, const std::vector<std::wstring>& vecValues)
{
    std::wstring str = L"<Rules><Rule><Parameter Name='p' Type='" + std::to_wstring(nId) +
                       L"' Status='1'><Operator>7</Operator><ParameterType>" +
                       std::to_wstring(nKind) + L"</ParameterType>";
    for (const std::wstring& strValue : vecValues)
        str += L"<Value>" + strValue + L"</Value>";
    return str + L"</Parameter></Rule></Rules>";
}
} // namespace

TEST_F(ParameterRecordXMLTest, WritesTheDocumentedLayoutExactly)
{
    ParamPtr pParam = MakeParam(VEK_TYPE_DOUBLE, 40067);
    CVekParamData<double>* pData = pParam->GetData<double>();
    pData->m_strName = L"Thickness";
    pData->m_arrValues.Append(1.5);

    EXPECT_EQ(L"<Parameter Name=\"Thickness\" Type=\"40067\" Status=\"1\">\n"
              L"\t<Operator>7</Operator>\n"
              L"\t<ParameterType>1</ParameterType>\n"
              L"\t<Value>1.500000</Value>\n"
              L"\t<ResultCriteria Status=\"0\" CriteriaType=\"0\">\n"
              L"\t\t<PercentDeviation />\n"
              L"\t\t<AbsoluteDeviation />\n"
              L"\t\t<AbsoluteValue />\n"
              L"\t</ResultCriteria>\n"
              L"\t<Remarks />\n"
              L"</Parameter>\n",
              Written(pParam.get()));
}

TEST_F(ParameterRecordXMLTest, WritesOptionsCriteriaAndRemarksInOrder)
{
    ParamPtr pParam = MakeParam(VEK_TYPE_LONG, -5, VEK_OPERATOR_LESS);
    CVekParamData<LONG>* pData = pParam->GetData<LONG>();
    pData->m_bStatus = false;
    pData->m_arrOperatorOptions.Append(3);
    pData->m_arrOperatorOptions.Append(-2);
    pData->m_arrValues.Append(-7);
    pData->m_bCriteriaStatus = true;
    pData->m_nCriteriaType = 4;
    pData->m_strRemarks = L"checked <twice>";
    pData->m_mapAbsoluteValue[VEK_SEVERITY_INFO] = std::make_pair(0.25, 0.5);

    EXPECT_EQ(L"<Parameter Name=\"\" Type=\"-5\" Status=\"0\">\n"
              L"\t<Operator>4</Operator>\n"
              L"\t<OperatorOption>3</OperatorOption>\n"
              L"\t<OperatorOption>-2</OperatorOption>\n"
              L"\t<ParameterType>1</ParameterType>\n"
              L"\t<Value>-7</Value>\n"
              L"\t<ResultCriteria Status=\"1\" CriteriaType=\"4\">\n"
              L"\t\t<PercentDeviation />\n"
              L"\t\t<AbsoluteDeviation />\n"
              L"\t\t<AbsoluteValue>\n"
              L"\t\t\t<Info>\n"
              L"\t\t\t\t<Value>0.250000</Value>\n"
              L"\t\t\t\t<Value>0.500000</Value>\n"
              L"\t\t\t</Info>\n"
              L"\t\t</AbsoluteValue>\n"
              L"\t</ResultCriteria>\n"
              L"\t<Remarks>checked &lt;twice&gt;</Remarks>\n"
              L"</Parameter>\n",
              Written(pParam.get()));
}

TEST_F(ParameterRecordXMLTest, ValueTextsOfEveryType)
{
    struct Row
    {
        Type_e eType;
        const wchar_t* pszExpected;
    };
    const Row rows[] = {
        {VEK_TYPE_INT, L"<Value>-2147483648</Value>"},
        {VEK_TYPE_LONG, L"<Value>2147483647</Value>"},
        {VEK_TYPE_BOOL, L"<Value>0</Value>"},
        {VEK_TYPE_DOUBLE, L"<Value>-0.000001</Value>"},
        {VEK_TYPE_STRING, L"<Value>a &amp; b</Value>"},
        {VEK_TYPE_QWORD, L"<Value />"},
        {VEK_TYPE_UINT, L"<Value>4294967295</Value>"},
    };
    for (const Row& row : rows)
    {
        ParamPtr pParam = MakeParam(row.eType, 1);
        switch (row.eType)
        {
        case VEK_TYPE_INT:
            pParam->GetData<int32_t>()->m_arrValues.Append(INT32_MIN);
            break;
        case VEK_TYPE_LONG:
            pParam->GetData<LONG>()->m_arrValues.Append(INT32_MAX);
            break;
        case VEK_TYPE_BOOL:
            pParam->GetData<bool>()->m_arrValues.Append(false);
            break;
        case VEK_TYPE_DOUBLE:
            pParam->GetData<double>()->m_arrValues.Append(-0.0000011);
            break;
        case VEK_TYPE_STRING:
            pParam->GetData<CString*>()->m_arrValues.Append(new CString(L"a & b"));
            break;
        case VEK_TYPE_QWORD:
            pParam->GetData<ULONGLONG>()->m_arrValues.Append(0x1234567890ULL);
            break;
        default:
            pParam->GetData<uint32_t>()->m_arrValues.Append(UINT32_MAX);
            break;
        }
        const std::wstring strXML = Written(pParam.get());
        EXPECT_NE(std::wstring::npos, strXML.find(row.pszExpected)) << "type " << row.eType << "\n"
                                                                    << CString(strXML).GetString();
    }
}

TEST_F(ParameterRecordXMLTest, NoDocumentOrUnknownTypeWritesNothing)
{
    ParamPtr pUnknown(new CVekParamStorage(static_cast<Type_e>(9)));
    EXPECT_FALSE(HasParameterXML(pUnknown.get()));
    EXPECT_EQ(nullptr, WriteParameterXML(pUnknown.get()));
    EXPECT_FALSE(HasParameterXML(nullptr));

    ParamPtr pParam = MakeParam(VEK_TYPE_DOUBLE, 1);
    g_pXMLDoc = nullptr;
    EXPECT_EQ(nullptr, WriteParameterXML(pParam.get()));
}

TEST_F(ParameterRecordXMLTest, ValueResetUnderTheRangeOperator)
{
    // Counts divisible by 2 or 3 survive; the others are dropped, in the record too.
    const int expected[] = {0, 0, 2, 3, 4, 0, 6};
    for (int nCount = 1; nCount <= 6; ++nCount)
    {
        ParamPtr pParam = MakeParam(VEK_TYPE_DOUBLE, 7, VEK_OPERATOR_RANGE);
        for (int i = 0; i < nCount; ++i)
            pParam->GetData<double>()->m_arrValues.Append(i + 0.5);
        NodePtr pNode(WriteParameterXML(pParam.get()));
        ASSERT_TRUE(pNode);
        ListPtr pValues(pNode->GetNodeList(L"Value"));
        EXPECT_EQ(expected[nCount], pValues->GetSize()) << nCount << " values";
        EXPECT_EQ(expected[nCount], pParam->GetValueCount()) << nCount << " values";
    }
    // Another operator keeps an odd count.
    ParamPtr pParam = MakeParam(VEK_TYPE_DOUBLE, 7, VEK_OPERATOR_EQUAL);
    pParam->GetData<double>()->m_arrValues.Append(1.0);
    delete WriteParameterXML(pParam.get());
    EXPECT_EQ(1, pParam->GetValueCount());
}

TEST_F(ParameterRecordXMLTest, EmptyRecordWithoutRemarksStartsAFreshList)
{
    ParamPtr pParam = MakeParam(VEK_TYPE_STRING, 7);
    VekArray<CString*>& arrValues = pParam->GetData<CString*>()->m_arrValues;
    for (int i = 0; i < 11; ++i)
        arrValues.Append(nullptr);
    arrValues.RemoveAt(0, 11);
    ASSERT_EQ(11, arrValues.GetCapacity());

    NodePtr pNode(WriteParameterXML(pParam.get()));
    ListPtr pValues(pNode->GetNodeList(L"Value"));
    EXPECT_EQ(0, pValues->GetSize());
    EXPECT_EQ(10, arrValues.GetCapacity());
    EXPECT_EQ(1, arrValues.GetGrowBy());

    // With remarks the list is left as it is.
    for (int i = 0; i < 11; ++i)
        arrValues.Append(nullptr);
    arrValues.RemoveAt(0, 11);
    pParam->GetBase()->m_strRemarks = L"kept";
    delete WriteParameterXML(pParam.get());
    EXPECT_EQ(11, arrValues.GetCapacity());
}

TEST_F(ParameterRecordXMLTest, RoundTripOfEveryValueType)
{
    for (int nType = VEK_TYPE_INT; nType <= VEK_TYPE_UINT; ++nType)
    {
        SCOPED_TRACE(nType);
        const Type_e eType = static_cast<Type_e>(nType);
        ParamPtr pOut = MakeParam(eType, 40067, VEK_OPERATOR_NOT_EQUAL);
        CVekParamDataBase* pOutBase = pOut->GetBase();
        pOutBase->m_arrOperatorOptions.Append(11);
        pOutBase->m_arrOperatorOptions.Append(-12);
        pOutBase->m_bStatus = false;
        pOutBase->m_bCriteriaStatus = true;
        pOutBase->m_nCriteriaType = 3;
        pOutBase->m_mapPercentDeviation[VEK_SEVERITY_WARNING] = std::make_pair(5.0, 0.0);
        pOutBase->m_mapAbsoluteDeviation[VEK_SEVERITY_INFO] = std::make_pair(1.25, 2.5);
        pOutBase->m_mapAbsoluteValue[VEK_SEVERITY_WARNING] = std::make_pair(0.5, 0.0);
        pOutBase->m_mapAbsoluteValue[VEK_SEVERITY_INFO] = std::make_pair(0.75, 0.125);
        switch (eType)
        {
        case VEK_TYPE_INT:
        case VEK_TYPE_LONG:
            pOut->GetData<int32_t>()->m_arrValues.Append(INT32_MIN);
            pOut->GetData<int32_t>()->m_arrValues.Append(42);
            break;
        case VEK_TYPE_BOOL:
            pOut->GetData<bool>()->m_arrValues.Append(true);
            pOut->GetData<bool>()->m_arrValues.Append(false);
            break;
        case VEK_TYPE_DOUBLE:
            pOut->GetData<double>()->m_arrValues.Append(-3.25);
            pOut->GetData<double>()->m_arrValues.Append(1234567.125);
            break;
        case VEK_TYPE_STRING:
            pOut->GetData<CString*>()->m_arrValues.Append(new CString(L"Stahl \x00fc <1>"));
            pOut->GetData<CString*>()->m_arrValues.Append(new CString());
            break;
        case VEK_TYPE_QWORD:
            pOut->GetData<ULONGLONG>()->m_arrValues.Append(99);
            pOut->GetData<ULONGLONG>()->m_arrValues.Append(100);
            break;
        default:
            pOut->GetData<uint32_t>()->m_arrValues.Append(UINT32_MAX);
            pOut->GetData<uint32_t>()->m_arrValues.Append(0);
            break;
        }
        NodePtr pRule(RuleWith(pOut.get()));

        ParamPtr pIn(new CVekParamStorage(eType));
        pIn->GetBase()->m_nId = 40067;
        ReadParameterXML(pIn.get(), pRule.get());
        const CVekParamDataBase* pInBase = pIn->GetBase();
        EXPECT_EQ(VEK_OPERATOR_NOT_EQUAL, pInBase->m_eOperator);
        ASSERT_EQ(2, pInBase->m_arrOperatorOptions.GetSize());
        EXPECT_EQ(11, pInBase->m_arrOperatorOptions[0]);
        EXPECT_EQ(-12, pInBase->m_arrOperatorOptions[1]);
        EXPECT_EQ(VEK_PARAM_VALUE, pInBase->m_eParamType);
        EXPECT_FALSE(pInBase->m_bStatus);
        EXPECT_TRUE(pInBase->m_bCriteriaStatus);
        EXPECT_EQ(3, pInBase->m_nCriteriaType);
        EXPECT_EQ(pOutBase->m_mapPercentDeviation, pInBase->m_mapPercentDeviation);
        EXPECT_EQ(pOutBase->m_mapAbsoluteDeviation, pInBase->m_mapAbsoluteDeviation);
        EXPECT_EQ(pOutBase->m_mapAbsoluteValue, pInBase->m_mapAbsoluteValue);
        // Name and remarks are written only.
        EXPECT_TRUE(pInBase->m_strName.IsEmpty());
        ASSERT_EQ(2, pIn->GetValueCount());
        switch (eType)
        {
        case VEK_TYPE_INT:
        case VEK_TYPE_LONG:
            EXPECT_EQ(INT32_MIN, pIn->GetData<int32_t>()->m_arrValues[0]);
            EXPECT_EQ(42, pIn->GetData<int32_t>()->m_arrValues[1]);
            break;
        case VEK_TYPE_BOOL:
            EXPECT_TRUE(pIn->GetData<bool>()->m_arrValues[0]);
            EXPECT_FALSE(pIn->GetData<bool>()->m_arrValues[1]);
            break;
        case VEK_TYPE_DOUBLE:
            EXPECT_EQ(-3.25, pIn->GetData<double>()->m_arrValues[0]);
            EXPECT_EQ(1234567.125, pIn->GetData<double>()->m_arrValues[1]);
            break;
        case VEK_TYPE_STRING:
            EXPECT_EQ(CString(L"Stahl \x00fc <1>"), *pIn->GetData<CString*>()->m_arrValues[0]);
            EXPECT_EQ(CString(), *pIn->GetData<CString*>()->m_arrValues[1]);
            break;
        case VEK_TYPE_QWORD:
            // No text form: each value comes back as zero.
            EXPECT_EQ(0u, pIn->GetData<ULONGLONG>()->m_arrValues[0]);
            EXPECT_EQ(0u, pIn->GetData<ULONGLONG>()->m_arrValues[1]);
            break;
        default:
            EXPECT_EQ(UINT32_MAX, pIn->GetData<uint32_t>()->m_arrValues[0]);
            EXPECT_EQ(0u, pIn->GetData<uint32_t>()->m_arrValues[1]);
            break;
        }
    }
}

TEST_F(ParameterRecordXMLTest, DeviationEntriesBySeverity)
{
    ParamPtr pOut = MakeParam(VEK_TYPE_DOUBLE, 9);
    VekDeviationMap& map = pOut->GetBase()->m_mapPercentDeviation;
    map[5] = std::make_pair(9.0, 0.0);
    map[VEK_SEVERITY_INFO] = std::make_pair(3.0, -1.0);
    map[VEK_SEVERITY_WARNING] = std::make_pair(5.0, 0.0);
    map[VEK_SEVERITY_UNKNOWN] = std::make_pair(1.0, 2.0);
    NodePtr pNode(WriteParameterXML(pOut.get()));
    CString strXML;
    pNode->GetXML(strXML);
    // Ascending code; unknown codes are "Unknown"; a second value only when above zero.
    EXPECT_NE(
        std::wstring::npos,
        strXML.str().find(
            L"<PercentDeviation>\n"
            L"\t\t\t<Unknown>\n\t\t\t\t<Value>1.000000</Value>\n\t\t\t\t<Value>2.000000</Value>\n"
            L"\t\t\t</Unknown>\n"
            L"\t\t\t<Warning>\n\t\t\t\t<Value>5.000000</Value>\n\t\t\t</Warning>\n"
            L"\t\t\t<Info>\n\t\t\t\t<Value>3.000000</Value>\n\t\t\t</Info>\n"
            L"\t\t\t<Unknown>\n\t\t\t\t<Value>9.000000</Value>\n\t\t\t</Unknown>\n"
            L"\t\t</PercentDeviation>"))
        << strXML.GetString();

    NodePtr pRule(RuleWith(pOut.get()));
    ParamPtr pIn = MakeParam(VEK_TYPE_DOUBLE, 9);
    ReadParameterXML(pIn.get(), pRule.get());
    const VekDeviationMap expected = {{VEK_SEVERITY_WARNING, {5.0, 0.0}},
                                      {VEK_SEVERITY_INFO, {3.0, 0.0}}};
    EXPECT_EQ(expected, pIn->GetBase()->m_mapPercentDeviation);
}

TEST_F(ParameterRecordXMLTest, DeviationEntryWithTooManyValuesReadsAsZero)
{
    NodePtr pRule(RuleFromText(
        L"<R><Rule><Parameter Type='9'><ResultCriteria>"
        L"<PercentDeviation><Warning><Value>1</Value><Value>2</Value><Value>3</Value>"
        L"</Warning><Info/></PercentDeviation>"
        L"<AbsoluteValue><Info><Value>x</Value><Value>4.5q</Value></Info></AbsoluteValue>"
        L"</ResultCriteria></Parameter></Rule></R>"));
    ParamPtr pIn = MakeParam(VEK_TYPE_DOUBLE, 9);
    // Maps are emptied before reading, also those whose element is missing.
    pIn->GetBase()->m_mapAbsoluteDeviation[VEK_SEVERITY_WARNING] = std::make_pair(8.0, 8.0);
    ReadParameterXML(pIn.get(), pRule.get());
    const CVekParamDataBase* pBase = pIn->GetBase();
    EXPECT_EQ((VekDeviationMap{{VEK_SEVERITY_WARNING, {0.0, 0.0}}}), pBase->m_mapPercentDeviation);
    EXPECT_TRUE(pBase->m_mapAbsoluteDeviation.empty());
    EXPECT_EQ((VekDeviationMap{{VEK_SEVERITY_INFO, {0.0, 4.5}}}), pBase->m_mapAbsoluteValue);
    // Missing "Status" reads as true, missing "CriteriaType" as 0.
    EXPECT_TRUE(pBase->m_bCriteriaStatus);
    EXPECT_EQ(0, pBase->m_nCriteriaType);
}

TEST_F(ParameterRecordXMLTest, AttributeListParameters)
{
    // Writing: no value of these types has an attribute-list form.
    ParamPtr pOut = MakeParam(VEK_TYPE_STRING, 24, VEK_OPERATOR_EQUAL, VEK_PARAM_ATTRIBUTE_LIST);
    pOut->GetData<CString*>()->m_arrValues.Append(new CString(L"a"));
    NodePtr pNode(WriteParameterXML(pOut.get()));
    ListPtr pValues(pNode->GetNodeList(L"Value"));
    EXPECT_EQ(0, pValues->GetSize());
    EXPECT_EQ(1, pOut->GetValueCount());

    // Reading: one zero value per "Value" child, whatever it holds.
    const std::wstring strXML =
        L"<R><Rule><Parameter Type='24'><ParameterType>24</ParameterType>"
        L"<Value Attribute1='Steel' Attribute2='1.5'>7</Value><Value/><Value "
        L"Attribute6='x'/></Parameter></Rule></R>";
    NodePtr pRule(RuleFromText(strXML.c_str()));
    ParamPtr pStrings = MakeParam(VEK_TYPE_STRING, 24);
    ReadParameterXML(pStrings.get(), pRule.get());
    ASSERT_EQ(3, pStrings->GetValueCount());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(CString(), *pStrings->GetData<CString*>()->m_arrValues[i]);
    ParamPtr pDoubles = MakeParam(VEK_TYPE_DOUBLE, 24);
    ReadParameterXML(pDoubles.get(), pRule.get());
    ASSERT_EQ(3, pDoubles->GetValueCount());
    EXPECT_EQ(0.0, pDoubles->GetData<double>()->m_arrValues[0]);
}

TEST_F(ParameterRecordXMLTest, MalformedValueTexts)
{
    struct Row
    {
        Type_e eType;
        const wchar_t* pszText;
        double dExpected; // the value read, as a double
    };
    const Row rows[] = {
        {VEK_TYPE_INT, L"12abc", 12},
        {VEK_TYPE_INT, L"  -7", -7},
        {VEK_TYPE_INT, L"abc", 0},
        {VEK_TYPE_INT, L"", 0},
        {VEK_TYPE_INT, L"2147483647", 2147483647.0},
        {VEK_TYPE_INT, L"2147483648", 0},
        {VEK_TYPE_INT, L"-2147483648", -2147483648.0},
        {VEK_TYPE_INT, L"-2147483649", 0},
        {VEK_TYPE_INT, L"99999999999999999999999", 0},
        {VEK_TYPE_LONG, L"12abc", 12},
        {VEK_TYPE_LONG, L"+5", 5},
        {VEK_TYPE_LONG, L"abc", 0},
        {VEK_TYPE_BOOL, L"0", 0},
        {VEK_TYPE_BOOL, L"1", 1},
        {VEK_TYPE_BOOL, L"true", 1},
        {VEK_TYPE_BOOL, L"yes", 1},
        {VEK_TYPE_BOOL, L"", 1},
        {VEK_TYPE_BOOL, L"00", 1},
        {VEK_TYPE_DOUBLE, L"12abc", 12.0},
        {VEK_TYPE_DOUBLE, L"abc", 0.0},
        {VEK_TYPE_DOUBLE, L" 2.5e2", 250.0},
        {VEK_TYPE_DOUBLE, L"-0.125", -0.125},
        {VEK_TYPE_DOUBLE, L"", 0.0},
        {VEK_TYPE_QWORD, L"17", 0},
        {VEK_TYPE_UINT, L"4294967295", 4294967295.0},
        {VEK_TYPE_UINT, L"4294967296", 0},
        {VEK_TYPE_UINT, L"-1", 0},
        {VEK_TYPE_UINT, L"8 bits", 8},
        {VEK_TYPE_UINT, L"none", 0},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::Message() << "type " << row.eType << " text '"
                                        << CString(row.pszText).GetString() << "'");
        NodePtr pRule(RuleFromText(ParameterText(3, 1, {row.pszText}).c_str()));
        ParamPtr pParam = MakeParam(row.eType, 3);
        ReadParameterXML(pParam.get(), pRule.get());
        ASSERT_EQ(1, pParam->GetValueCount());
        double dRead = -1.0;
        switch (row.eType)
        {
        case VEK_TYPE_INT:
        case VEK_TYPE_LONG:
            dRead = pParam->GetData<int32_t>()->m_arrValues[0];
            break;
        case VEK_TYPE_BOOL:
            dRead = pParam->GetData<bool>()->m_arrValues[0] ? 1 : 0;
            break;
        case VEK_TYPE_DOUBLE:
            dRead = pParam->GetData<double>()->m_arrValues[0];
            break;
        case VEK_TYPE_QWORD:
            dRead = static_cast<double>(pParam->GetData<ULONGLONG>()->m_arrValues[0]);
            break;
        default:
            dRead = pParam->GetData<uint32_t>()->m_arrValues[0];
            break;
        }
        EXPECT_EQ(row.dExpected, dRead);
    }
}

TEST_F(ParameterRecordXMLTest, StringValueTextIsKeptAsFound)
{
    NodePtr pRule(RuleFromText(ParameterText(3, 1, {L"  two  words ", L""}).c_str()));
    ParamPtr pParam = MakeParam(VEK_TYPE_STRING, 3);
    ReadParameterXML(pParam.get(), pRule.get());
    ASSERT_EQ(2, pParam->GetValueCount());
    EXPECT_EQ(CString(L"  two  words "), *pParam->GetData<CString*>()->m_arrValues[0]);
    EXPECT_EQ(CString(), *pParam->GetData<CString*>()->m_arrValues[1]);
}

TEST_F(ParameterRecordXMLTest, MissingFieldsFallBack)
{
    NodePtr pRule(
        RuleFromText(L"<R><Rule><Parameter Type='40067'><Value>2</Value></Parameter></Rule></R>"));
    ParamPtr pParam =
        MakeParam(VEK_TYPE_DOUBLE, 40067, VEK_OPERATOR_GREATER_EQUAL, VEK_PARAM_VALUE);
    CVekParamDataBase* pBase = pParam->GetBase();
    pBase->m_bStatus = false;
    pBase->m_arrOperatorOptions.Append(5);
    pBase->m_bCriteriaStatus = true;
    pBase->m_nCriteriaType = 6;
    pBase->m_mapAbsoluteValue[1] = std::make_pair(1.0, 2.0);
    pBase->m_strName = L"kept";
    pBase->m_strRemarks = L"kept too";
    pParam->GetData<double>()->m_arrValues.Append(1.0);

    ReadParameterXML(pParam.get(), pRule.get());
    EXPECT_EQ(VEK_OPERATOR_NONE, pBase->m_eOperator);
    EXPECT_EQ(VEK_PARAM_NONE, pBase->m_eParamType);
    EXPECT_TRUE(pBase->m_bStatus);
    // Without "OperatorOption" or "ResultCriteria" children those fields stay.
    ASSERT_EQ(1, pBase->m_arrOperatorOptions.GetSize());
    EXPECT_EQ(5, pBase->m_arrOperatorOptions[0]);
    EXPECT_TRUE(pBase->m_bCriteriaStatus);
    EXPECT_EQ(6, pBase->m_nCriteriaType);
    EXPECT_EQ(1u, pBase->m_mapAbsoluteValue.size());
    EXPECT_EQ(CString(L"kept"), pBase->m_strName);
    EXPECT_EQ(CString(L"kept too"), pBase->m_strRemarks);
    // Values are appended to those already held.
    ASSERT_EQ(2, pParam->GetValueCount());
    EXPECT_EQ(1.0, pParam->GetData<double>()->m_arrValues[0]);
    EXPECT_EQ(2.0, pParam->GetData<double>()->m_arrValues[1]);
}

TEST_F(ParameterRecordXMLTest, MalformedNumbersInFields)
{
    NodePtr pRule(
        RuleFromText(L"<R><Rule><Parameter Type='8' Status='no'>"
                     L"<Operator>abc</Operator><OperatorOption>x</OperatorOption>"
                     L"<OperatorOption>12abc</OperatorOption><ParameterType>24junk</ParameterType>"
                     L"<ResultCriteria Status='0' CriteriaType='q'/></Parameter></Rule></R>"));
    ParamPtr pParam = MakeParam(VEK_TYPE_DOUBLE, 8, VEK_OPERATOR_EQUAL);
    pParam->GetBase()->m_arrOperatorOptions.Append(99);
    pParam->GetBase()->m_bCriteriaStatus = true;
    pParam->GetBase()->m_nCriteriaType = 5;
    ReadParameterXML(pParam.get(), pRule.get());
    const CVekParamDataBase* pBase = pParam->GetBase();
    EXPECT_EQ(VEK_OPERATOR_NONE, pBase->m_eOperator);
    EXPECT_EQ(VEK_PARAM_ATTRIBUTE_LIST, pBase->m_eParamType);
    EXPECT_TRUE(pBase->m_bStatus); // only "0" reads as false
    ASSERT_EQ(2, pBase->m_arrOperatorOptions.GetSize());
    EXPECT_EQ(0, pBase->m_arrOperatorOptions[0]);
    EXPECT_EQ(12, pBase->m_arrOperatorOptions[1]);
    EXPECT_FALSE(pBase->m_bCriteriaStatus);
    EXPECT_EQ(0, pBase->m_nCriteriaType);
}

TEST_F(ParameterRecordXMLTest, FirstElementWithTheIdentifierIsRead)
{
    NodePtr pRule(
        RuleFromText(L"<R><Rule>"
                     L"<Parameter><Value>1</Value></Parameter>"
                     L"<Parameter Type='abc'><Value>2</Value></Parameter>"
                     L"<Parameter Type='40068'><Value>3</Value></Parameter>"
                     L"<Parameter Type=' 40067xyz' Status='0'><Value>4</Value></Parameter>"
                     L"<Parameter Type='40067'><Value>5</Value></Parameter>"
                     L"</Rule></R>"));
    ParamPtr pParam = MakeParam(VEK_TYPE_DOUBLE, 40067);
    ReadParameterXML(pParam.get(), pRule.get());
    ASSERT_EQ(1, pParam->GetValueCount());
    EXPECT_EQ(4.0, pParam->GetData<double>()->m_arrValues[0]);
    EXPECT_FALSE(pParam->GetBase()->m_bStatus);
}

TEST_F(ParameterRecordXMLTest, RecordWithoutElementIsLeftAlone)
{
    NodePtr pRule(RuleFromText(
        L"<R><Rule><Parameter Type='1'><Operator>3</Operator></Parameter></Rule></R>"));
    ParamPtr pParam = MakeParam(VEK_TYPE_DOUBLE, 2);
    pParam->GetData<double>()->m_arrValues.Append(6.5);
    pParam->GetBase()->m_bStatus = false;
    ReadParameterXML(pParam.get(), pRule.get());
    EXPECT_EQ(VEK_OPERATOR_GREATER_EQUAL, pParam->GetBase()->m_eOperator);
    EXPECT_FALSE(pParam->GetBase()->m_bStatus);
    ASSERT_EQ(1, pParam->GetValueCount());
    EXPECT_EQ(6.5, pParam->GetData<double>()->m_arrValues[0]);
    // A null rule element or a record of unknown type is ignored.
    ReadParameterXML(pParam.get(), nullptr);
    ParamPtr pUnknown(new CVekParamStorage(VEK_TYPE_NONE));
    ReadParameterXML(pUnknown.get(), pRule.get());
    EXPECT_EQ(0, pUnknown->GetValueCount());
}
