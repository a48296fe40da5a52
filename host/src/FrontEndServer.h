// The loopback HTTP server of the browser front end: one page, the published state and the
// events. It answers only requests that carry the session's token and name the loopback
// address in their Host header; everything else gets 403.
#pragma once

#include "FrontEndChannel.h"

#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace httplib
{
class Server;
}

class CFrontEndServer
{
public:
    // nLongPoll: the longest a request for a newer state is held open before it is answered
    // with the current one.
    CFrontEndServer(CFrontEndChannel& channel, std::string strToken,
                    std::chrono::milliseconds nLongPoll);
    ~CFrontEndServer();
    CFrontEndServer(const CFrontEndServer&) = delete;
    CFrontEndServer& operator=(const CFrontEndServer&) = delete;

    // Listens on 127.0.0.1:nPort (0: a free port the system picks) and answers on threads of
    // its own. Returns the port, or -1 with the reason in strError.
    int Start(int nPort, std::string& strError);
    // Stops answering and joins the server's threads. Close the channel first, so that no
    // request is left waiting for a state. Safe to call more than once.
    void Stop();

private:
    void Route();
    bool Allowed(const std::string& strHost, const std::string& strQueryToken,
                 const std::string& strHeaderToken, const std::string& strCookies) const;

    CFrontEndChannel& m_channel;
    std::string m_strToken;
    std::chrono::milliseconds m_nLongPoll;
    int m_nPort = -1;
    std::unique_ptr<httplib::Server> m_pServer;
    std::thread m_thread;
};
