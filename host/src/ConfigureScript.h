// Scripted configuration: a small text of user actions that drives the module's dialogs through
// the platform's input interface and its message-box responder, exactly as a person at the
// dialog would (docs/configure-script.md). Nothing calls dialog methods.
#pragma once

#include <afx.h>

#include <string>
#include <vector>

struct CScriptAction
{
    int nLine = 0;                  // line in the script file, from 1
    std::string strVerb;            // check, uncheck, click, double-click, type, choose, ...
    std::vector<CString> vecTokens; // the rest of the line, quoted texts unquoted
};

class CConfigureScript
{
public:
    // Parses the script text. False, with "line N: ..." in strError, at the first line that is
    // not an action of the format.
    bool Parse(const std::string& strText, std::string& strError);

    // Installs a modal handler and a message-box responder that play the actions against the
    // dialogs that run while pfnRun runs, then restores the previous ones. Dialogs still
    // running when the actions are used up are cancelled. False, with "line N: ..." in
    // strError, when an action could not be delivered or an expectation was not met; every
    // dialog is then cancelled.
    bool Run(void (*pfnRun)(void* pContext), void* pContext, std::string& strError);

private:
    std::vector<CScriptAction> m_vecActions;
};
