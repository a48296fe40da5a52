// vekhost show: every rule of a rule file, as its module reads it back.
#include "Commands.h"
#include "HostText.h"
#include "RuleFile.h"
#include "RuleTable.h"

#include <cstdio>
#include <memory>

namespace
{
int RunShow(CHostSession& session, const std::vector<std::string>& vecArgs)
{
    CCommandArgs args;
    if (!ParseCommandArgs("show", vecArgs, {}, {}, 1, args))
        return HOST_EXIT_USAGE;
    const std::string& strPath = args.vecPositional[0];

    VekXMLDocument& doc = session.GetDocument();
    std::string strError;
    if (!LoadRuleFile(doc, strPath, strError))
    {
        ReportError(strError);
        return HOST_EXIT_FAILURE;
    }

    std::printf("%s: rule file format %d\n", strPath.c_str(), RULE_FILE_FORMAT_VERSION);
    int nNumber = 0;
    int nSkipped = 0;
    std::unique_ptr<VekXMLNodeList> pGroups(GetRuleGroups(doc));
    for (int g = 0; pGroups && g < pGroups->GetSize(); ++g)
    {
        std::unique_ptr<VekXMLNodeList> pElements((*pGroups)[g]->GetNodeList(L"Rule"));
        for (int i = 0; pElements && i < pElements->GetSize(); ++i)
        {
            VekXMLNode* pElement = (*pElements)[i];
            ++nNumber;
            std::printf("\n");
            if (const CVekRule* pRule = session.ReadRule(pElement))
            {
                PrintRule(pRule, nNumber);
                continue;
            }
            // Another module's rule: say which, and go on with the others.
            CString strName;
            CString strModule;
            pElement->GetAttributeValue(L"Name", strName);
            pElement->GetAttributeValue(L"Module", strModule);
            std::printf("Rule %d: skipped: no loaded module accepts rule \"%s\" of module \"%s\"\n",
                        nNumber, ToUtf8(strName).c_str(), ToUtf8(strModule).c_str());
            ++nSkipped;
        }
    }
    std::printf("\n%d rule%s, %d shown, %d skipped\n", nNumber, nNumber == 1 ? "" : "s",
                nNumber - nSkipped, nSkipped);
    return HOST_EXIT_OK;
}
} // namespace

const CHostCommand g_ShowCommand = {
    "show", "print the rules of a rule file as the modules read them",
    "usage: vekhost [--module PATH]... show FILE\n"
    "\n"
    "Offers every rule element of FILE to every loaded module (GetRule) and\n"
    "prints each rule built: name, summary, module, unit, parameters\n"
    "(identifier, operator, values, criteria flag) and constraints (name,\n"
    "active, values). Rule elements that no loaded module accepts are listed\n"
    "as skipped, with their \"Name\" and \"Module\"; the others are still shown.\n",
    RunShow};
