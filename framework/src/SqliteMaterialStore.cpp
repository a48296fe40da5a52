#include "SqliteMaterialStore.h"

#include "MaterialCatalogue.h"
#include "VekXMLText.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace vek_db
{
namespace
{
const char kSchema[] = "CREATE TABLE material_group("
                       " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " name TEXT NOT NULL UNIQUE);"
                       "CREATE TABLE material_grade("
                       " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " group_id INTEGER NOT NULL REFERENCES material_group(id),"
                       " name TEXT NOT NULL,"
                       " catalogue INTEGER NOT NULL DEFAULT 0,"
                       " UNIQUE(group_id, name));"
                       "CREATE TABLE process_group("
                       " process TEXT NOT NULL,"
                       " group_id INTEGER NOT NULL REFERENCES material_group(id),"
                       " position INTEGER NOT NULL,"
                       " PRIMARY KEY(process, group_id));"
                       "CREATE TABLE setting("
                       " name TEXT PRIMARY KEY,"
                       " value TEXT NOT NULL);";

const char* const kTables[] = {"material_group", "material_grade", "process_group", "setting"};

// Writers wait this long for each other before an edit is given up.
const int kBusyTimeoutMs = 10000;

std::string Utf8(const CString& str)
{
    return vek_xml::ToUtf8(str);
}

// A prepared statement: either its own, finalised when it goes, or one of a
// store's cache, reset and unbound when it goes. Binding to a statement that
// failed to prepare does nothing; stepping it returns the preparation error.
class CStatement
{
public:
    CStatement(sqlite3* pDb, const char* pszSql)
    {
        m_nPrepare = sqlite3_prepare_v2(pDb, pszSql, -1, &m_pStmt, nullptr);
    }
    template <class TCached>
    explicit CStatement(const TCached& cached)
        : m_pStmt(cached.pStmt), m_nPrepare(cached.nPrepare), m_bCached(true)
    {
    }
    ~CStatement()
    {
        if (m_bCached)
            Reset();
        else
            sqlite3_finalize(m_pStmt);
    }
    CStatement(const CStatement&) = delete;
    CStatement& operator=(const CStatement&) = delete;

    CStatement& Bind(int nIndex, const std::string& str)
    {
        if (m_pStmt)
            sqlite3_bind_text(m_pStmt, nIndex, str.data(), static_cast<int>(str.size()),
                              SQLITE_TRANSIENT);
        return *this;
    }
    CStatement& Bind(int nIndex, const CString& str) { return Bind(nIndex, Utf8(str)); }
    CStatement& Bind(int nIndex, int64_t n)
    {
        if (m_pStmt)
            sqlite3_bind_int64(m_pStmt, nIndex, n);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int Step() { return m_pStmt ? sqlite3_step(m_pStmt) : m_nPrepare; }
    void Reset()
    {
        // A statement that failed to prepare (memory, a changed schema) has nothing to reset.
        if (m_pStmt == nullptr)
            return;
        sqlite3_reset(m_pStmt);
        sqlite3_clear_bindings(m_pStmt);
    }
    int64_t Int(int nColumn) { return sqlite3_column_int64(m_pStmt, nColumn); }
    std::string Text(int nColumn)
    {
        const unsigned char* psz = sqlite3_column_text(m_pStmt, nColumn);
        return psz ? reinterpret_cast<const char*>(psz) : "";
    }
    CString WideText(int nColumn)
    {
        const auto* psz = reinterpret_cast<const char*>(sqlite3_column_text(m_pStmt, nColumn));
        const int nBytes = sqlite3_column_bytes(m_pStmt, nColumn);
        if (psz == nullptr || nBytes <= 0)
            return CString();
        // Names are mostly ASCII: those are widened here, byte for byte, without a decoder.
        CString str;
        wchar_t* pOut = str.GetBufferSetLength(nBytes);
        for (int i = 0; i < nBytes; ++i)
        {
            const auto ch = static_cast<unsigned char>(psz[i]);
            if (ch >= 0x80)
                return vek_xml::FromUtf8(psz);
            if (ch == 0) // text ends at a zero byte, as the decoder reads it
            {
                str.ReleaseBuffer(i);
                return str;
            }
            pOut[i] = static_cast<wchar_t>(ch);
        }
        return str;
    }

private:
    sqlite3_stmt* m_pStmt = nullptr;
    int m_nPrepare = SQLITE_OK;
    bool m_bCached = false;
};

bool Exec(sqlite3* pDb, const char* pszSql)
{
    return sqlite3_exec(pDb, pszSql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Writes the catalogue into an empty schema (inside the caller's transaction).
bool SeedCatalogue(sqlite3* pDb)
{
    CStatement group(pDb, "INSERT INTO material_group(name) VALUES(?1)");
    CStatement grade(pDb,
                     "INSERT INTO material_grade(group_id, name, catalogue) VALUES(?1, ?2, 1)");
    for (size_t i = 0; i < g_nCatalogueGroups; ++i)
    {
        group.Reset();
        if (group.Bind(1, CString(g_arrCatalogueGroups[i].pszName)).Step() != SQLITE_DONE)
            return false;
        const int64_t nGroupId = sqlite3_last_insert_rowid(pDb);
        for (const wchar_t* const* ppsz = g_arrCatalogueGroups[i].ppszGrades; *ppsz; ++ppsz)
        {
            grade.Reset();
            if (grade.Bind(1, nGroupId).Bind(2, CString(*ppsz)).Step() != SQLITE_DONE)
                return false;
        }
    }
    CStatement assign(pDb, "INSERT INTO process_group(process, group_id, position)"
                           " SELECT ?1, id, ?3 FROM material_group WHERE name = ?2");
    for (size_t i = 0; i < g_nCatalogueProcesses; ++i)
    {
        int64_t nPosition = 0;
        for (const wchar_t* const* ppsz = g_arrCatalogueProcesses[i].ppszGroups; *ppsz; ++ppsz)
        {
            assign.Reset();
            assign.Bind(1, CString(g_arrCatalogueProcesses[i].pszProcess))
                .Bind(2, CString(*ppsz))
                .Bind(3, nPosition++);
            if (assign.Step() != SQLITE_DONE)
                return false;
        }
    }
    return Exec(pDb,
                "INSERT INTO setting(name, value) VALUES('uses_process_material_groups', '0')");
}

bool ReadInteger(sqlite3* pDb, const char* pszSql, int64_t& nValue, int& nError)
{
    CStatement stmt(pDb, pszSql);
    nError = stmt.Step();
    if (nError != SQLITE_ROW)
        return false;
    nValue = stmt.Int(0);
    nError = SQLITE_OK;
    return true;
}

class CSqliteMaterialStore final : public IMaterialStore
{
public:
    CSqliteMaterialStore(sqlite3* pDb, const std::string& strPath, bool bReadOnly)
        : m_pDb(pDb), m_strPath(strPath), m_bReadOnly(bReadOnly)
    {
    }
    ~CSqliteMaterialStore() override
    {
        for (auto& entry : m_mapStatements)
            sqlite3_finalize(entry.second);
        sqlite3_close_v2(m_pDb);
    }
    CSqliteMaterialStore(const CSqliteMaterialStore&) = delete;
    CSqliteMaterialStore& operator=(const CSqliteMaterialStore&) = delete;

    bool ListGroups(std::vector<CString>& vecGroups) override
    {
        vecGroups.clear();
        CStatement stmt(Prepared("SELECT name FROM material_group ORDER BY id"));
        return ReadRows(
            stmt, [&] { vecGroups.push_back(stmt.WideText(0)); }, vecGroups);
    }

    bool ListGrades(const CString& strGroup, std::vector<GradeRow>& vecGrades) override
    {
        vecGrades.clear();
        CStatement stmt(Prepared("SELECT g.id, g.name, g.catalogue FROM material_grade g"
                                 " JOIN material_group m ON m.id = g.group_id"
                                 " WHERE m.name = ?1 ORDER BY g.id"));
        stmt.Bind(1, strGroup);
        return ReadRows(
            stmt,
            [&] {
                vecGrades.push_back({stmt.Int(0), stmt.WideText(1), stmt.Int(2) != 0});
            },
            vecGrades);
    }

    bool ListGradeNames(const CString& strGroup, std::vector<CString>& vecNames) override
    {
        vecNames.clear();
        // No ORDER BY: the index on (group_id, name) holds every column asked for, and SQLite
        // would sort through a temporary tree to order by id. Sorting the ids here is cheaper.
        CStatement stmt(
            Prepared("SELECT g.id, g.name FROM material_grade g"
                     " WHERE g.group_id = (SELECT id FROM material_group WHERE name = ?1)"));
        stmt.Bind(1, strGroup);
        std::vector<std::pair<int64_t, size_t>> vecOrder; // row id, index in vecNames
        if (!ReadRows(
                stmt,
                [&] {
                    vecOrder.emplace_back(stmt.Int(0), vecNames.size());
                    vecNames.push_back(stmt.WideText(1));
                },
                vecNames))
            return false;
        std::sort(vecOrder.begin(), vecOrder.end());
        std::vector<CString> vecSorted;
        vecSorted.reserve(vecNames.size());
        for (const auto& row : vecOrder)
            vecSorted.push_back(std::move(vecNames[row.second]));
        vecNames.swap(vecSorted);
        return true;
    }

    bool FindGrade(const CString& strGroup, const CString& strGrade, GradeRow& row,
                   bool& bFound) override
    {
        CStatement stmt(Prepared("SELECT g.id, g.catalogue FROM material_grade g"
                                 " JOIN material_group m ON m.id = g.group_id"
                                 " WHERE m.name = ?1 AND g.name = ?2"));
        const int nStep = stmt.Bind(1, strGroup).Bind(2, strGrade).Step();
        bFound = nStep == SQLITE_ROW;
        if (bFound)
            row = {stmt.Int(0), strGrade, stmt.Int(1) != 0};
        else if (nStep != SQLITE_DONE)
            return Fail("read");
        return true;
    }

    bool ListAllGrades(std::vector<std::pair<CString, CString>>& vecPairs) override
    {
        vecPairs.clear();
        CStatement stmt(Prepared("SELECT m.name, g.name FROM material_grade g"
                                 " JOIN material_group m ON m.id = g.group_id"
                                 " ORDER BY m.id, g.id"));
        return ReadRows(
            stmt, [&] { vecPairs.emplace_back(stmt.WideText(0), stmt.WideText(1)); }, vecPairs);
    }

    bool ListProcessGroups(const CString& strProcess, std::vector<CString>& vecGroups) override
    {
        vecGroups.clear();
        CStatement stmt(Prepared("SELECT m.name FROM process_group p"
                                 " JOIN material_group m ON m.id = p.group_id"
                                 " WHERE p.process = ?1 ORDER BY p.position"));
        stmt.Bind(1, strProcess);
        return ReadRows(
            stmt, [&] { vecGroups.push_back(stmt.WideText(0)); }, vecGroups);
    }

    bool GetSetting(const char* pszName, const std::string& strDefault,
                    std::string& strValue) override
    {
        CStatement stmt(Prepared("SELECT value FROM setting WHERE name = ?1"));
        stmt.Bind(1, std::string(pszName));
        const int nStep = stmt.Step();
        if (nStep == SQLITE_ROW)
            strValue = stmt.Text(0);
        else if (nStep == SQLITE_DONE)
            strValue = strDefault;
        else
            return Fail("read");
        return true;
    }

    StoreResult AddGrade(const CString& strGroup, const CString& strGrade, int64_t& nId) override
    {
        return Write([&]() -> StoreResult {
            int64_t nGroupId = 0;
            bool bFound = false;
            if (!FindGroup(strGroup, nGroupId, bFound))
                return Failed();
            if (!bFound)
            {
                CStatement insert(Prepared("INSERT INTO material_group(name) VALUES(?1)"));
                if (insert.Bind(1, strGroup).Step() != SQLITE_DONE)
                    return Failed();
                nGroupId = sqlite3_last_insert_rowid(m_pDb);
            }
            else
            {
                CStatement exists(
                    Prepared("SELECT 1 FROM material_grade WHERE group_id = ?1 AND name = ?2"));
                const int nStep = exists.Bind(1, nGroupId).Bind(2, strGrade).Step();
                if (nStep == SQLITE_ROW)
                    return StoreResult::Exists;
                if (nStep != SQLITE_DONE)
                    return Failed();
            }
            CStatement insert(
                Prepared("INSERT INTO material_grade(group_id, name) VALUES(?1, ?2)"));
            if (insert.Bind(1, nGroupId).Bind(2, strGrade).Step() != SQLITE_DONE)
                return Failed();
            nId = sqlite3_last_insert_rowid(m_pDb);
            return StoreResult::Done;
        });
    }

    StoreResult RemoveGrade(const CString& strGroup, const CString& strGrade, int64_t nOnlyId,
                            bool bKeepCatalogue, RemovedGrade& removed) override
    {
        return Write([&]() -> StoreResult {
            CStatement find(Prepared("SELECT g.id, g.catalogue, m.id FROM material_grade g"
                                     " JOIN material_group m ON m.id = g.group_id"
                                     " WHERE m.name = ?1 AND g.name = ?2"));
            const int nStep = find.Bind(1, strGroup).Bind(2, strGrade).Step();
            if (nStep == SQLITE_DONE)
                return StoreResult::NotFound;
            if (nStep != SQLITE_ROW)
                return Failed();
            RemovedGrade record;
            record.grade = {find.Int(0), strGrade, find.Int(1) != 0};
            record.nGroupId = find.Int(2);
            record.strGroup = strGroup;
            if (nOnlyId != 0 && record.grade.nId != nOnlyId)
                return StoreResult::NotFound;
            if (bKeepCatalogue && record.grade.bCatalogue)
                return StoreResult::Protected;

            CStatement processes(
                Prepared("SELECT process, position FROM process_group WHERE group_id = ?1"));
            processes.Bind(1, record.nGroupId);
            if (!ReadRows(
                    processes,
                    [&] {
                        record.vecProcesses.emplace_back(processes.WideText(0), processes.Int(1));
                    },
                    record.vecProcesses))
                return StoreResult::Failed;

            CStatement remove(Prepared("DELETE FROM material_grade WHERE id = ?1"));
            if (remove.Bind(1, record.grade.nId).Step() != SQLITE_DONE)
                return Failed();
            // A group lives only while it holds grades.
            CStatement dropAssignments(
                Prepared("DELETE FROM process_group WHERE group_id = ?1 AND NOT EXISTS"
                         " (SELECT 1 FROM material_grade WHERE group_id = ?1)"));
            if (dropAssignments.Bind(1, record.nGroupId).Step() != SQLITE_DONE)
                return Failed();
            CStatement dropGroup(Prepared("DELETE FROM material_group WHERE id = ?1 AND NOT EXISTS"
                                          " (SELECT 1 FROM material_grade WHERE group_id = ?1)"));
            if (dropGroup.Bind(1, record.nGroupId).Step() != SQLITE_DONE)
                return Failed();
            removed = std::move(record);
            return StoreResult::Done;
        });
    }

    StoreResult RestoreGrade(const RemovedGrade& removed) override
    {
        return Write([&]() -> StoreResult {
            int64_t nGroupId = 0;
            bool bFound = false;
            if (!FindGroup(removed.strGroup, nGroupId, bFound))
                return Failed();
            if (!bFound)
            {
                // Back in its old place when that id is free (ids are never handed out twice).
                CStatement insert(Prepared("INSERT INTO material_group(id, name)"
                                           " SELECT CASE WHEN EXISTS (SELECT 1 FROM material_group"
                                           " WHERE id = ?1) THEN NULL ELSE ?1 END, ?2"));
                if (insert.Bind(1, removed.nGroupId).Bind(2, removed.strGroup).Step() !=
                    SQLITE_DONE)
                    return Failed();
                nGroupId = sqlite3_last_insert_rowid(m_pDb);
                CStatement assign(Prepared("INSERT OR IGNORE INTO process_group(process, group_id,"
                                           " position) VALUES(?1, ?2, ?3)"));
                for (const auto& process : removed.vecProcesses)
                {
                    assign.Reset();
                    if (assign.Bind(1, process.first)
                            .Bind(2, nGroupId)
                            .Bind(3, process.second)
                            .Step() != SQLITE_DONE)
                        return Failed();
                }
            }
            else
            {
                CStatement exists(
                    Prepared("SELECT 1 FROM material_grade WHERE group_id = ?1 AND name = ?2"));
                const int nStep = exists.Bind(1, nGroupId).Bind(2, removed.grade.strName).Step();
                if (nStep == SQLITE_ROW)
                    return StoreResult::Exists;
                if (nStep != SQLITE_DONE)
                    return Failed();
            }
            CStatement insert(Prepared("INSERT INTO material_grade(id, group_id, name, catalogue)"
                                       " SELECT CASE WHEN EXISTS (SELECT 1 FROM material_grade"
                                       " WHERE id = ?1) THEN NULL ELSE ?1 END, ?2, ?3, ?4"));
            insert.Bind(1, removed.grade.nId)
                .Bind(2, nGroupId)
                .Bind(3, removed.grade.strName)
                .Bind(4, static_cast<int64_t>(removed.grade.bCatalogue ? 1 : 0));
            if (insert.Step() != SQLITE_DONE)
                return Failed();
            return StoreResult::Done;
        });
    }

    StoreResult SetProcessGroups(const CString& strProcess,
                                 const std::vector<CString>& vecGroups) override
    {
        return Write([&]() -> StoreResult {
            std::vector<int64_t> vecIds;
            for (const CString& strGroup : vecGroups)
            {
                int64_t nGroupId = 0;
                bool bFound = false;
                if (!FindGroup(strGroup, nGroupId, bFound))
                    return Failed();
                if (!bFound)
                {
                    m_strError = "there is no material group \"" + Utf8(strGroup) + "\"";
                    return StoreResult::NotFound;
                }
                vecIds.push_back(nGroupId);
            }
            CStatement clear(Prepared("DELETE FROM process_group WHERE process = ?1"));
            if (clear.Bind(1, strProcess).Step() != SQLITE_DONE)
                return Failed();
            CStatement assign(Prepared("INSERT OR IGNORE INTO process_group(process, group_id,"
                                       " position) VALUES(?1, ?2, ?3)"));
            for (size_t i = 0; i < vecIds.size(); ++i)
            {
                assign.Reset();
                assign.Bind(1, strProcess).Bind(2, vecIds[i]).Bind(3, static_cast<int64_t>(i));
                if (assign.Step() != SQLITE_DONE)
                    return Failed();
            }
            return StoreResult::Done;
        });
    }

    StoreResult SetSetting(const char* pszName, const std::string& strValue) override
    {
        return Write([&]() -> StoreResult {
            CStatement set(Prepared("INSERT OR REPLACE INTO setting(name, value) VALUES(?1, ?2)"));
            if (set.Bind(1, std::string(pszName)).Bind(2, strValue).Step() != SQLITE_DONE)
                return Failed();
            return StoreResult::Done;
        });
    }

    void SetBusyTimeout(int nMilliseconds) override { sqlite3_busy_timeout(m_pDb, nMilliseconds); }

    const std::string& LastError() const override { return m_strError; }
    const std::string& GetPath() const override { return m_strPath; }

private:
    struct CCached
    {
        sqlite3_stmt* pStmt;
        int nPrepare;
    };

    // The store's statement for this text, prepared on first use and kept:
    // the same few statements run again and again.
    CCached Prepared(const char* pszSql)
    {
        auto it = m_mapStatements.find(pszSql);
        if (it != m_mapStatements.end())
            return {it->second, SQLITE_OK};
        sqlite3_stmt* pStmt = nullptr;
        const int nPrepare =
            sqlite3_prepare_v3(m_pDb, pszSql, -1, SQLITE_PREPARE_PERSISTENT, &pStmt, nullptr);
        if (nPrepare == SQLITE_OK)
            m_mapStatements.emplace(pszSql, pStmt);
        return {pStmt, nPrepare};
    }

    // Steps through the rows, calling onRow for each; on an error the output is
    // emptied and the reason kept.
    template <class TOnRow, class TOutput>
    bool ReadRows(CStatement& stmt, TOnRow onRow, TOutput& output)
    {
        int nStep;
        while ((nStep = stmt.Step()) == SQLITE_ROW)
            onRow();
        if (nStep == SQLITE_DONE)
            return true;
        output.clear();
        return Fail("read");
    }

    bool FindGroup(const CString& strGroup, int64_t& nGroupId, bool& bFound)
    {
        CStatement find(Prepared("SELECT id FROM material_group WHERE name = ?1"));
        const int nStep = find.Bind(1, strGroup).Step();
        bFound = nStep == SQLITE_ROW;
        if (bFound)
            nGroupId = find.Int(0);
        return nStep == SQLITE_ROW || nStep == SQLITE_DONE;
    }

    bool Fail(const char* pszWhat)
    {
        const int nCode = sqlite3_errcode(m_pDb);
        if (nCode == SQLITE_BUSY)
            m_strError = "the material database " + m_strPath +
                         " is kept busy by another program; nothing was changed";
        else if (nCode == SQLITE_READONLY || m_bReadOnly)
            m_strError =
                "the material database " + m_strPath + " is read-only; nothing was changed";
        else
            m_strError = std::string("cannot ") + pszWhat + " the material database " + m_strPath +
                         ": " + sqlite3_errmsg(m_pDb);
        return false;
    }

    StoreResult Failed()
    {
        Fail("write");
        return StoreResult::Failed;
    }

    // Runs body in a write transaction; commits only what ends Done.
    template <class TBody> StoreResult Write(TBody body)
    {
        if (m_bReadOnly)
        {
            m_strError =
                "the material database " + m_strPath + " is read-only; nothing was changed";
            return StoreResult::Failed;
        }
        if (!Exec(m_pDb, "BEGIN IMMEDIATE"))
            return Failed();
        const StoreResult eResult = body();
        if (eResult == StoreResult::Done)
        {
            if (Exec(m_pDb, "COMMIT"))
                return eResult;
            Failed();
            Exec(m_pDb, "ROLLBACK");
            return StoreResult::Failed;
        }
        // Keep the reason of the failure, not that of the rollback.
        const std::string strError = m_strError;
        Exec(m_pDb, "ROLLBACK");
        m_strError = strError;
        return eResult;
    }

    sqlite3* m_pDb;
    std::string m_strPath;
    bool m_bReadOnly;
    std::string m_strError;
    std::map<std::string, sqlite3_stmt*> m_mapStatements; // by statement text
};

// Creates the parent folders of strPath that are missing (for a first run under
// a fresh home folder).
void CreateParentFolders(const std::string& strPath)
{
    for (size_t nSlash = strPath.find('/', 1); nSlash != std::string::npos;
         nSlash = strPath.find('/', nSlash + 1))
        mkdir(strPath.substr(0, nSlash).c_str(), 0700);
}

// Checks an opened file, giving an empty one the schema (and the catalogue),
// and prepares the connection. False with the reason in strError.
bool PrepareDatabase(sqlite3* pDb, const std::string& strPath, bool bSeed, std::string& strError)
{
    sqlite3_extended_result_codes(pDb, 0);
    sqlite3_busy_timeout(pDb, kBusyTimeoutMs);
    const std::string strLeft = "; it was left as it is";
    int64_t nVersion = 0;
    int nError = SQLITE_OK;
    if (!ReadInteger(pDb, "PRAGMA user_version", nVersion, nError))
    {
        if (nError == SQLITE_NOTADB)
            strError = strPath + " is not a material database (not an SQLite file)" + strLeft;
        else if (nError == SQLITE_CORRUPT)
            strError = "the material database " + strPath + " is damaged (" + sqlite3_errmsg(pDb) +
                       ")" + strLeft;
        else
            strError = "cannot read the material database " + strPath + ": " + sqlite3_errmsg(pDb) +
                       strLeft;
        return false;
    }
    if (nVersion > kMaterialSchemaVersion)
    {
        strError = "the material database " + strPath + " was written by a newer version (layout " +
                   std::to_string(nVersion) + "; this program reads layout " +
                   std::to_string(kMaterialSchemaVersion) + " and older)" + strLeft;
        return false;
    }
    if (nVersion == 0)
    {
        // Only a file with nothing in it becomes a material database; the
        // check is repeated under the lock, as another program may be doing
        // the same at this moment.
        int64_t nObjects = 0;
        if (!Exec(pDb, "BEGIN EXCLUSIVE") ||
            !ReadInteger(pDb, "SELECT count(*) FROM sqlite_master", nObjects, nError) ||
            !ReadInteger(pDb, "PRAGMA user_version", nVersion, nError))
        {
            strError = "cannot set up the material database " + strPath + ": " +
                       sqlite3_errmsg(pDb) + strLeft;
            Exec(pDb, "ROLLBACK");
            return false;
        }
        if (nVersion == 0 && nObjects != 0)
        {
            Exec(pDb, "ROLLBACK");
            strError = strPath + " is an SQLite file but not a material database" + strLeft;
            return false;
        }
        if (nVersion == 0)
        {
            const std::string strSetVersion =
                "PRAGMA user_version = " + std::to_string(kMaterialSchemaVersion);
            if (!Exec(pDb, kSchema) || (bSeed && !SeedCatalogue(pDb)) ||
                !Exec(pDb, strSetVersion.c_str()) || !Exec(pDb, "COMMIT"))
            {
                strError =
                    "cannot set up the material database " + strPath + ": " + sqlite3_errmsg(pDb);
                Exec(pDb, "ROLLBACK");
                return false;
            }
        }
        else
        {
            Exec(pDb, "COMMIT");
        }
    }
    int64_t nTables = 0;
    if (!ReadInteger(pDb,
                     "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN"
                     " ('material_group', 'material_grade', 'process_group', 'setting')",
                     nTables, nError) ||
        nTables != static_cast<int64_t>(std::size(kTables)))
    {
        strError =
            "the material database " + strPath + " is damaged (tables are missing)" + strLeft;
        return false;
    }
    {
        CStatement check(pDb, "PRAGMA quick_check");
        const int nStep = check.Step();
        if (nStep != SQLITE_ROW || check.Text(0) != "ok")
        {
            const std::string strWhy = nStep == SQLITE_ROW ? check.Text(0) : sqlite3_errmsg(pDb);
            strError =
                "the material database " + strPath + " is damaged (" + strWhy + ")" + strLeft;
            return false;
        }
    }
    // Readers never wait for a writer, and a writer never waits for readers.
    // A file that cannot be written keeps its journal mode.
    {
        CStatement wal(pDb, "PRAGMA journal_mode = WAL");
        wal.Step();
    }
    // Every edit is on the disk when it returns: the file is user data.
    Exec(pDb, "PRAGMA synchronous = FULL");
    return true;
}
} // namespace

std::unique_ptr<IMaterialStore> OpenSqliteMaterialStore(const std::string& strPath,
                                                        StoreOpenMode eMode, bool bSeed,
                                                        std::string& strError)
{
    if (strPath.empty())
    {
        strError = "no material database file is named";
        return nullptr;
    }
    bool bCreated = false;
    struct stat status;
    if (stat(strPath.c_str(), &status) == 0)
    {
        if (eMode == StoreOpenMode::CreateNew)
        {
            strError = strPath + " exists already; it was left as it is";
            return nullptr;
        }
        if (!S_ISREG(status.st_mode))
        {
            strError = "the material database " + strPath + " is not a regular file";
            return nullptr;
        }
    }
    else if (errno == ENOENT)
    {
        CreateParentFolders(strPath);
        // Exclusive creation: a file that appears meanwhile is someone else's.
        const int fd = open(strPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0)
        {
            close(fd);
            bCreated = true;
        }
        else if (errno != EEXIST || eMode == StoreOpenMode::CreateNew)
        {
            strError =
                "cannot create the material database " + strPath + ": " + std::strerror(errno);
            return nullptr;
        }
    }
    else
    {
        strError = "cannot open the material database " + strPath + ": " + std::strerror(errno);
        return nullptr;
    }

    sqlite3* pDb = nullptr;
    const int nOpen = sqlite3_open_v2(strPath.c_str(), &pDb, SQLITE_OPEN_READWRITE, nullptr);
    bool bReady = false;
    if (nOpen != SQLITE_OK)
        strError = "cannot open the material database " + strPath + ": " +
                   (pDb ? sqlite3_errmsg(pDb) : sqlite3_errstr(nOpen));
    else
        bReady = PrepareDatabase(pDb, strPath, bSeed, strError);
    if (!bReady)
    {
        sqlite3_close_v2(pDb);
        if (bCreated)
            unlink(strPath.c_str());
        return nullptr;
    }
    const bool bReadOnly = sqlite3_db_readonly(pDb, "main") == 1;
    return std::unique_ptr<IMaterialStore>(new CSqliteMaterialStore(pDb, strPath, bReadOnly));
}
} // namespace vek_db
