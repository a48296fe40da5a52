// The material database on a file in a temporary folder: creating a file with
// the catalogue, one edit (add, then delete: two transactions), reading every
// group with its grades (what filling the material tree asks), and the check
// the add command makes against every group. Prints the time per operation.
#include <benchmark/benchmark.h>

#include <VekMaterialDatabase.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace
{
std::string TempFolder()
{
    const char* pszTmp = std::getenv("TMPDIR");
    std::string strTemplate = std::string(pszTmp ? pszTmp : "/tmp") + "/vekdb-bench-XXXXXX";
    return mkdtemp(&strTemplate[0]) ? strTemplate : std::string();
}

void RemoveDatabase(const std::string& strPath)
{
    for (const char* pszSuffix : {"", "-wal", "-shm"})
        unlink((strPath + pszSuffix).c_str());
}

// A seeded database that lives as long as the benchmark.
struct CBenchDatabase
{
    CBenchDatabase()
        : strFolder(TempFolder()), strPath(strFolder + "/materials.db"),
          pDb(vek_db::OpenMaterialDatabase(strPath, vek_db::OpenMode::OpenOrCreate, strError))
    {
    }
    ~CBenchDatabase()
    {
        pDb.reset();
        RemoveDatabase(strPath);
        rmdir(strFolder.c_str());
    }
    std::string strFolder;
    std::string strPath;
    std::string strError;
    std::unique_ptr<vek_db::IMaterialDatabase> pDb;
};

void BM_CreateSeededFile(benchmark::State& state)
{
    const std::string strFolder = TempFolder();
    const std::string strPath = strFolder + "/materials.db";
    for (auto _ : state)
    {
        std::string strError;
        auto pDb = vek_db::OpenMaterialDatabase(strPath, vek_db::OpenMode::CreateSeeded, strError);
        if (!pDb)
        {
            state.SkipWithError(strError.c_str());
            break;
        }
        pDb.reset();
        state.PauseTiming();
        RemoveDatabase(strPath);
        state.ResumeTiming();
    }
    rmdir(strFolder.c_str());
}
BENCHMARK(BM_CreateSeededFile)->Unit(benchmark::kMillisecond);

void BM_AddThenDeleteGrade(benchmark::State& state)
{
    CBenchDatabase db;
    if (!db.pDb)
    {
        state.SkipWithError(db.strError.c_str());
        return;
    }
    for (auto _ : state)
    {
        if (db.pDb->AddGrade(L"Steel", L"Bench Grade", 0) != 0 ||
            db.pDb->DeleteGrade(L"Steel", L"Bench Grade", 0) != 0)
        {
            state.SkipWithError("edit refused");
            break;
        }
    }
}
BENCHMARK(BM_AddThenDeleteGrade)->Unit(benchmark::kMicrosecond);

void BM_EveryGroupWithItsGrades(benchmark::State& state)
{
    CBenchDatabase db;
    if (!db.pDb)
    {
        state.SkipWithError(db.strError.c_str());
        return;
    }
    size_t nGrades = 0;
    for (auto _ : state)
    {
        std::vector<CString> vecGroups;
        db.pDb->GetMaterialGroups(vecGroups, 0);
        nGrades = 0;
        for (const CString& strGroup : vecGroups)
        {
            CString strGrades;
            db.pDb->GetGradesOfGroup(strGroup, strGrades, 0);
            nGrades += static_cast<size_t>(strGrades.GetLength());
        }
        benchmark::DoNotOptimize(nGrades);
    }
}
BENCHMARK(BM_EveryGroupWithItsGrades)->Unit(benchmark::kMicrosecond);

void BM_GradeCheckAgainstEveryGroup(benchmark::State& state)
{
    CBenchDatabase db;
    if (!db.pDb)
    {
        state.SkipWithError(db.strError.c_str());
        return;
    }
    std::vector<CString> vecGroups;
    db.pDb->GetMaterialGroups(vecGroups, 0);
    const CString strGrade = L"Not There";
    for (auto _ : state)
    {
        int nFound = 0;
        for (const CString& strGroup : vecGroups)
            nFound += db.pDb->IsGradeInGroup(strGrade, strGroup, 0);
        benchmark::DoNotOptimize(nFound);
    }
}
BENCHMARK(BM_GradeCheckAgainstEveryGroup)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
