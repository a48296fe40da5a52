// String and dialog resources of resource libraries, and the current resource handle.
#include "afx.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
const std::wstring kLibDir = CString(VEK_TEST_LIB_DIR).GetString();
const std::wstring kResA = kLibDir + L"\\a\\vektestres.dll";
const std::wstring kResB = kLibDir + L"/b/vektestres.so";

class ResourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hResA = LoadLibraryW(kResA.c_str());
        m_hResB = LoadLibraryW(kResB.c_str());
        ASSERT_TRUE(m_hResA && m_hResB);
    }
    void TearDown() override
    {
        AfxSetResourceHandle(GetModuleHandleW(nullptr));
        FreeLibrary(m_hResA);
        FreeLibrary(m_hResB);
    }

    HINSTANCE m_hResA = nullptr;
    HINSTANCE m_hResB = nullptr;
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
    LPCWSTR pszText = nullptr; // no buffer size: a pointer to the resource itself
    EXPECT_EQ(5, LoadStringW(m_hResA, 100, reinterpret_cast<LPWSTR>(&pszText), 0));
    EXPECT_STREQ(L"Alpha", pszText);
}

TEST_F(ResourceTest, MissingStringsLoadNothingAndLeaveTheTargetAlone)
{
    int nNotAModule = 0;
    HMODULE hCode = LoadLibraryW((kLibDir + L"/a/vektestlib.so").c_str());
    const struct
    {
        HINSTANCE hInst;
        UINT nID;
    } rows[] = {{m_hResA, 999},
                {m_hResA, 102}, // an empty string is no string
                {m_hResB, 101},
                {nullptr, 100},
                {GetModuleHandleW(nullptr), 100},
                {hCode, 100}, // a library without a resource table
                {reinterpret_cast<HINSTANCE>(&nNotAModule), 100}};
    for (const auto& row : rows)
    {
        wchar_t szBuf[8] = L"keep";
        EXPECT_EQ(0, LoadStringW(row.hInst, row.nID, szBuf, 8)) << row.nID;
        EXPECT_STREQ(L"keep", szBuf);
        CString str(L"keep");
        EXPECT_FALSE(str.LoadString(row.hInst, row.nID)) << row.nID;
        EXPECT_STREQ(L"keep", str);
    }
    FreeLibrary(hCode);
}

TEST_F(ResourceTest, CurrentHandleDecidesWhereStringsComeFrom)
{
    EXPECT_EQ(GetModuleHandleW(nullptr), AfxGetResourceHandle()) << "the main program at start";
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
    str.Format(101, 3, L"five"); // a missing format leaves the string alone
    EXPECT_STREQ(L"Beta", str);

    FreeLibrary(m_hResB); // unloaded: the stale handle answers nothing
    EXPECT_FALSE(str.LoadString(100));
    m_hResB = LoadLibraryW(kResB.c_str());
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(nullptr, AfxGetResourceHandle());
    EXPECT_FALSE(str.LoadString(100));
}

TEST_F(ResourceTest, DialogTemplatesAreFoundById)
{
    const VEK_RES_DIALOG* pDialog = VekFindDialogResource(m_hResA, 200);
    ASSERT_NE(nullptr, pDialog);
    EXPECT_STREQ(L"Test dialog", pDialog->pszCaption);
    ASSERT_EQ(2u, pDialog->nItems);
    EXPECT_STREQ(L"Edit", pDialog->pItems[1].pszClass);
    EXPECT_EQ(nullptr, VekFindDialogResource(m_hResA, 201));
    EXPECT_EQ(nullptr, VekFindDialogResource(m_hResB, 200));
    EXPECT_EQ(nullptr, VekFindDialogResource(nullptr, 200));
}
} // namespace
