#include "Commands.h"

#include <cstdio>

void ReportSaved(const std::string& strReport, const std::string& strPath,
                 const CVekSaveResult& saved)
{
    std::fputs(strReport.c_str(), stdout);
    std::fputs(saved.strWritten.c_str(), stdout);
    if (saved.bThroughLink)
    {
        std::fputs(" (the file the symbolic link ", stdout);
        std::fputs(strPath.c_str(), stdout);
        std::fputs(" leads to)", stdout);
    }
    std::fputs("\n", stdout);
    if (!saved.strWarning.empty())
    {
        std::fputs("vekhost: warning: ", stderr);
        std::fputs(saved.strWarning.c_str(), stderr);
        std::fputs("\n", stderr);
    }
}
