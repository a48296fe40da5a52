// CMaterialDatabase: the material database object behind IDatabaseCollector.
// It checks names, applies the deletion policy (catalogue grades are
// protected), answers in the interface's codes, and remembers the additions
// and deletions it made so that a caller's journal can be taken back exactly.
// The data itself lives in an IMaterialStore.
#pragma once

#include "MaterialStore.h"
#include "VekMaterialDatabase.h"

#include <memory>
#include <vector>

namespace vek_db
{
class CMaterialDatabase final : public IMaterialDatabase
{
public:
    explicit CMaterialDatabase(std::unique_ptr<IMaterialStore> pStore);

    int IsGradeInGroup(const CString& strGrade, const CString& strGroup, int nReserved) override;
    int GetGroupGradePairs(VekGroupGradePairs& vecPairs, int nReserved) override;
    int AddGrade(LPCWSTR pszGroup, LPCWSTR pszGrade, int nReserved) override;
    int DeleteGrade(LPCWSTR pszGroup, LPCWSTR pszGrade, int nReserved) override;
    void RevertAddedGrades(VekGroupGradePairs& vecAdded, int nReserved) override;
    void RevertDeletedGrades(VekGroupGradePairs& vecDeleted, int nReserved) override;
    int GetMaterialGroups(std::vector<CString>& vecGroups, int nReserved) override;
    void GetGradesOfGroup(LPCWSTR pszGroup, CString& strGrades, int nReserved) override;
    void GetProcessMaterialGroups(const CString& strProcess,
                                  std::map<CString, std::list<CString>>& mapGroups) override;
    int UsesProcessMaterialGroups() override;
    int CanDeleteGrade(const CString& strGrade, const CString& strGroup, int nReserved) override;

    CString GetLastMessage() const override { return m_strLastMessage; }
    bool SetProcessMaterialGroups(const CString& strProcess,
                                  const std::vector<CString>& vecGroups) override;
    bool SetUsesProcessMaterialGroups(bool bUses) override;
    std::string GetPath() const override { return m_pStore->GetPath(); }
    void SetBusyTimeout(int nMilliseconds) override { m_pStore->SetBusyTimeout(nMilliseconds); }

private:
    // Names must be usable everywhere a grade list goes: not empty, no ";"
    // (it joins grade names), no control characters, at most 255 characters.
    bool CheckName(const CString& strName, const char* pszWhat);
    void SetMessage(const std::string& strUtf8);
    void StoreFailed();

    std::unique_ptr<IMaterialStore> m_pStore;
    CString m_strLastMessage;
    // Every addition and deletion this object made, oldest first: what a
    // caller's journal is matched against when it is taken back. A journal
    // that names a pair k times stands for the k latest edits of that pair.
    struct CEdit
    {
        enum EState
        {
            Active,
            TakenBack, // reverted, or a deletion of a grade whose addition was reverted
        };
        bool bAddition;
        CString strGroup;
        CString strGrade;
        EState eState;
        RemovedGrade removed; // deletions: what went; additions: grade.nId only
    };

    // The latest nCount edits of the kind for the pair, oldest first.
    std::vector<CEdit*> LatestEdits(bool bAddition, const CString& strGroup,
                                    const CString& strGrade, size_t nCount);

    std::vector<CEdit> m_vecEdits;
};
} // namespace vek_db
