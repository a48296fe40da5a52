#include "VekXMLDocument.h"
#include "VekXMLNode.h"
#include "VekXMLNodeList.h"

#include <gtest/gtest.h>
#include <stringapiset.h>
#include <vekfilename.h>

#include <atomic>
#include <cstdint>
#include <dirent.h>
#include <thread>
#include <vector>
#include <set>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

namespace
{
typedef std::unique_ptr<VekXMLNode> NodePtr;
typedef std::unique_ptr<VekXMLNodeList> ListPtr;

std::wstring Text(const CString& str)
{
    return str.str();
}

std::wstring DocumentText(const VekXMLDocument& doc)
{
    CString strXML;
    EXPECT_TRUE(doc.GetXML(strXML));
    return strXML.str();
}

bool Contains(const std::wstring& strHaystack, const wchar_t* pszNeedle)
{
    return strHaystack.find(pszNeedle) != std::wstring::npos;
}
} // namespace

TEST(VekXML, DeletingNodeObjectKeepsElement)
{
    VekXMLDocument doc;
    NodePtr pRoot(doc.CreateRootNode(L"Rules"));
    ASSERT_TRUE(pRoot);
    delete pRoot->AppendNode(L"Rule");
    delete pRoot->AppendNode(L"Rule");
    pRoot.reset();

    NodePtr pAgain(doc.GetRootNode());
    ASSERT_TRUE(pAgain);
    ListPtr pRules(pAgain->GetNodeList(L"Rule"));
    EXPECT_EQ(2, pRules->GetSize());
    // Nodes taken from the list belong to it; the list's deletion leaves them in place too.
    pRules.reset();
    ListPtr pStill(pAgain->GetNodeList(L"Rule"));
    EXPECT_EQ(2, pStill->GetSize());
}

TEST(VekXML, CreateNodeIsUnattachedUntilAppended)
{
    VekXMLDocument doc;
    NodePtr pRoot(doc.CreateRootNode(L"Rules"));
    NodePtr pRule(doc.CreateNode(L"Rule"));
    ASSERT_TRUE(pRule);
    pRule->AddAttribute(L"Name", L"Thickness");
    NodePtr pChild(pRule->AppendNode(L"Parameter"));
    ASSERT_TRUE(pChild);

    // Not part of the tree yet: no parent, not saved, not in the root's children.
    EXPECT_EQ(nullptr, pRule->GetParentNode());
    EXPECT_FALSE(Contains(DocumentText(doc), L"Thickness"));
    ListPtr pNone(pRoot->GetNodeList(L"Rule"));
    EXPECT_EQ(0, pNone->GetSize());
    EXPECT_FALSE(pRule->MoveToNextSibling());

    ASSERT_TRUE(pRoot->AppendNode(pRule.get()));
    NodePtr pParent(pRule->GetParentNode());
    ASSERT_TRUE(pParent);
    EXPECT_TRUE(pParent->IsSameNode(pRoot.get()));
    // The child created before appending moved along with its parent.
    NodePtr pChildParent(pChild->GetParentNode());
    ASSERT_TRUE(pChildParent);
    EXPECT_TRUE(pChildParent->IsSameNode(pRule.get()));
    EXPECT_TRUE(Contains(DocumentText(doc), L"<Rule Name=\"Thickness\">"));
}

TEST(VekXML, CrossDocumentAppendMovesElementAndKeepsCallerObjectValid)
{
    VekXMLDocument docSource;
    VekXMLDocument docTarget;
    NodePtr pTargetRoot(docTarget.CreateRootNode(L"Target"));
    NodePtr pSourceRoot(docSource.CreateRootNode(L"Source"));
    NodePtr pMoved(pSourceRoot->AppendNode(L"Item"));
    pMoved->SetNodeValue(L"payload");
    NodePtr pUnattached(docSource.CreateNode(L"Loose"));

    ASSERT_TRUE(pTargetRoot->AppendNode(pMoved.get()));
    ASSERT_TRUE(pTargetRoot->AppendNode(pUnattached.get()));
    EXPECT_TRUE(docTarget.Owns(pMoved.get()));
    EXPECT_TRUE(docTarget.Owns(pUnattached.get()));
    EXPECT_FALSE(docSource.Owns(pMoved.get()));

    // The caller's object now refers to the element in its new document.
    EXPECT_EQ(L"payload", Text(pMoved->GetNodeValue()));
    NodePtr pParent(pMoved->GetParentNode());
    ASSERT_TRUE(pParent);
    EXPECT_TRUE(pParent->IsSameNode(pTargetRoot.get()));
    ListPtr pLeft(pSourceRoot->GetNodeList(L"Item"));
    EXPECT_EQ(0, pLeft->GetSize());
    EXPECT_TRUE(pMoved->SetNodeValue(L"changed"));
    EXPECT_TRUE(Contains(DocumentText(docTarget), L"<Item>changed</Item>"));
}

TEST(VekXML, AppendRefusesCyclesAndNulls)
{
    VekXMLDocument doc;
    NodePtr pRoot(doc.CreateRootNode(L"A"));
    NodePtr pChild(pRoot->AppendNode(L"B"));
    NodePtr pGrandChild(pChild->AppendNode(L"C"));
    VekXMLNode nullNode;
    const std::wstring strBefore = DocumentText(doc);
    EXPECT_FALSE(pGrandChild->AppendNode(pRoot.get()));
    EXPECT_FALSE(pChild->AppendNode(pChild.get()));
    EXPECT_FALSE(pGrandChild->AppendNode(pChild.get()));
    EXPECT_EQ(strBefore, DocumentText(doc));
    EXPECT_FALSE(pRoot->AppendNode(&nullNode));
    EXPECT_FALSE(pRoot->AppendNode(static_cast<VekXMLNode*>(nullptr)));
    EXPECT_EQ(nullptr, nullNode.AppendNode(L"X"));
    EXPECT_EQ(nullptr, pRoot->AppendNode(L""));
}

TEST(VekXML, NodeListKeepsDocumentOrderAndSkipsOtherNames)
{
    VekXMLDocument doc;
    ASSERT_TRUE(
        doc.LoadXML(L"<R><P n='1'/><Q/><P n='2'/><!-- c --><P n='3'><P n='inner'/></P>text</R>"));
    NodePtr pRoot(doc.GetRootNode());
    ListPtr pList(pRoot->GetNodeList(L"P"));
    ASSERT_EQ(3, pList->GetSize());
    const wchar_t* arrExpected[] = {L"1", L"2", L"3"};
    for (int i = 0; i < 3; ++i)
    {
        CString strValue;
        ASSERT_TRUE((*pList)[i]->GetAttributeValue(L"n", strValue));
        EXPECT_EQ(arrExpected[i], Text(strValue));
    }
    EXPECT_EQ(nullptr, (*pList)[3]);
    EXPECT_EQ(nullptr, (*pList)[-1]);
    ListPtr pAll(pRoot->GetChildNodes());
    EXPECT_EQ(4, pAll->GetSize());
    ListPtr pMissing(pRoot->GetNodeList(L"Z"));
    EXPECT_EQ(0, pMissing->GetSize());

    // Sibling walk sees elements only, in the same order.
    NodePtr pWalk(pRoot->GetFirstChildNode());
    std::wstring strNames;
    do
        strNames += pWalk->GetNodeName().str();
    while (pWalk->MoveToNextSibling());
    EXPECT_EQ(L"PQPP", strNames);
}

TEST(VekXML, SelectSingleNodeAndParent)
{
    VekXMLDocument doc;
    ASSERT_TRUE(doc.LoadXML(L"<R><A>1</A><B/><A>2</A></R>"));
    NodePtr pRoot(doc.GetRootNode());
    NodePtr pA(pRoot->SelectSingleNode(L"A"));
    ASSERT_TRUE(pA);
    EXPECT_EQ(L"1", Text(pA->GetNodeValue()));
    EXPECT_EQ(nullptr, pRoot->SelectSingleNode(L"C"));
    NodePtr pParent(pA->GetParentNode());
    ASSERT_TRUE(pParent);
    EXPECT_TRUE(pParent->IsSameNode(pRoot.get()));
    // The document element's parent is the document itself: no node.
    EXPECT_EQ(nullptr, pRoot->GetParentNode());
}

TEST(VekXML, TypedReadsLeaveOutputUnchangedOnFailure)
{
    struct Case
    {
        const wchar_t* pszText;
        bool bIntOk;
        int nInt;
        bool bDoubleOk;
        double dDouble;
    };
    const Case arrCases[] = {
        {L"12", true, 12, true, 12.0},
        {L"  -7", true, -7, true, -7.0},
        {L"+5", true, 5, true, 5.0},
        {L"12abc", true, 12, true, 12.0},
        {L"2.5", true, 2, true, 2.5},
        {L".5", false, 0, true, 0.5},
        {L"1e3", true, 1, true, 1000.0},
        {L"abc", false, 0, false, 0.0},
        {L"", false, 0, false, 0.0},
        {L"-", false, 0, false, 0.0},
        {L"+-3", false, 0, false, 0.0},
        {L"2147483647", true, 2147483647, true, 2147483647.0},
        {L"-2147483648", true, -2147483647 - 1, true, -2147483648.0},
        {L"2147483648", false, 0, true, 2147483648.0},
        // Around the longest digit run that is summed without an overflow check.
        {L"0000000000000000000000012", true, 12, true, 12.0},
        {L"9999999999999999999", false, 0, true, 1e19},
        {L"99999999999999999999", false, 0, true, 1e20},
        {L"1e999", true, 1, false, 0.0},
        {L"inf", false, 0, false, 0.0},
    };
    VekXMLDocument doc;
    NodePtr pRoot(doc.CreateRootNode(L"V"));
    for (const Case& c : arrCases)
    {
        ASSERT_TRUE(pRoot->SetNodeValue(c.pszText));
        int nValue = 4242;
        double dValue = 42.42;
        EXPECT_EQ(c.bIntOk, pRoot->GetNodeValueInInt(nValue)) << c.pszText;
        EXPECT_EQ(c.bIntOk ? c.nInt : 4242, nValue) << c.pszText;
        EXPECT_EQ(c.bDoubleOk, pRoot->GetNodeValueInDouble(dValue)) << c.pszText;
        EXPECT_EQ(c.bDoubleOk ? c.dDouble : 42.42, dValue) << c.pszText;
    }
    CString strOut(L"unchanged");
    EXPECT_FALSE(pRoot->GetAttributeValue(L"Missing", strOut));
    EXPECT_EQ(L"unchanged", Text(strOut));
    VekXMLNode nullNode;
    int nValue = 3;
    EXPECT_FALSE(nullNode.GetNodeValueInInt(nValue));
    EXPECT_EQ(3, nValue);
}

TEST(VekXML, AddAttributeReplacesExistingAndAppendsNew)
{
    VekXMLDocument doc;
    NodePtr pRoot(doc.CreateRootNode(L"R"));
    EXPECT_TRUE(pRoot->AddAttribute(L"A", L"1"));
    EXPECT_TRUE(pRoot->AddAttribute(L"B", L"2"));
    EXPECT_TRUE(pRoot->AddAttribute(L"A", L"3"));
    EXPECT_FALSE(pRoot->AddAttribute(L"", L"x"));
    ASSERT_EQ(2, pRoot->GetAttributeCount());
    CString strName, strValue;
    ASSERT_TRUE(pRoot->GetAttributeAt(0, strName, strValue));
    EXPECT_EQ(L"A", Text(strName));
    EXPECT_EQ(L"3", Text(strValue));
    EXPECT_FALSE(pRoot->GetAttributeAt(2, strName, strValue));
    EXPECT_TRUE(pRoot->RemoveAttribute(L"A"));
    EXPECT_FALSE(pRoot->RemoveAttribute(L"A"));
    EXPECT_FALSE(pRoot->HasAttribute(L"A"));
    EXPECT_TRUE(pRoot->HasAttribute(L"B"));
}

TEST(VekXML, WideTextSurvivesRoundTrip)
{
    const wchar_t* pszText = L"Stahl \u00fc\u00df \u20ac <&> \"q\" \U0001F600";
    VekXMLDocument doc;
    NodePtr pRoot(doc.CreateRootNode(L"Gr\u00f6\u00dfe"));
    pRoot->AddAttribute(L"Name", pszText);
    pRoot->SetNodeValue(pszText);
    CString strXML;
    ASSERT_TRUE(doc.GetXML(strXML));

    VekXMLDocument docBack;
    ASSERT_TRUE(docBack.LoadXML(strXML));
    NodePtr pBack(docBack.GetRootNode());
    EXPECT_EQ(L"Gr\u00f6\u00dfe", Text(pBack->GetNodeName()));
    CString strValue;
    ASSERT_TRUE(pBack->GetAttributeValue(L"Name", strValue));
    EXPECT_EQ(pszText, Text(strValue));
    EXPECT_EQ(pszText, Text(pBack->GetNodeValue()));
}

// Values whose bytes are not all valid UTF-8 read as the platform decodes
// those bytes as a whole, wherever the ASCII part ends.
TEST(VekXML, ValuesReadAsThePlatformDecodesTheirBytes)
{
    const char* const arrValues[] = {"plain",
                                     "ab\xC3\xA9"
                                     "c",
                                     "ab\xC3\xA9"
                                     "c\xFF\xFE"
                                     "d",
                                     "\xE2\x82",
                                     "x\xC3",
                                     "\xF0\x9F\x98\x80 tail",
                                     ""};
    std::string strFile = "<R";
    for (size_t i = 0; i < sizeof arrValues / sizeof arrValues[0]; ++i)
        strFile += " A" + std::to_string(i) + "=\"" + arrValues[i] + "\"";
    strFile += "/>";
    char szTemplate[] = "/tmp/vekxmlXXXXXX";
    ASSERT_NE(nullptr, mkdtemp(szTemplate));
    const std::string strPath = std::string(szTemplate) + "/bytes.xml";
    FILE* pFile = std::fopen(strPath.c_str(), "wb");
    ASSERT_NE(nullptr, pFile);
    std::fwrite(strFile.data(), 1, strFile.size(), pFile);
    std::fclose(pFile);

    VekXMLDocument doc;
    ASSERT_TRUE(doc.Load(CString(strPath.c_str())));
    NodePtr pRoot(doc.GetRootNode());
    ASSERT_NE(nullptr, pRoot);
    for (size_t i = 0; i < sizeof arrValues / sizeof arrValues[0]; ++i)
    {
        const int nBytes = static_cast<int>(std::strlen(arrValues[i]));
        std::wstring strExpected(static_cast<size_t>(nBytes), L'\0');
        strExpected.resize(static_cast<size_t>(
            nBytes == 0
                ? 0
                : MultiByteToWideChar(CP_UTF8, 0, arrValues[i], nBytes, &strExpected[0], nBytes)));
        CString strValue = L"unchanged";
        ASSERT_TRUE(pRoot->GetAttributeValue(CString(L"A") + std::to_wstring(i).c_str(), strValue));
        EXPECT_EQ(strExpected, Text(strValue)) << "value " << i;
    }
    std::remove(strPath.c_str());
    rmdir(szTemplate);
}

TEST(VekXML, RemoveChildDropsElementAndNullsHandle)
{
    VekXMLDocument doc;
    ASSERT_TRUE(doc.LoadXML(L"<R><A/><B/></R>"));
    NodePtr pRoot(doc.GetRootNode());
    NodePtr pA(pRoot->SelectSingleNode(L"A"));
    NodePtr pOther(doc.CreateNode(L"A"));
    EXPECT_FALSE(pRoot->RemoveChild(pOther.get()));
    EXPECT_TRUE(pRoot->RemoveChild(pA.get()));
    EXPECT_TRUE(pA->IsNull());
    ListPtr pAll(pRoot->GetChildNodes());
    ASSERT_EQ(1, pAll->GetSize());
    EXPECT_EQ(L"B", Text((*pAll)[0]->GetNodeName()));
}

TEST(VekXML, LoadFailuresAndFiles)
{
    VekXMLDocument doc;
    EXPECT_FALSE(doc.LoadXML(L"<R><unclosed></R>"));
    EXPECT_EQ(nullptr, doc.GetRootNode());
    EXPECT_FALSE(doc.Load(L"/nonexistent/folder/file.xml"));
    EXPECT_FALSE(doc.Save(L"/nonexistent/folder/file.xml"));

    char szTemplate[] = "/tmp/vekxmlXXXXXX";
    ASSERT_NE(nullptr, mkdtemp(szTemplate));
    CString strPath(szTemplate);
    strPath += L"/rules.xml";

    ASSERT_TRUE(doc.LoadXML(L"<Rules Unit='3'><Rule Name='x'/></Rules>"));
    NodePtr pPending(doc.CreateNode(L"Pending"));
    ASSERT_TRUE(doc.Save(strPath));

    VekXMLDocument docBack;
    ASSERT_TRUE(docBack.Load(strPath));
    NodePtr pRoot(docBack.GetRootNode());
    CString strUnit;
    ASSERT_TRUE(pRoot->GetAttributeValue(L"Unit", strUnit));
    EXPECT_EQ(L"3", Text(strUnit));
    // An unattached node is never written.
    EXPECT_FALSE(Contains(DocumentText(docBack), L"Pending"));
    EXPECT_FALSE(Contains(DocumentText(docBack), L"unattached"));
    ListPtr pTop(pRoot->GetChildNodes());
    EXPECT_EQ(1, pTop->GetSize());

    // The node still waiting can be appended after the save.
    NodePtr pOldRoot(doc.GetRootNode());
    ASSERT_TRUE(pOldRoot->AppendNode(pPending.get()));
    EXPECT_TRUE(Contains(DocumentText(doc), L"<Pending"));

    std::remove((std::string(szTemplate) + "/rules.xml").c_str());
    rmdir(szTemplate);
}

// A document far larger than the pieces the file is written in, with a node
// waiting (which changes how the document writes itself), comes back whole.
TEST(VekXML, LargeDocumentsAreSavedWhole)
{
    char szTemplate[] = "/tmp/vekxmlXXXXXX";
    ASSERT_NE(nullptr, mkdtemp(szTemplate));
    const CString strPath = CString(szTemplate) + L"/large.xml";
    for (bool bWaiting : {false, true})
    {
        SCOPED_TRACE(bWaiting ? "a node waiting" : "no node waiting");
        VekXMLDocument doc;
        NodePtr pRoot(doc.CreateRootNode(L"Rules"));
        for (int i = 0; i < 3000; ++i)
        {
            NodePtr pRule(pRoot->AppendNode(L"Rule"));
            pRule->AddAttribute(L"Name", CString(L'r', 1 + i % 97) + std::to_wstring(i).c_str());
        }
        NodePtr pWaiting(bWaiting ? doc.CreateNode(L"Waiting") : nullptr);
        ASSERT_TRUE(doc.Save(strPath));
        VekXMLDocument docBack;
        ASSERT_TRUE(docBack.Load(strPath));
        EXPECT_GT(DocumentText(docBack).size(), 200000u);
        EXPECT_EQ(DocumentText(doc), DocumentText(docBack));
    }
    std::remove((std::string(szTemplate) + "/large.xml").c_str());
    rmdir(szTemplate);
}

// Names are bytes: whatever they are, in the wide form the platform maps them
// to, the document is saved under and loaded from exactly those bytes, and the
// save leaves nothing else behind, even at the longest name a folder holds.
TEST(VekXML, SaveAndLoadReachTheFileUnderTheNameAsGiven)
{
    char szTemplate[] = "/tmp/vekxmlXXXXXX";
    ASSERT_NE(nullptr, mkdtemp(szTemplate));
    const std::string strFolder = szTemplate;
    auto Entries = [&] {
        std::set<std::string> setNames;
        if (DIR* pDir = opendir(strFolder.c_str()))
        {
            while (dirent* pEntry = readdir(pDir))
            {
                if (std::string(".") != pEntry->d_name && std::string("..") != pEntry->d_name)
                    setNames.insert(pEntry->d_name);
            }
            closedir(pDir);
        }
        return setNames;
    };
    const std::string names[] = {
        "latin1-\xE9t\xE9.xml",
        "overlong-\xC0\xAF.xml", // a lenient decoder makes this "/"
        "cut-\xE2\x82.xml",
        "utf8-\xC3\xA9t\xC3\xA9.xml",
        std::string(251, 'n') + ".xml",
        std::string(248, 'n') + "\xE9\xC3\xA9.xml",
    };
    VekXMLDocument doc;
    ASSERT_TRUE(doc.LoadXML(L"<Rules Unit='3'><Rule Name='x'/></Rules>"));
    for (const std::string& strName : names)
    {
        SCOPED_TRACE(strName);
        const std::string strPath = strFolder + "/" + strName;
        const CString strWide(VekFileNameToWide(strPath.c_str()).c_str());
        ASSERT_TRUE(doc.Save(strWide));
        EXPECT_EQ(std::set<std::string>{strName}, Entries());

        VekXMLDocument docBack;
        ASSERT_TRUE(docBack.Load(strWide));
        NodePtr pRoot(docBack.GetRootNode());
        ASSERT_NE(nullptr, pRoot);
        EXPECT_EQ(L"Rules", Text(pRoot->GetNodeName()));
        EXPECT_EQ(0, std::remove(strPath.c_str()));
    }

    // A symbolic link is written through; the link stays.
    const std::string strReal = strFolder + "/real.xml";
    const std::string strLink = strFolder + "/link.xml";
    ASSERT_EQ(0, symlink("real.xml", strLink.c_str()));
    ASSERT_TRUE(doc.Save(CString(strLink.c_str())));
    struct stat info = {};
    ASSERT_EQ(0, lstat(strLink.c_str(), &info));
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    VekXMLDocument docReal;
    EXPECT_TRUE(docReal.Load(CString(strReal.c_str())));
    EXPECT_EQ((std::set<std::string>{"real.xml", "link.xml"}), Entries());

    std::remove(strLink.c_str());
    std::remove(strReal.c_str());
    rmdir(szTemplate);
}

TEST(VekXML, CreateRootNodeOnlyOnce)
{
    VekXMLDocument doc;
    NodePtr pLoose(doc.CreateNode(L"Loose"));
    EXPECT_EQ(nullptr, doc.GetRootNode());
    NodePtr pRoot(doc.CreateRootNode(L"Root"));
    ASSERT_TRUE(pRoot);
    EXPECT_EQ(nullptr, doc.CreateRootNode(L"Second"));
    NodePtr pFound(doc.GetRootNode());
    EXPECT_TRUE(pFound->IsSameNode(pRoot.get()));
    EXPECT_FALSE(pRoot->MoveToNextSibling());
}

TEST(VekXML, CurrentDocumentFollowsHostAndDestruction)
{
    EXPECT_EQ(nullptr, VekXMLDocument::GetCurrent());
    {
        VekXMLDocument doc;
        VekXMLDocument::SetCurrent(&doc);
        EXPECT_EQ(&doc, VekXMLDocument::GetCurrent());
    }
    EXPECT_EQ(nullptr, VekXMLDocument::GetCurrent());
}

// Names given as text take a shorter road than names given as CString (on the
// stack while they are short ASCII); both must build and find the same elements
// and attributes, whatever the name.
TEST(VekXML, NamesGivenAsTextActAsNamesGivenAsStrings)
{
    const std::wstring strLong(80, L'n');
    const wchar_t* const names[] = {L"Rule",
                                    L"A",
                                    L"Gr\x00F6\x00DF"
                                    L"e",
                                    L"\x6E29\x5EA6",
                                    strLong.c_str(),
                                    L"",
                                    nullptr};
    for (const wchar_t* pszName : names)
    {
        SCOPED_TRACE(pszName ? CString(pszName).GetString() : L"(null)");
        const CString strName(pszName);
        VekXMLDocument docText;
        VekXMLDocument docString;
        NodePtr pRootText(docText.CreateRootNode(L"Root"));
        NodePtr pRootString(docString.CreateRootNode(L"Root"));

        NodePtr pChildText(pRootText->AppendNode(pszName));
        NodePtr pChildString(pRootString->AppendNode(strName));
        ASSERT_EQ(pChildText == nullptr, pChildString == nullptr);
        EXPECT_EQ(pRootText->AddAttribute(pszName, L"v"), pRootString->AddAttribute(strName, L"v"));
        EXPECT_EQ(pRootText->AddAttribute(pszName, L"w"), pRootString->AddAttribute(strName, L"w"));
        NodePtr pCreatedText(docText.CreateNode(pszName));
        NodePtr pCreatedString(docString.CreateNode(strName));
        EXPECT_EQ(pCreatedText == nullptr, pCreatedString == nullptr);
        if (pCreatedText)
        {
            EXPECT_EQ(Text(pCreatedText->GetNodeName()), Text(pCreatedString->GetNodeName()));
        }
        EXPECT_EQ(DocumentText(docText), DocumentText(docString));

        NodePtr pFoundText(pRootText->SelectSingleNode(pszName));
        NodePtr pFoundString(pRootString->SelectSingleNode(strName));
        EXPECT_EQ(pFoundText == nullptr, pFoundString == nullptr);
        EXPECT_EQ(pFoundText != nullptr, !strName.IsEmpty());
        ListPtr pListText(pRootText->GetNodeList(pszName));
        ListPtr pListString(pRootString->GetNodeList(strName));
        EXPECT_EQ(pListText->GetSize(), pListString->GetSize());
        CString strValueText = L"unchanged";
        CString strValueString = L"unchanged";
        EXPECT_EQ(pRootText->GetAttributeValue(pszName, strValueText),
                  pRootString->GetAttributeValue(strName, strValueString));
        EXPECT_EQ(Text(strValueText), Text(strValueString));
        EXPECT_EQ(Text(strValueText), strName.IsEmpty() ? L"unchanged" : L"w");
    }
}

// Node objects are made and deleted on several threads at once, in batches
// larger than the framework keeps for reuse: no block may be handed to two
// objects at a time, which would show as a handle overwritten by another.
TEST(VekXML, NodeObjectsMadeOnSeveralThreadsAtOnceStayDistinct)
{
    struct CLargerNode : VekXMLNode
    {
        explicit CLargerNode(void* pHandle) : VekXMLNode(pHandle) {}
        char arrExtra[64] = {};
    };
    constexpr int kThreads = 4;
    constexpr int kBatch = 100;
    std::atomic<int> nOverwritten(0);
    std::vector<std::thread> vecThreads;
    for (int t = 0; t < kThreads; ++t)
    {
        vecThreads.emplace_back([t, &nOverwritten] {
            for (int nRound = 0; nRound < 2000; ++nRound)
            {
                std::vector<VekXMLNode*> vecNodes;
                std::vector<VekXMLNodeList*> vecLists;
                for (int i = 0; i < kBatch; ++i)
                {
                    const uintptr_t nTag = (static_cast<uintptr_t>(t) << 20) | (nRound << 8) | i;
                    vecNodes.push_back(i % 10 == 0 ? new CLargerNode(reinterpret_cast<void*>(nTag))
                                                   : new VekXMLNode(reinterpret_cast<void*>(nTag)));
                    vecLists.push_back(new VekXMLNodeList);
                    vecLists.back()->AddHandle(reinterpret_cast<void*>(nTag));
                }
                for (int i = 0; i < kBatch; ++i)
                {
                    const uintptr_t nTag = (static_cast<uintptr_t>(t) << 20) | (nRound << 8) | i;
                    if (vecNodes[i]->GetHandle() != reinterpret_cast<void*>(nTag) ||
                        (*vecLists[i])[0]->GetHandle() != reinterpret_cast<void*>(nTag))
                        ++nOverwritten;
                }
                for (int i = 0; i < kBatch; ++i)
                {
                    if (i % 10 == 0)
                        delete static_cast<CLargerNode*>(vecNodes[i]);
                    else
                        delete vecNodes[i];
                    delete vecLists[i];
                }
            }
        });
    }
    for (std::thread& thread : vecThreads)
        thread.join();
    EXPECT_EQ(0, nOverwritten.load());
}
