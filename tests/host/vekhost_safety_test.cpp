// vekhost against hostile input and hostile surroundings: memory that runs
// out at any allocation, unit codes and numbers the file cannot hold, missing
// resources, targets that are not our files, file names that are not UTF-8,
// standard output that fails, text that is not XML, and files converted
// again and again. Every file written is checked with xmllint, which knows
// nothing of the host's own XML code.
#include "host_runner.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/types.h>

using namespace vekhost_test;

namespace
{
bool HaveXmllint()
{
    return std::system("command -v xmllint >/dev/null 2>&1") == 0;
}

// True when xmllint finds strPath well-formed.
bool WellFormed(const std::string& strPath)
{
    const std::string strCommand = "xmllint --noout '" + strPath + "' 2>/dev/null";
    return std::system(strCommand.c_str()) == 0;
}

mode_t ModeOf(const std::string& strPath)
{
    struct stat info = {};
    EXPECT_EQ(0, lstat(strPath.c_str(), &info)) << strPath;
    return info.st_mode;
}

class VekHostSafetyTest : public VekHostTest
{
protected:
    // A rule file made by the host itself, in millimetres.
    std::string NewFile(const std::string& strName)
    {
        const std::string strPath = Path(strName);
        RunResult result = Run("new -o '" + strPath + "' --unit 0");
        EXPECT_EQ(0, result.nExit) << result.strErr;
        return strPath;
    }

    // Expects a successful run whose output file xmllint accepts.
    void ExpectWrittenWellFormed(const RunResult& result, const std::string& strPath)
    {
        EXPECT_EQ(0, result.nExit) << result.strErr;
        if (HaveXmllint())
        {
            EXPECT_TRUE(WellFormed(strPath)) << ReadFile(strPath);
        }
    }
};
} // namespace

#if !defined(__SANITIZE_ADDRESS__) && defined(VEK_FAIL_ALLOCATION_SHIM)
TEST_F(VekHostSafetyTest, OutOfMemoryAtAnyAllocationLeavesTheOldOrTheNewFile)
{
    // A name too long to be kept without an allocation, so that memory can run
    // out while the save is being committed.
    const std::string kTarget = "rules-converted-in-place.xml";
    const std::string strOld = ReadFile(NewFile("old.xml"));
    // What a run with all the memory it wants writes.
    WriteFile(Path(kTarget), strOld);
    ASSERT_EQ(0, Run("convert " + kTarget + " --unit 3").nExit);
    const std::string strNew = ReadFile(Path(kTarget));
    ASSERT_NE(strOld, strNew);

    const std::string strReport = Path("allocation-failed");
    int nFailures = 0;
    for (int nAt = 1;; ++nAt)
    {
        SCOPED_TRACE("allocation " + std::to_string(nAt));
        WriteFile(Path(kTarget), strOld);
        std::remove(strReport.c_str());
        RunResult result = Run(
            "convert " + kTarget + " --unit 3",
            "LD_PRELOAD='" VEK_FAIL_ALLOCATION_SHIM "' VEK_FAIL_ALLOCATION=" + std::to_string(nAt) +
                " VEK_FAIL_ALLOCATION_REPORT='" + strReport + "'");
        if (access(strReport.c_str(), F_OK) != 0)
        {
            // The run ended before its nth allocation: every one has been failed once.
            EXPECT_EQ(0, result.nExit) << result.strErr;
            break;
        }
        ++nFailures;
        const std::string strAfter = ReadFile(Path(kTarget));
        if (result.nExit == 0)
        {
            // Recovered from (a standard stream without its buffer, for one).
            EXPECT_EQ(strNew, strAfter);
            continue;
        }
        ASSERT_EQ(1, result.nExit) << result.strErr;
        EXPECT_EQ(strOld, strAfter);
        EXPECT_EQ(1, CountLines(result.strErr)) << result.strErr;
        EXPECT_EQ((std::set<std::string>{"allocation-failed", "old.xml", kTarget}),
                  DirectoryEntries());
        if (HasFailure())
            break;
    }
    EXPECT_GT(nFailures, 100);
}
#endif

#if !defined(__SANITIZE_ADDRESS__) && defined(VEK_FAIL_SYSCALL_SHIM)
namespace
{
// The temporary file's name when the random bytes are all zero.
const char kFirstTemporaryName[] = ".vekhost-aaaaaaaaaaaa.tmp";

bool IsTemporaryName(const std::string& strName)
{
    return strName.size() == sizeof kFirstTemporaryName - 1 && strName.rfind(".vekhost-", 0) == 0 &&
           strName.compare(strName.size() - 4, 4, ".tmp") == 0;
}

long ReadCount(const std::string& strPath)
{
    const std::string strText = ReadFile(strPath);
    return strText.empty() ? 0 : std::stol(strText);
}
} // namespace

TEST_F(VekHostSafetyTest, WhatSitsAtTheTemporaryNameIsNeverFollowedNorReplaced)
{
    const std::string strOld = ReadFile(NewFile("rules.xml"));
    const std::string strRandomCalls = Path("random-calls");
    const std::string strEnvironment =
        "LD_PRELOAD='" VEK_FAIL_SYSCALL_SHIM "' VEK_PREDICTABLE_RANDOM='" + strRandomCalls + "'";
    // Unhindered, the save takes one random name.
    ASSERT_EQ(0, Run("convert rules.xml --unit 3", strEnvironment).nExit);
    const std::string strNew = ReadFile(Path("rules.xml"));
    const long nCallsUnhindered = ReadCount(strRandomCalls);
    ASSERT_GE(nCallsUnhindered, 1);

    ASSERT_EQ(0, mkdir(Path("elsewhere").c_str(), 0700));
    const std::string strVictim = Path("elsewhere/victim.txt");
    const std::string strVictimText = "not a rule file\n";
    struct Case
    {
        const char* pszWhat;
        bool bLink; // a symbolic link to the victim, else a file of its own
    };
    for (const Case& c :
         {Case{"a symbolic link to another file", true}, Case{"a file of someone else's", false}})
    {
        SCOPED_TRACE(c.pszWhat);
        WriteFile(Path("rules.xml"), strOld);
        WriteFile(strVictim, strVictimText);
        const std::string strPlanted = Path(kFirstTemporaryName);
        if (c.bLink)
            ASSERT_EQ(0, symlink(strVictim.c_str(), strPlanted.c_str()));
        else
            WriteFile(strPlanted, strVictimText);

        RunResult result = Run("convert rules.xml --unit 3", strEnvironment);
        EXPECT_EQ(0, result.nExit) << result.strErr;
        EXPECT_EQ(strNew, ReadFile(Path("rules.xml")));
        // The name was tried, found taken and another one chosen.
        EXPECT_EQ(nCallsUnhindered + 1, ReadCount(strRandomCalls));
        EXPECT_EQ(strVictimText, ReadFile(strVictim));
        EXPECT_EQ(strVictimText, ReadFile(strPlanted));
        EXPECT_EQ(c.bLink, S_ISLNK(ModeOf(strPlanted)));
        EXPECT_EQ(
            (std::set<std::string>{"rules.xml", "random-calls", "elsewhere", kFirstTemporaryName}),
            DirectoryEntries());
        std::remove(strPlanted.c_str());
    }
}

// Runs "convert" through a symbolic link (so that following it is part of the
// save) with the Nth counted system call failed or the process killed before
// it, for every N until a run no longer gets that far. The file is always
// exactly the old or exactly the new one; a failed run says so in one line
// with status 1, and leaves nothing behind. Returns the calls that were hit.
class VekHostSystemCallTest : public VekHostSafetyTest
{
protected:
    std::set<std::string> HitEveryCall(bool bKill)
    {
        const std::string strOld = ReadFile(NewFile("rules.xml"));
        EXPECT_EQ(0, symlink("rules.xml", Path("link.xml").c_str()));
        EXPECT_EQ(0, Run("convert link.xml --unit 3").nExit);
        const std::string strNew = ReadFile(Path("rules.xml"));
        EXPECT_NE(strOld, strNew);

        const std::string strReport = Path("failed-call");
        std::set<std::string> setHit;
        for (int nAt = 1;; ++nAt)
        {
            SCOPED_TRACE("system call " + std::to_string(nAt));
            WriteFile(Path("rules.xml"), strOld);
            std::remove(strReport.c_str());
            RunResult result =
                Run("convert link.xml --unit 3",
                    "LD_PRELOAD='" VEK_FAIL_SYSCALL_SHIM "' VEK_FAIL_CALL=" + std::to_string(nAt) +
                        (bKill ? " VEK_FAIL_CALL_KILL=1" : "") + " VEK_FAIL_CALL_REPORT='" +
                        strReport + "'");
            const std::string strCall = ReadFile(strReport);
            if (strCall.empty())
            {
                // The run ended before its nth call: every one has been hit once.
                EXPECT_EQ(0, result.nExit) << result.strErr;
                EXPECT_EQ(strNew, ReadFile(Path("rules.xml")));
                break;
            }
            SCOPED_TRACE(strCall);
            setHit.insert(strCall);
            const std::string strAfter = ReadFile(Path("rules.xml"));
            EXPECT_TRUE(strAfter == strOld || strAfter == strNew) << strAfter;
            std::set<std::string> setLeft = DirectoryEntries();
            if (bKill)
            {
                // Killed: no status, no message; only an unfinished temporary file may stay.
                EXPECT_NE(0, result.nExit);
                for (auto it = setLeft.begin(); it != setLeft.end();)
                    it = IsTemporaryName(*it) ? (std::remove(Path(*it).c_str()), setLeft.erase(it))
                                              : std::next(it);
            }
            else if (result.nExit == 0)
            {
                // Only a failure the save can do without: the folder's sync after
                // the rename (said in a warning), or keeping the owner.
                EXPECT_EQ(strNew, strAfter);
            }
            else
            {
                EXPECT_EQ(1, result.nExit) << result.strErr;
                EXPECT_EQ(strOld, strAfter);
                EXPECT_EQ(1, CountLines(result.strErr)) << result.strErr;
                // The message tells the error as it happened. Two failures of the
                // host's start-up aside: finding its own folder (the message then
                // names the module it looked for), and opening the module's
                // resource libraries (the module then knows no rule names, and the
                // message names the rule that no module accepts).
                const bool bStartUp =
                    (strCall == "readlink" && nAt == 1) ||
                    (strCall == "open" && Contains(result.strErr, "no loaded module accepts rule"));
                if (!bStartUp)
                {
                    EXPECT_TRUE(Contains(result.strErr, std::strerror(EIO)) ||
                                Contains(result.strErr, std::strerror(ENOSPC)))
                        << result.strErr;
                }
            }
            EXPECT_EQ((std::set<std::string>{"rules.xml", "link.xml", "failed-call"}), setLeft);
            EXPECT_TRUE(S_ISLNK(ModeOf(Path("link.xml"))));
            if (HasFailure())
                break;
        }
        return setHit;
    }

    // Every kind of call that saving makes, following the link included.
    const std::set<std::string> m_setSaveCalls = {
        "stat",   "lstat",  "readlink", "faccessat", "open",  "getrandom", "openat",
        "fchown", "fchmod", "write",    "fsync",     "close", "renameat"};
};

TEST_F(VekHostSystemCallTest, AFailureAtAnySystemCallLeavesTheOldOrTheNewFile)
{
    const std::set<std::string> setHit = HitEveryCall(false);
    for (const std::string& strCall : m_setSaveCalls)
        EXPECT_EQ(1u, setHit.count(strCall)) << strCall << " was never failed";
}

TEST_F(VekHostSystemCallTest, KillNineAtAnySystemCallLeavesTheOldOrTheNewFile)
{
    const std::set<std::string> setHit = HitEveryCall(true);
    for (const std::string& strCall : m_setSaveCalls)
        EXPECT_EQ(1u, setHit.count(strCall)) << strCall << " was never interrupted";
}
#endif

TEST_F(VekHostSafetyTest, ConvertRefusesAFileWhoseUnitIsNoUnitCode)
{
    const std::string strGood = ReadFile(NewFile("good.xml"));
    for (const char* pszUnit : {"11", "-1", "99999999999", "4294967296", "1.5", "mm", ""})
    {
        SCOPED_TRACE(pszUnit);
        std::string strText = strGood;
        const size_t nAt = strText.find("Unit=\"0\"");
        ASSERT_NE(std::string::npos, nAt);
        strText.replace(nAt, 8, std::string("Unit=\"") + pszUnit + "\"");
        WriteFile(Path("odd.xml"), strText);
        RunResult result = Run("convert odd.xml --unit 3");
        ExpectRefused(result, "odd.xml");
        EXPECT_TRUE(Contains(result.strErr, "not a unit code")) << result.strErr;
        EXPECT_EQ(strText, ReadFile(Path("odd.xml")));
    }
}

TEST_F(VekHostSafetyTest, NumbersTheFileCannotHoldAreRefusedUnlessLossIsAccepted)
{
    const std::string strFile = NewFile("rules.xml");
    const std::string strBefore = ReadFile(strFile);
    struct Case
    {
        std::string strArgs;
        std::string strTarget;
    };
    // 1 mm is 6.2e-7 mi and would be stored as 0.000001; 0.4 mm is 4e-7 km and would be stored as
    // 0.
    WriteFile(Path("small.xml"), [&] {
        std::string strText = strBefore;
        const size_t nAt = strText.find("<Value>1.000000</Value>");
        EXPECT_NE(std::string::npos, nAt);
        strText.replace(nAt, 23, "<Value>0.400000</Value>");
        return strText;
    }());
    const Case cases[] = {
        {"convert rules.xml --unit 10", "rules.xml"},
        {"convert small.xml --unit 7 -o km.xml", "km.xml"},
        {"new -o miles.xml --unit 10", "miles.xml"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.strArgs);
        const std::set<std::string> setBefore = DirectoryEntries();
        RunResult result = Run(c.strArgs);
        EXPECT_EQ(1, result.nExit);
        EXPECT_EQ(1, CountLines(result.strErr)) << result.strErr;
        EXPECT_TRUE(Contains(result.strErr, "rule \"Uniform Thickness\"")) << result.strErr;
        EXPECT_TRUE(Contains(result.strErr, "--lossy")) << result.strErr;
        EXPECT_EQ(setBefore, DirectoryEntries());
        EXPECT_EQ(strBefore, ReadFile(strFile));

        result = Run(c.strArgs + " --lossy");
        ExpectWrittenWellFormed(result, Path(c.strTarget));
        WriteFile(strFile, strBefore);
    }
    // Small but representable numbers pass: 1 mm in inches loses 2e-6 of itself.
    EXPECT_EQ(0, Run("convert small.xml --unit 3 -o inches.xml").nExit);
}

TEST_F(VekHostSafetyTest, MissingResourcesAreAnErrorNamingTheFolder)
{
    const std::string strFile = NewFile("rules.xml");
    const std::string strBefore = ReadFile(strFile);
    const std::string strHome = Path("nowhere");
    for (const std::string& strArgs :
         {std::string("new -o fresh.xml"), std::string("info"), "show '" + strFile + "'",
          "convert '" + strFile + "' --unit 3"})
    {
        SCOPED_TRACE(strArgs);
        RunResult result = Run(strArgs, "VEK_HOME='" + strHome + "'");
        EXPECT_EQ(1, result.nExit);
        EXPECT_EQ(1, CountLines(result.strErr)) << result.strErr;
        EXPECT_TRUE(Contains(result.strErr, strHome + "/res/en-US")) << result.strErr;
        EXPECT_TRUE(result.strOut.empty()) << result.strOut;
    }
    EXPECT_EQ(strBefore, ReadFile(strFile));
    EXPECT_EQ(std::set<std::string>{"rules.xml"}, DirectoryEntries());
}

TEST_F(VekHostSafetyTest, OnlyRegularFilesAreReplaced)
{
    const std::string strFile = NewFile("rules.xml");
    ASSERT_EQ(0, mkfifo(Path("fifo").c_str(), 0600));
    struct stat devNull = {};
    ASSERT_EQ(0, stat("/dev/null", &devNull));
    for (const std::string& strTarget :
         {std::string("/dev/null"), Path("fifo"), std::string("/dev/stdout")})
    {
        SCOPED_TRACE(strTarget);
        const std::set<std::string> setBefore = DirectoryEntries();
        for (const std::string& strArgs : {"convert rules.xml --unit 3 -o '" + strTarget + "'",
                                           "new --force -o '" + strTarget + "'"})
        {
            // Standard output on a device: /dev/stdout leads there.
            RunResult result = Run(strArgs, "", "/dev/null");
            EXPECT_EQ(1, result.nExit) << strArgs;
            EXPECT_TRUE(Contains(result.strErr, "not a regular file")) << result.strErr;
        }
        EXPECT_EQ(setBefore, DirectoryEntries());
    }
    // Standard output on a regular file: /dev/stdout leads to it, and it is written.
    RunResult result = Run("convert rules.xml --unit 3 -o /dev/stdout");
    EXPECT_EQ(0, result.nExit) << result.strErr;
    EXPECT_TRUE(Contains(result.strOut, "<Rules Unit=\"3\">")) << result.strOut;
    struct stat after = {};
    ASSERT_EQ(0, stat("/dev/null", &after));
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(devNull.st_rdev, after.st_rdev);
    EXPECT_TRUE(S_ISFIFO(ModeOf(Path("fifo"))));
}

// A FIFO would make a reader wait for a writer forever, a device hand out
// anything; neither is a rule file.
TEST_F(VekHostSafetyTest, InputsThatAreNotRegularFilesAreRefusedAtOnce)
{
    ASSERT_EQ(0, mkfifo(Path("fifo").c_str(), 0600));
    for (const std::string& strInput : {Path("fifo"), std::string("/dev/null")})
    {
        for (const std::string& strArgs :
             {"show '" + strInput + "'", "convert '" + strInput + "' --unit 3 -o out.xml"})
        {
            SCOPED_TRACE(strArgs);
            // A run that waits is ended, so that the test fails rather than hangs.
            RunResult result = Run(strArgs, "timeout 20");
            ExpectRefused(result, strInput);
            EXPECT_TRUE(Contains(result.strErr, "not a regular file")) << result.strErr;
        }
    }
    EXPECT_EQ(std::set<std::string>{"fifo"}, DirectoryEntries());
}

TEST_F(VekHostSafetyTest, SymbolicLinksAreWrittenThroughAndSaidSo)
{
    const std::string strFile = NewFile("rules.xml");
    ASSERT_EQ(0, mkdir(Path("real").c_str(), 0700));
    ASSERT_EQ(0, rename(strFile.c_str(), Path("real/rules.xml").c_str()));
    ASSERT_EQ(0, symlink("real/rules.xml", Path("link.xml").c_str()));
    ASSERT_EQ(0, symlink("link.xml", Path("link2.xml").c_str()));
    ASSERT_EQ(0, symlink("real/absent.xml", Path("dangling.xml").c_str()));

    RunResult result = Run("convert link2.xml --unit 3");
    ExpectWrittenWellFormed(result, Path("real/rules.xml"));
    EXPECT_TRUE(Contains(result.strOut, "symbolic link link2.xml")) << result.strOut;
    EXPECT_TRUE(Contains(result.strOut, "real/rules.xml")) << result.strOut;
    EXPECT_TRUE(S_ISLNK(ModeOf(Path("link.xml"))));
    EXPECT_TRUE(S_ISLNK(ModeOf(Path("link2.xml"))));
    EXPECT_TRUE(Contains(ReadFile(Path("real/rules.xml")), "<Rules Unit=\"3\">"));

    // A link into nowhere creates the file it names; without --force it is refused as taken.
    EXPECT_EQ(1, Run("new -o dangling.xml").nExit);
    result = Run("new --force -o dangling.xml");
    ExpectWrittenWellFormed(result, Path("real/absent.xml"));
    EXPECT_TRUE(S_ISLNK(ModeOf(Path("dangling.xml"))));
    EXPECT_EQ((std::set<std::string>{"real", "link.xml", "link2.xml", "dangling.xml"}),
              DirectoryEntries());
}

TEST_F(VekHostSafetyTest, InPlaceSavesKeepPermissionsAndRefuseReadOnlyFiles)
{
    const std::string strFile = NewFile("rules.xml");
    struct stat before = {};
    ASSERT_EQ(0, stat(strFile.c_str(), &before));
    for (mode_t nMode : {0600, 0640, 0604, 0660})
    {
        SCOPED_TRACE(nMode);
        ASSERT_EQ(0, chmod(strFile.c_str(), nMode));
        EXPECT_EQ(0, Run("convert rules.xml --unit 3").nExit);
        EXPECT_EQ(nMode, ModeOf(strFile) & 07777);
        EXPECT_EQ(0, Run("new --force -o rules.xml").nExit);
        EXPECT_EQ(nMode, ModeOf(strFile) & 07777);
    }
    // Owner and group stay (the process may always keep its own).
    struct stat after = {};
    ASSERT_EQ(0, stat(strFile.c_str(), &after));
    EXPECT_EQ(before.st_uid, after.st_uid);
    EXPECT_EQ(before.st_gid, after.st_gid);
    // Someone else's owner and group, where the process may give them.
    if (geteuid() == 0)
    {
        const uid_t nOwner = 4242;
        const gid_t nGroup = 4343;
        ASSERT_EQ(0, chown(strFile.c_str(), nOwner, nGroup));
        ASSERT_EQ(0, chmod(strFile.c_str(), 0640));
        EXPECT_EQ(0, Run("convert rules.xml --unit 0").nExit);
        ASSERT_EQ(0, stat(strFile.c_str(), &after));
        EXPECT_EQ(nOwner, after.st_uid);
        EXPECT_EQ(nGroup, after.st_gid);
        EXPECT_EQ(mode_t(0640), after.st_mode & 07777);
        ASSERT_EQ(0, chown(strFile.c_str(), before.st_uid, before.st_gid));
    }

    // Read-only, for whoever runs the test.
    ASSERT_EQ(0, chmod(strFile.c_str(), 0444));
    const std::string strText = ReadFile(strFile);
    for (const std::string& strArgs :
         {std::string("convert rules.xml --unit 3"), std::string("new --force -o rules.xml"),
          std::string("convert other.xml --unit 3 -o rules.xml")})
    {
        SCOPED_TRACE(strArgs);
        if (strArgs.find("other.xml") != std::string::npos)
            WriteFile(Path("other.xml"), strText);
        RunResult result = Run(strArgs);
        EXPECT_EQ(1, result.nExit);
        EXPECT_TRUE(Contains(result.strErr, "read-only")) << result.strErr;
        EXPECT_EQ(strText, ReadFile(strFile));
        EXPECT_EQ(mode_t(0444), ModeOf(strFile) & 07777);
    }
    // A new file gets what the umask allows, as any new file.
    const mode_t nMask = umask(022);
    umask(nMask);
    EXPECT_EQ(0, Run("new -o fresh.xml").nExit);
    EXPECT_EQ(0666 & ~nMask, ModeOf(Path("fresh.xml")) & 07777);
}

TEST_F(VekHostSafetyTest, FileNamesAreBytesAndReachTheSystemAsGiven)
{
    const std::string cases[] = {
        "latin1-\xE9t\xE9.xml",  // ISO 8859-1, not UTF-8
        "overlong-\xC0\xAF.xml", // an overlong "/" that a lenient decoder turns into a folder
        "cut-\xE2\x82.xml",      // a sequence cut short
        "utf8-\xC3\xA9t\xC3\xA9.xml",
        std::string(255 - 4, 'n') + ".xml", // the longest name a folder entry holds
    };
    for (const std::string& strName : cases)
    {
        SCOPED_TRACE(strName);
        // A second name as odd as the first and as long.
        const std::string strOther = "o" + strName.substr(1);
        RunResult result = Run("new -o '" + strName + "'");
        ExpectWrittenWellFormed(result, Path(strName));
        EXPECT_EQ(0, Run("show '" + strName + "'").nExit);
        EXPECT_EQ(0, Run("convert '" + strName + "' --unit 3").nExit);
        EXPECT_TRUE(Contains(ReadFile(Path(strName)), "<Rules Unit=\"3\">"));
        result = Run("convert '" + strName + "' --unit 1 -o '" + strOther + "'");
        ExpectWrittenWellFormed(result, Path(strOther));
        EXPECT_TRUE(Contains(ReadFile(Path(strOther)), "<Rules Unit=\"1\">"));
        EXPECT_EQ((std::set<std::string>{strName, strOther}), DirectoryEntries());
        std::remove(Path(strName).c_str());
        std::remove(Path(strOther).c_str());
    }
}

// The module finds its resource libraries below VEK_HOME through wide text;
// a folder name that is not UTF-8 (or is, in a locale that is not) still leads there.
TEST_F(VekHostSafetyTest, TheResourceFolderIsFoundWhateverItsNameIsMadeOf)
{
    for (const std::string& strHome :
         {std::string("home-\xE9t\xE9"), std::string("home-\xC3\xA9t\xC3\xA9")})
    {
        SCOPED_TRACE(strHome);
        ASSERT_EQ(0, mkdir(Path(strHome).c_str(), 0700));
        ASSERT_EQ(0, symlink(VEK_BIN_DIR "/res", Path(strHome + "/res").c_str()));
        for (const char* pszLocale : {"C", "C.UTF-8"})
        {
            SCOPED_TRACE(pszLocale);
            RunResult result = Run("new -o fresh.xml", "LC_ALL=" + std::string(pszLocale) +
                                                           " VEK_HOME='" + Path(strHome) + "'");
            ExpectWrittenWellFormed(result, Path("fresh.xml"));
            EXPECT_TRUE(Contains(ReadFile(Path("fresh.xml")), "Name=\"Uniform Thickness\""));
            std::remove(Path("fresh.xml").c_str());
        }
        // Without the libraries, the message names the folder by its own bytes.
        ASSERT_EQ(0, unlink(Path(strHome + "/res").c_str()));
        RunResult result = Run("new -o fresh.xml", "VEK_HOME='" + Path(strHome) + "'");
        EXPECT_EQ(1, result.nExit);
        EXPECT_TRUE(Contains(result.strErr, Path(strHome) + "/res/en-US")) << result.strErr;
    }
}

TEST_F(VekHostSafetyTest, AFailedStandardOutputIsReportedTruthfully)
{
    if (access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "no /dev/full";
    const std::string strFile = NewFile("rules.xml");
    const std::string strBefore = ReadFile(strFile);

    // Nothing to write but the report: the report is the failure.
    RunResult shown = Run("show rules.xml", "", "/dev/full");
    EXPECT_EQ(1, shown.nExit);
    EXPECT_EQ(1, CountLines(shown.strErr)) << shown.strErr;
    EXPECT_TRUE(Contains(shown.strErr, "standard output")) << shown.strErr;

    // The file is written; only its report is lost, and the message says both.
    for (const std::string& strArgs :
         {std::string("convert rules.xml --unit 3 -o out.xml"), std::string("new -o new.xml")})
    {
        SCOPED_TRACE(strArgs);
        RunResult result = Run(strArgs, "", "/dev/full");
        EXPECT_EQ(3, result.nExit);
        EXPECT_EQ(1, CountLines(result.strErr)) << result.strErr;
        EXPECT_TRUE(Contains(result.strErr, "standard output")) << result.strErr;
        EXPECT_TRUE(Contains(result.strErr, "written completely")) << result.strErr;
    }
    EXPECT_TRUE(Contains(ReadFile(Path("out.xml")), "<Rules Unit=\"3\">"));
    EXPECT_EQ(strBefore, ReadFile(strFile));
}
