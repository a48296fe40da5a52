// The material database dialog's tree over large databases: 50 groups of 200 and of 2,000
// grades. Times opening the dialog until the tree is filled, and one addition through the add
// button (the database edit, the check against every group, the rebuilt tree, the message),
// best of a few runs, and prints the ratio between the two sizes.
//
// The databases are written straight into a fresh file in one transaction (adding 100,000
// grades one edit at a time would take minutes); that setup is not timed.
//
// Usage: material_tree_bench [--runs N] [GRADES_PER_GROUP...]; by default 5 runs of 200 and
// 2,000 grades per group. One run of one size is what a profiler wants.
#include "CEditMaterialDBDlg.h"

#include <RuleResources.h>
#include <VEKDataHelper.h>
#include <VekMaterialDatabase.h>
#include <resource.h>
#include <vekinput.h>
#include <vekmsgbox.h>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;

const int kGroups = 50;
int g_nRuns = 5;

double Seconds(Clock::time_point tStart, Clock::time_point tEnd)
{
    return std::chrono::duration<double>(tEnd - tStart).count();
}

std::string TempFolder()
{
    const char* pszTmp = std::getenv("TMPDIR");
    std::string strTemplate = std::string(pszTmp ? pszTmp : "/tmp") + "/vekdb-tree-XXXXXX";
    return mkdtemp(&strTemplate[0]) ? strTemplate : std::string();
}

void RemoveDatabase(const std::string& strFolder)
{
    for (const char* pszSuffix : {"", "-wal", "-shm", "-journal"})
        unlink((strFolder + "/materials.db" + pszSuffix).c_str());
    rmdir(strFolder.c_str());
}

bool Exec(sqlite3* pDb, const char* pszSql)
{
    char* pszError = nullptr;
    if (sqlite3_exec(pDb, pszSql, nullptr, nullptr, &pszError) == SQLITE_OK)
        return true;
    std::fprintf(stderr, "%s: %s\n", pszSql, pszError ? pszError : "?");
    sqlite3_free(pszError);
    return false;
}

// An empty database file made by the database itself, then filled in one transaction with
// kGroups groups of nPerGroup users' grades each. The grades of a group are written in a
// scrambled order, in mixed case, so that the tree really has to sort them.
bool WriteDatabase(const std::string& strPath, int nPerGroup)
{
    std::string strError;
    if (!vek_db::OpenMaterialDatabase(strPath, vek_db::OpenMode::CreateEmpty, strError))
    {
        std::fprintf(stderr, "%s\n", strError.c_str());
        return false;
    }
    sqlite3* pDb = nullptr;
    if (sqlite3_open(strPath.c_str(), &pDb) != SQLITE_OK)
    {
        sqlite3_close(pDb);
        return false;
    }
    bool bOk = Exec(pDb, "BEGIN");
    sqlite3_stmt* pGroup = nullptr;
    sqlite3_stmt* pGrade = nullptr;
    bOk = bOk &&
          sqlite3_prepare_v2(pDb, "INSERT INTO material_group(id, name) VALUES(?1, ?2)", -1,
                             &pGroup, nullptr) == SQLITE_OK &&
          sqlite3_prepare_v2(pDb, "INSERT INTO material_grade(group_id, name) VALUES(?1, ?2)", -1,
                             &pGrade, nullptr) == SQLITE_OK;
    const char* const kPrefixes[] = {"alloy ", "Alloy ", "CAST-", "cast-", "Grade "};
    for (int g = 1; bOk && g <= kGroups; ++g)
    {
        const std::string strGroup = "Bench Group " + std::to_string(g);
        sqlite3_bind_int(pGroup, 1, g);
        sqlite3_bind_text(pGroup, 2, strGroup.c_str(), -1, SQLITE_TRANSIENT);
        bOk = sqlite3_step(pGroup) == SQLITE_DONE && sqlite3_reset(pGroup) == SQLITE_OK;
        for (int k = 0; bOk && k < nPerGroup; ++k)
        {
            // 7919 is prime, so k -> k * 7919 mod n visits every number once, out of order.
            const long nKey = (static_cast<long>(k) * 7919) % nPerGroup;
            const std::string strGrade =
                kPrefixes[nKey % 5] + std::to_string(g) + "." + std::to_string(nKey);
            sqlite3_bind_int(pGrade, 1, g);
            sqlite3_bind_text(pGrade, 2, strGrade.c_str(), -1, SQLITE_TRANSIENT);
            bOk = sqlite3_step(pGrade) == SQLITE_DONE && sqlite3_reset(pGrade) == SQLITE_OK;
        }
    }
    sqlite3_finalize(pGroup);
    sqlite3_finalize(pGrade);
    bOk = bOk && Exec(pDb, "COMMIT");
    sqlite3_close(pDb);
    return bOk;
}

struct Figures
{
    double dFill = 1e9; // opening the dialog until the tree is filled
    double dAdd = 1e9;  // one addition through the add button
    size_t nItems = 0;  // items in the tree after the addition
};

void TypeInto(CDialog& dlg, UINT nID, LPCWSTR pszText)
{
    VekInput::Click(dlg.GetDlgItem(nID)->m_hWnd);
    VekInput::KeyDown(VK_END);
    VekInput::Type(pszText);
}

// Best of g_nRuns: each run opens the dialog, adds one grade to the first group, and cancels,
// which takes the addition back.
bool Measure(int nPerGroup, Figures& best)
{
    for (int nRun = 0; nRun < g_nRuns; ++nRun)
    {
        CVekRule rule;
        CEditMaterialDBDlg dlg(nullptr, &rule);
        Clock::time_point tStart = Clock::now();
        bool bAdded = false;
        VekModalHandler oldHandler = VekSetModalHandler([&](CDialog& d) {
            Clock::time_point tShown = Clock::now();
            best.dFill = std::min(best.dFill, Seconds(tStart, tShown));
            auto* pTree = static_cast<CTreeCtrl*>(d.GetDlgItem(IDC_MATERIAL_TREE));
            const UINT nBefore = pTree->GetCount();
            TypeInto(d, IDC_MATERIAL_GROUP, L"Bench Group 1");
            TypeInto(d, IDC_MATERIAL_GRADE, L"Bench Addition");
            Clock::time_point tClick = Clock::now();
            VekInput::Click(d.GetDlgItem(IDC_ADD_GRADE)->m_hWnd);
            Clock::time_point tDone = Clock::now();
            best.dAdd = std::min(best.dAdd, Seconds(tClick, tDone));
            best.nItems = pTree->GetCount();
            bAdded = best.nItems == nBefore + 1;
            VekInput::KeyDown(VK_ESCAPE);
            if (d.IsModalRunning())
                d.EndDialog(IDCANCEL);
        });
        dlg.DoModal();
        VekSetModalHandler(oldHandler);
        CEditMaterialDBDlg::ClearGradeSelection(rule.m_vecMaterialSelection);
        if (!bAdded)
        {
            std::fprintf(stderr, "the addition did not reach the tree (%d grades per group)\n",
                         nPerGroup);
            return false;
        }
    }
    return true;
}

bool RunSize(int nPerGroup, Figures& figures)
{
    const std::string strFolder = TempFolder();
    if (strFolder.empty())
        return false;
    const std::string strPath = strFolder + "/materials.db";
    bool bOk = WriteDatabase(strPath, nPerGroup);
    if (bOk)
    {
        setenv("VEK_MATERIAL_DB", strPath.c_str(), 1);
        vek_db::VEKDataHelper::getInstance().Close();
        // Opening (and checking) the file happens once, before anything is timed.
        bOk = static_cast<IDatabaseCollector*>(vek_db::VEKDataHelper::getInstance()) != nullptr;
        bOk = bOk && Measure(nPerGroup, figures);
        vek_db::VEKDataHelper::getInstance().Close();
        unsetenv("VEK_MATERIAL_DB");
    }
    RemoveDatabase(strFolder);
    return bOk;
}
} // namespace

int main(int argc, char** argv)
{
    std::vector<int> vecSizes;
    for (int i = 1; i < argc; ++i)
    {
        const std::string strArg = argv[i];
        const int nValue = std::atoi(i + 1 < argc && strArg == "--runs" ? argv[++i] : argv[i]);
        if (nValue <= 0)
        {
            std::fprintf(stderr, "usage: %s [--runs N] [GRADES_PER_GROUP...]\n", argv[0]);
            return 2;
        }
        if (strArg == "--runs")
            g_nRuns = nValue;
        else
            vecSizes.push_back(nValue);
    }
    if (vecSizes.empty())
        vecSizes = {200, 2000};

    CWinApp app(L"Material tree benchmark");
    if (GetRuleResources()->GetResDll() == nullptr)
    {
        std::fprintf(stderr, "the en-US resource library was not found\n");
        return 1;
    }
    AfxSetResourceHandle(GetRuleResources()->GetResDll());
    VekSetMessageBoxResponder([](HWND, const CString&, const CString&, UINT nType) {
        return (nType & 0xF) == MB_YESNO ? IDYES : IDOK;
    });

    std::vector<Figures> vecFigures(vecSizes.size());
    std::printf("Material tree: %d groups, best of %d runs\n", kGroups, g_nRuns);
    std::printf("%10s %12s %14s %12s\n", "grades", "tree items", "open+fill s", "add s");
    for (size_t i = 0; i < vecSizes.size(); ++i)
    {
        if (!RunSize(vecSizes[i], vecFigures[i]))
            return 1;
        std::printf("%10d %12zu %14.4f %12.4f\n", kGroups * vecSizes[i], vecFigures[i].nItems,
                    vecFigures[i].dFill, vecFigures[i].dAdd);
    }
    // From n to m grades, n log n growth is a factor of (m / n) * log(m) / log(n): 12.5 from
    // 10,000 to 100,000.
    for (size_t i = 1; i < vecSizes.size(); ++i)
    {
        const double dSmall = static_cast<double>(kGroups) * vecSizes[i - 1];
        const double dLarge = static_cast<double>(kGroups) * vecSizes[i];
        const double dNLogN = dLarge / dSmall * std::log(dLarge) / std::log(dSmall);
        std::printf("ratio %.0f / %.0f: open+fill %.1f, add %.1f (n log n: %.1f)\n", dLarge, dSmall,
                    vecFigures[i].dFill / vecFigures[i - 1].dFill,
                    vecFigures[i].dAdd / vecFigures[i - 1].dAdd, dNLogN);
    }
    return 0;
}
