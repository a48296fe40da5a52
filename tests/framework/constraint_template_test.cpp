// Constraint elements start as a copy of a template the document keeps hidden,
// patched to the constraint. They must come out byte for byte as building
// them node by node does, whatever the constraint's shape, and the template
// must never show.
#include "CVEKConstraint.h"
#include "CVekRule.h"
#include "VekXMLDocument.h"
#include "VekXMLPatcher.h"
#include "afx.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <charconv>
#include <cstdio>
#include <malloc.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace
{
typedef std::unique_ptr<VekXMLNode> NodePtr;
typedef std::unique_ptr<CVEKConstraint> ConstraintPtr;

pugi::xml_node TreeNode(const VekXMLNode* pNode)
{
    return pugi::xml_node(static_cast<pugi::xml_node_struct*>(pNode->GetHandle()));
}

struct StringWriter : pugi::xml_writer
{
    void write(const void* pData, size_t nSize) override
    {
        strText.append(static_cast<const char*>(pData), nSize);
    }
    std::string strText;
};

// The element as the document prints it, in UTF-8.
std::string Printed(pugi::xml_node node)
{
    StringWriter writer;
    node.print(writer, "\t", pugi::format_default | pugi::format_no_declaration,
               pugi::encoding_utf8);
    return writer.strText;
}

// ---- The reference: the element built node by node, appending every node,
// attribute and text in turn (as the writer did before it had a template).
std::string Utf8(const CString& str)
{
    const int nSize = WideCharToMultiByte(CP_UTF8, 0, str.GetString(), str.GetLength(), nullptr, 0,
                                          nullptr, nullptr);
    std::string strOut(static_cast<size_t>(nSize), '\0');
    WideCharToMultiByte(CP_UTF8, 0, str.GetString(), str.GetLength(), &strOut[0], nSize, nullptr,
                        nullptr);
    return strOut;
}

template <class T> std::string Number(T value)
{
    char sz[32];
    return std::string(sz, std::to_chars(sz, sz + sizeof sz, value).ptr);
}

void SetAttribute(pugi::xml_node element, const char* pszName, const std::string& strValue)
{
    element.append_attribute(pszName).set_value(strValue.data(), strValue.size());
}

void AppendText(pugi::xml_node parent, const char* pszName, const std::string& strText)
{
    parent.append_child(pszName).text().set(strText.data(), strText.size());
}

std::string ValueText(double d)
{
    return Number(d);
}
std::string ValueText(bool b)
{
    return b ? "1" : "0";
}
std::string ValueText(CString* pStr)
{
    return pStr != nullptr ? Utf8(*pStr) : std::string();
}
template <class TInt> std::string ValueText(TInt n)
{
    return Number(n);
}

template <class T> void AppendValues(const CVekParamStorage& param, pugi::xml_node element)
{
    if (const CVekParamData<T>* pData = param.GetData<T>())
    {
        for (int i = 0; i < pData->m_arrValues.GetSize(); ++i)
            AppendText(element, "Value", ValueText(pData->m_arrValues[i]));
    }
}

void BuildParameter(const CVekParamStorage& param, pugi::xml_node element)
{
    const CVekParamDataBase& data = *param.GetBase();
    SetAttribute(element, "Name", Utf8(data.m_strName));
    SetAttribute(element, "Type", Number(static_cast<long long>(data.m_nId)));
    SetAttribute(element, "ValueType", Number(static_cast<long long>(param.GetType())));
    SetAttribute(element, "Status", data.m_bStatus ? "1" : "0");
    AppendText(element, "Operator", Number(static_cast<long long>(data.m_eOperator)));
    for (int i = 0; i < data.m_arrOperatorOptions.GetSize(); ++i)
        AppendText(element, "OperatorOption",
                   Number(static_cast<long long>(data.m_arrOperatorOptions[i])));
    AppendText(element, "ParameterType", Number(static_cast<long long>(data.m_eParamType)));
    AppendValues<int32_t>(param, element);
    AppendValues<bool>(param, element);
    AppendValues<double>(param, element);
    AppendValues<CString*>(param, element);
    AppendValues<ULONGLONG>(param, element);
    AppendValues<uint32_t>(param, element);

    pugi::xml_node criteria = element.append_child("ResultCriteria");
    SetAttribute(criteria, "Status", data.m_bCriteriaStatus ? "1" : "0");
    SetAttribute(criteria, "CriteriaType", Number(static_cast<long long>(data.m_nCriteriaType)));
    const VekDeviationMap* arrMaps[] = {&data.m_mapPercentDeviation, &data.m_mapAbsoluteDeviation,
                                        &data.m_mapAbsoluteValue};
    const char* arrNames[] = {"PercentDeviation", "AbsoluteDeviation", "AbsoluteValue"};
    for (int m = 0; m < 3; ++m)
    {
        pugi::xml_node deviation = criteria.append_child(arrNames[m]);
        for (const auto& entry : *arrMaps[m])
        {
            pugi::xml_node item = deviation.append_child("Entry");
            SetAttribute(item, "Severity", Number(static_cast<long long>(entry.first)));
            SetAttribute(item, "First", Number(entry.second.first));
            SetAttribute(item, "Second", Number(entry.second.second));
        }
    }
    AppendText(element, "Remarks", Utf8(data.m_strRemarks));
}

std::string ReferenceXml(const CVEKConstraint& constraint)
{
    pugi::xml_document doc;
    pugi::xml_node element = doc.append_child("Constraint");
    SetAttribute(element, "Type", Number(static_cast<long long>(constraint.m_eType)));
    SetAttribute(element, "Value", Utf8(constraint.m_strName));
    SetAttribute(element, "Status", constraint.m_bStatus ? "1" : "0");
    for (int i = 0; i < constraint.m_arrParameters.GetSize(); ++i)
    {
        if (constraint.m_arrParameters[i] != nullptr)
            BuildParameter(*constraint.m_arrParameters[i], element.append_child("Parameter"));
    }
    return Printed(element);
}

// ---- Constraints of many shapes.
CVekParamStorage* Thickness(double dValue)
{
    CVekParamStorage* pParam = CVekRule::CreateParamStorageObject(
        VEK_TYPE_DOUBLE, 40067, VEK_OPERATOR_GREATER_EQUAL, VEK_PARAM_VALUE, false, false);
    pParam->GetData<double>()->m_arrValues.Append(dValue);
    return pParam;
}

CVEKConstraint* Material(const wchar_t* pszName, CVekParamStorage* pParam)
{
    CVEKConstraint* pConstraint =
        CVekRule::CreateConstraintObject(VEK_CONSTRAINT_MATERIAL, pszName, false);
    pConstraint->AddParameter(pParam);
    return pConstraint;
}

struct ShapeCase
{
    const char* pszLabel;
    CVEKConstraint* (*pfnMake)();
};

const ShapeCase kShapes[] = {
    {"the usual one, as the template has it", [] { return Material(L"", Thickness(1.0)); }},
    {"the usual one with its own name and thickness",
     [] { return Material(L"Beryllium Copper", Thickness(0.75)); }},
    {"texts that start like the template's", // "10" against "1", "70" against "7"
     [] {
         CVekParamStorage* pParam = Thickness(10.0);
         pParam->GetBase()->m_eOperator = static_cast<VekOperator_e>(70);
         pParam->GetBase()->m_nId = 400670;
         return Material(L"1", pParam);
     }},
    {"texts that are the start of the template's", // "4006" against "40067"
     [] {
         CVekParamStorage* pParam = Thickness(1.0);
         pParam->GetBase()->m_nId = 4006;
         return Material(L"", pParam);
     }},
    {"every flag set and another constraint type",
     [] {
         CVEKConstraint* pConstraint =
             CVekRule::CreateConstraintObject(VEK_CONSTRAINT_NONE, L"Steel", true);
         pConstraint->AddParameter(CVekRule::CreateParamStorageObject(
             VEK_TYPE_DOUBLE, 40067, VEK_OPERATOR_LESS, VEK_PARAM_VALUE, true, true));
         pConstraint->m_arrParameters[0]->GetData<double>()->m_arrValues.Append(-0.0);
         return pConstraint;
     }},
    {"non-ASCII and markup in names and remarks",
     [] {
         CVekParamStorage* pParam = Thickness(0.1 + 0.2);
         pParam->GetBase()->m_strName = L"param \u00e9\u20ac\U0001F600";
         pParam->GetBase()->m_strRemarks = L"remark <&>\"'\n\ttwo";
         return Material(L"Gie\u00dferei \u00e4 <&>\"", pParam);
     }},
    {"a remark holding a null character",
     [] {
         CVekParamStorage* pParam = Thickness(1.0);
         pParam->GetBase()->m_strRemarks = CString(std::wstring(L"ab\0cd", 5));
         return Material(L"Brass", pParam);
     }},
    {"no parameter", [] { return Material(L"Bronze", nullptr); }},
    {"two parameters with a null one between",
     [] {
         CVEKConstraint* pConstraint = Material(L"Brass", Thickness(1.5));
         pConstraint->m_arrParameters.Append(nullptr);
         pConstraint->AddParameter(Thickness(2.5));
         return pConstraint;
     }},
    {"no value",
     [] {
         CVekParamStorage* pParam = Thickness(1.0);
         pParam->GetData<double>()->m_arrValues.Reset();
         return Material(L"Steel", pParam);
     }},
    {"several values and operator options",
     [] {
         CVekParamStorage* pParam = Thickness(1.0);
         pParam->GetData<double>()->m_arrValues.Append(2.0);
         pParam->GetData<double>()->m_arrValues.Append(1e300);
         pParam->GetBase()->m_arrOperatorOptions.Append(3);
         pParam->GetBase()->m_arrOperatorOptions.Append(-4);
         return Material(L"Steel", pParam);
     }},
    {"deviations in every map",
     [] {
         CVekParamStorage* pParam = Thickness(1.0);
         CVekParamDataBase& data = *pParam->GetBase();
         data.m_mapPercentDeviation[1] = {5.0, 0.0};
         data.m_mapPercentDeviation[3] = {7.5, 1.25};
         data.m_mapAbsoluteDeviation[2] = {0.1, 0.2};
         data.m_mapAbsoluteValue[0] = {-1.0, 3.25};
         data.m_nCriteriaType = 2;
         return Material(L"Steel", pParam);
     }},
    {"deviations in the last map only",
     [] {
         CVekParamStorage* pParam = Thickness(1.0);
         pParam->GetBase()->m_mapAbsoluteValue[4] = {1.0, 2.0};
         return Material(L"Steel", pParam);
     }},
    {"every value type",
     [] {
         CVEKConstraint* pConstraint =
             CVekRule::CreateConstraintObject(VEK_CONSTRAINT_MATERIAL, L"All", false);
         for (int t = 0; t <= 8; ++t)
             pConstraint->AddParameter(CVekRule::CreateParamStorageObject(
                 static_cast<Type_e>(t), 100 + t, VEK_OPERATOR_EQUAL, VEK_PARAM_VALUE, false,
                 false));
         auto& params = pConstraint->m_arrParameters;
         params[1]->GetData<int32_t>()->m_arrValues.Append(-2147483647 - 1);
         params[2]->GetData<int32_t>()->m_arrValues.Append(2147483647);
         params[3]->GetData<bool>()->m_arrValues.Append(true);
         params[3]->GetData<bool>()->m_arrValues.Append(false);
         params[4]->GetData<double>()->m_arrValues.Append(-1.5e-300);
         auto* pStrings = params[5]->GetData<CString*>();
         pStrings->m_arrValues.Append(new CString(L"  Gusseisen \u00e4 "));
         pStrings->m_arrValues.Append(new CString(L""));
         pStrings->m_arrValues.Append(nullptr);
         params[6]->GetData<ULONGLONG>()->m_arrValues.Append(18446744073709551615ull);
         params[7]->GetData<uint32_t>()->m_arrValues.Append(4294967295u);
         return pConstraint;
     }},
};

class ConstraintTemplate : public ::testing::Test
{
protected:
    // Writes the constraint into m_doc and compares it with the reference.
    // When the document has a root, the element goes there and is removed
    // again, so that no node is left waiting.
    void ExpectWrittenAsBuilt(const ShapeCase& shape)
    {
        SCOPED_TRACE(shape.pszLabel);
        ConstraintPtr pConstraint(shape.pfnMake());
        NodePtr pNode(pConstraint->GetXMLNode(&m_doc));
        ASSERT_TRUE(pNode);
        EXPECT_EQ(ReferenceXml(*pConstraint), Printed(TreeNode(pNode.get())));
        NodePtr pRoot(m_doc.GetRootNode());
        if (pRoot && pRoot->AppendNode(pNode.get()))
        {
            EXPECT_TRUE(pRoot->RemoveChild(pNode.get()));
        }
    }

    VekXMLDocument m_doc;
};

std::string TempPath(const char* pszName)
{
    return ::testing::TempDir() + "vek-template-" + std::to_string(getpid()) + "-" + pszName;
}
} // namespace

TEST_F(ConstraintTemplate, EveryShapeIsWrittenAsBuildingItNodeByNodeWould)
{
    // Forwards and backwards in one document: a shape that needed nodes added
    // or removed must leave the template as it was for the next element.
    for (const ShapeCase& shape : kShapes)
        ExpectWrittenAsBuilt(shape);
    for (size_t i = sizeof kShapes / sizeof kShapes[0]; i-- > 0;)
        ExpectWrittenAsBuilt(kShapes[i]);
}

TEST_F(ConstraintTemplate, ChangingAWrittenElementLeavesTheTemplateAlone)
{
    ConstraintPtr pConstraint(kShapes[0].pfnMake());
    NodePtr pFirst(pConstraint->GetXMLNode(&m_doc));
    ASSERT_TRUE(pFirst);
    // Edit the texts the copy shares with the template.
    ASSERT_TRUE(pFirst->AddAttribute(L"Type", CString(L"9")));
    NodePtr pParameter(pFirst->SelectSingleNode(L"Parameter"));
    ASSERT_TRUE(pParameter);
    ASSERT_TRUE(pParameter->AddAttribute(L"ValueType", CString(L"2")));
    NodePtr pOperator(pParameter->SelectSingleNode(L"Operator"));
    ASSERT_TRUE(pOperator->SetNodeValue(L"3"));
    NodePtr pRemarks(pParameter->SelectSingleNode(L"Remarks"));
    ASSERT_TRUE(pRemarks->SetNodeValue(L"changed"));

    ExpectWrittenAsBuilt(kShapes[0]);
    ExpectWrittenAsBuilt(kShapes[1]);
}

TEST_F(ConstraintTemplate, TemplateIsMadeAgainWhenTheContentIsReplaced)
{
    const std::string strFile = TempPath("reload.xml");
    struct Step
    {
        const char* pszLabel;
        void (*pfnReplace)(VekXMLDocument& doc, const std::string& strFile);
    };
    // Saving and GetXML keep the template; the steps after them still write from it.
    const Step arrSteps[] = {
        {"Clear", [](VekXMLDocument& doc, const std::string&) { doc.Clear(); }},
        {"failed LoadXML",
         [](VekXMLDocument& doc, const std::string&) { EXPECT_FALSE(doc.LoadXML(L"<Rules>")); }},
        {"LoadXML",
         [](VekXMLDocument& doc, const std::string&) {
             EXPECT_TRUE(doc.LoadXML(L"<Rules><Rule/></Rules>"));
         }},
        {"Load",
         [](VekXMLDocument& doc, const std::string& strPath) {
             EXPECT_TRUE(doc.Load(CString(std::wstring(strPath.begin(), strPath.end()))));
         }},
        {"Save",
         [](VekXMLDocument& doc, const std::string& strPath) {
             EXPECT_TRUE(doc.Save(CString(std::wstring(strPath.begin(), strPath.end()))));
         }},
        {"GetXML",
         [](VekXMLDocument& doc, const std::string&) {
             CString strXML;
             EXPECT_TRUE(doc.GetXML(strXML));
             EXPECT_EQ(L"<?xml version=\"1.0\"?>\n<Rules>\n\t<Rule />\n</Rules>\n", strXML.str());
         }},
    };
    ASSERT_TRUE(m_doc.LoadXML(L"<Rules><Rule/></Rules>"));
    ASSERT_TRUE(m_doc.Save(CString(std::wstring(strFile.begin(), strFile.end()))));
    for (const Step& step : arrSteps)
    {
        SCOPED_TRACE(step.pszLabel);
        ExpectWrittenAsBuilt(kShapes[1]);
        step.pfnReplace(m_doc, strFile);
        ExpectWrittenAsBuilt(kShapes[1]);
        ExpectWrittenAsBuilt(kShapes[7]);
    }
    std::remove(strFile.c_str());
}

// Bytes the tree holds, counted through its allocation functions while a
// scope lives (the framework's own functions are put back afterwards).
class CTreeHeapCount
{
public:
    CTreeHeapCount()
        : m_pfnAllocate(pugi::get_memory_allocation_function()),
          m_pfnFree(pugi::get_memory_deallocation_function())
    {
        s_pfnAllocate = m_pfnAllocate;
        s_pfnFree = m_pfnFree;
        s_nBytes = 0;
        pugi::set_memory_management_functions(Allocate, Free);
    }
    ~CTreeHeapCount() { pugi::set_memory_management_functions(m_pfnAllocate, m_pfnFree); }
    CTreeHeapCount(const CTreeHeapCount&) = delete;
    CTreeHeapCount& operator=(const CTreeHeapCount&) = delete;
    // Held now, less what blocks from before the count gave back.
    static long long Bytes() { return s_nBytes; }

private:
    static void* Allocate(size_t nSize)
    {
        void* p = s_pfnAllocate(nSize);
        if (p != nullptr)
            s_nBytes += static_cast<long long>(malloc_usable_size(p));
        return p;
    }
    static void Free(void* p)
    {
        if (p != nullptr)
            s_nBytes -= static_cast<long long>(malloc_usable_size(p));
        s_pfnFree(p);
    }

    pugi::allocation_function m_pfnAllocate;
    pugi::deallocation_function m_pfnFree;
    static inline pugi::allocation_function s_pfnAllocate = nullptr;
    static inline pugi::deallocation_function s_pfnFree = nullptr;
    static inline long long s_nBytes = 0;
};

TEST_F(ConstraintTemplate, SavingOverAndOverDoesNotGrowTheDocument)
{
    // A host that writes a rule and saves, again and again, into one document.
    const std::string strFile = TempPath("resave.xml");
    const CString strPath(std::wstring(strFile.begin(), strFile.end()));
    CTreeHeapCount count;
    ASSERT_TRUE(m_doc.LoadXML(L"<Rules><Rule/></Rules>"));
    long long nSettled = 0;
    for (int nCycle = 1; nCycle <= 150; ++nCycle)
    {
        ExpectWrittenAsBuilt(kShapes[1]);
        ASSERT_TRUE(m_doc.Save(strPath));
        // By then the tree has taken the pages this cycle needs.
        if (nCycle == 50)
            nSettled = CTreeHeapCount::Bytes();
    }
    EXPECT_EQ(nSettled, CTreeHeapCount::Bytes());
    std::remove(strFile.c_str());
}

TEST_F(ConstraintTemplate, OutputAndTheRootNeverShowTheTemplate)
{
    // The template is made before the document has its root, so it comes first.
    ConstraintPtr pConstraint(kShapes[1].pfnMake());
    NodePtr pElement(pConstraint->GetXMLNode(&m_doc));
    ASSERT_TRUE(pElement);
    CString strXML;
    EXPECT_FALSE(m_doc.GetXML(strXML));
    EXPECT_EQ(nullptr, m_doc.GetRootNode());

    NodePtr pRoot(m_doc.CreateRootNode(L"Rules"));
    ASSERT_TRUE(pRoot);
    NodePtr pGot(m_doc.GetRootNode());
    ASSERT_TRUE(pGot);
    EXPECT_TRUE(pGot->IsSameNode(pRoot.get()));
    EXPECT_FALSE(pGot->MoveToNextSibling());
    ASSERT_TRUE(pRoot->AppendNode(pElement.get()));
    NodePtr pParent(pElement->GetParentNode());
    ASSERT_TRUE(pParent);
    EXPECT_TRUE(pParent->IsSameNode(pRoot.get()));
    NodePtr pFirstChild(pRoot->GetFirstChildNode());
    ASSERT_TRUE(pFirstChild);
    EXPECT_FALSE(pFirstChild->MoveToNextSibling());

    const std::string strExpected =
        "<?xml version=\"1.0\"?>\n<Rules>\n"
        "\t<Constraint Type=\"1\" Value=\"Beryllium Copper\" Status=\"0\">\n"
        "\t\t<Parameter Name=\"\" Type=\"40067\" ValueType=\"4\" Status=\"0\">\n"
        "\t\t\t<Operator>7</Operator>\n\t\t\t<ParameterType>1</ParameterType>\n"
        "\t\t\t<Value>0.75</Value>\n"
        "\t\t\t<ResultCriteria Status=\"0\" CriteriaType=\"0\">\n"
        "\t\t\t\t<PercentDeviation />\n\t\t\t\t<AbsoluteDeviation />\n"
        "\t\t\t\t<AbsoluteValue />\n\t\t\t</ResultCriteria>\n"
        "\t\t\t<Remarks></Remarks>\n\t\t</Parameter>\n\t</Constraint>\n</Rules>\n";
    const std::wstring strExpectedWide(strExpected.begin(), strExpected.end());
    const std::string strFile = TempPath("saved.xml");
    const CString strPath(std::wstring(strFile.begin(), strFile.end()));

    // With a node still waiting, the document is written child by child; then
    // without it, whole. Neither shows the holder or the template.
    NodePtr pWaiting(pConstraint->GetXMLNode(&m_doc));
    ASSERT_TRUE(pWaiting);
    for (int nWaiting = 1; nWaiting >= 0; --nWaiting)
    {
        SCOPED_TRACE(nWaiting);
        if (nWaiting == 0)
        {
            ASSERT_TRUE(pRoot->AppendNode(pWaiting.get()) && pRoot->RemoveChild(pWaiting.get()));
        }
        ASSERT_TRUE(m_doc.Save(strPath));
        std::FILE* pFile = std::fopen(strFile.c_str(), "rb");
        ASSERT_NE(nullptr, pFile);
        std::string strSaved(4096, '\0');
        strSaved.resize(std::fread(&strSaved[0], 1, strSaved.size(), pFile));
        std::fclose(pFile);
        EXPECT_EQ(strExpected, strSaved);
        ASSERT_TRUE(m_doc.GetXML(strXML));
        EXPECT_EQ(strExpectedWide, strXML.str());
    }
    std::remove(strFile.c_str());
}

// The patcher on its own, over elements that already hold all kinds of
// content: the result is what appending to an empty element gives.
TEST(TreePatcher, WritesOverAnyExistingContentAsAppendingWould)
{
    const char* const arrStarts[] = {
        "<e/>",
        "<e b='2' a='1' c='3'><x/><y>t</y>text<!--c--><![CDATA[d]]><y/><z><w/></z></e>",
        "<e a='1' b='old'><x k='v'>t<q/></x><y>u</y></e>",
        "<e><y>v</y><x/><y/>tail</e>",
    };
    const auto Write = [](auto& out) {
        out.Attribute("a", "1", 1);
        out.Attribute("b", "22", 2);
        out.Open("x");
        out.Close();
        out.TextChild("y", "v", 1);
        out.TextChild("y", "", 0);
        out.Open("z");
        out.Attribute("k", "", 0);
        out.Close();
    };
    pugi::xml_document reference;
    vek_xml::CTreePatcher onEmpty(reference.append_child("e"));
    Write(onEmpty);
    onEmpty.Finish();
    const std::string strExpected = Printed(reference.first_child());
    EXPECT_EQ("<e a=\"1\" b=\"22\">\n\t<x />\n\t<y>v</y>\n\t<y></y>\n\t<z k=\"\" />\n</e>\n",
              strExpected);

    for (const char* pszStart : arrStarts)
    {
        SCOPED_TRACE(pszStart);
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(pszStart));
        vek_xml::CTreePatcher patcher(doc.first_child());
        Write(patcher);
        patcher.Finish();
        EXPECT_EQ(strExpected, Printed(doc.first_child()));
    }
}
