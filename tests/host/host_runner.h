// The fixture of the host tests: vekhost run as a program in a fresh folder,
// its exit status and both output streams, and small file helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vekhost_test
{
const std::string kHost = VEK_BIN_DIR "/vekhost";
const std::string kModule = VEK_BIN_DIR "/VEKInvestmentCastRulesu.so";
#ifdef VEK_OTHER_MODULE
const std::string kOtherModule = VEK_OTHER_MODULE;
#endif

struct RunResult
{
    int nExit;
    std::string strOut;
    std::string strErr;
};

inline std::string ReadFile(const std::string& strPath)
{
    std::ifstream file(strPath, std::ios::binary);
    std::stringstream stream;
    stream << file.rdbuf();
    return stream.str();
}

inline void WriteFile(const std::string& strPath, const std::string& strText)
{
    std::ofstream file(strPath, std::ios::binary);
    file << strText;
}

inline int CountLines(const std::string& strText)
{
    int nLines = 0;
    for (char ch : strText)
        nLines += ch == '\n' ? 1 : 0;
    return nLines;
}

// Runs of blanks become one, so that table rows can be matched without their padding.
inline std::string Squeeze(const std::string& strText)
{
    std::string strOut;
    for (char ch : strText)
    {
        if (ch == ' ' && !strOut.empty() && strOut.back() == ' ')
            continue;
        strOut.push_back(ch);
    }
    return strOut;
}

inline bool Contains(const std::string& strText, const std::string& strPart)
{
    return strText.find(strPart) != std::string::npos;
}

class VekHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* pszTmp = std::getenv("TMPDIR");
        std::string strTemplate = std::string(pszTmp ? pszTmp : "/tmp") + "/vekhost-test-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(&strTemplate[0]));
        m_strDir = strTemplate;
    }
    void TearDown() override
    {
        const std::string strCommand = "rm -rf '" + m_strDir + "'";
        EXPECT_EQ(0, std::system(strCommand.c_str()));
    }

    std::string Path(const std::string& strName) const { return m_strDir + "/" + strName; }

    // Runs vekhost in the test folder with the arguments (already quoted where
    // needed) in the English user interface.
    // strEnvironment holds extra "NAME=value" assignments for vekhost only; a
    // non-empty strStdout replaces the standard output file (e.g. /dev/full).
    RunResult Run(const std::string& strArgs, const std::string& strEnvironment = "",
                  const std::string& strStdout = "") const
    {
        const std::string strOut = Path(".stdout");
        const std::string strErr = Path(".stderr");
        const std::string strCommand = "cd '" + m_strDir + "' && VEK_UI_LANGUAGE=en-US " +
                                       strEnvironment + " '" + kHost + "' " + strArgs + " >'" +
                                       (strStdout.empty() ? strOut : strStdout) + "' 2>'" + strErr +
                                       "'";
        const int nStatus = std::system(strCommand.c_str());
        RunResult result = {WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1, ReadFile(strOut),
                            ReadFile(strErr)};
        std::remove(strOut.c_str());
        std::remove(strErr.c_str());
        return result;
    }

    // The names in the test folder, so that a refused command can be seen to leave nothing behind.
    std::set<std::string> DirectoryEntries() const
    {
        std::set<std::string> setNames;
        if (DIR* pDir = opendir(m_strDir.c_str()))
        {
            while (dirent* pEntry = readdir(pDir))
            {
                const std::string strName = pEntry->d_name;
                if (strName != "." && strName != "..")
                    setNames.insert(strName);
            }
            closedir(pDir);
        }
        return setNames;
    }

    std::string m_strDir;
};

// Expects a refusal: exit status 1, one line on standard error naming strName, nothing on standard
// output.
inline void ExpectRefused(const RunResult& result, const std::string& strName)
{
    EXPECT_EQ(1, result.nExit);
    EXPECT_EQ(1, CountLines(result.strErr)) << result.strErr;
    EXPECT_TRUE(Contains(result.strErr, strName)) << result.strErr;
    EXPECT_TRUE(result.strOut.empty()) << result.strOut;
}
} // namespace vekhost_test
