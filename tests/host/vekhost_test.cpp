// vekhost run as a program: its commands on good and bad rule files, exit
// codes and one-line errors, files left alone when a command refuses, and
// the road new -> show -> convert -> show with the values converted.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "host_runner.h"

using namespace vekhost_test;

namespace
{
const char kForeignRule[] = "<Rule Name=\"Sprue Size\" Module=\"SomeOtherValidator\"/>";

std::string RuleFile(const std::string& strVersion, const std::string& strUnit,
                     const std::string& strRules)
{
    return "<?xml version=\"1.0\"?>\n<VekRuleFile FormatVersion=\"" + strVersion +
           "\"><Rules Unit=\"" + strUnit + "\">" + strRules + "</Rules></VekRuleFile>\n";
}
} // namespace

TEST_F(VekHostTest, HelpForTheProgramAndEachCommand)
{
    RunResult result = Run("--help");
    EXPECT_EQ(0, result.nExit);
    for (const char* pszCommand : {"info", "new", "show", "convert"})
    {
        EXPECT_TRUE(Contains(result.strOut, std::string("  ") + pszCommand)) << pszCommand;
        RunResult command = Run(std::string(pszCommand) + " --help");
        EXPECT_EQ(0, command.nExit) << pszCommand;
        EXPECT_TRUE(Contains(command.strOut,
                             std::string("usage: vekhost [--module PATH]... ") + pszCommand))
            << command.strOut;
    }
    // Help needs no module at all.
    EXPECT_EQ(0, Run("--module /nonexistent.so show --help").nExit);
}

TEST_F(VekHostTest, CommandLinesItDoesNotUnderstand)
{
    const char* const cases[] = {
        "",                             // no command
        "frobnicate",                   // unknown command
        "--verbose info",               // unknown option
        "--module",                     // option without its value
        "info extra",                   // argument a command does not take
        "new",                          // no output file
        "new -o x.xml --unit 11",       // unit code out of range
        "new -o x.xml --unit mm",       // unit not a number
        "convert",                      // no file
        "convert a.xml",                // no unit
        "convert a.xml --unit -1",      // negative unit
        "convert a.xml b.xml --unit 1", // two files
        "show a.xml --unit 3",          // option of another command
    };
    for (const char* pszArgs : cases)
    {
        RunResult result = Run(pszArgs);
        EXPECT_EQ(2, result.nExit) << pszArgs;
        EXPECT_EQ(1, CountLines(result.strErr)) << pszArgs << ": " << result.strErr;
    }
    EXPECT_TRUE(DirectoryEntries().empty());
}

TEST_F(VekHostTest, InfoNamesTheModuleAndItsRules)
{
    RunResult result = Run("info");
    ASSERT_EQ(0, result.nExit) << result.strErr;
    EXPECT_TRUE(Contains(result.strOut, "Module: Investment Casting")) << result.strOut;
    EXPECT_TRUE(Contains(result.strOut, kModule)) << result.strOut;
    EXPECT_TRUE(Contains(result.strOut, "Rules (1):")) << result.strOut;
    EXPECT_TRUE(Contains(result.strOut, "Uniform Thickness")) << result.strOut;
    EXPECT_TRUE(result.strErr.empty()) << result.strErr;
}

TEST_F(VekHostTest, ModulesThatCannotBeUsed)
{
    // A file that is not there, a library without the exports, a file that is no library.
    WriteFile(Path("junk.so"), "not a shared object");
    const std::string paths[] = {Path("missing.so"), VEK_BIN_DIR "/libvekplatform.so",
                                 Path("junk.so")};
    for (const std::string& strPath : paths)
    {
        RunResult result = Run("--module '" + strPath + "' info");
        ExpectRefused(result, strPath);
    }
    RunResult notRules = Run("--module '" VEK_BIN_DIR "/libvekplatform.so' info");
    EXPECT_TRUE(Contains(notRules.strErr, "not a rules module")) << notRules.strErr;
    // A bare file name is a file in the current folder, not one found on the library path.
    ExpectRefused(Run("--module VEKInvestmentCastRulesu.so info"), "VEKInvestmentCastRulesu.so");
    // A good module given with a bad one is no excuse.
    ExpectRefused(Run("--module '" + kModule + "' --module '" + paths[1] + "' info"), paths[1]);
}

TEST_F(VekHostTest, NewShowConvertShowRoundTrip)
{
    const std::string strFile = Path("rules.xml");
    RunResult created = Run("new -o '" + strFile + "' --unit 0");
    ASSERT_EQ(0, created.nExit) << created.strErr;
    const std::string strSaved = ReadFile(strFile);
    EXPECT_TRUE(Contains(strSaved, "<VekRuleFile FormatVersion=\"1\">")) << strSaved;
    EXPECT_TRUE(Contains(strSaved, "<Rules Unit=\"0\">")) << strSaved;
    EXPECT_TRUE(Contains(strSaved, "Module=\"VEKInvestmentCastRulesValidator\"")) << strSaved;

    RunResult shown = Run("show '" + strFile + "'");
    ASSERT_EQ(0, shown.nExit) << shown.strErr;
    std::string strShown = Squeeze(shown.strOut);
    EXPECT_TRUE(Contains(strShown, "Rule 1: Uniform Thickness")) << strShown;
    EXPECT_TRUE(Contains(strShown, "Unit 0 (mm)")) << strShown;
    EXPECT_TRUE(Contains(strShown, "40067 >= 1 off")) << strShown;
    EXPECT_TRUE(Contains(strShown, "Aluminium no 1\n")) << strShown;
    EXPECT_TRUE(Contains(strShown, "Steel no 1.5\n")) << strShown;
    EXPECT_TRUE(Contains(strShown, "1 rule, 1 shown, 0 skipped")) << strShown;

    RunResult converted = Run("convert '" + strFile + "' --unit 3");
    ASSERT_EQ(0, converted.nExit) << converted.strErr;
    EXPECT_TRUE(Contains(ReadFile(strFile), "<Rules Unit=\"3\">"));
    EXPECT_TRUE(Contains(ReadFile(strFile), "<Value>0.039370</Value>"));

    shown = Run("show '" + strFile + "'");
    ASSERT_EQ(0, shown.nExit) << shown.strErr;
    strShown = Squeeze(shown.strOut);
    EXPECT_TRUE(Contains(strShown, "Unit 3 (in)")) << strShown;
    EXPECT_TRUE(Contains(strShown, "40067 >= 0.03937 off")) << strShown;
    EXPECT_TRUE(Contains(strShown, "Aluminium no 0.03937")) << strShown;
    EXPECT_TRUE(Contains(strShown, "Steel no 0.059055")) << strShown;

    // And back, into another file: the input stays as it is. The rule's own
    // thickness is stored with six decimals ("%f"), so 0.039370 in comes back
    // as 0.999998 mm; the constraints' values are stored exactly.
    const std::string strInches = ReadFile(strFile);
    const std::string strBack = Path("back.xml");
    converted = Run("convert '" + strFile + "' --unit 0 -o '" + strBack + "'");
    ASSERT_EQ(0, converted.nExit) << converted.strErr;
    EXPECT_EQ(strInches, ReadFile(strFile));
    shown = Run("show '" + strBack + "'");
    strShown = Squeeze(shown.strOut);
    EXPECT_TRUE(Contains(strShown, "40067 >= 0.999998 off")) << strShown;
    EXPECT_TRUE(Contains(strShown, "Aluminium no 1\n")) << strShown;
    EXPECT_TRUE(Contains(strShown, "Bronze no 1.5\n")) << strShown;
    EXPECT_EQ((std::set<std::string>{"rules.xml", "back.xml"}), DirectoryEntries());
}

TEST_F(VekHostTest, NewInAnotherUnitConvertsTheDefaults)
{
    const std::string strFile = Path("inches.xml");
    ASSERT_EQ(0, Run("new -o '" + strFile + "' --unit 3").nExit);
    const std::string strShown = Squeeze(Run("show '" + strFile + "'").strOut);
    EXPECT_TRUE(Contains(strShown, "Unit 3 (in)")) << strShown;
    EXPECT_TRUE(Contains(strShown, "40067 >= 0.03937 off")) << strShown;
    EXPECT_TRUE(Contains(strShown, "Brass no 0.03937")) << strShown;

    // An existing file is replaced only on request.
    const std::string strBefore = ReadFile(strFile);
    ExpectRefused(Run("new -o '" + strFile + "' --unit 0"), strFile);
    EXPECT_EQ(strBefore, ReadFile(strFile));
    EXPECT_EQ(0, Run("new -o '" + strFile + "' --unit 0 --force").nExit);
    EXPECT_TRUE(Contains(ReadFile(strFile), "<Rules Unit=\"0\">"));
}

TEST_F(VekHostTest, BadFilesAreRefusedAndLeftAlone)
{
    struct Case
    {
        const char* pszName;
        std::string strContent; // empty: the file does not exist
        const char* pszMessage;
    };
    const Case cases[] = {
        {"missing.xml", "", "No such file"},
        {"malformed.xml", "<VekRuleFile FormatVersion=\"1\"><Rules Unit=\"0\"><Rule>",
         "well-formed"},
        {"empty.xml", "", nullptr},
        {"norules.xml", RuleFile("1", "0", ""), "no rule elements"},
        {"outside.xml",
         "<VekRuleFile FormatVersion=\"1\"><Rule Name=\"Uniform Thickness\"/></VekRuleFile>",
         "no rule elements"},
        {"newer.xml", RuleFile("2", "0", kForeignRule),
         "version 2 is newer than the supported version 1"},
        {"noversion.xml",
         "<VekRuleFile><Rules Unit=\"0\">" + std::string(kForeignRule) + "</Rules></VekRuleFile>",
         "FormatVersion"},
        {"badversion.xml", RuleFile("1.5", "0", kForeignRule), "FormatVersion"},
        {"otherroot.xml", "<Rules Unit=\"0\">" + std::string(kForeignRule) + "</Rules>",
         "not a rule file"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        const std::string strPath = Path(c.pszName);
        if (!c.strContent.empty() || std::string(c.pszName) == "empty.xml")
            WriteFile(strPath, c.strContent);
        const std::set<std::string> setBefore = DirectoryEntries();
        for (const std::string& strCommand : {std::string("show"), std::string("convert")})
        {
            RunResult result = Run(strCommand + " '" + strPath + "'" +
                                   (strCommand == "convert" ? " --unit 3" : ""));
            ExpectRefused(result, strPath);
            if (c.pszMessage)
            {
                EXPECT_TRUE(Contains(result.strErr, c.pszMessage)) << result.strErr;
            }
        }
        if (!c.strContent.empty())
        {
            EXPECT_EQ(c.strContent, ReadFile(strPath));
        }
        EXPECT_EQ(setBefore, DirectoryEntries());
    }
}

TEST_F(VekHostTest, ForeignRulesAreSkippedByShowAndStopConvert)
{
    const std::string strOurs = Path("ours.xml");
    ASSERT_EQ(0, Run("new -o '" + strOurs + "'").nExit);
    std::string strMixed = ReadFile(strOurs);
    const size_t nEnd = strMixed.find("</Rules>");
    ASSERT_NE(std::string::npos, nEnd);
    strMixed.insert(nEnd, kForeignRule);
    const std::string strFile = Path("mixed.xml");
    WriteFile(strFile, strMixed);

    RunResult shown = Run("show '" + strFile + "'");
    EXPECT_EQ(0, shown.nExit);
    const std::string strShown = Squeeze(shown.strOut);
    EXPECT_TRUE(Contains(strShown, "Rule 1: Uniform Thickness")) << strShown;
    EXPECT_TRUE(Contains(strShown, "Rule 2: skipped")) << strShown;
    EXPECT_TRUE(Contains(strShown, "\"Sprue Size\" of module \"SomeOtherValidator\"")) << strShown;
    EXPECT_TRUE(Contains(strShown, "2 rules, 1 shown, 1 skipped")) << strShown;

    const std::set<std::string> setBefore = DirectoryEntries();
    RunResult converted = Run("convert '" + strFile + "' --unit 3");
    ExpectRefused(converted, strFile);
    EXPECT_TRUE(Contains(converted.strErr, "SomeOtherValidator")) << converted.strErr;
    EXPECT_EQ(strMixed, ReadFile(strFile));
    EXPECT_EQ(setBefore, DirectoryEntries());
}

TEST_F(VekHostTest, FailedSaveLeavesTheInputAndNoTemporaryFiles)
{
    const std::string strFile = Path("rules.xml");
    ASSERT_EQ(0, Run("new -o '" + strFile + "'").nExit);
    const std::string strBefore = ReadFile(strFile);
    ASSERT_EQ(0, mkdir(Path("folder").c_str(), 0700));
    const std::set<std::string> setBefore = DirectoryEntries();

    // Into a folder that does not exist, and onto a folder.
    for (const std::string& strTarget : {Path("nowhere/out.xml"), Path("folder")})
    {
        RunResult result = Run("convert '" + strFile + "' --unit 3 -o '" + strTarget + "'");
        ExpectRefused(result, strTarget);
        EXPECT_EQ(strBefore, ReadFile(strFile));
        EXPECT_EQ(setBefore, DirectoryEntries());
    }
    RunResult result = Run("new -o '" + Path("nowhere/new.xml") + "'");
    ExpectRefused(result, Path("nowhere/new.xml"));
}

TEST_F(VekHostTest, EveryRuleIsOfferedToEveryModule)
{
    const std::string strModules = "--module '" + kModule + "' --module '" + kOtherModule + "'";
    RunResult info = Run(strModules + " info");
    ASSERT_EQ(0, info.nExit) << info.strErr;
    EXPECT_TRUE(Contains(info.strOut, "Module: Investment Casting")) << info.strOut;
    EXPECT_TRUE(Contains(info.strOut, "Module: Other Process")) << info.strOut;

    const std::string strFile = Path("both.xml");
    RunResult created = Run(strModules + " new -o '" + strFile + "' --unit 3");
    ASSERT_EQ(0, created.nExit) << created.strErr;
    const std::string strSaved = ReadFile(strFile);
    EXPECT_TRUE(Contains(strSaved, "Module=\"OtherRulesValidator\" Depth=\"5\"")) << strSaved;

    RunResult shown = Run(strModules + " show '" + strFile + "'");
    ASSERT_EQ(0, shown.nExit) << shown.strErr;
    std::string strShown = Squeeze(shown.strOut);
    EXPECT_TRUE(Contains(strShown, "Rule 1: Uniform Thickness")) << strShown;
    EXPECT_TRUE(Contains(strShown, "Rule 2: Hole Depth")) << strShown;
    EXPECT_TRUE(Contains(strShown, "2 rules, 2 shown, 0 skipped")) << strShown;
    // Every rule went back to the module that made it.
    EXPECT_TRUE(shown.strErr.empty()) << shown.strErr;

    // With one module only, the other's rule is skipped and the rest still shown.
    shown = Run("--module '" + kOtherModule + "' show '" + strFile + "'");
    strShown = Squeeze(shown.strOut);
    EXPECT_EQ(0, shown.nExit);
    EXPECT_TRUE(Contains(strShown, "Rule 1: skipped")) << strShown;
    EXPECT_TRUE(Contains(strShown, "Rule 2: Hole Depth")) << strShown;

    RunResult converted = Run(strModules + " convert '" + strFile + "' --unit 0");
    ASSERT_EQ(0, converted.nExit) << converted.strErr;
    const std::string strConverted = ReadFile(strFile);
    // Order kept: our rule first, the other module's rule after it.
    EXPECT_LT(strConverted.find("Uniform Thickness"), strConverted.find("Hole Depth"));
    EXPECT_TRUE(Contains(strConverted, "<Rules Unit=\"0\">"));
    EXPECT_TRUE(Contains(strConverted, "<Value>0.999998</Value>")) << strConverted;
}
