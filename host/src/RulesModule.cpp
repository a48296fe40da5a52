#include "RulesModule.h"

#include <dlfcn.h>

namespace
{
template <class PFN>
bool Resolve(void* hModule, const char* pszName, PFN& pfn, std::string& strMissing)
{
    pfn = reinterpret_cast<PFN>(dlsym(hModule, pszName));
    if (pfn == nullptr && strMissing.empty())
        strMissing = pszName;
    return pfn != nullptr;
}
} // namespace

CRulesModule::~CRulesModule()
{
    if (m_hModule != nullptr)
        dlclose(m_hModule);
}

bool CRulesModule::Load(const std::string& strPath, std::string& strError)
{
    m_strPath = strPath;
    // A bare file name means the file in the current folder, not a search of the
    // library path. Local binding: two modules export the same seven names.
    const std::string strOpen = strPath.find('/') == std::string::npos ? "./" + strPath : strPath;
    void* hModule = dlopen(strOpen.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (hModule == nullptr)
    {
        const char* pszReason = dlerror();
        strError =
            "cannot load module " + strPath + ": " + (pszReason ? pszReason : "unknown error");
        return false;
    }
    std::string strMissing;
    Resolve(hModule, "GetModuleName", m_pfnGetModuleName, strMissing);
    Resolve(hModule, "GetModuleSummary", m_pfnGetModuleSummary, strMissing);
    Resolve(hModule, "GetAllRules", m_pfnGetAllRules, strMissing);
    Resolve(hModule, "GetRule", m_pfnGetRule, strMissing);
    Resolve(hModule, "DeleteRule", m_pfnDeleteRule, strMissing);
    Resolve(hModule, "SetXMLDoc", m_pfnSetXMLDoc, strMissing);
    Resolve(hModule, "SetDBModuleList", m_pfnSetDBModuleList, strMissing);
    if (!strMissing.empty())
    {
        strError = strPath + " is not a rules module: it does not export " + strMissing;
        dlclose(hModule);
        return false;
    }
    m_hModule = hModule;
    return true;
}

CString CRulesModule::GetModuleName()
{
    CString strName;
    m_pfnGetModuleName(strName);
    return strName;
}

CString CRulesModule::GetModuleSummary()
{
    CString strSummary;
    m_pfnGetModuleSummary(strSummary);
    return strSummary;
}

void CRulesModule::GetAllRules(VekArray<CVekRule*>& arrRules)
{
    m_pfnGetAllRules(&arrRules);
}

CVekRule* CRulesModule::GetRule(VekXMLNode* pNode)
{
    CVekRule* pRule = nullptr;
    m_pfnGetRule(pNode, &pRule);
    return pRule;
}

void CRulesModule::DeleteRule(CVekRule* pRule)
{
    m_pfnDeleteRule(&pRule);
}

void CRulesModule::SetXMLDoc(VekXMLDocument* pDocument)
{
    m_pfnSetXMLDoc(pDocument);
}

void CRulesModule::SetDBModuleList(CStringList& lstModules)
{
    m_pfnSetDBModuleList(lstModules);
}
