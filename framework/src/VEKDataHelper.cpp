#include "VEKDataHelper.h"

#include "VekMaterialDatabase.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace vek_db
{
std::string DefaultMaterialDatabasePath()
{
    const char* pszFile = std::getenv("VEK_MATERIAL_DB");
    if (pszFile && *pszFile)
        return pszFile;
    const char* pszData = std::getenv("XDG_DATA_HOME");
    // A relative XDG_DATA_HOME is invalid and ignored, as other XDG programs do.
    if (pszData && pszData[0] == '/')
        return std::string(pszData) + "/vek/materials.db";
    const char* pszHome = std::getenv("HOME");
    if (!pszHome || !*pszHome)
    {
        const passwd* pUser = getpwuid(getuid());
        pszHome = pUser ? pUser->pw_dir : nullptr;
    }
    if (!pszHome || !*pszHome)
        return std::string();
    return std::string(pszHome) + "/.local/share/vek/materials.db";
}

VEKDataHelper::VEKDataHelper() = default;
VEKDataHelper::~VEKDataHelper() = default;

VEKDataHelper& VEKDataHelper::getInstance()
{
    static VEKDataHelper helper;
    return helper;
}

VEKDataHelper::operator IDatabaseCollector*()
{
    return GetDatabase();
}

IMaterialDatabase* VEKDataHelper::GetDatabase()
{
    const std::string strPath = DefaultMaterialDatabasePath();
    if (m_pDatabase && strPath == m_strPath)
        return m_pDatabase.get();
    m_pDatabase.reset();
    m_strPath = strPath;
    if (strPath.empty())
    {
        m_strOpenError = "no material database file is known: set VEK_MATERIAL_DB or HOME";
        return nullptr;
    }
    m_pDatabase = OpenMaterialDatabase(strPath, OpenMode::OpenOrCreate, m_strOpenError);
    if (m_pDatabase)
        m_strOpenError.clear();
    return m_pDatabase.get();
}

void VEKDataHelper::Close()
{
    m_pDatabase.reset();
    m_strPath.clear();
}
} // namespace vek_db
