// String and dialog resources of resource libraries, and the current resource handle.
#include "afx.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
const std::wstring kLibDir = CString(VEK_TEST_LIB_DIR).GetString();
const std::wstring kResA = kLibDir + L"\\a\\vektestres.dll";
const std::wstring kResB = kLibDir + L"/b/vektestres.so";
const std::wstring kCodeLib = kLibDir + L"/a/vektestlib.so";

class ResourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hResA = LoadLibraryW(kResA.c_str());
        m_hResB = LoadLibraryW(kResB.c_str());
        ASSERT_NE(nullptr, m_hResA);
        ASSERT_NE(nullptr, m_hResB);
        m_hSaved = AfxGetResourceHandle();
    }
    void TearDown() override
    {
        AfxSetResourceHandle(m_hSaved);
        FreeLibrary(m_hResA);
        FreeLibrary(m_hResB);
    }

    HINSTANCE m_hResA = nullptr;
    HINSTANCE m_hResB = nullptr;
    HINSTANCE m_hSaved = nullptr;
};

TEST_F(ResourceTest, LoadStringCopiesWhatFitsAndReportsTheLength)
{
    wchar_t szBuf[16];
    EXPECT_EQ(5, LoadStringW(m_hResA, 100, szBuf, 16));
    EXPECT_STREQ(L"Alpha", szBuf);
    EXPECT_EQ(2, LoadStringW(m_hResA, 100, szBuf, 3));
    EXPECT_STREQ(L"Al", szBuf);
    EXPECT_EQ(5, LoadString(m_hResA, 103, szBuf, 16));
    EXPECT_STREQ(L"Grüße", szBuf);

    // With no buffer size the caller gets the resource text itself.
    LPCWSTR pszText = nullptr;
    EXPECT_EQ(5, LoadStringW(m_hResA, 100, reinterpret_cast<LPWSTR>(&pszText), 0));
    EXPECT_STREQ(L"Alpha", pszText);
}

TEST_F(ResourceTest, MissingStringsLoadNothing)
{
    int nNotAModule = 0;
    const struct
    {
        const char* pszWhat;
        HINSTANCE hInst;
        UINT nID;
    } rows[] = {
        {"missing id", m_hResA, 999},
        {"empty string", m_hResA, 102},
        {"id only in the other library", m_hResB, 101},
        {"null handle", nullptr, 100},
        {"main program", GetModuleHandleW(nullptr), 100},
        {"not a loaded library", reinterpret_cast<HINSTANCE>(&nNotAModule), 100},
    };
    for (const auto& row : rows)
    {
        wchar_t szBuf[8] = L"keep";
        EXPECT_EQ(0, LoadStringW(row.hInst, row.nID, szBuf, 8)) << row.pszWhat;
        EXPECT_STREQ(L"keep", szBuf) << row.pszWhat;
        CString str(L"keep");
        EXPECT_FALSE(str.LoadString(row.hInst, row.nID)) << row.pszWhat;
        EXPECT_STREQ(L"keep", str) << row.pszWhat;
    }
}

TEST_F(ResourceTest, LibraryWithoutATableHasNoResources)
{
    HMODULE hCode = LoadLibraryW(kCodeLib.c_str());
    ASSERT_NE(nullptr, hCode);
    CString str(L"keep");
    EXPECT_FALSE(str.LoadString(hCode, 100));
    EXPECT_EQ(nullptr, VekFindDialogResource(hCode, 200));
    FreeLibrary(hCode);
}

TEST_F(ResourceTest, CurrentHandleDecidesWhereStringsComeFrom)
{
    EXPECT_EQ(GetModuleHandleW(nullptr), m_hSaved) << "the main program is current at start";
    CString str;
    AfxSetResourceHandle(m_hResA);
    EXPECT_EQ(m_hResA, AfxGetResourceHandle());
    EXPECT_TRUE(str.LoadString(100));
    EXPECT_STREQ(L"Alpha", str);
    str.Format(101, 3, L"five");
    EXPECT_STREQ(L"Value 3 of five", str);

    AfxSetResourceHandle(m_hResB);
    EXPECT_TRUE(str.LoadString(100));
    EXPECT_STREQ(L"Beta", str);
    EXPECT_FALSE(str.LoadString(101));
    EXPECT_STREQ(L"Beta", str);
    str.Format(101, 3, L"five"); // a missing format leaves the string alone
    EXPECT_STREQ(L"Beta", str);

    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(nullptr, AfxGetResourceHandle());
    EXPECT_FALSE(str.LoadString(100));
}

TEST_F(ResourceTest, UnloadedLibraryNoLongerAnswers)
{
    HMODULE hRes = LoadLibraryW(kResB.c_str());
    FreeLibrary(hRes);
    FreeLibrary(m_hResB); // the last reference
    AfxSetResourceHandle(m_hResB);
    CString str(L"keep");
    EXPECT_FALSE(str.LoadString(100));
    EXPECT_STREQ(L"keep", str);
    m_hResB = LoadLibraryW(kResB.c_str()); // for TearDown
}

TEST_F(ResourceTest, DialogTemplatesAreFoundById)
{
    const VEK_RES_DIALOG* pDialog = VekFindDialogResource(m_hResA, 200);
    ASSERT_NE(nullptr, pDialog);
    EXPECT_STREQ(L"Test dialog", pDialog->pszCaption);
    ASSERT_EQ(2u, pDialog->nItems);
    EXPECT_STREQ(L"Edit", pDialog->pItems[1].pszClass);
    EXPECT_EQ(1000u, pDialog->pItems[1].nID);
    EXPECT_EQ(nullptr, VekFindDialogResource(m_hResA, 201));
    EXPECT_EQ(nullptr, VekFindDialogResource(m_hResB, 200));
    EXPECT_EQ(nullptr, VekFindDialogResource(nullptr, 200));
}
} // namespace
