// vek_db::VEKDataHelper: the framework's access point to the material database.
#pragma once

#include "IDatabaseCollector.h"
#include "VekFrameworkApi.h"

#include <memory>
#include <string>

namespace vek_db
{
class IMaterialDatabase;

// One per process. The database is opened on first use from the file
// DefaultMaterialDatabasePath names (created with the catalogue when
// missing), and opened again when that path changes.
class VEK_FRAMEWORK_API VEKDataHelper
{
public:
    // The process's helper.
    static VEKDataHelper& getInstance();

    VEKDataHelper(const VEKDataHelper&) = delete;
    VEKDataHelper& operator=(const VEKDataHelper&) = delete;

    // The database, or null when it cannot be opened (GetOpenError says why).
    // Owned by the helper; valid until the path changes or Close.
    operator IDatabaseCollector*();
    // The same database with the operations beyond IDatabaseCollector; null likewise.
    IMaterialDatabase* GetDatabase();

    // Why the last attempt to open the database failed; empty after a success.
    const std::string& GetOpenError() const { return m_strOpenError; }

    // Closes the database; the next use opens it again.
    void Close();

private:
    VEKDataHelper();
    ~VEKDataHelper();

    std::unique_ptr<IMaterialDatabase> m_pDatabase;
    std::string m_strPath; // the path m_pDatabase was opened from
    std::string m_strOpenError;
};
} // namespace vek_db
