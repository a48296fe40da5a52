// Loads a rules module the way the host does (dlopen) and resolves its seven exports.
#pragma once

#include <afx.h>

#include <VekRulesModuleExports.h>

#include <dlfcn.h>
#include <stdexcept>
#include <string>

// The exports are called as members: module.GetRule(pNode, &pRule).
class RulesModule : public VekRulesModuleExports
{
public:
    explicit RulesModule(const std::string& path = std::string(VEK_BIN_DIR) +
                                                   "/VEKInvestmentCastRulesu.so")
    {
        m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!m_handle)
            throw std::runtime_error(dlerror());
        if (const char* pszMissing =
                VekResolveRulesModuleExports(static_cast<HMODULE>(m_handle), *this))
        {
            dlclose(m_handle);
            throw std::runtime_error(std::string("missing export ") + pszMissing);
        }
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

    // A further symbol of the module, such as a test probe's; throws when it is missing.
    template <class Fn> Fn Resolve(const char* name)
    {
        void* p = dlsym(m_handle, name);
        if (!p)
            throw std::runtime_error(std::string("missing export ") + name);
        return reinterpret_cast<Fn>(p);
    }

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
