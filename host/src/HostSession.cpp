#include "HostSession.h"

#include "HostText.h"

#include <CLocationHelper.h>
#include <vekfilename.h>

CHostSession::CHostSession()
{
    VekXMLDocument::SetCurrent(&m_doc);
}

CHostSession::~CHostSession()
{
    for (COwnedRule& owned : m_vecRules)
        owned.pModule->DeleteRule(owned.pRule);
    m_vecRules.clear();
    for (auto& pModule : m_vecModules)
        pModule->SetXMLDoc(nullptr);
    VekXMLDocument::SetCurrent(nullptr);
    m_vecModules.clear();
}

bool CHostSession::LoadDatabaseLibrary(const std::string& strPath, std::string& strError)
{
    if (m_database.Load(strPath, strError))
        return true;
    m_strDatabaseError = strError;
    return false;
}

bool CHostSession::LoadModules(const std::vector<std::string>& vecPaths, std::string& strError)
{
    CStringList lstDatabases;
    if (m_database.IsLoaded())
        lstDatabases.AddTail(CDatabaseLibrary::FileName());
    for (const std::string& strPath : vecPaths)
    {
        std::unique_ptr<CRulesModule> pModule(new CRulesModule);
        if (!pModule->Load(strPath, strError))
            return false;
        pModule->SetXMLDoc(&m_doc);
        pModule->SetDBModuleList(lstDatabases);
        // A module without its resources has no texts, and writes rules with
        // empty names that no module reads back.
        if (pModule->GetModuleName().IsEmpty())
        {
            strError = MissingResourcesMessage(strPath);
            return false;
        }
        m_vecModules.push_back(std::move(pModule));
    }
    return true;
}

std::string CHostSession::MissingResourcesMessage(const std::string& strModule)
{
    const CString strLocalized = CLocationHelper::GetLocalizedResPath();
    const CString strDefault = CLocationHelper::GetDefaultResPath();
    // Folder names as the system has them, whatever their encoding.
    std::string strFolders = VekFileNameFromWide(strLocalized.GetString());
    if (strDefault != strLocalized)
        strFolders += " or " + VekFileNameFromWide(strDefault.GetString());
    return "module " + strModule + " cannot find its resource library (looked in " + strFolders +
           "; VEK_HOME sets the installation folder)";
}

std::vector<CVekRule*> CHostSession::NewRules()
{
    std::vector<CVekRule*> vecRules;
    for (auto& pModule : m_vecModules)
    {
        std::vector<CVekRule*> vecModuleRules = NewRules(*pModule);
        vecRules.insert(vecRules.end(), vecModuleRules.begin(), vecModuleRules.end());
    }
    return vecRules;
}

std::vector<CVekRule*> CHostSession::NewRules(CRulesModule& module)
{
    VekArray<CVekRule*> arrRules;
    module.GetAllRules(arrRules);
    std::vector<CVekRule*> vecRules;
    for (int i = 0; i < arrRules.GetSize(); ++i)
    {
        if (arrRules[i] == nullptr)
            continue;
        m_vecRules.push_back({arrRules[i], &module});
        vecRules.push_back(arrRules[i]);
    }
    return vecRules;
}

CVekRule* CHostSession::ReadRule(VekXMLNode* pElement)
{
    CVekRule* pChosen = nullptr;
    for (auto& pModule : m_vecModules)
    {
        CVekRule* pRule = pModule->GetRule(pElement);
        if (pRule == nullptr)
            continue;
        if (pChosen == nullptr)
        {
            pChosen = pRule;
            m_vecRules.push_back({pRule, pModule.get()});
            continue;
        }
        CString strName;
        pElement->GetAttributeValue(L"Name", strName);
        ReportWarning("rule \"" + ToUtf8(strName) + "\" is also accepted by " + pModule->GetPath() +
                      "; the first module's rule is used");
        pModule->DeleteRule(pRule);
    }
    return pChosen;
}
