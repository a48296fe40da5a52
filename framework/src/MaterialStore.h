// IMaterialStore: where the material database keeps its groups, grades,
// process assignments and settings. The database object (MaterialDatabase.h)
// decides what may be done and keeps the journals; a store only keeps data.
// SQLite is the one store today; a database server would be a second one
// (docs/material-database.md).
//
// Every operation that changes something is one transaction: it happens
// whole or not at all. Names are compared exactly.
#pragma once

#include "afxstr.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vek_db
{
struct GradeRow
{
    int64_t nId = 0;
    CString strName;
    bool bCatalogue = false; // shipped with the catalogue (protected)
};

// Everything a removal took away, so that it can be put back as it was.
struct RemovedGrade
{
    int64_t nGroupId = 0;
    CString strGroup;
    GradeRow grade;
    // The group's process assignments (process, position) at the time of the
    // removal; used when the group must be made again.
    std::vector<std::pair<CString, int64_t>> vecProcesses;
};

enum class StoreResult
{
    Done,
    Exists,    // add, restore: the grade is there already
    NotFound,  // remove: no such grade (or not the row asked for); assign: no such group
    Protected, // remove: a catalogue grade
    Failed,    // the file could not be read or written; LastError says why
};

class IMaterialStore
{
public:
    virtual ~IMaterialStore() = default;

    // Reads: false (outputs empty) when the file cannot be read.
    virtual bool ListGroups(std::vector<CString>& vecGroups) = 0;
    // The group's grades in their order; empty for an unknown group.
    virtual bool ListGrades(const CString& strGroup, std::vector<GradeRow>& vecGrades) = 0;
    // The names of the group's grades in their order; empty for an unknown group. Cheaper than
    // ListGrades: the names alone come from the index of names within groups.
    virtual bool ListGradeNames(const CString& strGroup, std::vector<CString>& vecNames) = 0;
    // The one grade of the group with exactly this name, by index: bFound says whether there is
    // one, and row receives it then.
    virtual bool FindGrade(const CString& strGroup, const CString& strGrade, GradeRow& row,
                           bool& bFound) = 0;
    // Every (group, grade), groups in order, grades in order within each.
    virtual bool ListAllGrades(std::vector<std::pair<CString, CString>>& vecPairs) = 0;
    // The groups assigned to the process, in their assigned order.
    virtual bool ListProcessGroups(const CString& strProcess, std::vector<CString>& vecGroups) = 0;
    // The setting's value, or strDefault when it is not stored.
    virtual bool GetSetting(const char* pszName, const std::string& strDefault,
                            std::string& strValue) = 0;

    // Adds a grade (creating the group when missing); nId receives its row id.
    virtual StoreResult AddGrade(const CString& strGroup, const CString& strGrade,
                                 int64_t& nId) = 0;
    // Removes the grade, and its group when it was the last one. With nOnlyId
    // non-zero only that row is removed; with bKeepCatalogue a catalogue grade
    // is refused. removed receives what went.
    virtual StoreResult RemoveGrade(const CString& strGroup, const CString& strGrade,
                                    int64_t nOnlyId, bool bKeepCatalogue,
                                    RemovedGrade& removed) = 0;
    // Puts a removed grade back with its row ids, making its group again (with
    // its process assignments) when the group is gone.
    virtual StoreResult RestoreGrade(const RemovedGrade& removed) = 0;
    // Replaces the process's groups with vecGroups, in this order.
    virtual StoreResult SetProcessGroups(const CString& strProcess,
                                         const std::vector<CString>& vecGroups) = 0;
    virtual StoreResult SetSetting(const char* pszName, const std::string& strValue) = 0;

    // How long an operation waits for another writer before it fails.
    virtual void SetBusyTimeout(int nMilliseconds) = 0;

    // Why the last failed operation failed, one sentence.
    virtual const std::string& LastError() const = 0;
    virtual const std::string& GetPath() const = 0;
};
} // namespace vek_db
