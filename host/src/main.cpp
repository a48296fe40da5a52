// vekhost: the reference host. It plays the checker's part towards rules
// modules: loads them by path, resolves their seven exports, hands them an XML
// document and the database module list, and runs one command.
#include "Commands.h"
#include "HostText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
const CHostCommand* const g_commands[] = {&g_InfoCommand,      &g_NewCommand,
                                          &g_ShowCommand,      &g_ConvertCommand,
                                          &g_ConfigureCommand, &g_MaterialsCommand};

const char kModuleFile[] = "VEKInvestmentCastRulesu.so";
const char kDatabaseLibraryFile[] = "VEKDatabaseu.so";

void PrintProgramHelp()
{
    std::printf("usage: vekhost [--module PATH]... COMMAND [ARGS]...\n"
                "       vekhost COMMAND --help\n"
                "\n"
                "Loads rules modules and runs one command against them.\n"
                "\n"
                "  --module PATH  a rules module to load; may be given more than once, and\n"
                "                 every rule element is then offered to every module.\n"
                "                 Default: %s beside vekhost.\n"
                "  --help         this text\n"
                "\n"
                "Commands:\n",
                kModuleFile);
    for (const CHostCommand* pCommand : g_commands)
        std::printf("  %-9s %s\n", pCommand->pszName, pCommand->pszSummary);
    std::printf("\nExit status: 0 on success, 1 when a file or module cannot be used (nothing\n"
                "is written then), 2 for a command line vekhost does not understand, 3 when\n"
                "the file was written completely but the run failed afterwards (standard\n"
                "output could not be written, or memory ran out).\n");
}

// The folder of the running executable, from /proc/self/exe; "." when unknown.
std::string ExecutableFolder()
{
    std::vector<char> vecBuffer(4096);
    const ssize_t nLength = readlink("/proc/self/exe", vecBuffer.data(), vecBuffer.size() - 1);
    if (nLength <= 0)
        return ".";
    std::string strPath(vecBuffer.data(), static_cast<size_t>(nLength));
    const size_t nSlash = strPath.rfind('/');
    return nSlash == std::string::npos ? "." : strPath.substr(0, nSlash);
}

// Out of memory, reported without asking for more: fixed texts and the path
// kept since the save. The exit status tells whether the file was written.
[[noreturn]] void ExitOutOfMemory()
{
    std::fflush(stdout);
    const std::string* pWritten = WrittenFile();
    if (pWritten == nullptr)
    {
        std::fputs("vekhost: out of memory; nothing written\n", stderr);
        _exit(HOST_EXIT_FAILURE);
    }
    std::fputs("vekhost: out of memory after ", stderr);
    std::fputs(pWritten->c_str(), stderr);
    std::fputs(" was written completely\n", stderr);
    _exit(HOST_EXIT_WRITTEN_UNREPORTED);
}

// An exception that escapes where it cannot be caught (a destructor, a
// module's start-up code) ends here; running out of memory is still one line.
[[noreturn]] void OnTerminate()
{
    if (std::exception_ptr pException = std::current_exception())
    {
        try
        {
            std::rethrow_exception(pException);
        }
        catch (const std::bad_alloc&)
        {
            ExitOutOfMemory();
        }
        catch (...)
        {
        }
    }
    std::fputs("vekhost: internal error: unhandled exception\n", stderr);
    std::abort();
}

const CHostCommand* FindCommand(const std::string& strName)
{
    for (const CHostCommand* pCommand : g_commands)
    {
        if (strName == pCommand->pszName)
            return pCommand;
    }
    return nullptr;
}

int RunProgram(int argc, char** argv)
{
    std::vector<std::string> vecModules;
    int nArg = 1;
    for (; nArg < argc; ++nArg)
    {
        const std::string strArg = argv[nArg];
        if (strArg == "--help" || strArg == "-h")
        {
            PrintProgramHelp();
            return HOST_EXIT_OK;
        }
        if (strArg == "--module")
        {
            if (nArg + 1 >= argc)
            {
                ReportError("--module needs a path (see 'vekhost --help')");
                return HOST_EXIT_USAGE;
            }
            vecModules.push_back(argv[++nArg]);
            continue;
        }
        if (strArg.size() > 1 && strArg[0] == '-')
        {
            ReportError("unknown option " + strArg + " (see 'vekhost --help')");
            return HOST_EXIT_USAGE;
        }
        break;
    }
    if (nArg >= argc)
    {
        ReportError("no command given (see 'vekhost --help')");
        return HOST_EXIT_USAGE;
    }
    const CHostCommand* pCommand = FindCommand(argv[nArg]);
    if (pCommand == nullptr)
    {
        ReportError(std::string("unknown command ") + argv[nArg] + " (see 'vekhost --help')");
        return HOST_EXIT_USAGE;
    }
    const std::vector<std::string> vecArgs(argv + nArg + 1, argv + argc);
    for (const std::string& strArg : vecArgs)
    {
        if (strArg == "--help" || strArg == "-h")
        {
            std::printf("%s", pCommand->pszHelp);
            return HOST_EXIT_OK;
        }
    }

    if (vecModules.empty())
        vecModules.push_back(ExecutableFolder() + "/" + kModuleFile);
    int nResult = HOST_EXIT_OK;
    {
        CHostSession session;
        std::string strError;
        // The material database needs no rules module.
        if (pCommand != &g_MaterialsCommand)
        {
            // As the checker does: the database library first, so that the
            // modules find it loaded; without it they work without a database name.
            // Configuring cannot do without it and says why in its one line of error.
            if (!session.LoadDatabaseLibrary(ExecutableFolder() + "/" + kDatabaseLibraryFile,
                                             strError) &&
                pCommand != &g_ConfigureCommand)
                ReportWarning(strError);
            if (!session.LoadModules(vecModules, strError))
            {
                ReportError(strError);
                return HOST_EXIT_FAILURE;
            }
        }
        nResult = pCommand->pfnRun(session, vecArgs);
    }
    return nResult;
}
} // namespace

int main(int argc, char** argv)
{
    std::set_terminate(OnTerminate);
    int nResult = HOST_EXIT_OK;
    try
    {
        nResult = RunProgram(argc, argv);
    }
    catch (const std::bad_alloc&)
    {
        ExitOutOfMemory();
    }
    // Output goes to a pipe as often as to a terminal; a lost line is a failure
    // too, and it must not hide whether a file was written.
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
    {
        const int nError = errno;
        const std::string strReason = nError ? std::strerror(nError) : "write error";
        if (const std::string* pWritten = WrittenFile())
        {
            ReportError("cannot write to standard output: " + strReason + "; " + *pWritten +
                        " was written completely");
            return HOST_EXIT_WRITTEN_UNREPORTED;
        }
        ReportError("cannot write to standard output: " + strReason);
        return HOST_EXIT_FAILURE;
    }
    return nResult;
}
