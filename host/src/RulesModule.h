// One rules module loaded by the host, reached only through its seven exports.
#pragma once

#include <VekRulesModuleExports.h>
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
    std::string m_strPath;
    void* m_hModule = nullptr;
    VekRulesModuleExports m_exports;
};
