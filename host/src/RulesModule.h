// One rules module loaded by the host, reached only through its seven exports.
#pragma once

#include <CVekRule.h>
#include <VekArray.h>
#include <VekXMLDocument.h>
#include <afx.h>

#include <string>

class CRulesModule
{
public:
    CRulesModule() = default;
    CRulesModule(const CRulesModule&) = delete;
    CRulesModule& operator=(const CRulesModule&) = delete;
    // Unloads the module. Every rule it made must have gone back through DeleteRule first.
    ~CRulesModule();

    // Loads the file and resolves all seven exports. False, with a one-line
    // message naming the file in strError, when the file cannot be loaded or
    // lacks an export; the module is then not loaded.
    bool Load(const std::string& strPath, std::string& strError);
    const std::string& GetPath() const { return m_strPath; }

    CString GetModuleName();
    CString GetModuleSummary();
    // Appends the module's default rules to arrRules; they belong to the caller,
    // who gives each back through DeleteRule of this module.
    void GetAllRules(VekArray<CVekRule*>& arrRules);
    // The rule the module builds from a stored rule element, or null when the
    // element is not one of its rules. Ownership as for GetAllRules.
    CVekRule* GetRule(VekXMLNode* pNode);
    void DeleteRule(CVekRule* pRule);
    void SetXMLDoc(VekXMLDocument* pDocument);
    void SetDBModuleList(CStringList& lstModules);

private:
    typedef void (*PFN_GET_TEXT)(CString&);
    typedef void (*PFN_GET_ALL_RULES)(VekArray<CVekRule*>*);
    typedef void (*PFN_GET_RULE)(VekXMLNode*, CVekRule**);
    typedef void (*PFN_DELETE_RULE)(CVekRule**);
    typedef void (*PFN_SET_XML_DOC)(VekXMLDocument*);
    typedef void (*PFN_SET_DB_MODULE_LIST)(CStringList&);

    std::string m_strPath;
    void* m_hModule = nullptr;
    PFN_GET_TEXT m_pfnGetModuleName = nullptr;
    PFN_GET_TEXT m_pfnGetModuleSummary = nullptr;
    PFN_GET_ALL_RULES m_pfnGetAllRules = nullptr;
    PFN_GET_RULE m_pfnGetRule = nullptr;
    PFN_DELETE_RULE m_pfnDeleteRule = nullptr;
    PFN_SET_XML_DOC m_pfnSetXMLDoc = nullptr;
    PFN_SET_DB_MODULE_LIST m_pfnSetDBModuleList = nullptr;
};
