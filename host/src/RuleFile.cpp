#include "RuleFile.h"

#include "HostText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

namespace
{
const wchar_t kRootName[] = L"VekRuleFile";
const wchar_t kVersionAttribute[] = L"FormatVersion";
const wchar_t kGroupName[] = L"Rules";
const wchar_t kUnitAttribute[] = L"Unit";

// Whole decimal numbers only: a version we cannot read exactly is not one we understand.
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
    // The framework's loader says only "no"; find out first whether the file is there at all.
    FILE* pFile = std::fopen(strPath.c_str(), "rb");
    if (pFile == nullptr)
    {
        strError = strPath + ": " + std::strerror(errno);
        return false;
    }
    std::fclose(pFile);
    struct stat info = {};
    if (stat(strPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
    {
        strError = strPath + ": is a directory";
        return false;
    }
    if (!doc.Load(FromUtf8(strPath)))
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

int GetGroupUnit(VekXMLNode* pGroup)
{
    CString strUnit;
    if (!pGroup->GetAttributeValue(kUnitAttribute, strUnit))
        return 0;
    return static_cast<int>(std::wcstol(strUnit, nullptr, 10));
}

void SetGroupUnit(VekXMLNode* pGroup, int nUnit)
{
    CString strUnit;
    strUnit.Format(L"%d", nUnit);
    pGroup->AddAttribute(kUnitAttribute, strUnit);
}

bool SaveRuleFile(const VekXMLDocument& doc, const std::string& strPath, std::string& strError)
{
    // VekXMLDocument::Save writes a temporary file beside the target and renames it.
    errno = 0;
    if (!doc.Save(FromUtf8(strPath)))
    {
        const int nError = errno;
        strError = "cannot save " + strPath +
                   (nError ? std::string(": ") + std::strerror(nError) : std::string());
        return false;
    }
    return true;
}
