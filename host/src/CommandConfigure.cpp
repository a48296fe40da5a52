// vekhost configure: one rule of a rule file configured through its module's dialog, with the
// user's actions read from a script.
#include "Commands.h"
#include "ConfigureScript.h"
#include "HostText.h"
#include "RuleFile.h"
#include "ServeConfigure.h"
#include "WholeFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

// A whole number from nMin to nMax, or false.
bool ParseWholeNumber(const std::string& strText, long nMin, long nMax, long& nValue)
{
    char* pEnd = nullptr;
    nValue = std::strtol(strText.c_str(), &pEnd, 10);
    return !strText.empty() && *pEnd == '\0' && nValue >= nMin && nValue <= nMax;
}

// After the dialog: the file is written when the rule changed, exactly as every road of
// configure does. strMessage gets the line for a front end; the exit code is returned.
int SaveIfChanged(VekXMLDocument& doc, const std::string& strPath, int nRule, CVekRule* pRule,
                  const CString& strBefore, VekXMLNode* pGroup, VekXMLNode* pElement,
                  std::string& strMessage)
{
    if (RuleXML(pRule) == strBefore)
    {
        strMessage =
            strPath + ": rule " + std::to_string(nRule) + " unchanged, file left as it was";
        std::printf("%s\n", strMessage.c_str());
        return HOST_EXIT_OK;
    }

    // The configured rule's element takes the place of the stored one.
    std::unique_ptr<VekXMLNode> pConfigured(pRule->GetXMLNode());
    if (!pConfigured)
    {
        strMessage = strPath + ": the module wrote no element for the rule; nothing written";
        ReportError(strMessage);
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
    std::string strError;
    if (!SaveRuleFile(doc, strPath, saved, strError))
    {
        strMessage = strError;
        ReportError(strError);
        return HOST_EXIT_FAILURE;
    }
    ReportSaved(strReport, strPath, saved);
    strMessage = strReport + saved.strWritten;
    return HOST_EXIT_OK;
}

int RunConfigure(CHostSession& session, const std::vector<std::string>& vecArgs)
{
    CCommandArgs args;
    if (!ParseCommandArgs("configure", vecArgs, {"--rule", "--script", "--port", "--idle-timeout"},
                          {"--serve"}, 1, args))
        return HOST_EXIT_USAGE;
    const std::string& strPath = args.vecPositional[0];
    const std::string* pScript = args.GetOption("--script");
    const bool bServe = args.HasFlag("--serve");
    if (pScript != nullptr && bServe)
        return UsageError("configure", "--script and --serve exclude each other");
    if ((args.GetOption("--port") != nullptr || args.GetOption("--idle-timeout") != nullptr) &&
        !bServe)
        return UsageError("configure", "--port and --idle-timeout belong to --serve");
    if (pScript == nullptr && !bServe)
    {
        // Nobody is there to answer a dialog: fail now instead of waiting.
        ReportError("configure needs --script ACTIONS or --serve: nobody else could answer the "
                    "dialog; " +
                    strPath + " left as it was");
        return HOST_EXIT_FAILURE;
    }
    long nValue = 0;
    int nRule = 1;
    if (const std::string* pRuleArg = args.GetOption("--rule"))
    {
        if (!ParseWholeNumber(*pRuleArg, 1, INT32_MAX, nValue))
            return UsageError("configure", "--rule takes a rule number from 1");
        nRule = static_cast<int>(nValue);
    }
    CServeOptions serve;
    if (const std::string* pPort = args.GetOption("--port"))
    {
        if (!ParseWholeNumber(*pPort, 0, 65535, nValue))
            return UsageError("configure", "--port takes a port number 0 to 65535");
        serve.nPort = static_cast<int>(nValue);
    }
    if (const std::string* pIdle = args.GetOption("--idle-timeout"))
    {
        if (!ParseWholeNumber(*pIdle, 1, 7 * 24 * 3600, nValue))
            return UsageError("configure", "--idle-timeout takes whole seconds from 1");
        serve.nIdleTimeout = std::chrono::seconds(nValue);
    }

    CConfigureScript script;
    std::string strError;
    if (pScript != nullptr)
    {
        // A script that cannot be read whole is an error, never a shorter script.
        std::string strText;
        if (!ReadWholeFile(*pScript, kMaxScriptBytes, "more than any script needs", strText,
                           strError))
        {
            ReportError("cannot read the script " + strError + "; " + strPath + " left as it was");
            return HOST_EXIT_FAILURE;
        }
        if (!script.Parse(strText, strError))
        {
            ReportError(*pScript + ": " + strError + "; " + strPath + " left as it was");
            return HOST_EXIT_FAILURE;
        }
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
    auto finish = [&](std::string& strMessage) {
        return SaveIfChanged(doc, strPath, nRule, pRule, strBefore, pGroup, pElement, strMessage);
    };
    if (bServe)
    {
        const int nExit = ServeConfigure(serve, &RunRuleConfigure, pRule, finish, strError);
        if (!strError.empty())
            ReportError(strError + "; " + strPath + " left as it was");
        return nExit;
    }
    if (!script.Run(&RunRuleConfigure, pRule, strError))
    {
        ReportError(*pScript + ": " + strError + "; " + strPath + " left as it was");
        return HOST_EXIT_FAILURE;
    }
    std::string strMessage;
    return finish(strMessage);
}
} // namespace

const CHostCommand g_ConfigureCommand = {
    "configure",
    "configure one rule of a rule file through its dialog, in a browser or by a script",
    "usage: vekhost [--module PATH]... configure FILE [--rule N] --script ACTIONS\n"
    "       vekhost [--module PATH]... configure FILE [--rule N] --serve [--port N]\n"
    "                                  [--idle-timeout SECONDS]\n"
    "\n"
    "Reads the rules of FILE and runs the configuration dialog of rule N (the first\n"
    "by default). With --script it plays the user actions of the file ACTIONS on it\n"
    "(docs/configure-script.md); a script line that cannot be played, or an\n"
    "expectation that is not met, cancels the dialog and leaves FILE alone. With\n"
    "--serve it prints an address http://127.0.0.1:PORT/?token=... and shows the\n"
    "dialogs in the browser that opens it (docs/browser-front-end.md); only requests\n"
    "carrying the token are answered. When no page has asked anything for the idle\n"
    "timeout, every dialog is cancelled. Either way, when OK changed the rule, FILE\n"
    "is written back atomically; otherwise it is left byte for byte as it was.\n"
    "Without --script or --serve the command fails at once: there is no one to\n"
    "answer the dialog.\n"
    "\n"
    "  --rule N                the rule to configure, counted from 1 in file order\n"
    "  --script ACTIONS        the file of user actions\n"
    "  --serve                 serve the dialogs to a browser on 127.0.0.1\n"
    "  --port N                the port to listen on (default 0: any free port)\n"
    "  --idle-timeout SECONDS  cancel the dialogs after this long without a request\n"
    "                          from any page (default 600, ten minutes)\n",
    RunConfigure};
