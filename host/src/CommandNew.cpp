// vekhost new: a rule file holding the default rules of every loaded module.
#include "Commands.h"
#include "HostText.h"
#include "RuleFile.h"

#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace
{
int RunNew(CHostSession& session, const std::vector<std::string>& vecArgs)
{
    CCommandArgs args;
    if (!ParseCommandArgs("new", vecArgs, {"-o", "--unit"}, {"--force"}, 0, args))
        return HOST_EXIT_USAGE;
    const std::string* pOutput = args.GetOption("-o");
    if (pOutput == nullptr || pOutput->empty())
        return UsageError("new", "the output file (-o FILE) is missing");
    int nUnit = -1;
    if (const std::string* pUnit = args.GetOption("--unit"))
    {
        if (!ParseUnit(*pUnit, nUnit))
            return UsageError("new", "unit \"" + *pUnit + "\" is not a unit code from 0 to 10");
    }
    struct stat info = {};
    if (!args.HasFlag("--force") && stat(pOutput->c_str(), &info) == 0)
    {
        ReportError(*pOutput + ": the file exists (use --force to replace it)");
        return HOST_EXIT_FAILURE;
    }

    const std::vector<CVekRule*> vecRules = session.NewRules();
    if (vecRules.empty())
    {
        ReportError("the loaded modules offer no rules; nothing written to " + *pOutput);
        return HOST_EXIT_FAILURE;
    }
    // Without --unit the file takes the unit the first rule comes in.
    if (nUnit < 0)
        nUnit = vecRules.front()->m_nUnit;

    VekXMLDocument& doc = session.GetDocument();
    std::unique_ptr<VekXMLNode> pGroup(CreateRuleFile(doc, nUnit));
    if (!pGroup)
    {
        ReportError("cannot create the rule file document");
        return HOST_EXIT_FAILURE;
    }
    for (CVekRule* pRule : vecRules)
    {
        if (pRule->m_nUnit != nUnit)
        {
            int arrOld[2] = {pRule->m_nUnit, 0};
            int arrNew[2] = {nUnit, 0};
            pRule->ChangeUnits(arrOld, arrNew);
        }
        std::unique_ptr<VekXMLNode> pElement(pRule->GetXMLNode());
        if (!pElement)
        {
            ReportError("a module wrote no element for its rule; nothing written to " + *pOutput);
            return HOST_EXIT_FAILURE;
        }
        pGroup->AppendNode(pElement.get());
    }

    std::string strError;
    if (!SaveRuleFile(doc, *pOutput, strError))
    {
        ReportError(strError);
        return HOST_EXIT_FAILURE;
    }
    std::printf("%s: %zu rule%s, unit %d (%s)\n", pOutput->c_str(), vecRules.size(),
                vecRules.size() == 1 ? "" : "s", nUnit, UnitName(nUnit));
    return HOST_EXIT_OK;
}
} // namespace

const CHostCommand g_NewCommand = {
    "new", "write a rule file with the modules' default rules",
    "usage: vekhost [--module PATH]... new -o FILE [--unit N] [--force]\n"
    "\n"
    "Writes a new rule file holding the default rules of every loaded module\n"
    "(GetAllRules), each written by its module (GetXMLNode).\n"
    "\n"
    "  -o FILE    the rule file to write\n"
    "  --unit N   unit code of the file, 0 to 10 (0 mm, 1 cm, 2 m, 3 in, 4 ft,\n"
    "             5 ft-in, 6 um, 7 km, 8 yd, 9 mil, 10 mi); rules in another\n"
    "             unit are converted (ChangeUnits). Default: the rules' own unit.\n"
    "  --force    replace FILE if it exists\n",
    RunNew};
