// The material database through its interfaces and its file: every test works
// on a fresh file in a fresh folder.
#include "../support/TempMaterialDatabase.h"
#include "VEKDataHelper.h"
#include "VekMaterialDatabase.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
const CString kProcess = vek_db::kInvestmentCastingProcess;

const wchar_t* const kCastingCategories[] = {L"Steel",
                                             L"Iron",
                                             L"Aluminium Alloys",
                                             L"Other Metals",
                                             L"Copper and its Alloys",
                                             L"Zinc and its Alloys",
                                             L"Magnesium and its Alloys",
                                             L"Titanium Alloys"};
const wchar_t* const kHiddenGroups[] = {L"Woods", L"Generic Glass Fibers", L"Plastics", L"Default"};

std::string ReadBytes(const std::string& strPath)
{
    std::ifstream file(strPath, std::ios::binary);
    std::stringstream stream;
    stream << file.rdbuf();
    return stream.str();
}

void WriteBytes(const std::string& strPath, const std::string& strBytes)
{
    std::ofstream file(strPath, std::ios::binary | std::ios::trunc);
    file << strBytes;
}

std::vector<CString> SplitGrades(const CString& strGrades)
{
    std::vector<CString> vecGrades;
    int nStart = 0;
    while (nStart <= strGrades.GetLength() && !strGrades.IsEmpty())
    {
        int nEnd = strGrades.Find(L';', nStart);
        if (nEnd < 0)
            nEnd = strGrades.GetLength();
        vecGrades.push_back(strGrades.Mid(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    return vecGrades;
}

std::vector<CString> Groups(IDatabaseCollector* pDb)
{
    std::vector<CString> vecGroups;
    pDb->GetMaterialGroups(vecGroups, 0);
    return vecGroups;
}

std::vector<CString> Grades(IDatabaseCollector* pDb, const CString& strGroup)
{
    CString strGrades;
    pDb->GetGradesOfGroup(strGroup, strGrades, 0);
    return SplitGrades(strGrades);
}

bool Contains(const std::vector<CString>& vec, const CString& str)
{
    return std::find(vec.begin(), vec.end(), str) != vec.end();
}

// Every row of the database's own tables, ids and flags included, as text.
std::string DumpTables(const std::string& strPath)
{
    sqlite3* pDb = nullptr;
    std::string strDump;
    if (sqlite3_open_v2(strPath.c_str(), &pDb, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK)
    {
        const char* const arrQueries[] = {
            "SELECT id, name FROM material_group ORDER BY id",
            "SELECT id, group_id, name, catalogue FROM material_grade ORDER BY id",
            "SELECT process, group_id, position FROM process_group ORDER BY process, position",
            "SELECT name, value FROM setting ORDER BY name"};
        for (const char* pszQuery : arrQueries)
        {
            sqlite3_exec(
                pDb, pszQuery,
                [](void* pOut, int nColumns, char** ppValues, char**) {
                    std::string& str = *static_cast<std::string*>(pOut);
                    for (int i = 0; i < nColumns; ++i)
                        str += std::string(ppValues[i] ? ppValues[i] : "NULL") + "|";
                    str += "\n";
                    return 0;
                },
                &strDump, nullptr);
            strDump += "--\n";
        }
    }
    sqlite3_close(pDb);
    return strDump;
}

class MaterialDatabaseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_temp.IsReady());
        m_strDir = m_temp.GetFolder();
        m_strPath = m_temp.GetPath();
    }
    void TearDown() override
    {
        m_pDb.reset();
        chmod(m_strDir.c_str(), 0700);
    }

    // The test's own database object on the test's file (seeded when new).
    vek_db::IMaterialDatabase* Open(vek_db::OpenMode eMode = vek_db::OpenMode::OpenOrCreate)
    {
        std::string strError;
        m_pDb = vek_db::OpenMaterialDatabase(m_strPath, eMode, strError);
        EXPECT_NE(nullptr, m_pDb) << strError;
        return m_pDb.get();
    }

    // Opening the test's file must fail with a message, leaving its bytes alone.
    void ExpectRefusedAndUntouched(const char* pszWhy, const std::string& strExpectedWords)
    {
        SCOPED_TRACE(pszWhy);
        const std::string strBefore = ReadBytes(m_strPath);
        std::string strError;
        EXPECT_EQ(nullptr, vek_db::OpenMaterialDatabase(m_strPath, vek_db::OpenMode::OpenOrCreate,
                                                        strError));
        EXPECT_NE(std::string::npos, strError.find(strExpectedWords)) << strError;
        EXPECT_NE(std::string::npos, strError.find(m_strPath)) << strError;
        EXPECT_EQ(nullptr, static_cast<IDatabaseCollector*>(vek_db::VEKDataHelper::getInstance()));
        EXPECT_FALSE(vek_db::VEKDataHelper::getInstance().GetOpenError().empty());
        EXPECT_TRUE(strBefore == ReadBytes(m_strPath)) << "the file was changed";
    }

    CTempMaterialDatabase m_temp;
    std::string m_strDir;
    std::string m_strPath;
    std::unique_ptr<vek_db::IMaterialDatabase> m_pDb;
};

TEST_F(MaterialDatabaseTest, FirstUseCreatesTheCatalogueInTheNamedFile)
{
    IDatabaseCollector* pDb = vek_db::VEKDataHelper::getInstance();
    ASSERT_NE(nullptr, pDb) << vek_db::VEKDataHelper::getInstance().GetOpenError();
    struct stat status;
    EXPECT_EQ(0, stat(m_strPath.c_str(), &status));

    const std::vector<CString> vecGroups = Groups(pDb);
    ASSERT_GE(vecGroups.size(), 12u);
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(CString(kCastingCategories[i]), vecGroups[i]) << "seed order, position " << i;
    for (const wchar_t* pszHidden : kHiddenGroups)
        EXPECT_TRUE(Contains(vecGroups, pszHidden)) << CString(pszHidden).str().size();
    for (const CString& strGroup : vecGroups)
        EXPECT_FALSE(Grades(pDb, strGroup).empty()) << "every seeded group has grades";
    EXPECT_TRUE(Contains(Grades(pDb, L"Steel"), L"ASTM A216 WCB"));
    EXPECT_TRUE(Contains(Grades(pDb, L"Aluminium Alloys"), L"A356.0"));

    EXPECT_EQ(0, pDb->UsesProcessMaterialGroups());
    std::map<CString, std::list<CString>> mapGroups;
    pDb->GetProcessMaterialGroups(kProcess, mapGroups);
    ASSERT_TRUE(mapGroups.count(L"Steel"));
    const std::vector<CString> vecSteel = Grades(pDb, L"Steel");
    EXPECT_EQ(std::list<CString>(vecSteel.begin(), vecSteel.end()), mapGroups[L"Steel"]);
    EXPECT_FALSE(mapGroups.count(L"Woods"));
    pDb->GetProcessMaterialGroups(L"No Such Process", mapGroups);
    EXPECT_TRUE(mapGroups.empty());

    // Every grade of every group once, in group order.
    VekGroupGradePairs vecPairs;
    EXPECT_EQ(0, pDb->GetGroupGradePairs(vecPairs, 0));
    VekGroupGradePairs vecExpected;
    for (const CString& strGroup : vecGroups)
        for (const CString& strGrade : Grades(pDb, strGroup))
            vecExpected.emplace_back(strGroup, strGrade);
    EXPECT_EQ(vecExpected, vecPairs);
}

TEST_F(MaterialDatabaseTest, DefaultPathFollowsTheEnvironment)
{
    struct Case
    {
        const char* pszDb;
        const char* pszXdg;
        const char* pszHome;
        std::string strExpected;
    };
    const Case arrCases[] = {
        {"/x/named.db", "/data", "/home/u", "/x/named.db"},
        {"", "/data", "/home/u", "/data/vek/materials.db"},
        {nullptr, "/data", "/home/u", "/data/vek/materials.db"},
        {nullptr, "relative", "/home/u", "/home/u/.local/share/vek/materials.db"},
        {nullptr, nullptr, "/home/u", "/home/u/.local/share/vek/materials.db"},
    };
    const char* pszOldXdg = std::getenv("XDG_DATA_HOME");
    const std::string strOldXdg = pszOldXdg ? pszOldXdg : "";
    const std::string strOldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    auto Set = [](const char* pszName, const char* pszValue) {
        if (pszValue)
            setenv(pszName, pszValue, 1);
        else
            unsetenv(pszName);
    };
    for (const Case& c : arrCases)
    {
        Set("VEK_MATERIAL_DB", c.pszDb);
        Set("XDG_DATA_HOME", c.pszXdg);
        Set("HOME", c.pszHome);
        EXPECT_EQ(c.strExpected, vek_db::DefaultMaterialDatabasePath());
    }
    Set("XDG_DATA_HOME", pszOldXdg ? strOldXdg.c_str() : nullptr);
    Set("HOME", strOldHome.empty() ? nullptr : strOldHome.c_str());
}

TEST_F(MaterialDatabaseTest, AddGradeAnswersAndListsAsPromised)
{
    vek_db::IMaterialDatabase* pDb = Open();
    const std::vector<CString> vecBefore = Groups(pDb);

    EXPECT_EQ(0, pDb->AddGrade(L"Steel", L"My Steel ", 0));
    EXPECT_EQ(L"My Steel ", Grades(pDb, L"Steel").back()) << "stored exactly, trailing blank too";
    EXPECT_EQ(1, pDb->IsGradeInGroup(L"My Steel ", L"Steel", 0));
    EXPECT_EQ(0, pDb->IsGradeInGroup(L"My Steel", L"Steel", 0));
    EXPECT_EQ(0, pDb->IsGradeInGroup(L"my steel ", L"Steel", 0));
    EXPECT_EQ(5, pDb->AddGrade(L"Steel", L"My Steel ", 0));
    EXPECT_EQ(5, pDb->AddGrade(L"Steel", L"ASTM A216 WCB", 0));

    // Another case is another group, listed after every existing one.
    EXPECT_EQ(0, pDb->AddGrade(L"steel", L"ASTM A216 WCB", 0));
    EXPECT_EQ(0, pDb->AddGrade(L"Ceramic Cores", L"Silica", 0));
    std::vector<CString> vecExpected = vecBefore;
    vecExpected.push_back(L"steel");
    vecExpected.push_back(L"Ceramic Cores");
    EXPECT_EQ(vecExpected, Groups(pDb));
    EXPECT_EQ(std::vector<CString>{L"ASTM A216 WCB"}, Grades(pDb, L"steel"));
    EXPECT_EQ(0, pDb->AddGrade(L"Ceramic Cores", L"Alumina", 0));
    EXPECT_EQ((std::vector<CString>{L"Silica", L"Alumina"}), Grades(pDb, L"Ceramic Cores"))
        << "grades keep the order they were added in";

    // Refused names change nothing and say why.
    const std::string strBefore = DumpTables(m_strPath);
    const struct
    {
        const wchar_t* pszGroup;
        const wchar_t* pszGrade;
        const char* pszWord;
    } arrRefused[] = {
        {L"", L"X", "empty"},   {L"Steel", L"", "empty"},       {L"Steel", L"A;B", ";"},
        {L"Ste;el", L"A", ";"}, {L"Steel", L"A\nB", "control"}, {L"Steel", L"A\tB", "control"},
    };
    for (const auto& refused : arrRefused)
    {
        EXPECT_EQ(-1, pDb->AddGrade(refused.pszGroup, refused.pszGrade, 0));
        EXPECT_NE(std::string::npos,
                  pDb->GetLastMessage().str().find(CString(refused.pszWord).str()))
            << CString(pDb->GetLastMessage()).GetLength();
    }
    EXPECT_EQ(-1, pDb->AddGrade(L"Steel", CString(L'x', 256), 0));
    EXPECT_EQ(0, pDb->AddGrade(L"Steel", CString(L'x', 255), 0));
    EXPECT_EQ(0, pDb->DeleteGrade(L"Steel", CString(L'x', 255), 0));
    EXPECT_EQ(strBefore, DumpTables(m_strPath));
}

// The single-grade lookup and the grade lists read indexes rather than whole groups: each
// must still see one group only, match names exactly, and list grades in the order they were
// added, also after a deletion was taken back.
TEST_F(MaterialDatabaseTest, GradeLookupsMatchOneGroupExactlyAndListsKeepTheirOrder)
{
    vek_db::IMaterialDatabase* pDb = Open();
    for (const wchar_t* pszGrade : {L"Zircon", L"Alumina", L"Silica", L"M\u00fcllite"})
        ASSERT_EQ(0, pDb->AddGrade(L"Ceramic Cores", pszGrade, 0));
    ASSERT_EQ(0, pDb->AddGrade(L"ceramic cores", L"Quartz", 0));

    const struct
    {
        const wchar_t* pszGrade;
        const wchar_t* pszGroup;
        int nExpected;
    } arrCases[] = {
        {L"Alumina", L"Ceramic Cores", 1},
        {L"alumina", L"Ceramic Cores", 0},
        {L"Alumina ", L"Ceramic Cores", 0},
        {L"Alumina", L"ceramic cores", 0}, // another group, which does not hold it
        {L"Quartz", L"ceramic cores", 1},
        {L"Quartz", L"Ceramic Cores", 0},
        {L"ASTM A216 WCB", L"Steel", 1},
        {L"ASTM A216 WCB", L"Iron", 0},
        {L"Alumina", L"No Such Group", 0},
        {L"", L"Ceramic Cores", 0},
    };
    for (const auto& c : arrCases)
        EXPECT_EQ(c.nExpected, pDb->IsGradeInGroup(c.pszGrade, c.pszGroup, 0))
            << CString(c.pszGroup).str().size() << " " << CString(c.pszGrade).str().size();

    const std::vector<CString> vecAdded = {L"Zircon", L"Alumina", L"Silica", L"M\u00fcllite"};
    EXPECT_EQ(vecAdded, Grades(pDb, L"Ceramic Cores")) << "the order of adding, not of names";
    EXPECT_EQ(std::vector<CString>{L"Quartz"}, Grades(pDb, L"ceramic cores"));
    EXPECT_TRUE(Grades(pDb, L"No Such Group").empty());

    ASSERT_EQ(0, pDb->DeleteGrade(L"Ceramic Cores", L"Alumina", 0));
    EXPECT_EQ((std::vector<CString>{L"Zircon", L"Silica", L"M\u00fcllite"}),
              Grades(pDb, L"Ceramic Cores"));
    VekGroupGradePairs vecDeleted = {{L"Ceramic Cores", L"Alumina"}};
    pDb->RevertDeletedGrades(vecDeleted, 0);
    EXPECT_EQ(vecAdded, Grades(pDb, L"Ceramic Cores")) << "a restored grade takes its old place";

    ASSERT_TRUE(pDb->SetProcessMaterialGroups(kProcess, {L"Ceramic Cores"}));
    std::map<CString, std::list<CString>> mapGroups;
    pDb->GetProcessMaterialGroups(kProcess, mapGroups);
    EXPECT_EQ(std::list<CString>(vecAdded.begin(), vecAdded.end()), mapGroups[L"Ceramic Cores"]);
}

TEST_F(MaterialDatabaseTest, DeletePolicyProtectsTheCatalogue)
{
    vek_db::IMaterialDatabase* pDb = Open();
    ASSERT_EQ(0, pDb->AddGrade(L"Steel", L"Shop Grade 7", 0));
    ASSERT_EQ(0, pDb->AddGrade(L"Ceramic Cores", L"Silica", 0));
    ASSERT_EQ(0, pDb->AddGrade(L"Ceramic Cores", L"Zircon", 0));

    const struct
    {
        const wchar_t* pszGrade;
        const wchar_t* pszGroup;
        int nExpected;
    } arrCases[] = {
        {L"ASTM A216 WCB", L"Steel", 0}, // catalogue grade
        {L"Shop Grade 7", L"Steel", 1},  // added by a user
        {L"shop grade 7", L"Steel", 0},  // no such grade (names are exact)
        {L"Silica", L"Ceramic Cores", 1},
        {L"", L"Ceramic Cores", 1}, // a group of user grades only
        {L"", L"Steel", 0},         // holds catalogue grades
        {L"", L"Plastics", 0},
        {L"", L"No Such Group", 0},
        {L"Oak", L"Woods", 0},
    };
    for (const auto& c : arrCases)
        EXPECT_EQ(c.nExpected, pDb->CanDeleteGrade(c.pszGrade, c.pszGroup, 0))
            << CString(c.pszGroup).GetLength() << " " << CString(c.pszGrade).GetLength();

    const std::string strBefore = DumpTables(m_strPath);
    EXPECT_EQ(-1, pDb->DeleteGrade(L"Steel", L"ASTM A216 WCB", 0));
    EXPECT_NE(std::string::npos, pDb->GetLastMessage().str().find(L"catalogue"));
    EXPECT_EQ(-1, pDb->DeleteGrade(L"Steel", L"No Such Grade", 0));
    EXPECT_EQ(-1, pDb->DeleteGrade(L"No Such Group", L"Silica", 0));
    EXPECT_EQ(strBefore, DumpTables(m_strPath));

    EXPECT_EQ(0, pDb->DeleteGrade(L"Steel", L"Shop Grade 7", 0));
    EXPECT_FALSE(Contains(Grades(pDb, L"Steel"), L"Shop Grade 7"));
    EXPECT_EQ(0, pDb->DeleteGrade(L"Ceramic Cores", L"Silica", 0));
    EXPECT_TRUE(Contains(Groups(pDb), L"Ceramic Cores"));
    EXPECT_EQ(0, pDb->DeleteGrade(L"Ceramic Cores", L"Zircon", 0));
    EXPECT_FALSE(Contains(Groups(pDb), L"Ceramic Cores")) << "a group goes with its last grade";
}

TEST_F(MaterialDatabaseTest, ProcessAssignmentsAndTheirSettingAreStored)
{
    vek_db::IMaterialDatabase* pDb = Open();
    ASSERT_EQ(0, pDb->AddGrade(L"Ceramic Cores", L"Silica", 0));
    EXPECT_TRUE(pDb->SetProcessMaterialGroups(kProcess, {L"Titanium Alloys", L"Ceramic Cores"}));
    EXPECT_FALSE(pDb->SetProcessMaterialGroups(kProcess, {L"Steel", L"No Such Group"}));
    EXPECT_NE(std::string::npos, pDb->GetLastMessage().str().find(L"No Such Group"));
    EXPECT_TRUE(pDb->SetUsesProcessMaterialGroups(true));
    EXPECT_EQ(1, pDb->UsesProcessMaterialGroups());
    m_pDb.reset();

    IDatabaseCollector* pShared = vek_db::VEKDataHelper::getInstance();
    ASSERT_NE(nullptr, pShared);
    EXPECT_EQ(1, pShared->UsesProcessMaterialGroups()) << "kept in the file";
    std::map<CString, std::list<CString>> mapGroups;
    pShared->GetProcessMaterialGroups(kProcess, mapGroups);
    ASSERT_EQ(2u, mapGroups.size()) << "the refused assignment changed nothing";
    EXPECT_EQ(std::list<CString>{L"Silica"}, mapGroups[L"Ceramic Cores"]);
    EXPECT_EQ(Grades(pShared, L"Titanium Alloys").size(), mapGroups[L"Titanium Alloys"].size());

    pDb = Open();
    EXPECT_TRUE(pDb->SetUsesProcessMaterialGroups(false));
    EXPECT_EQ(0, pShared->UsesProcessMaterialGroups());
}

TEST_F(MaterialDatabaseTest, CreatingRefusesAnExistingFileAndCanStartEmpty)
{
    WriteBytes(m_strPath, "keep me");
    std::string strError;
    for (vek_db::OpenMode eMode : {vek_db::OpenMode::CreateSeeded, vek_db::OpenMode::CreateEmpty})
    {
        EXPECT_EQ(nullptr, vek_db::OpenMaterialDatabase(m_strPath, eMode, strError));
        EXPECT_NE(std::string::npos, strError.find("exists")) << strError;
    }
    EXPECT_EQ("keep me", ReadBytes(m_strPath));

    // A file of length zero holds nothing to lose: it becomes a database.
    WriteBytes(m_strPath, "");
    EXPECT_EQ(CString(L"Steel"), Groups(Open()).front());
    m_pDb.reset();

    m_strPath = m_strDir + "/sub/folder/empty.db";
    vek_db::IMaterialDatabase* pDb = Open(vek_db::OpenMode::CreateEmpty);
    ASSERT_NE(nullptr, pDb);
    EXPECT_TRUE(Groups(pDb).empty());
    EXPECT_EQ(0, pDb->UsesProcessMaterialGroups());
    EXPECT_EQ(0, pDb->AddGrade(L"Steel", L"WCB", 0));
    EXPECT_EQ(std::vector<CString>{L"Steel"}, Groups(pDb));
}

// Random additions and deletions as the material dialog makes them, journalled
// the way it journals them, then taken back the way Cancel does: the file must
// hold exactly what it held before, ids and flags included.
TEST_F(MaterialDatabaseTest, RevertingBothJournalsRestoresTheDatabaseExactly)
{
    vek_db::IMaterialDatabase* pDb = Open();
    // Some user grades and groups that exist before the dialog opens.
    ASSERT_EQ(0, pDb->AddGrade(L"Steel", L"U1", 0));
    ASSERT_EQ(0, pDb->AddGrade(L"User Group", L"U2", 0));
    ASSERT_EQ(0, pDb->AddGrade(L"User Group", L"U3", 0));
    ASSERT_TRUE(pDb->SetProcessMaterialGroups(kProcess, {L"Steel", L"User Group", L"Iron"}));

    const std::vector<CString> vecGroupPool = {L"Steel", L"User Group", L"New A",
                                               L"New B", L"Woods",      L"Iron"};
    const std::vector<CString> vecGradePool = {
        L"U1", L"U2", L"U3", L"G1", L"G2", L"G3", L"ASTM A48 Class 30", L"Oak"};
    for (unsigned nSeed = 1; nSeed <= 40; ++nSeed)
    {
        SCOPED_TRACE("seed " + std::to_string(nSeed));
        const std::string strBefore = DumpTables(m_strPath);
        std::mt19937 random(nSeed);
        VekGroupGradePairs vecAdded, vecDeleted;
        const int nSteps = 5 + static_cast<int>(random() % 30);
        for (int nStep = 0; nStep < nSteps; ++nStep)
        {
            const CString strGroup = vecGroupPool[random() % vecGroupPool.size()];
            const CString strGrade = vecGradePool[random() % vecGradePool.size()];
            if (random() % 2 == 0)
            {
                if (pDb->AddGrade(strGroup, strGrade, 0) == 0)
                    vecAdded.emplace_back(strGroup, strGrade);
            }
            else if (random() % 4 == 0)
            {
                // A whole group, grade by grade, as the dialog deletes it.
                if (pDb->CanDeleteGrade(L"", strGroup, 0) == 0)
                    continue;
                for (const CString& strName : Grades(pDb, strGroup))
                {
                    if (pDb->DeleteGrade(strGroup, strName, 0) != -1)
                        vecDeleted.emplace_back(strGroup, strName);
                }
            }
            else if (pDb->DeleteGrade(strGroup, strGrade, 0) != -1)
            {
                vecDeleted.emplace_back(strGroup, strGrade);
            }
        }
        pDb->RevertAddedGrades(vecAdded, 0);
        const std::string strAfterFirst = DumpTables(m_strPath);
        pDb->RevertAddedGrades(vecAdded, 0);
        EXPECT_EQ(strAfterFirst, DumpTables(m_strPath)) << "a repeated revert changes nothing";
        pDb->RevertDeletedGrades(vecDeleted, 0);
        ASSERT_EQ(strBefore, DumpTables(m_strPath))
            << vecAdded.size() << " added, " << vecDeleted.size() << " deleted";
    }
}

// Edits the dialog kept (OK) are not touched by the revert of a later session.
TEST_F(MaterialDatabaseTest, ARevertTakesBackOnlyTheJournalledEdits)
{
    vek_db::IMaterialDatabase* pDb = Open();
    // First session, kept: X added.
    ASSERT_EQ(0, pDb->AddGrade(L"Steel", L"X", 0));
    const std::string strKept = DumpTables(m_strPath);
    // Second session: X deleted, added again, then cancelled.
    ASSERT_EQ(0, pDb->DeleteGrade(L"Steel", L"X", 0));
    ASSERT_EQ(0, pDb->AddGrade(L"Steel", L"X", 0));
    VekGroupGradePairs vecAdded = {{L"Steel", L"X"}};
    VekGroupGradePairs vecDeleted = {{L"Steel", L"X"}};
    pDb->RevertAddedGrades(vecAdded, 0);
    pDb->RevertAddedGrades(vecAdded, 0);
    pDb->RevertDeletedGrades(vecDeleted, 0);
    EXPECT_EQ(strKept, DumpTables(m_strPath));
    // A third session: a journal of things this object never did changes nothing.
    VekGroupGradePairs vecForeign = {{L"Steel", L"ASTM A216 WCB"}, {L"Steel", L"Nothing"}};
    pDb->RevertAddedGrades(vecForeign, 0);
    pDb->RevertDeletedGrades(vecForeign, 0);
    EXPECT_EQ(strKept, DumpTables(m_strPath));
}

// While another program holds the file for writing, an edit waits, then is
// refused with a message and changes nothing; a revert cut short that way
// finishes when it is called again.
TEST_F(MaterialDatabaseTest, EditsRefusedWhileAnotherWriterHoldsTheFileCanBeRetried)
{
    vek_db::IMaterialDatabase* pDb = Open();
    const std::string strBefore = DumpTables(m_strPath);
    ASSERT_EQ(0, pDb->AddGrade(L"Steel", L"A", 0));
    ASSERT_EQ(0, pDb->AddGrade(L"New Group", L"B", 0));
    VekGroupGradePairs vecAdded = {{L"Steel", L"A"}, {L"New Group", L"B"}};
    const std::string strEdited = DumpTables(m_strPath);

    sqlite3* pOther = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(m_strPath.c_str(), &pOther));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(pOther, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
    pDb->SetBusyTimeout(50);
    EXPECT_EQ(-1, pDb->AddGrade(L"Steel", L"C", 0));
    EXPECT_NE(std::wstring::npos, pDb->GetLastMessage().str().find(L"busy"))
        << pDb->GetLastMessage().GetLength();
    pDb->RevertAddedGrades(vecAdded, 0);
    EXPECT_EQ(strEdited, DumpTables(m_strPath)) << "nothing changed while the file was held";
    EXPECT_EQ(1, pDb->IsGradeInGroup(L"A", L"Steel", 0)) << "reads go on meanwhile";
    sqlite3_exec(pOther, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(pOther);

    pDb->RevertAddedGrades(vecAdded, 0);
    EXPECT_EQ(strBefore, DumpTables(m_strPath));
    EXPECT_EQ(0, pDb->AddGrade(L"Steel", L"C", 0));
}

TEST_F(MaterialDatabaseTest, FilesThatAreNotUsableAreRefusedAndLeftAlone)
{
    // A good file to damage.
    Open();
    m_pDb.reset();
    const std::string strGood = ReadBytes(m_strPath);
    ASSERT_GT(strGood.size(), 8192u);

    std::string strCorrupt = strGood;
    for (size_t i = 4096; i < 8192; ++i)
        strCorrupt[i] = static_cast<char>(0xA5 ^ (i * 7));
    WriteBytes(m_strPath, strCorrupt);
    ExpectRefusedAndUntouched("corrupt page", "damaged");

    WriteBytes(m_strPath, strGood.substr(0, strGood.size() / 2));
    ExpectRefusedAndUntouched("truncated", "damaged");

    WriteBytes(m_strPath, "Steel;Iron\nnot a database at all, but long enough to look like one "
                          "if the header were right ................................\n");
    ExpectRefusedAndUntouched("text file", "not a material database");

    // A database of someone else.
    unlink(m_strPath.c_str());
    sqlite3* pOther = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(m_strPath.c_str(), &pOther));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(pOther, "CREATE TABLE t(x)", nullptr, nullptr, nullptr));
    sqlite3_close(pOther);
    ExpectRefusedAndUntouched("other database", "not a material database");

    // A newer layout.
    WriteBytes(m_strPath, strGood);
    ASSERT_EQ(SQLITE_OK, sqlite3_open(m_strPath.c_str(), &pOther));
    ASSERT_EQ(SQLITE_OK,
              sqlite3_exec(pOther, "PRAGMA user_version = 2", nullptr, nullptr, nullptr));
    sqlite3_close(pOther);
    ExpectRefusedAndUntouched("newer version", "newer version");

    // A folder where the file should be.
    unlink(m_strPath.c_str());
    ASSERT_EQ(0, mkdir(m_strPath.c_str(), 0700));
    std::string strError;
    EXPECT_EQ(nullptr,
              vek_db::OpenMaterialDatabase(m_strPath, vek_db::OpenMode::OpenOrCreate, strError));
    EXPECT_NE(std::string::npos, strError.find("not a regular file")) << strError;
}

// A file the user may read but not write: reads work, edits are refused with
// a message, the file keeps its bytes. Run as another user when the tests run
// as root, who may write anything.
TEST_F(MaterialDatabaseTest, AReadOnlyFileRefusesEdits)
{
    Open();
    m_pDb.reset();
    ASSERT_EQ(0, chmod(m_strPath.c_str(), 0444));
    ASSERT_EQ(0, chmod(m_strDir.c_str(), 0777)); // room for the shared-memory file of readers
    const std::string strBefore = ReadBytes(m_strPath);

    const pid_t pid = fork();
    ASSERT_NE(-1, pid);
    if (pid == 0)
    {
        if (geteuid() == 0 && setuid(65534) != 0)
            _exit(10);
        std::string strError;
        auto pDb =
            vek_db::OpenMaterialDatabase(m_strPath, vek_db::OpenMode::OpenOrCreate, strError);
        if (!pDb)
            _exit(11); // readable files open; only edits are refused
        if (Grades(pDb.get(), L"Steel").empty())
            _exit(12);
        if (pDb->AddGrade(L"Steel", L"New", 0) != -1)
            _exit(13);
        if (pDb->GetLastMessage().str().find(L"read-only") == std::wstring::npos)
            _exit(14);
        if (pDb->SetUsesProcessMaterialGroups(true) || pDb->UsesProcessMaterialGroups() != 0)
            _exit(15);
        _exit(0);
    }
    int nStatus = 0;
    ASSERT_EQ(pid, waitpid(pid, &nStatus, 0));
    ASSERT_TRUE(WIFEXITED(nStatus));
    if (WEXITSTATUS(nStatus) == 10)
        GTEST_SKIP() << "running as root without the right to become another user";
    EXPECT_EQ(0, WEXITSTATUS(nStatus));
    EXPECT_TRUE(strBefore == ReadBytes(m_strPath));
}

// Two programs adding to the same file at the same moment: every grade of
// both ends up in it.
TEST_F(MaterialDatabaseTest, TwoProcessesWritingAtOnceLoseNothing)
{
    Open();
    m_pDb.reset();
    const int kGradesEach = 150;
    std::vector<pid_t> vecChildren;
    for (int nChild = 0; nChild < 2; ++nChild)
    {
        const pid_t pid = fork();
        ASSERT_NE(-1, pid);
        if (pid == 0)
        {
            std::string strError;
            auto pDb =
                vek_db::OpenMaterialDatabase(m_strPath, vek_db::OpenMode::OpenOrCreate, strError);
            int nFailures = pDb ? 0 : 1;
            for (int i = 0; pDb && i < kGradesEach; ++i)
            {
                CString strGrade;
                strGrade.Format(L"P%d-%d", nChild, i);
                nFailures += pDb->AddGrade(L"Concurrent", strGrade, 0) != 0;
                if (i % 10 == 9) // deletions interleave with the other's additions
                {
                    strGrade.Format(L"P%d-%d", nChild, i - 5);
                    nFailures += pDb->DeleteGrade(L"Concurrent", strGrade, 0) != 0;
                }
            }
            _exit(nFailures == 0 ? 0 : 1);
        }
        vecChildren.push_back(pid);
    }
    for (pid_t pid : vecChildren)
    {
        int nStatus = 0;
        ASSERT_EQ(pid, waitpid(pid, &nStatus, 0));
        EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0);
    }
    vek_db::IMaterialDatabase* pDb = Open();
    const std::vector<CString> vecGrades = Grades(pDb, L"Concurrent");
    EXPECT_EQ(static_cast<size_t>(2 * (kGradesEach - kGradesEach / 10)), vecGrades.size());
    for (int nChild = 0; nChild < 2; ++nChild)
    {
        CString strGrade;
        strGrade.Format(L"P%d-%d", nChild, kGradesEach - 1);
        EXPECT_TRUE(Contains(vecGrades, strGrade));
    }
}

TEST_F(MaterialDatabaseTest, TheHelperOpensTheFileTheEnvironmentNamesNow)
{
    vek_db::VEKDataHelper& helper = vek_db::VEKDataHelper::getInstance();
    IDatabaseCollector* pFirst = helper;
    ASSERT_NE(nullptr, pFirst);
    ASSERT_EQ(0, pFirst->AddGrade(L"Steel", L"Only In First", 0));
    EXPECT_EQ(pFirst, static_cast<IDatabaseCollector*>(helper)) << "kept open while unchanged";

    const std::string strSecond = m_strDir + "/second.db";
    setenv("VEK_MATERIAL_DB", strSecond.c_str(), 1);
    IDatabaseCollector* pSecond = helper;
    ASSERT_NE(nullptr, pSecond);
    EXPECT_EQ(0, pSecond->IsGradeInGroup(L"Only In First", L"Steel", 0));

    // Below a plain file no folder can be made: no database, and a reason.
    WriteBytes(m_strDir + "/plain", "x");
    setenv("VEK_MATERIAL_DB", (m_strDir + "/plain/x.db").c_str(), 1);
    EXPECT_EQ(nullptr, static_cast<IDatabaseCollector*>(helper));
    EXPECT_NE(std::string::npos, helper.GetOpenError().find("/plain/x.db"))
        << helper.GetOpenError();
}
} // namespace
