// A fresh material database for one test: a new temporary folder, named by
// VEK_MATERIAL_DB for as long as the object lives, so that
// vek_db::VEKDataHelper opens (and seeds) a file of the test's own on first
// use. The folder goes with the object.
#pragma once

#include <VEKDataHelper.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

class CTempMaterialDatabase
{
public:
    CTempMaterialDatabase()
    {
        const char* pszTmp = std::getenv("TMPDIR");
        std::string strTemplate = std::string(pszTmp ? pszTmp : "/tmp") + "/vekdb-test-XXXXXX";
        if (mkdtemp(&strTemplate[0]) != nullptr)
            m_strFolder = strTemplate;
        m_strPath = m_strFolder + "/materials.db";
        setenv("VEK_MATERIAL_DB", m_strPath.c_str(), 1);
        vek_db::VEKDataHelper::getInstance().Close();
    }
    ~CTempMaterialDatabase()
    {
        vek_db::VEKDataHelper::getInstance().Close();
        unsetenv("VEK_MATERIAL_DB");
        if (!m_strFolder.empty())
        {
            const std::string strCommand = "rm -rf '" + m_strFolder + "'";
            if (std::system(strCommand.c_str()) != 0)
                return;
        }
    }
    CTempMaterialDatabase(const CTempMaterialDatabase&) = delete;
    CTempMaterialDatabase& operator=(const CTempMaterialDatabase&) = delete;

    // False when no temporary folder could be made.
    bool IsReady() const { return !m_strFolder.empty(); }
    const std::string& GetFolder() const { return m_strFolder; }
    // The database file (it exists once something has used the database).
    const std::string& GetPath() const { return m_strPath; }

private:
    std::string m_strFolder;
    std::string m_strPath;
};
