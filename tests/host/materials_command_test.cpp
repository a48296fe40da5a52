// vekhost materials run as a program against a fresh database file per test:
// listing, adding and deleting with the dialog's refusals, creating the file,
// process assignments, and the database library handed to rules modules.
#include "host_runner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

namespace
{
using vekhost_test::Contains;
using vekhost_test::kHost;
using vekhost_test::ReadFile;
using vekhost_test::RunResult;
const std::string kProbeModule = VEK_PROBE_MODULE;

std::vector<std::string> Lines(const std::string& strText)
{
    std::vector<std::string> vecLines;
    std::istringstream stream(strText);
    for (std::string strLine; std::getline(stream, strLine);)
        vecLines.push_back(strLine);
    return vecLines;
}

bool HasLine(const std::string& strText, const std::string& strLine)
{
    for (const std::string& str : Lines(strText))
    {
        if (str == strLine)
            return true;
    }
    return false;
}

// A database file of the test's own in the test folder, not there yet.
class MaterialsCommandTest : public vekhost_test::VekHostTest
{
protected:
    void SetUp() override
    {
        VekHostTest::SetUp();
        m_strDb = Path("materials.db");
    }

    // Runs vekhost with the test's database file; strArgs are quoted already.
    RunResult Run(const std::string& strArgs) const
    {
        return VekHostTest::Run(strArgs, "VEK_MATERIAL_DB='" + m_strDb + "'");
    }

    // Exit 0, nothing on standard error; the standard output.
    std::string Ok(const std::string& strArgs) const
    {
        const RunResult result = Run(strArgs);
        EXPECT_EQ(0, result.nExit) << strArgs << ": " << result.strErr;
        EXPECT_TRUE(result.strErr.empty()) << strArgs << ": " << result.strErr;
        return result.strOut;
    }

    // Exit 1, one line on standard error holding strWords, nothing on standard output.
    void Refused(const std::string& strArgs, const std::string& strWords) const
    {
        const RunResult result = Run(strArgs);
        EXPECT_EQ(1, result.nExit) << strArgs;
        EXPECT_EQ(1u, Lines(result.strErr).size()) << strArgs << ": " << result.strErr;
        EXPECT_TRUE(Contains(result.strErr, strWords)) << strArgs << ": " << result.strErr;
        EXPECT_TRUE(result.strOut.empty()) << strArgs << ": " << result.strOut;
    }

    std::string m_strDb;
};

TEST_F(MaterialsCommandTest, ListShowsGroupsThenGradesOnePerLine)
{
    const std::vector<std::string> vecGroups = Lines(Ok("materials list"));
    ASSERT_GE(vecGroups.size(), 12u);
    EXPECT_EQ("Steel", vecGroups[0]);
    EXPECT_EQ("Titanium Alloys", vecGroups[7]);
    for (const char* pszHidden : {"Woods", "Generic Glass Fibers", "Plastics", "Default"})
        EXPECT_TRUE(HasLine(Ok("materials list"), pszHidden)) << pszHidden;
    struct stat status;
    EXPECT_EQ(0, stat(m_strDb.c_str(), &status)) << "created on first use";

    const std::string strSteel = Ok("materials list Steel");
    EXPECT_TRUE(HasLine(strSteel, "ASTM A351 CF8M")) << strSteel;
    EXPECT_FALSE(Contains(strSteel, ";"));
    Refused("materials list steel", "no material group \"steel\"");
}

TEST_F(MaterialsCommandTest, AddMakesTheDialogsRefusals)
{
    EXPECT_EQ("", Ok("materials add 'Ceramic Cores' 'Fused Silica '"));
    EXPECT_EQ("Ceramic Cores", Lines(Ok("materials list")).back()) << "new groups come last";
    EXPECT_EQ("Fused Silica \n", Ok("materials list 'Ceramic Cores'")) << "names kept exactly";

    const struct
    {
        const char* pszArgs;
        const char* pszWords;
    } arrRefusals[] = {
        {"materials add Iron Steel", "named like a material group"},
        // Found in another group, even hidden ones: the first group that holds it.
        {"materials add Iron 'ASTM A216 WCB'", "exists already in the group \"Steel\""},
        {"materials add Steel Oak", "exists already in the group \"Woods\""},
        {"materials add 'Ceramic Cores' 'Fused Silica '", "exists already"},
        {"materials add Steel 'A;B'", ";"},
    };
    for (const auto& refusal : arrRefusals)
        Refused(refusal.pszArgs, refusal.pszWords);
    // A name that differs from a group only in case is no group name.
    Ok("materials add Iron steel");
    EXPECT_TRUE(HasLine(Ok("materials list Iron"), "steel"));
}

TEST_F(MaterialsCommandTest, DeleteKeepsTheCatalogueAndTakesWholeGroups)
{
    Ok("materials add Steel 'Shop Grade'");
    Ok("materials add 'Ceramic Cores' Silica");
    Ok("materials add 'Ceramic Cores' Zircon");
    Refused("materials delete Steel 'ASTM A216 WCB'", "catalogue");
    Refused("materials delete Steel", "catalogue");
    Refused("materials delete Steel 'No Such'", "has no grade");
    Refused("materials delete 'No Such Group'", "no material group");
    EXPECT_TRUE(HasLine(Ok("materials list Steel"), "ASTM A216 WCB"));

    // Typed in another case, found as stored.
    Ok("materials delete steel 'shop grade'");
    EXPECT_FALSE(HasLine(Ok("materials list Steel"), "Shop Grade"));
    Ok("materials delete 'Ceramic Cores'");
    EXPECT_FALSE(HasLine(Ok("materials list"), "Ceramic Cores"));
}

TEST_F(MaterialsCommandTest, InitCreatesSeededOrEmptyAndRefusesAnExistingFile)
{
    Ok("materials init --empty");
    EXPECT_EQ("", Ok("materials list"));
    const std::string strBefore = ReadFile(m_strDb);
    Refused("materials init", "exists already");
    Refused("materials init --empty", "exists already");
    EXPECT_TRUE(strBefore == ReadFile(m_strDb));

    std::remove(m_strDb.c_str());
    Ok("materials init");
    EXPECT_TRUE(HasLine(Ok("materials list"), "Aluminium Alloys"));
}

TEST_F(MaterialsCommandTest, ProcessGroupsAreAssignedAndSwitched)
{
    EXPECT_EQ("off\n", Ok("materials process-groups"));
    Ok("materials process-groups on");
    EXPECT_EQ("on\n", Ok("materials process-groups"));
    Ok("materials process-groups off");
    EXPECT_EQ("off\n", Ok("materials process-groups"));

    EXPECT_TRUE(HasLine(Ok("materials assigned"), "Steel"));
    Ok("materials assign 'Titanium Alloys' Iron");
    EXPECT_EQ("Iron\nTitanium Alloys\n", Ok("materials assigned"));
    Refused("materials assign Steel Nope", "\"Nope\"");
    EXPECT_EQ("Iron\nTitanium Alloys\n", Ok("materials assigned")) << "a refusal changes nothing";
    Ok("materials assign");
    EXPECT_EQ("", Ok("materials assigned"));
}

TEST_F(MaterialsCommandTest, UnusableFilesAndCommandLines)
{
    {
        std::ofstream file(m_strDb, std::ios::binary);
        file << "this is not a database, and it must survive being looked at";
    }
    const std::string strBefore = ReadFile(m_strDb);
    Refused("materials list", "not a material database");
    Refused("materials add Steel X", "not a material database");
    EXPECT_EQ(strBefore, ReadFile(m_strDb));

    for (const char* pszArgs :
         {"materials", "materials frobnicate", "materials list a b", "materials add Steel",
          "materials delete", "materials init --seeded", "materials process-groups maybe"})
    {
        const RunResult result = Run(pszArgs);
        EXPECT_EQ(2, result.nExit) << pszArgs;
        EXPECT_EQ(1u, Lines(result.strErr).size()) << pszArgs << ": " << result.strErr;
    }
    const RunResult help = Run("materials --help");
    EXPECT_EQ(0, help.nExit);
    EXPECT_TRUE(Contains(help.strOut, "usage: vekhost materials list")) << help.strOut;
    EXPECT_TRUE(Contains(Run("--help").strOut, "  materials"));
}

// The host loads the database library before the rules modules, so that a
// module finds it loaded when it is told its name.
TEST_F(MaterialsCommandTest, RulesModulesAreToldOfTheLoadedDatabaseLibrary)
{
    const std::string strOut = Ok("--module '" + kProbeModule + "' info");
    EXPECT_TRUE(Contains(strOut, "databases: VEKDatabaseu.dll (Investment Casting Materials)"))
        << strOut;
}
} // namespace
