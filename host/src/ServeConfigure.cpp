#include "ServeConfigure.h"

#include "AccessToken.h"
#include "BrowserFrontEnd.h"
#include "Commands.h"
#include "FrontEndServer.h"
#include "HostText.h"

#include <veksnapshot.h>

#include <algorithm>
#include <cstdio>

namespace
{
// The window tree of the running dialogs, with the pending message box, as the page renders it.
std::string WindowTreeSnapshot()
{
    return VekTakeSnapshot().strJson;
}
} // namespace

int ServeConfigure(const CServeOptions& options, void (*pfnRun)(void* pContext), void* pContext,
                   const std::function<int(std::string& strMessage)>& finish, std::string& strError)
{
    const std::string strToken = MakeAccessToken();
    if (strToken.empty())
    {
        strError = "no random numbers for the access token";
        return HOST_EXIT_FAILURE;
    }
    CFrontEndChannel channel(options.nIdleTimeout);
    // A waiting request is answered well within the idle timeout, so that an open page keeps
    // the session alive with its next request.
    const std::chrono::milliseconds nLongPoll =
        std::min<std::chrono::milliseconds>(std::chrono::seconds(25), options.nIdleTimeout / 3);
    CFrontEndServer server(channel, strToken, nLongPoll);
    const int nPort = server.Start(options.nPort, strError);
    if (nPort < 0)
        return HOST_EXIT_FAILURE;
    std::printf("http://127.0.0.1:%d/?token=%s\n", nPort, strToken.c_str());
    std::fflush(stdout);

    CBrowserFrontEnd frontEnd(channel, &WindowTreeSnapshot);
    frontEnd.Run(pfnRun, pContext);
    if (frontEnd.TimedOut())
        ReportWarning("no page asked for " + std::to_string(options.nIdleTimeout.count() / 1000) +
                      " s: the dialog was cancelled");
    std::string strMessage;
    const int nExit = finish(strMessage);
    frontEnd.PublishEnded(nExit, strMessage);
    // An open page fetches the final state with its waiting request; nobody waits for a page
    // that has been gone for the idle timeout.
    if (!frontEnd.TimedOut())
        channel.WaitDelivered(std::chrono::seconds(2));
    channel.Close();
    server.Stop();
    return nExit;
}
