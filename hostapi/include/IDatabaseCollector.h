// IDatabaseCollector: the host's material database as rules modules see it.
// A database holds material groups, each with material grades; both are plain
// names, stored exactly as given and compared case-sensitively ("Steel" and
// "steel" are two groups). Groups are listed in the order they were created,
// grades within a group likewise.
#pragma once

#include "afxstr.h"

#include <list>
#include <map>
#include <utility>
#include <vector>

// (group name, grade name), the shape of the grade lists and of the journals
// that a caller keeps of its own additions and deletions.
typedef std::vector<std::pair<CString, CString>> VekGroupGradePairs;

// Modules call the database only through the virtual operations below, by
// their position in the table of virtual functions: never insert, remove or
// reorder one; new operations go at the end. The trailing integer of the
// first nine is reserved: pass 0.
//
// The interface belongs to the framework (reached through
// vek_db::VEKDataHelper); callers never delete it.
class IDatabaseCollector
{
public:
    // Non-zero when the group holds the grade (exact names). 0 otherwise, also
    // when the database cannot be read.
    virtual int IsGradeInGroup(const CString& strGrade, const CString& strGroup, int nReserved) = 0;

    // Replaces vecPairs with every (group, grade) of the database: groups in
    // their order, each group's grades in theirs. 0 on success, -1 when the
    // database cannot be read (vecPairs is then empty).
    virtual int GetGroupGradePairs(VekGroupGradePairs& vecPairs, int nReserved) = 0;

    // Adds the grade to the group, creating the group when it does not exist.
    // 5: the group holds the grade already (nothing changes); -1: refused or
    // failed (nothing changes; GetLastMessage of vek_db::IMaterialDatabase says
    // why); 0: added, after which GetMaterialGroups lists the group and
    // GetGradesOfGroup the grade.
    virtual int AddGrade(LPCWSTR pszGroup, LPCWSTR pszGrade, int nReserved) = 0;

    // Deletes the grade from the group; a group whose last grade goes is
    // deleted with it. 0: deleted; -1: no such grade, a grade CanDeleteGrade
    // protects, or a failure (nothing changes).
    virtual int DeleteGrade(LPCWSTR pszGroup, LPCWSTR pszGrade, int nReserved) = 0;

    // Takes back additions this database object made, listed as the caller
    // journalled them. A pair that is no longer there, or was not added
    // through this object, is skipped, so a repeated call changes nothing.
    virtual void RevertAddedGrades(VekGroupGradePairs& vecAdded, int nReserved) = 0;

    // Puts back grades this database object deleted, as they were: same
    // group, same place in the lists, same protection. Deletions of grades
    // that RevertAddedGrades has taken back are not restored; a pair that is
    // present again is skipped.
    virtual void RevertDeletedGrades(VekGroupGradePairs& vecDeleted, int nReserved) = 0;

    // Replaces vecGroups with every group name in creation order. The number
    // of groups, or -1 when the database cannot be read (vecGroups empty).
    virtual int GetMaterialGroups(std::vector<CString>& vecGroups, int nReserved) = 0;

    // The group's grade names joined by ";" (no separator after the last);
    // empty for an unknown group or when the database cannot be read.
    virtual void GetGradesOfGroup(LPCWSTR pszGroup, CString& strGrades, int nReserved) = 0;

    // Replaces mapGroups with the groups assigned to the named process, each
    // with its grades in their order. Empty for an unknown process.
    virtual void GetProcessMaterialGroups(const CString& strProcess,
                                          std::map<CString, std::list<CString>>& mapGroups) = 0;

    // Non-zero when the database's setting says that material groups are
    // assigned per process; 0 otherwise (the setting is off by default).
    virtual int UsesProcessMaterialGroups() = 0;

    // Non-zero when DeleteGrade may delete the grade, or, for an empty grade
    // name, every grade of the group. Grades of the shipped catalogue are
    // protected (0); grades that users added may be deleted. 0 for a grade or
    // group that does not exist.
    virtual int CanDeleteGrade(const CString& strGrade, const CString& strGroup, int nReserved) = 0;

protected:
    ~IDatabaseCollector() = default;
};
