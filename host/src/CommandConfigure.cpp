// vekhost configure: one rule of a rule file configured through its module's dialog, with the
// user's actions read from a script.
#include "Commands.h"
#include "ConfigureScript.h"
#include "HostText.h"
#include "RuleFile.h"
#include "WholeFile.h"

#include <cstdio>
#include <memory>

namespace
{
// Far more than any script of user actions needs.
const size_t kMaxScriptBytes = size_t(1) << 20;

void RunRuleConfigure(void* pRule)
{
    static_cast<CVekRule*>(pRule)->Configure();
}

// The rule's element as the module writes it, as text; what tells whether OK changed the rule.
CString RuleXML(CVekRule* pRule)
{
    std::unique_ptr<VekXMLNode> pNode(pRule->GetXMLNode());
    CString strXML;
    if (pNode)
    {
        pNode->GetXML(strXML);
        if (VekXMLNode* pParent = pNode->GetParentNode())
        {
            pParent->RemoveChild(pNode.get());
            delete pParent;
        }
    }
    return strXML;
}

int RunConfigure(CHostSession& session, const std::vector<std::string>& vecArgs)
{
    CCommandArgs args;
    if (!ParseCommandArgs("configure", vecArgs, {"--rule", "--script"}, {}, 1, args))
        return HOST_EXIT_USAGE;
    const std::string& strPath = args.vecPositional[0];
    const std::string* pScript = args.GetOption("--script");
    if (pScript == nullptr)
    {
        // Nobody is there to answer a dialog: fail now instead of waiting.
        ReportError("configure needs --script ACTIONS: this build has no interactive front end; " +
                    strPath + " left as it was");
        return HOST_EXIT_FAILURE;
    }
    int nRule = 1;
    if (const std::string* pRuleArg = args.GetOption("--rule"))
    {
        char* pEnd = nullptr;
        const long nValue = std::strtol(pRuleArg->c_str(), &pEnd, 10);
        if (pRuleArg->empty() || *pEnd != '\0' || nValue < 1)
            return UsageError("configure", "--rule takes a rule number from 1");
        nRule = static_cast<int>(nValue);
    }

    // A script that cannot be read whole is an error, never a shorter script.
    std::string strText;
    std::string strError;
    if (!ReadWholeFile(*pScript, kMaxScriptBytes, "more than any script needs", strText, strError))
    {
        ReportError("cannot read the script " + strError + "; " + strPath + " left as it was");
        return HOST_EXIT_FAILURE;
    }
    CConfigureScript script;
    if (!script.Parse(strText, strError))
    {
        ReportError(*pScript + ": " + strError + "; " + strPath + " left as it was");
        return HOST_EXIT_FAILURE;
    }
    if (!session.GetDatabaseLibrary().IsLoaded())
    {
        // The dialog needs the database library; without it OK would write an empty rule.
        ReportError("the database library is not loaded (" + session.GetDatabaseLibraryError() +
                    "), so rules cannot be configured; " + strPath + " left as it was");
        return HOST_EXIT_FAILURE;
    }

    VekXMLDocument& doc = session.GetDocument();
    if (!LoadRuleFile(doc, strPath, strError))
    {
        ReportError(strError);
        return HOST_EXIT_FAILURE;
    }
    std::unique_ptr<VekXMLNodeList> pGroups(GetRuleGroups(doc));
    VekXMLNode* pElement = nullptr;
    VekXMLNode* pGroup = nullptr;
    std::unique_ptr<VekXMLNodeList> pElements; // owns pElement's node object
    int nSeen = 0;
    for (int g = 0; pGroups && g < pGroups->GetSize() && pElement == nullptr; ++g)
    {
        pElements.reset((*pGroups)[g]->GetNodeList(L"Rule"));
        for (int i = 0; pElements && i < pElements->GetSize(); ++i)
        {
            if (++nSeen == nRule)
            {
                pElement = (*pElements)[i];
                pGroup = (*pGroups)[g];
                break;
            }
        }
    }
    if (pElement == nullptr)
    {
        ReportError(strPath + " holds " + std::to_string(nSeen) + " rule" +
                    (nSeen == 1 ? "" : "s") + ", not rule " + std::to_string(nRule));
        return HOST_EXIT_FAILURE;
    }
    CVekRule* pRule = session.ReadRule(pElement);
    if (pRule == nullptr)
    {
        ReportError(strPath + ": no loaded module accepts rule " + std::to_string(nRule));
        return HOST_EXIT_FAILURE;
    }

    const CString strBefore = RuleXML(pRule);
    if (!script.Run(&RunRuleConfigure, pRule, strError))
    {
        ReportError(*pScript + ": " + strError + "; " + strPath + " left as it was");
        return HOST_EXIT_FAILURE;
    }
    if (RuleXML(pRule) == strBefore)
    {
        std::printf("%s: rule %d unchanged, file left as it was\n", strPath.c_str(), nRule);
        return HOST_EXIT_OK;
    }

    // The configured rule's element takes the place of the stored one.
    std::unique_ptr<VekXMLNode> pConfigured(pRule->GetXMLNode());
    if (!pConfigured)
    {
        ReportError(strPath + ": the module wrote no element for the rule; nothing written");
        return HOST_EXIT_FAILURE;
    }
    std::unique_ptr<VekXMLNodeList> pChildren(pGroup->GetChildNodes());
    for (int i = 0; pChildren && i < pChildren->GetSize(); ++i)
    {
        VekXMLNode* pChild = (*pChildren)[i];
        if (pChild->IsSameNode(pElement))
            pGroup->AppendNode(pConfigured.get());
        else
            pGroup->AppendNode(pChild);
    }
    pGroup->RemoveChild(pElement);
    // Prepared before the save: once the file is in place, reporting it must not fail for memory.
    const std::string strReport =
        strPath + ": rule " + std::to_string(nRule) + " configured and saved to ";
    CVekSaveResult saved;
    if (!SaveRuleFile(doc, strPath, saved, strError))
    {
        ReportError(strError);
        return HOST_EXIT_FAILURE;
    }
    ReportSaved(strReport, strPath, saved);
    return HOST_EXIT_OK;
}
} // namespace

const CHostCommand g_ConfigureCommand = {
    "configure", "configure one rule of a rule file through its dialog, driven by a script",
    "usage: vekhost [--module PATH]... configure FILE [--rule N] --script ACTIONS\n"
    "\n"
    "Reads the rules of FILE, runs the configuration dialog of rule N (the first\n"
    "by default) and plays the user actions of the file ACTIONS on it\n"
    "(docs/configure-script.md). When OK changed the rule, FILE is written back\n"
    "atomically; otherwise it is left byte for byte as it was. A script line that\n"
    "cannot be played, or an expectation that is not met, cancels the dialog and\n"
    "leaves FILE alone. Without --script the command fails at once: there is no\n"
    "one to answer the dialog.\n"
    "\n"
    "  --rule N         the rule to configure, counted from 1 in file order\n"
    "  --script ACTIONS the file of user actions\n",
    RunConfigure};
