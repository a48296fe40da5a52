#include "MaterialDatabase.h"

#include "SqliteMaterialStore.h"
#include "VekXMLText.h"

#include <algorithm>

namespace vek_db
{
namespace
{
const char kUsesProcessGroups[] = "uses_process_material_groups";
const int kMaxNameLength = 255;

std::string Quoted(const CString& str)
{
    return "\"" + vek_xml::ToUtf8(str) + "\"";
}

// Counts how often each pair occurs in the journal, keeping the order of first appearance.
std::vector<std::pair<std::pair<CString, CString>, size_t>> CountPairs(
    const VekGroupGradePairs& vecJournal)
{
    std::vector<std::pair<std::pair<CString, CString>, size_t>> vecCounts;
    for (const auto& pair : vecJournal)
    {
        auto it = std::find_if(vecCounts.begin(), vecCounts.end(),
                               [&](const auto& count) { return count.first == pair; });
        if (it == vecCounts.end())
            vecCounts.emplace_back(pair, 1);
        else
            ++it->second;
    }
    return vecCounts;
}
} // namespace

IMaterialDatabase::~IMaterialDatabase() = default;

CMaterialDatabase::CMaterialDatabase(std::unique_ptr<IMaterialStore> pStore)
    : m_pStore(std::move(pStore))
{
}

void CMaterialDatabase::SetMessage(const std::string& strUtf8)
{
    m_strLastMessage = vek_xml::FromUtf8(strUtf8.c_str());
}

void CMaterialDatabase::StoreFailed()
{
    SetMessage(m_pStore->LastError());
}

bool CMaterialDatabase::CheckName(const CString& strName, const char* pszWhat)
{
    std::string strProblem;
    if (strName.IsEmpty())
        strProblem = "must not be empty";
    else if (strName.GetLength() > kMaxNameLength)
        strProblem = "is longer than " + std::to_string(kMaxNameLength) + " characters";
    else if (strName.Find(L';') >= 0)
        strProblem = "must not contain \";\", which separates grade names";
    else
    {
        for (int i = 0; i < strName.GetLength(); ++i)
        {
            const wchar_t ch = strName[i];
            if (ch < 0x20 || ch == 0x7F)
                strProblem = "must not contain control characters such as line breaks";
        }
    }
    if (strProblem.empty())
        return true;
    SetMessage(std::string("a material ") + pszWhat + " name " + strProblem);
    return false;
}

int CMaterialDatabase::IsGradeInGroup(const CString& strGrade, const CString& strGroup, int)
{
    GradeRow row;
    bool bFound = false;
    if (!m_pStore->FindGrade(strGroup, strGrade, row, bFound))
    {
        StoreFailed();
        return 0;
    }
    return bFound ? 1 : 0;
}

int CMaterialDatabase::GetGroupGradePairs(VekGroupGradePairs& vecPairs, int)
{
    if (m_pStore->ListAllGrades(vecPairs))
        return 0;
    StoreFailed();
    return -1;
}

int CMaterialDatabase::AddGrade(LPCWSTR pszGroup, LPCWSTR pszGrade, int)
{
    const CString strGroup(pszGroup);
    const CString strGrade(pszGrade);
    if (!CheckName(strGroup, "group") || !CheckName(strGrade, "grade"))
        return -1;
    CEdit edit = {true, strGroup, strGrade, CEdit::Active, {}};
    switch (m_pStore->AddGrade(strGroup, strGrade, edit.removed.grade.nId))
    {
    case StoreResult::Done:
        m_vecEdits.push_back(std::move(edit));
        return 0;
    case StoreResult::Exists:
        SetMessage("the material group " + Quoted(strGroup) + " holds the grade " +
                   Quoted(strGrade) + " already");
        return 5;
    default:
        StoreFailed();
        return -1;
    }
}

int CMaterialDatabase::DeleteGrade(LPCWSTR pszGroup, LPCWSTR pszGrade, int)
{
    const CString strGroup(pszGroup);
    const CString strGrade(pszGrade);
    CEdit edit = {false, strGroup, strGrade, CEdit::Active, {}};
    switch (m_pStore->RemoveGrade(strGroup, strGrade, 0, true, edit.removed))
    {
    case StoreResult::Done:
        m_vecEdits.push_back(std::move(edit));
        return 0;
    case StoreResult::NotFound:
        SetMessage("the material group " + Quoted(strGroup) + " has no grade " + Quoted(strGrade));
        return -1;
    case StoreResult::Protected:
        SetMessage("the grade " + Quoted(strGrade) + " of " + Quoted(strGroup) +
                   " belongs to the shipped catalogue and cannot be deleted");
        return -1;
    default:
        StoreFailed();
        return -1;
    }
}

std::vector<CMaterialDatabase::CEdit*> CMaterialDatabase::LatestEdits(bool bAddition,
                                                                      const CString& strGroup,
                                                                      const CString& strGrade,
                                                                      size_t nCount)
{
    std::vector<CEdit*> vecEdits;
    for (auto it = m_vecEdits.rbegin(); it != m_vecEdits.rend() && vecEdits.size() < nCount; ++it)
    {
        if (it->bAddition == bAddition && it->strGroup == strGroup && it->strGrade == strGrade)
            vecEdits.push_back(&*it);
    }
    std::reverse(vecEdits.begin(), vecEdits.end());
    return vecEdits;
}

void CMaterialDatabase::RevertAddedGrades(VekGroupGradePairs& vecAdded, int)
{
    for (const auto& count : CountPairs(vecAdded))
    {
        const CString& strGroup = count.first.first;
        const CString& strGrade = count.first.second;
        for (CEdit* pAddition : LatestEdits(true, strGroup, strGrade, count.second))
        {
            if (pAddition->eState != CEdit::Active)
                continue;
            const int64_t nId = pAddition->removed.grade.nId;
            RemovedGrade removed;
            const StoreResult eResult =
                m_pStore->RemoveGrade(strGroup, strGrade, nId, false, removed);
            if (eResult == StoreResult::Failed)
            {
                StoreFailed();
                continue; // still active: a later call may succeed
            }
            pAddition->eState = CEdit::TakenBack;
            // A grade added and then deleted again: its deletion goes with its addition.
            for (CEdit& edit : m_vecEdits)
            {
                if (!edit.bAddition && edit.removed.grade.nId == nId)
                    edit.eState = CEdit::TakenBack;
            }
        }
    }
}

void CMaterialDatabase::RevertDeletedGrades(VekGroupGradePairs& vecDeleted, int)
{
    std::vector<CEdit*> vecRestore;
    for (const auto& count : CountPairs(vecDeleted))
    {
        for (CEdit* pDeletion :
             LatestEdits(false, count.first.first, count.first.second, count.second))
        {
            if (pDeletion->eState == CEdit::Active)
                vecRestore.push_back(pDeletion);
        }
    }
    // Oldest first (their order in m_vecEdits), so that a group comes back from
    // the snapshot taken while it still existed.
    std::sort(vecRestore.begin(), vecRestore.end());
    for (CEdit* pDeletion : vecRestore)
    {
        const StoreResult eResult = m_pStore->RestoreGrade(pDeletion->removed);
        if (eResult == StoreResult::Failed)
        {
            StoreFailed();
            continue;
        }
        pDeletion->eState = CEdit::TakenBack;
    }
}

int CMaterialDatabase::GetMaterialGroups(std::vector<CString>& vecGroups, int)
{
    if (m_pStore->ListGroups(vecGroups))
        return static_cast<int>(vecGroups.size());
    StoreFailed();
    return -1;
}

void CMaterialDatabase::GetGradesOfGroup(LPCWSTR pszGroup, CString& strGrades, int)
{
    strGrades.Empty();
    std::vector<CString> vecNames;
    if (!m_pStore->ListGradeNames(CString(pszGroup), vecNames))
    {
        StoreFailed();
        return;
    }
    int nLength = 0;
    for (const CString& strName : vecNames)
        nLength += strName.GetLength() + 1;
    wchar_t* pOut = strGrades.GetBufferSetLength(nLength);
    for (const CString& strName : vecNames)
    {
        std::copy_n(static_cast<LPCWSTR>(strName), strName.GetLength(), pOut);
        pOut += strName.GetLength();
        *pOut++ = L';';
    }
    // No ";" after the last name.
    strGrades.ReleaseBuffer(nLength > 0 ? nLength - 1 : 0);
}

void CMaterialDatabase::GetProcessMaterialGroups(const CString& strProcess,
                                                 std::map<CString, std::list<CString>>& mapGroups)
{
    mapGroups.clear();
    std::vector<CString> vecGroups;
    if (!m_pStore->ListProcessGroups(strProcess, vecGroups))
    {
        StoreFailed();
        return;
    }
    for (const CString& strGroup : vecGroups)
    {
        std::vector<CString> vecNames;
        if (!m_pStore->ListGradeNames(strGroup, vecNames))
        {
            StoreFailed();
            mapGroups.clear();
            return;
        }
        mapGroups[strGroup].assign(vecNames.begin(), vecNames.end());
    }
}

int CMaterialDatabase::UsesProcessMaterialGroups()
{
    std::string strValue;
    if (!m_pStore->GetSetting(kUsesProcessGroups, "0", strValue))
    {
        StoreFailed();
        return 0;
    }
    return strValue == "1" ? 1 : 0;
}

int CMaterialDatabase::CanDeleteGrade(const CString& strGrade, const CString& strGroup, int)
{
    if (!strGrade.IsEmpty())
    {
        GradeRow row;
        bool bFound = false;
        if (!m_pStore->FindGrade(strGroup, strGrade, row, bFound))
        {
            StoreFailed();
            return 0;
        }
        return bFound && !row.bCatalogue ? 1 : 0;
    }
    // A whole group goes grade by grade, so every grade must be deletable.
    std::vector<GradeRow> vecGrades;
    if (!m_pStore->ListGrades(strGroup, vecGrades))
    {
        StoreFailed();
        return 0;
    }
    const bool bAnyProtected = std::any_of(vecGrades.begin(), vecGrades.end(),
                                           [](const GradeRow& row) { return row.bCatalogue; });
    return !vecGrades.empty() && !bAnyProtected ? 1 : 0;
}

bool CMaterialDatabase::SetProcessMaterialGroups(const CString& strProcess,
                                                 const std::vector<CString>& vecGroups)
{
    if (!CheckName(strProcess, "process"))
        return false;
    if (m_pStore->SetProcessGroups(strProcess, vecGroups) == StoreResult::Done)
        return true;
    StoreFailed();
    return false;
}

bool CMaterialDatabase::SetUsesProcessMaterialGroups(bool bUses)
{
    if (m_pStore->SetSetting(kUsesProcessGroups, bUses ? "1" : "0") == StoreResult::Done)
        return true;
    StoreFailed();
    return false;
}

std::unique_ptr<IMaterialDatabase> OpenMaterialDatabase(const std::string& strPath, OpenMode eMode,
                                                        std::string& strError)
{
    const StoreOpenMode eStoreMode =
        eMode == OpenMode::OpenOrCreate ? StoreOpenMode::OpenOrCreate : StoreOpenMode::CreateNew;
    std::unique_ptr<IMaterialStore> pStore =
        OpenSqliteMaterialStore(strPath, eStoreMode, eMode != OpenMode::CreateEmpty, strError);
    if (!pStore)
        return nullptr;
    return std::unique_ptr<IMaterialDatabase>(new CMaterialDatabase(std::move(pStore)));
}
} // namespace vek_db
