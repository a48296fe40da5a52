// A save whose bytes come in pieces: the file holds exactly their sequence, and
// a producer or a write that fails leaves the old file and no temporary file.
#include <veksafesave.h>

#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
class SafeSaveTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char szFolder[] = "/tmp/vek-safe-save-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(szFolder));
        m_strFolder = szFolder;
        m_strTarget = m_strFolder + "/target.xml";
    }
    void TearDown() override
    {
        for (const std::string& strName : Names())
            std::remove((m_strFolder + "/" + strName).c_str());
        rmdir(m_strFolder.c_str());
    }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> vecNames;
        if (DIR* pDir = opendir(m_strFolder.c_str()))
        {
            while (dirent* pEntry = readdir(pDir))
            {
                const std::string strName = pEntry->d_name;
                if (strName != "." && strName != "..")
                    vecNames.push_back(strName);
            }
            closedir(pDir);
        }
        return vecNames;
    }

    std::string Content() const
    {
        std::ifstream file(m_strTarget, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::string m_strFolder;
    std::string m_strTarget;
};

TEST_F(SafeSaveTest, PiecesArriveInOrderAndWhole)
{
    CVekSaveResult result;
    std::string strError;
    ASSERT_TRUE(VekSaveFileSafely(m_strTarget, std::string("old"), result, strError)) << strError;

    std::string strExpected;
    const auto pfnProduce = [&strExpected](const VekSaveSink& sink) {
        for (int i = 0; i < 1000; ++i)
        {
            const std::string strPiece = std::to_string(i) + (i % 7 == 0 ? "" : ",");
            strExpected += strPiece;
            if (!sink(strPiece.data(), strPiece.size()))
                return false;
        }
        return true;
    };
    ASSERT_TRUE(VekSaveFileSafely(m_strTarget, pfnProduce, result, strError)) << strError;
    EXPECT_EQ(strExpected, Content());
    EXPECT_EQ(std::vector<std::string>{"target.xml"}, Names());
}

TEST_F(SafeSaveTest, AProducerThatFailsLeavesTheOldFile)
{
    CVekSaveResult result;
    std::string strError;
    ASSERT_TRUE(VekSaveFileSafely(m_strTarget, std::string("old"), result, strError)) << strError;
    const auto pfnProduce = [](const VekSaveSink& sink) {
        const std::string strPiece(100000, 'x');
        sink(strPiece.data(), strPiece.size());
        return false; // as if the rest could not be produced
    };
    EXPECT_FALSE(VekSaveFileSafely(m_strTarget, pfnProduce, result, strError));
    EXPECT_NE(std::string::npos, strError.find("target.xml")) << strError;
    EXPECT_EQ("old", Content());
    EXPECT_EQ(std::vector<std::string>{"target.xml"}, Names());
}
} // namespace
