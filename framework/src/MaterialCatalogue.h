// The catalogue a new material database starts with: casting material groups
// with grade designations of public standards, the groups that other kinds of
// part use, and the groups assigned to the casting processes.
#pragma once

#include <cstddef>

namespace vek_db
{
struct CatalogueGroup
{
    const wchar_t* pszName;
    const wchar_t* const* ppszGrades; // null-terminated
};

struct CatalogueProcess
{
    const wchar_t* pszProcess;
    const wchar_t* const* ppszGroups; // null-terminated, in assigned order
};

// The groups in the order a new database lists them.
extern const CatalogueGroup g_arrCatalogueGroups[];
extern const size_t g_nCatalogueGroups;

extern const CatalogueProcess g_arrCatalogueProcesses[];
extern const size_t g_nCatalogueProcesses;
} // namespace vek_db
