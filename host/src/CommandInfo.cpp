// vekhost info: what each loaded module is and which rules it offers.
#include "Commands.h"
#include "HostText.h"
#include "RuleTable.h"

#include <cstdio>

namespace
{
int RunInfo(CHostSession& session, const std::vector<std::string>& vecArgs)
{
    CCommandArgs args;
    if (!ParseCommandArgs("info", vecArgs, {}, {}, 0, args))
        return HOST_EXIT_USAGE;

    bool bFirst = true;
    for (const auto& pModule : session.GetModules())
    {
        if (!bFirst)
            std::printf("\n");
        bFirst = false;
        std::printf("Module: %s\n", ToUtf8(pModule->GetModuleName()).c_str());
        PrintTable({{"File", pModule->GetPath()}, {"Summary", ToUtf8(pModule->GetModuleSummary())}},
                   "  ");
        const std::vector<CVekRule*> vecRules = session.NewRules(*pModule);
        std::printf("  Rules (%zu):\n", vecRules.size());
        std::vector<std::vector<std::string>> vecRows;
        for (const CVekRule* pRule : vecRules)
            vecRows.push_back({RuleDisplayName(pRule), ToUtf8(pRule->m_strSummary)});
        PrintTable(vecRows, "    ");
    }
    return HOST_EXIT_OK;
}
} // namespace

const CHostCommand g_InfoCommand = {
    "info", "show the modules' names and summaries and the rules they offer",
    "usage: vekhost [--module PATH]... info\n"
    "\n"
    "Prints, for every loaded rules module, its name, file and summary, and the\n"
    "rules it offers (GetAllRules) with their summaries.\n",
    RunInfo};
