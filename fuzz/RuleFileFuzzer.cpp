// Fuzz target: the input is a whole rule file, taken down the host's road as
// vekhost takes it: the frame checks and every rule read (show), a conversion
// to the unit the input's size selects (convert, saved to a file), the saved
// file read back and converted again twice. Every file written must be
// well-formed for libxml2, which shares no code with the host, and from the
// second generation on a conversion to the same unit must give the same bytes.
#include "Commands.h"

#include <libxml/parser.h>
#include <vekmsgbox.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
std::string g_strModule;
std::string g_strFolder;

std::string Path(const char* pszName)
{
    return g_strFolder + "/" + pszName;
}

std::string ReadFile(const std::string& strPath)
{
    std::ifstream file(strPath, std::ios::binary);
    std::stringstream stream;
    stream << file.rdbuf();
    return stream.str();
}

// One command in a session of its own, as one run of vekhost.
int RunCommand(const CHostCommand& command, const std::vector<std::string>& vecArgs)
{
    CHostSession session;
    std::string strError;
    if (!session.LoadModules({g_strModule}, strError))
    {
        std::fprintf(stderr, "fuzz_rule_file: %s\n", strError.c_str());
        std::abort();
    }
    return command.pfnRun(session, vecArgs);
}

void ExpectWellFormed(const std::string& strPath)
{
    const std::string strText = ReadFile(strPath);
    xmlDocPtr pDoc =
        xmlReadMemory(strText.data(), static_cast<int>(strText.size()), "written.xml", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE);
    if (pDoc == nullptr)
    {
        std::fprintf(stderr, "fuzz_rule_file: the host wrote a file that is not well-formed:\n%s\n",
                     strText.c_str());
        std::abort();
    }
    xmlFreeDoc(pDoc);
}

// Converts strFrom to strTo; the file must then be well-formed.
bool Convert(const std::string& strFrom, const std::string& strTo, int nUnit, bool bLossy)
{
    std::vector<std::string> vecArgs = {strFrom, "--unit", std::to_string(nUnit), "-o", strTo};
    if (bLossy)
        vecArgs.push_back("--lossy");
    unlink(strTo.c_str());
    if (RunCommand(g_ConvertCommand, vecArgs) != HOST_EXIT_OK)
    {
        if (access(strTo.c_str(), F_OK) == 0)
        {
            std::fprintf(stderr, "fuzz_rule_file: a refused conversion left %s behind\n",
                         strTo.c_str());
            std::abort();
        }
        return false;
    }
    ExpectWellFormed(strTo);
    return true;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* pszModule = std::getenv("VEK_FUZZ_MODULE");
    g_strModule = pszModule ? pszModule : VEK_BIN_DIR "/VEKInvestmentCastRulesu.so";
    // Every command loads and unloads the module, as a run of vekhost does; the
    // fuzzer's coverage counters live in the module, so it must stay mapped.
    if (dlopen(g_strModule.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE) == nullptr)
    {
        std::fprintf(stderr, "fuzz_rule_file: cannot load %s: %s\n", g_strModule.c_str(),
                     dlerror());
        std::exit(1);
    }
    char szFolder[] = "/tmp/fuzz-rule-file-XXXXXX";
    if (mkdtemp(szFolder) == nullptr)
    {
        std::perror("fuzz_rule_file: mkdtemp");
        std::exit(1);
    }
    g_strFolder = szFolder;
    // The commands report on standard output; the fuzzer has no use for it.
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
        std::exit(1);
    VekSetMessageBoxResponder([](HWND, const CString&, const CString&, UINT nType) {
        return VekDefaultMessageBoxButton(nType);
    });
    xmlInitParser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strInput = Path("input.xml");
    {
        std::ofstream file(strInput, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(pData), static_cast<std::streamsize>(nSize));
    }
    const int nShown = RunCommand(g_ShowCommand, {strInput});
    const int nUnit = static_cast<int>(nSize % 11);
    const bool bLossy = nSize % 2 == 0;
    const std::string strFirst = Path("gen1.xml");
    if (!Convert(strInput, strFirst, nUnit, bLossy))
        return 0;
    // What the host wrote, it reads.
    if (nShown != HOST_EXIT_OK || RunCommand(g_ShowCommand, {strFirst}) != HOST_EXIT_OK)
    {
        std::fprintf(stderr, "fuzz_rule_file: show refuses what convert accepted or wrote\n");
        std::abort();
    }
    const std::string strSecond = Path("gen2.xml");
    const std::string strThird = Path("gen3.xml");
    if (!Convert(strFirst, strSecond, nUnit, true) || !Convert(strSecond, strThird, nUnit, true))
    {
        std::fprintf(stderr, "fuzz_rule_file: the host does not convert its own file again\n");
        std::abort();
    }
    if (ReadFile(strSecond) != ReadFile(strThird))
    {
        std::fprintf(stderr, "fuzz_rule_file: no fixed point:\n%s\n--- became ---\n%s\n",
                     ReadFile(strSecond).c_str(), ReadFile(strThird).c_str());
        std::abort();
    }
    return 0;
}
