#include "RulesModule.h"

#include <dlfcn.h>

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
    if (const char* pszMissing =
            VekResolveRulesModuleExports(static_cast<HMODULE>(hModule), m_exports))
    {
        strError = strPath + " is not a rules module: it does not export " + pszMissing;
        dlclose(hModule);
        return false;
    }
    m_hModule = hModule;
    return true;
}

CString CRulesModule::GetModuleName()
{
    CString strName;
    m_exports.GetModuleName(strName);
    return strName;
}

CString CRulesModule::GetModuleSummary()
{
    CString strSummary;
    m_exports.GetModuleSummary(strSummary);
    return strSummary;
}

void CRulesModule::GetAllRules(VekArray<CVekRule*>& arrRules)
{
    m_exports.GetAllRules(&arrRules);
}

CVekRule* CRulesModule::GetRule(VekXMLNode* pNode)
{
    CVekRule* pRule = nullptr;
    m_exports.GetRule(pNode, &pRule);
    return pRule;
}

void CRulesModule::DeleteRule(CVekRule* pRule)
{
    m_exports.DeleteRule(&pRule);
}

void CRulesModule::SetXMLDoc(VekXMLDocument* pDocument)
{
    m_exports.SetXMLDoc(pDocument);
}

void CRulesModule::SetDBModuleList(CStringList& lstModules)
{
    m_exports.SetDBModuleList(lstModules);
}
