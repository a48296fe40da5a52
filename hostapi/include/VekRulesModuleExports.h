// The seven functions every rules module exports with C linkage, as the host
// calls them: one pointer type and one export name each, and the host's way of
// looking all seven up in a loaded module.
#pragma once

#include "CVekRule.h"
#include "VekArray.h"
#include "VekXMLDocument.h"
#include "VekXMLNode.h"
#include "afxcoll.h"
#include "afxstr.h"
#include "libloaderapi.h"

#include <type_traits>

// Loads the module's display name into strName.
typedef void (*PFN_GET_MODULE_NAME)(CString& strName);
// Loads the module's one-paragraph summary into strSummary.
typedef void (*PFN_GET_MODULE_SUMMARY)(CString& strSummary);
// Appends one new rule with default settings per rule the module offers; the
// rules belong to the caller, who gives each back through DeleteRule.
typedef void (*PFN_GET_ALL_RULES)(VekArray<CVekRule*>* pRules);
// Builds (*ppRule null) or refills (*ppRule set) a rule from a stored rule
// element; leaves *ppRule alone when the element is another module's.
typedef void (*PFN_GET_RULE)(VekXMLNode* pNode, CVekRule** ppRule);
// Destroys a rule the module made and sets *ppRule to null.
typedef void (*PFN_DELETE_RULE)(CVekRule** ppRule);
// The document into which the module's rules write their elements; not owned.
typedef void (*PFN_SET_XML_DOC)(VekXMLDocument* pDocument);
// The names of the host's database modules; the module keeps a copy.
typedef void (*PFN_SET_DB_MODULE_LIST)(CStringList& lstModules);

// The seven exports of one loaded module, named as the module exports them.
struct VekRulesModuleExports
{
    PFN_GET_MODULE_NAME GetModuleName = nullptr;
    PFN_GET_MODULE_SUMMARY GetModuleSummary = nullptr;
    PFN_GET_ALL_RULES GetAllRules = nullptr;
    PFN_GET_RULE GetRule = nullptr;
    PFN_DELETE_RULE DeleteRule = nullptr;
    PFN_SET_XML_DOC SetXMLDoc = nullptr;
    PFN_SET_DB_MODULE_LIST SetDBModuleList = nullptr;
};

// Looks the seven exports up among the module's own symbols (hModule from
// LoadLibraryW or dlopen: they are the same handles). Returns null when all
// seven were found; otherwise the name of the first one missing, with every
// pointer of exports left null.
inline const char* VekResolveRulesModuleExports(HMODULE hModule, VekRulesModuleExports& exports)
{
    VekRulesModuleExports found;
    const char* pszMissing = nullptr;
    auto resolve = [&](const char* pszName, auto& pfn) {
        pfn = reinterpret_cast<std::remove_reference_t<decltype(pfn)>>(
            GetProcAddress(hModule, pszName));
        if (pfn == nullptr && pszMissing == nullptr)
            pszMissing = pszName;
    };
    resolve("GetModuleName", found.GetModuleName);
    resolve("GetModuleSummary", found.GetModuleSummary);
    resolve("GetAllRules", found.GetAllRules);
    resolve("GetRule", found.GetRule);
    resolve("DeleteRule", found.DeleteRule);
    resolve("SetXMLDoc", found.SetXMLDoc);
    resolve("SetDBModuleList", found.SetDBModuleList);
    exports = pszMissing ? VekRulesModuleExports() : found;
    return pszMissing;
}

// Written once after a module's definitions of the seven exports: compilation
// fails when one of them does not have the type the host calls it through.
#define VEK_CHECK_RULES_MODULE_EXPORTS()                                                           \
    static_assert(std::is_same<decltype(&GetModuleName), PFN_GET_MODULE_NAME>::value,              \
                  "GetModuleName");                                                                \
    static_assert(std::is_same<decltype(&GetModuleSummary), PFN_GET_MODULE_SUMMARY>::value,        \
                  "GetModuleSummary");                                                             \
    static_assert(std::is_same<decltype(&GetAllRules), PFN_GET_ALL_RULES>::value, "GetAllRules");  \
    static_assert(std::is_same<decltype(&GetRule), PFN_GET_RULE>::value, "GetRule");               \
    static_assert(std::is_same<decltype(&DeleteRule), PFN_DELETE_RULE>::value, "DeleteRule");      \
    static_assert(std::is_same<decltype(&SetXMLDoc), PFN_SET_XML_DOC>::value, "SetXMLDoc");        \
    static_assert(std::is_same<decltype(&SetDBModuleList), PFN_SET_DB_MODULE_LIST>::value,         \
                  "SetDBModuleList")
