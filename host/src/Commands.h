// The commands of vekhost. Each runs in a session whose modules are loaded and
// returns the process exit code.
#pragma once

#include "HostSession.h"
#include "veksafesave.h"
#include "WrittenFile.h"

#include <string>
#include <vector>

enum
{
    HOST_EXIT_OK = 0,
    HOST_EXIT_FAILURE = 1, // bad input or a failed operation; one line on standard error
    HOST_EXIT_USAGE = 2,   // a command line vekhost does not understand
    // The command's file was written completely, but something failed after
    // that (standard output, memory); one line on standard error says what.
    HOST_EXIT_WRITTEN_UNREPORTED = 3,
};

struct CHostCommand
{
    const char* pszName;
    const char* pszSummary; // one line for the program's help
    const char* pszHelp;    // the command's own help text
    int (*pfnRun)(CHostSession& session, const std::vector<std::string>& vecArgs);
};

extern const CHostCommand g_InfoCommand;
extern const CHostCommand g_NewCommand;
extern const CHostCommand g_ShowCommand;
extern const CHostCommand g_ConvertCommand;
extern const CHostCommand g_MaterialsCommand;
extern const CHostCommand g_ConfigureCommand;

// Prints the line that reports a saved file: strReport, then the path
// written, naming the link followed when there was one; then the save's
// warning, if any, on standard error. Asks for no memory.
void ReportSaved(const std::string& strReport, const std::string& strPath,
                 const CVekSaveResult& saved);

// Reports a usage error of a command on one line and returns HOST_EXIT_USAGE.
int UsageError(const char* pszCommand, const std::string& strMessage);

// A command's arguments: options with a value ("-o FILE", "--unit 3"), flags
// ("--force") and the remaining positional arguments, in order.
struct CCommandArgs
{
    std::vector<std::pair<std::string, std::string>> vecOptions;
    std::vector<std::string> vecFlags;
    std::vector<std::string> vecPositional;

    // The last value given for the option, or null.
    const std::string* GetOption(const std::string& strName) const;
    bool HasFlag(const std::string& strName) const;
};

// Splits vecArgs by the options the command knows. An unknown option, an option
// without its value, or a wrong number of positional arguments is reported as a
// usage error: false, after the one-line message.
bool ParseCommandArgs(const char* pszCommand, const std::vector<std::string>& vecArgs,
                      const std::vector<std::string>& vecValueOptions,
                      const std::vector<std::string>& vecFlagOptions, size_t nPositional,
                      CCommandArgs& args);
