// vekhost configure --serve, run as a program and asked over HTTP: who is answered, how events
// end the dialog, and what becomes of the file when nobody is at the page.
#include <httplib.h>

#include "host_runner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace
{
using vekhost_test::Contains;
using vekhost_test::kHost;
using vekhost_test::ReadFile;

// A rule file made by vekhost new in the test folder, and a material database of the test's own.
class ServeCommandTest : public vekhost_test::VekHostTest
{
protected:
    void SetUp() override
    {
        VekHostTest::SetUp();
        ASSERT_EQ(0,
                  Run("new -o rules.xml", "VEK_MATERIAL_DB='" + Path("materials.db") + "'").nExit);
        m_strOriginal = ReadFile(Path("rules.xml"));
        ASSERT_FALSE(m_strOriginal.empty());
    }
    void TearDown() override
    {
        if (m_pHost)
            Finish();
        VekHostTest::TearDown();
    }

    std::string Command(const std::string& strArgs) const
    {
        return "cd '" + m_strDir + "' && VEK_UI_LANGUAGE=en-US VEK_MATERIAL_DB='" +
               Path("materials.db") + "' '" + kHost + "' " + strArgs;
    }

    // Starts the server and reads the address it prints: false when none came.
    bool Serve(const std::string& strOptions)
    {
        m_pHost = popen(
            Command("configure rules.xml --serve " + strOptions + " 2>'" + Path("stderr.txt") + "'")
                .c_str(),
            "r");
        if (m_pHost == nullptr)
            return false;
        char szLine[512] = {};
        if (std::fgets(szLine, sizeof(szLine), m_pHost) == nullptr)
            return false;
        const std::string strLine = szLine;
        const size_t nColon = strLine.find(':', 7);
        const size_t nToken = strLine.find("/?token=");
        if (strLine.rfind("http://127.0.0.1:", 0) != 0 || nToken == std::string::npos)
            return false;
        m_nPort = std::atoi(strLine.c_str() + nColon + 1);
        m_strToken = strLine.substr(nToken + 8);
        while (!m_strToken.empty() && (m_strToken.back() == '\n' || m_strToken.back() == '\r'))
            m_strToken.pop_back();
        return m_nPort > 0 && m_strToken.size() == 32;
    }

    // Waits for the host to end: its exit status, the rest of its standard output in strOut.
    int Finish()
    {
        char szBuffer[512];
        while (std::fgets(szBuffer, sizeof(szBuffer), m_pHost) != nullptr)
            m_strOut += szBuffer;
        const int nStatus = pclose(m_pHost);
        m_pHost = nullptr;
        return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    }

    httplib::Client Client() const
    {
        httplib::Client client("127.0.0.1", m_nPort);
        client.set_read_timeout(std::chrono::seconds(30));
        return client;
    }

    int Status(const std::string& strPath, const httplib::Headers& headers = {}) const
    {
        httplib::Client client = Client();
        const httplib::Result result = client.Get(strPath, headers);
        return result ? result->status : -1;
    }

    std::string m_strOriginal;
    FILE* m_pHost = nullptr;
    int m_nPort = 0;
    std::string m_strToken;
    std::string m_strOut;
};

TEST_F(ServeCommandTest, OnlyRequestsWithTheTokenAndALoopbackHostAreAnswered)
{
    ASSERT_TRUE(Serve("--idle-timeout 30"));
    const std::string strPort = std::to_string(m_nPort);
    const std::string strWrong(32, '0');
    struct Row
    {
        const char* pszWhat;
        std::string strPath;
        httplib::Headers headers;
        int nStatus;
    };
    const Row kRows[] = {
        {"no token", "/", {}, 403},
        {"a wrong token", "/?token=" + strWrong, {}, 403},
        {"a token cut short", "/?token=" + m_strToken.substr(0, 31), {}, 403},
        {"the token", "/?token=" + m_strToken, {}, 200},
        {"the token in the header", "/app.js", {{"X-Vek-Token", m_strToken}}, 200},
        {"the token in the page's cookie",
         "/app.css",
         {{"Cookie", "other=1; vek_token_" + strPort + "=" + m_strToken}},
         200},
        {"another port's cookie", "/app.css", {{"Cookie", "vek_token_1=" + m_strToken}}, 403},
        {"localhost", "/?token=" + m_strToken, {{"Host", "localhost:" + strPort}}, 200},
        {"a rebound name", "/?token=" + m_strToken, {{"Host", "attacker.example:" + strPort}}, 403},
        {"another port", "/?token=" + m_strToken, {{"Host", "127.0.0.1:1"}}, 403},
        {"no port", "/?token=" + m_strToken, {{"Host", "127.0.0.1"}}, 403},
        {"an unknown file", "/secret.txt?token=" + m_strToken, {}, 404},
    };
    for (const Row& row : kRows)
        EXPECT_EQ(row.nStatus, Status(row.strPath, row.headers)) << row.pszWhat;

    httplib::Client client = Client();
    const httplib::Headers headers = {{"X-Vek-Token", m_strToken}};
    const httplib::Result bad = client.Post("/input", headers, "{\"events\":[{}]}", "text/plain");
    ASSERT_TRUE(bad);
    EXPECT_EQ(400, bad->status);
    const httplib::Result state = client.Get("/state?after=0", headers);
    ASSERT_TRUE(state);
    EXPECT_EQ(200, state->status);
    EXPECT_TRUE(Contains(state->body, "\"phase\":\"running\"")) << state->body;
    // Escape at the dialog: Cancel.
    const httplib::Result done = client.Post(
        "/input", headers,
        R"({"events":[{"type":"keydown","key":27,"time":1},{"type":"keyup","key":27,"time":2}]})",
        "application/json");
    ASSERT_TRUE(done);
    EXPECT_EQ(200, done->status);
    // The answer is the state after the event: the end, with the line vekhost printed. Once a
    // page has it, the host stops serving.
    EXPECT_TRUE(Contains(done->body, "\"phase\":\"ended\"")) << done->body;
    EXPECT_TRUE(Contains(done->body, "unchanged")) << done->body;
    EXPECT_EQ(0, Finish());
    EXPECT_EQ(m_strOriginal, ReadFile(Path("rules.xml")));
}

TEST_F(ServeCommandTest, WithoutAnyPageTheIdleTimeoutCancelsAndLeavesTheFile)
{
    ASSERT_TRUE(Serve("--idle-timeout 1"));
    EXPECT_EQ(0, Finish());
    EXPECT_TRUE(Contains(m_strOut, "unchanged, file left as it was")) << m_strOut;
    EXPECT_TRUE(Contains(ReadFile(Path("stderr.txt")), "cancelled"));
    EXPECT_EQ(m_strOriginal, ReadFile(Path("rules.xml")));
}

TEST_F(ServeCommandTest, BadOptionsAreRefusedBeforeAnythingIsServed)
{
    for (const char* pszArgs :
         {"configure rules.xml --serve --port 70000",
          "configure rules.xml --serve --idle-timeout 0", "configure rules.xml --port 8000",
          "configure rules.xml --serve --script x.txt"})
    {
        const int nStatus = std::system(Command(std::string(pszArgs) + " >/dev/null 2>&1").c_str());
        EXPECT_EQ(2, WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1) << pszArgs;
    }
    EXPECT_EQ(m_strOriginal, ReadFile(Path("rules.xml")));
}
} // namespace
