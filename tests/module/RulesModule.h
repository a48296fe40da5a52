// Loads a rules module the way the host does (dlopen) and resolves its seven exports.
#pragma once

#include <afx.h>

#include <CVekRule.h>
#include <VekArray.h>
#include <VekXMLDocument.h>
#include <VekXMLNode.h>

#include <dlfcn.h>
#include <stdexcept>
#include <string>

class RulesModule
{
public:
    using NameFn = void (*)(CString&);
    using AllRulesFn = void (*)(VekArray<CVekRule*>*);
    using GetRuleFn = void (*)(VekXMLNode*, CVekRule**);
    using DeleteRuleFn = void (*)(CVekRule**);
    using SetXMLDocFn = void (*)(VekXMLDocument*);
    using SetDBModuleListFn = void (*)(CStringList&);

    explicit RulesModule(const std::string& path = std::string(VEK_BIN_DIR) +
                                                   "/VEKInvestmentCastRulesu.so")
    {
        m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!m_handle)
            throw std::runtime_error(dlerror());
        GetModuleName = Resolve<NameFn>("GetModuleName");
        GetModuleSummary = Resolve<NameFn>("GetModuleSummary");
        GetAllRules = Resolve<AllRulesFn>("GetAllRules");
        GetRule = Resolve<GetRuleFn>("GetRule");
        DeleteRule = Resolve<DeleteRuleFn>("DeleteRule");
        SetXMLDoc = Resolve<SetXMLDocFn>("SetXMLDoc");
        SetDBModuleList = Resolve<SetDBModuleListFn>("SetDBModuleList");
    }
    ~RulesModule()
    {
        if (m_handle)
            dlclose(m_handle);
    }
    RulesModule(const RulesModule&) = delete;
    RulesModule& operator=(const RulesModule&) = delete;

    // A new default rule from GetAllRules; the caller gives it back through DeleteRule.
    CVekRule* NewRule()
    {
        VekArray<CVekRule*> arrRules;
        GetAllRules(&arrRules);
        return arrRules.GetSize() == 1 ? arrRules[0] : nullptr;
    }

    template <class Fn> Fn Resolve(const char* name)
    {
        void* p = dlsym(m_handle, name);
        if (!p)
            throw std::runtime_error(std::string("missing export ") + name);
        return reinterpret_cast<Fn>(p);
    }

    NameFn GetModuleName = nullptr;
    NameFn GetModuleSummary = nullptr;
    AllRulesFn GetAllRules = nullptr;
    GetRuleFn GetRule = nullptr;
    DeleteRuleFn DeleteRule = nullptr;
    SetXMLDocFn SetXMLDoc = nullptr;
    SetDBModuleListFn SetDBModuleList = nullptr;

private:
    void* m_handle = nullptr;
};

// Loads a resource library of the build by language, for reading expected texts.
inline HINSTANCE LoadBuiltResources(const wchar_t* pszLanguage)
{
    CString strPath;
    strPath.Format(L"%S/res/%s/VEKInvestmentCastRulesResu.dll", VEK_BIN_DIR, pszLanguage);
    return LoadLibraryW(strPath);
}

inline CString LoadText(HINSTANCE hResources, UINT nID)
{
    CString strText;
    strText.LoadString(hResources, nID);
    return strText;
}
