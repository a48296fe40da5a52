// vekhost new: a rule file holding the default rules of every loaded module.
#include "Commands.h"
#include "HostText.h"
#include "RuleFile.h"
#include "StoredPrecision.h"

#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace
{
int RunNew(CHostSession& session, const std::vector<std::string>& vecArgs)
{
    CCommandArgs args;
    if (!ParseCommandArgs("new", vecArgs, {"-o", "--unit"}, {"--force", "--lossy"}, 0, args))
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
    if (!args.HasFlag("--force") && lstat(pOutput->c_str(), &info) == 0)
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
    for (CVekRule* pRule : vecRules)
    {
        // Rules are found again by name; a rule without one would be lost.
        if (pRule->m_strName.IsEmpty())
        {
            ReportError(CHostSession::MissingResourcesMessage(pRule->m_strModule.IsEmpty()
                                                                  ? std::string("of a rule")
                                                                  : ToUtf8(pRule->m_strModule)) +
                        "; nothing written to " + *pOutput);
            return HOST_EXIT_FAILURE;
        }
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

    // Rules converted to another unit may hold numbers the file cannot keep.
    if (!args.HasFlag("--lossy"))
    {
        std::unique_ptr<VekXMLNodeList> pElements(pGroup->GetNodeList(L"Rule"));
        for (int i = 0;
             pElements && i < pElements->GetSize() && static_cast<size_t>(i) < vecRules.size(); ++i)
        {
            const CVekRule* pStored = session.ReadRule((*pElements)[i]);
            std::string strProblem;
            if (pStored != nullptr &&
                !NumbersSurviveStorage(vecRules[static_cast<size_t>(i)], pStored, strProblem))
            {
                ReportError(strProblem + " in unit " + std::to_string(nUnit) + " (" +
                            UnitName(nUnit) + "); nothing written to " + *pOutput +
                            " (--lossy accepts such losses)");
                return HOST_EXIT_FAILURE;
            }
        }
    }

    char szReport[120];
    std::snprintf(szReport, sizeof szReport, "%zu rule%s, unit %d (%s), written to ",
                  vecRules.size(), vecRules.size() == 1 ? "" : "s", nUnit, UnitName(nUnit));
    // Prepared before the save: once the file is in place, reporting it must not fail for memory.
    const std::string strReport = szReport;
    std::string strError;
    CVekSaveResult saved;
    if (!SaveRuleFile(doc, *pOutput, saved, strError))
    {
        ReportError(strError);
        return HOST_EXIT_FAILURE;
    }
    ReportSaved(strReport, *pOutput, saved);
    return HOST_EXIT_OK;
}
} // namespace

const CHostCommand g_NewCommand = {
    "new", "write a rule file with the modules' default rules",
    "usage: vekhost [--module PATH]... new -o FILE [--unit N] [--force] [--lossy]\n"
    "\n"
    "Writes a new rule file holding the default rules of every loaded module\n"
    "(GetAllRules), each written by its module (GetXMLNode).\n"
    "\n"
    "  -o FILE    the rule file to write\n"
    "  --unit N   unit code of the file, 0 to 10 (0 mm, 1 cm, 2 m, 3 in, 4 ft,\n"
    "             5 ft-in, 6 um, 7 km, 8 yd, 9 mil, 10 mi); rules in another\n"
    "             unit are converted (ChangeUnits). Default: the rules' own unit.\n"
    "  --force    replace FILE if it exists (a regular file, or through a\n"
    "             symbolic link the file it leads to, keeping its permissions,\n"
    "             owner and group)\n"
    "  --lossy    write even when a converted number would not survive the\n"
    "             file's six decimals (changed by more than 0.01 %, or to 0)\n",
    RunNew};
