// vekhost configure, run as a program: a rule file made by vekhost new, configured by scripts of
// user actions, and read back with vekhost show.
#include "host_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
using vekhost_test::Contains;
using vekhost_test::kHost;
using vekhost_test::ReadFile;
using vekhost_test::RunResult;
using vekhost_test::Squeeze;
using vekhost_test::WriteFile;

// A rule file made by vekhost new in the test folder, and a material database of the test's own.
class ConfigureCommandTest : public vekhost_test::VekHostTest
{
protected:
    void SetUp() override
    {
        VekHostTest::SetUp();
        ASSERT_EQ(0, Run("new -o rules.xml").nExit);
        m_strOriginal = ReadFile(Path("rules.xml"));
        ASSERT_FALSE(m_strOriginal.empty());
    }

    // strPrefix goes before the program (e.g. "timeout 20").
    RunResult Run(const std::string& strArgs, const std::string& strPrefix = "") const
    {
        return VekHostTest::Run(strArgs,
                                "VEK_MATERIAL_DB='" + Path("materials.db") + "' " + strPrefix);
    }

    RunResult Configure(const std::string& strScript) const
    {
        WriteFile(Path("actions.txt"), strScript);
        return Run("configure rules.xml --script actions.txt");
    }

    std::string m_strOriginal;
};

TEST_F(ConfigureCommandTest, APerMaterialConfigurationIsSavedAndReadsBack)
{
    const RunResult result = Configure("# three materials, one thickness each\n"
                                       "check \"One thickness per material\"\n"
                                       "click \"Add >>\"\n"
                                       "choose cell 0 0 \"ASTM A216 WCA\"\n"
                                       "type cell 0 1 \"2.5\"\n"
                                       "choose cell 1 0 \"ASTM A216 WCB\"\n"
                                       "type cell 1 1 \"3\"\n"
                                       "type cell 3 1 \"4\"\n"
                                       "key enter\n"
                                       "click OK\n");
    ASSERT_EQ(0, result.nExit) << result.strErr;
    EXPECT_NE(m_strOriginal, ReadFile(Path("rules.xml")));

    const RunResult shown = Run("show rules.xml");
    ASSERT_EQ(0, shown.nExit) << shown.strErr;
    const std::string strShown = Squeeze(shown.strOut);
    EXPECT_TRUE(Contains(strShown, "Summary Wall thickness limits per material\n")) << strShown;
    EXPECT_TRUE(Contains(strShown, "ASTM A216 WCA yes 2.5\n"
                                   " ASTM A216 WCB yes 3\n"
                                   " Steel yes 4\n"))
        << strShown;
    EXPECT_FALSE(Contains(strShown, "Aluminium")) << strShown;
}

TEST_F(ConfigureCommandTest, CancellingLeavesTheFileByteIdentical)
{
    for (const char* pszScript : {"check 40096\nclick Cancel\n", "type 40077 \"7\"\nkey escape\n",
                                  "check 40096\n"}) // a script that ends with the dialog open
    {
        const RunResult result = Configure(pszScript);
        EXPECT_EQ(0, result.nExit) << pszScript << result.strErr;
        EXPECT_EQ(m_strOriginal, ReadFile(Path("rules.xml"))) << pszScript;
    }
}

// A failing script names its line and leaves the file alone, even after an OK it would reach.
TEST_F(ConfigureCommandTest, AFailingScriptNamesItsLineAndLeavesTheFileAlone)
{
    struct Case
    {
        const char* pszScript;
        const char* pszMessage;
    };
    const Case cases[] = {
        {"check 40096\nclick \"No such button\"\nclick OK\n",
         "script line 2: the dialog has no control labelled \"No such button\""},
        {"type 40077 \"0\"\nclick OK\nexpect-message \"Something else\"\nclick OK\n",
         "script line 3: the message box said \"The thickness must be greater than zero.\""},
        {"click OK\nexpect-message \"Anything\"\n", "script line 2: no dialog is open"},
        {"\nfrobnicate 40096\n", "line 2: unknown action \"frobnicate\""},
    };
    for (const Case& c : cases)
    {
        const RunResult result = Configure(c.pszScript);
        EXPECT_EQ(1, result.nExit) << c.pszScript;
        EXPECT_TRUE(Contains(result.strErr, c.pszMessage)) << result.strErr;
        EXPECT_EQ(m_strOriginal, ReadFile(Path("rules.xml"))) << c.pszScript;
    }
}

// The material database dialog opened from the configuration dialog takes the following lines:
// its edits, its message box and its tree, addressed by item paths.
TEST_F(ConfigureCommandTest, TheMaterialDatabaseDialogIsDrivenByTheSameScript)
{
    const RunResult result = Configure(
        "check 40096\n"
        "click \"Edit Material Database...\"\n"
        "type \"Material group\" \"Steel\"\n"
        "type \"Material grade\" \"Script Grade\"\n"
        "click \"Add Grade\"\n"
        "expect-message \"The material grade \\\"Script Grade\\\" has been added to the group "
        "\\\"Steel\\\".\"\n"
        "double-click tree \"All materials\"\n"
        "check tree \"All materials/Iron\"\n"
        "uncheck tree \"All materials/Iron\"\n"
        "click OK\n"
        "click Cancel\n");
    ASSERT_EQ(0, result.nExit) << result.strErr;
    EXPECT_EQ(m_strOriginal, ReadFile(Path("rules.xml")));
    EXPECT_TRUE(Contains(Run("materials list Steel").strOut, "Script Grade\n"));

    // An item under a collapsed one is not shown, so it cannot be clicked.
    const RunResult hidden = Configure("check 40096\n"
                                       "click \"Edit Material Database...\"\n"
                                       "check tree \"All materials/Steel/Script Grade\"\n");
    EXPECT_EQ(1, hidden.nExit);
    EXPECT_TRUE(Contains(hidden.strErr, "script line 3: the tree item "
                                        "\"All materials/Steel/Script Grade\" is not shown"))
        << hidden.strErr;
}

// File names are bytes: a rule file and a script whose names are not UTF-8, or
// are as long as a folder entry can be, are read and written under those names.
TEST_F(ConfigureCommandTest, FilesAreFoundAndSavedUnderTheirNamesAsGiven)
{
    for (const std::string& strName :
         {std::string("latin1-\xE9t\xE9.xml"), std::string("overlong-\xC0\xAF.xml"),
          std::string(251, 'n') + ".xml"})
    {
        SCOPED_TRACE(strName);
        WriteFile(Path(strName), m_strOriginal);
        const std::string strScript = "\xE9-" + strName.substr(0, 200);
        WriteFile(Path(strScript), "type 40077 \"7\"\nclick OK\n");
        const RunResult result = Run("configure '" + strName + "' --script '" + strScript + "'");
        EXPECT_EQ(0, result.nExit) << result.strErr;
        const std::string strAfter = ReadFile(Path(strName));
        EXPECT_NE(m_strOriginal, strAfter);
        EXPECT_TRUE(Contains(strAfter, "<Value>7.000000</Value>")) << strAfter;
        EXPECT_EQ(m_strOriginal, ReadFile(Path("rules.xml")));
        std::remove(Path(strName).c_str());
        std::remove(Path(strScript).c_str());
    }
}

// Without the database library the dialog cannot run; the one line of error says
// why the library did not load, and no warning comes before it.
TEST_F(ConfigureCommandTest, WithoutTheDatabaseLibraryItFailsInOneLineSayingWhy)
{
    // A copy of the host looks for the library beside itself, where there is none.
    const std::string strCopy = Path("vekhost");
    ASSERT_EQ(0, std::system(("cp '" + kHost + "' '" + strCopy + "'").c_str()));
    WriteFile(Path("actions.txt"), "type 40077 \"7\"\nclick OK\n");
    const std::string strErr = Path(".stderr");
    const std::string strCommand = "cd '" + m_strDir +
                                   "' && VEK_UI_LANGUAGE=en-US ./vekhost --module '" VEK_BIN_DIR
                                   "/VEKInvestmentCastRulesu.so' configure rules.xml --script "
                                   "actions.txt >/dev/null 2>'" +
                                   strErr + "'";
    const int nStatus = std::system(strCommand.c_str());
    const std::string strMessage = ReadFile(strErr);
    EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 1) << strMessage;
    EXPECT_EQ(1, std::count(strMessage.begin(), strMessage.end(), '\n')) << strMessage;
    EXPECT_TRUE(Contains(strMessage, "cannot load the database library " + m_strDir)) << strMessage;
    EXPECT_EQ(m_strOriginal, ReadFile(Path("rules.xml")));
}

// A script that cannot be read whole is an error, never an empty or shorter
// script (which would cancel the dialog and report success); a FIFO is refused
// rather than waited on.
TEST_F(ConfigureCommandTest, AScriptThatCannotBeReadIsAnError)
{
    ASSERT_EQ(0, mkfifo(Path("fifo").c_str(), 0600));
    ASSERT_EQ(0, mkdir(Path("folder").c_str(), 0700));
    for (const char* pszScript : {"fifo", "folder", "absent.txt"})
    {
        SCOPED_TRACE(pszScript);
        const RunResult result =
            Run("configure rules.xml --script " + std::string(pszScript), "timeout 20");
        EXPECT_EQ(1, result.nExit);
        EXPECT_TRUE(Contains(result.strErr, std::string("cannot read the script ") + pszScript))
            << result.strErr;
        EXPECT_EQ(1, std::count(result.strErr.begin(), result.strErr.end(), '\n')) << result.strErr;
        EXPECT_EQ(m_strOriginal, ReadFile(Path("rules.xml")));
    }
}

TEST_F(ConfigureCommandTest, WithoutAScriptItFailsAtOnce)
{
    const RunResult result = Run("configure rules.xml");
    EXPECT_EQ(1, result.nExit);
    EXPECT_TRUE(Contains(result.strErr, "--script")) << result.strErr;
    EXPECT_EQ(m_strOriginal, ReadFile(Path("rules.xml")));
}
} // namespace
