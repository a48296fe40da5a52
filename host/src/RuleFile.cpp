#include "RuleFile.h"

#include "HostText.h"
#include "WholeFile.h"
#include "WrittenFile.h"
#include "XmlCheck.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
const wchar_t kRootName[] = L"VekRuleFile";
const wchar_t kVersionAttribute[] = L"FormatVersion";
const wchar_t kGroupName[] = L"Rules";
const wchar_t kUnitAttribute[] = L"Unit";

// Whole decimal numbers only: a number we cannot read exactly is not one we understand.
bool ParseVersion(const CString& strText, long& nVersion)
{
    if (strText.IsEmpty())
        return false;
    wchar_t* pEnd = nullptr;
    errno = 0;
    nVersion = std::wcstol(strText, &pEnd, 10);
    return *pEnd == 0 && errno == 0 && strText[0] >= L'0' && strText[0] <= L'9';
}

} // namespace

bool LoadRuleFile(VekXMLDocument& doc, const std::string& strPath, std::string& strError)
{
    std::string strBytes;
    if (!ReadWholeFile(strPath, g_RuleFileLimits.nMaxBytes, "more than any rule file holds",
                       strBytes, strError))
        return false;
    // The framework's reader is lenient; nothing that is not well-formed gets that far.
    std::string strProblem;
    if (!CheckWellFormedXml(strBytes, g_RuleFileLimits, strProblem))
    {
        strError = strPath + ": not a well-formed XML document (" + strProblem + ")";
        return false;
    }
    // Checked UTF-8 converts to wide text and back without change.
    size_t nStart = strBytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    if (!doc.LoadXML(FromUtf8(strBytes.substr(nStart))))
    {
        strError = strPath + ": not a well-formed XML document";
        return false;
    }

    std::unique_ptr<VekXMLNode> pRoot(doc.GetRootNode());
    if (!pRoot || pRoot->GetNodeName() != kRootName)
    {
        strError =
            strPath + ": not a rule file (the root element is not " + ToUtf8(kRootName) + ")";
        return false;
    }
    CString strVersion;
    long nVersion = 0;
    if (!pRoot->GetAttributeValue(kVersionAttribute, strVersion) ||
        !ParseVersion(strVersion, nVersion) || nVersion < 1)
    {
        strError =
            strPath + ": not a rule file (missing or invalid " + ToUtf8(kVersionAttribute) + ")";
        return false;
    }
    if (nVersion > RULE_FILE_FORMAT_VERSION)
    {
        strError = strPath + ": rule file format version " + std::to_string(nVersion) +
                   " is newer than the supported version " +
                   std::to_string(RULE_FILE_FORMAT_VERSION);
        return false;
    }

    std::unique_ptr<VekXMLNodeList> pGroups(GetRuleGroups(doc));
    for (int i = 0; pGroups && i < pGroups->GetSize(); ++i)
    {
        std::unique_ptr<VekXMLNodeList> pRules((*pGroups)[i]->GetNodeList(L"Rule"));
        if (pRules && pRules->GetSize() > 0)
            return true;
    }
    strError = strPath + ": the file holds no rule elements";
    return false;
}

VekXMLNode* CreateRuleFile(VekXMLDocument& doc, int nUnit)
{
    doc.Clear();
    std::unique_ptr<VekXMLNode> pRoot(doc.CreateRootNode(kRootName));
    if (!pRoot)
        return nullptr;
    CString strVersion;
    strVersion.Format(L"%d", RULE_FILE_FORMAT_VERSION);
    pRoot->AddAttribute(kVersionAttribute, strVersion);
    VekXMLNode* pGroup = pRoot->AppendNode(kGroupName);
    if (pGroup != nullptr)
        SetGroupUnit(pGroup, nUnit);
    return pGroup;
}

VekXMLNodeList* GetRuleGroups(VekXMLDocument& doc)
{
    std::unique_ptr<VekXMLNode> pRoot(doc.GetRootNode());
    return pRoot ? pRoot->GetNodeList(kGroupName) : nullptr;
}

bool GetGroupUnit(VekXMLNode* pGroup, int& nUnit)
{
    CString strUnit;
    nUnit = 0;
    if (!pGroup->GetAttributeValue(kUnitAttribute, strUnit))
        return true;
    long nValue = 0;
    if (!ParseVersion(strUnit, nValue) || nValue > 10)
        return false;
    nUnit = static_cast<int>(nValue);
    return true;
}

void SetGroupUnit(VekXMLNode* pGroup, int nUnit)
{
    CString strUnit;
    strUnit.Format(L"%d", nUnit);
    pGroup->AddAttribute(kUnitAttribute, strUnit);
}

bool SaveRuleFile(const VekXMLDocument& doc, const std::string& strPath, CVekSaveResult& result,
                  std::string& strError)
{
    CString strText;
    if (!doc.GetXML(strText))
    {
        strError = "cannot save " + strPath + ": the document is empty";
        return false;
    }
    const std::string strBytes = ToUtf8(strText);
    // Whatever went into the document, what comes out must read back.
    std::string strProblem;
    if (!CheckWellFormedXml(strBytes, g_RuleFileLimits, strProblem))
    {
        strError = "cannot save " + strPath + ": the document would not be well-formed XML (" +
                   strProblem + "); nothing written";
        return false;
    }
    return VekSaveFileSafely(strPath, strBytes, result, strError, &WrittenFileObserver());
}
