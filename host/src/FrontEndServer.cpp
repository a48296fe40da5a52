#include "FrontEndServer.h"

#include "AccessToken.h"
#include "FrontEndPage.h"

#include <httplib.h>

#include <cstdlib>

namespace
{
const char kTokenHeader[] = "X-Vek-Token";

// The value of cookie strName in a Cookie header ("a=1; b=2"), or empty.
std::string CookieValue(const std::string& strCookies, const std::string& strName)
{
    size_t nStart = 0;
    while (nStart < strCookies.size())
    {
        size_t nEnd = strCookies.find(';', nStart);
        if (nEnd == std::string::npos)
            nEnd = strCookies.size();
        size_t nFirst = nStart;
        while (nFirst < nEnd && strCookies[nFirst] == ' ')
            ++nFirst;
        const std::string strPair = strCookies.substr(nFirst, nEnd - nFirst);
        const size_t nEqual = strPair.find('=');
        if (nEqual != std::string::npos && strPair.compare(0, nEqual, strName) == 0 &&
            nEqual == strName.size())
            return strPair.substr(nEqual + 1);
        nStart = nEnd + 1;
    }
    return std::string();
}

// What every answer carries: nothing cached (the address holds the token), nothing from
// elsewhere, no address passed on to another site.
void SetCommonHeaders(httplib::Response& res)
{
    res.set_header("Cache-Control", "no-store");
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_header("Referrer-Policy", "no-referrer");
    res.set_header("Content-Security-Policy",
                   "default-src 'self'; style-src 'self'; script-src 'self'; img-src 'self' data:;"
                   " frame-ancestors 'none'");
}

std::string StateBody(const CPublishedState& state)
{
    return "{\"version\":" + std::to_string(state.nVersion) +
           ",\"handled\":" + std::to_string(state.nHandled) +
           ",\"state\":" + (state.strText.empty() ? std::string("null") : state.strText) + "}";
}

uint64_t NumberParam(const httplib::Request& req, const char* pszName)
{
    if (!req.has_param(pszName))
        return 0;
    return std::strtoull(req.get_param_value(pszName).c_str(), nullptr, 10);
}
} // namespace

CFrontEndServer::CFrontEndServer(CFrontEndChannel& channel, std::string strToken,
                                 std::chrono::milliseconds nLongPoll)
    : m_channel(channel), m_strToken(std::move(strToken)), m_nLongPoll(nLongPoll),
      m_pServer(new httplib::Server)
{
}

CFrontEndServer::~CFrontEndServer()
{
    Stop();
}

bool CFrontEndServer::Allowed(const std::string& strHost, const std::string& strQueryToken,
                              const std::string& strHeaderToken,
                              const std::string& strCookies) const
{
    // A page of another site that resolves its own name to 127.0.0.1 (DNS rebinding) sends its
    // own name here.
    const std::string strPort = std::to_string(m_nPort);
    if (strHost != "127.0.0.1:" + strPort && strHost != "localhost:" + strPort)
        return false;
    return SameToken(strQueryToken, m_strToken) || SameToken(strHeaderToken, m_strToken) ||
           SameToken(CookieValue(strCookies, "vek_token_" + strPort), m_strToken);
}

void CFrontEndServer::Route()
{
    httplib::Server& server = *m_pServer;
    server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        SetCommonHeaders(res);
        if (!Allowed(req.get_header_value("Host"), req.get_param_value("token"),
                     req.get_header_value(kTokenHeader), req.get_header_value("Cookie")))
        {
            res.status = 403;
            res.set_content("forbidden: this address needs the token vekhost printed\n",
                            "text/plain");
            return httplib::Server::HandlerResponse::Handled;
        }
        m_channel.NoteRequest();
        return httplib::Server::HandlerResponse::Unhandled;
    });

    server.Get("/", [this](const httplib::Request&, httplib::Response& res) {
        const CFrontEndFile* pFile = FindFrontEndFile("/index.html");
        // The page's own requests then carry the token without it in every address.
        res.set_header("Set-Cookie", "vek_token_" + std::to_string(m_nPort) + "=" + m_strToken +
                                         "; Path=/; HttpOnly; SameSite=Strict");
        res.set_content(pFile->pszText, pFile->pszContentType);
    });
    server.Get(R"(/(app\.js|app\.css))", [](const httplib::Request& req, httplib::Response& res) {
        const CFrontEndFile* pFile = FindFrontEndFile(req.path);
        if (pFile == nullptr)
        {
            res.status = 404;
            return;
        }
        res.set_content(pFile->pszText, pFile->pszContentType);
    });
    server.Get("/state", [this](const httplib::Request& req, httplib::Response& res) {
        const CPublishedState state = m_channel.WaitNewer(NumberParam(req, "after"), m_nLongPoll);
        res.set_content(StateBody(state), "application/json");
    });
    server.Post("/input", [this](const httplib::Request& req, httplib::Response& res) {
        std::vector<CPageEvent> vecEvents;
        std::string strError;
        if (!ParsePageEvents(req.body, vecEvents, strError))
        {
            res.status = 400;
            res.set_content(strError + "\n", "text/plain");
            return;
        }
        const uint64_t nLast = m_channel.Post(std::move(vecEvents));
        // The answer is the state after these events, so the page shows their effect at once.
        const CPublishedState state = m_channel.WaitHandled(nLast, m_nLongPoll);
        res.set_content(StateBody(state), "application/json");
    });
}

int CFrontEndServer::Start(int nPort, std::string& strError)
{
    httplib::Server& server = *m_pServer;
    // Two tabs each hold a waiting request and send events; a few threads more than that.
    server.new_task_queue = [] { return new httplib::ThreadPool(12); };
    server.set_keep_alive_timeout(2);
    server.set_payload_max_length(1 << 20);
    if (nPort == 0)
        m_nPort = server.bind_to_any_port("127.0.0.1");
    else
        m_nPort = server.bind_to_port("127.0.0.1", nPort) ? nPort : -1;
    if (m_nPort < 0)
    {
        strError = "cannot listen on 127.0.0.1:" + std::to_string(nPort);
        return -1;
    }
    Route();
    m_thread = std::thread([&server] { server.listen_after_bind(); });
    return m_nPort;
}

void CFrontEndServer::Stop()
{
    if (!m_thread.joinable())
        return;
    m_pServer->stop();
    m_thread.join();
}
